#include "textasm/BlockStats.h"

#include "platform/Mbcs.h"

#include <cctype>
#include <string>
#include <unordered_map>
#include <vector>

namespace kestrum {
namespace {

// A font name with ASCII letters folded and two-byte characters kept, so that names
// equal under MbEqualNoCase share one key.
std::string FoldedName(const std::string& name) {
    std::string key;
    key.reserve(name.size());
    for (size_t i = 0; i < name.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (IsLeadByte(c) && i + 1 < name.size()) {
            key += name[i];
            key += name[++i];
        } else {
            key += static_cast<char>(std::tolower(c));
        }
    }
    return key;
}

struct FontCount {
    FontName name;            // as the font's first character spells it
    int64_t count = 0;
    int32_t size = 0;         // height of the font's first character
};

// The fonts of a block in order of first appearance, with the slot of each folded name.
class FontTally {
public:
    // The slot of ch's font, added on its first appearance with a count of 0.
    size_t SlotOf(const St_WordInfo& ch) {
        auto [it, added] = index_.try_emplace(FoldedName(ch.strFontName), fonts_.size());
        if (added) fonts_.push_back({ch.strFontName, 0, ch.nHeight});
        return it->second;
    }
    void Count(size_t slot, int64_t characters = 1) { fonts_[slot].count += characters; }
    const std::vector<FontCount>& Fonts() const { return fonts_; }

private:
    std::vector<FontCount> fonts_;
    std::unordered_map<std::string, size_t> index_;
};

}  // namespace

std::optional<FontStats> ReadFontStats(const CBaseBlock& block) {
    const auto& chars = block.m_arrChars;
    if (chars.empty()) return std::nullopt;
    if (chars.size() == 1 && MbEqualNoCase(chars[0].strFontName, kParagraphFont)) return std::nullopt;

    // The first character counts even when it is a paragraph marker.
    FontTally tally;
    tally.Count(tally.SlotOf(chars[0]));
    // Neighbours mostly share a font: the name last looked up keeps its slot.
    FontName lastName = chars[0].strFontName;
    size_t lastSlot = 0;
    bool lastParagraph = MbEqualNoCase(lastName, kParagraphFont);
    // A run of characters in one font is counted when it ends.
    int64_t run = 0;
    const St_WordInfo* const end = chars.data() + chars.size();
    for (const St_WordInfo* ch = chars.data() + 1; ch != end; ++ch) {
        if (ch->strFontName != lastName) {
            if (!lastParagraph) tally.Count(lastSlot, run);
            run = 0;
            lastName = ch->strFontName;
            lastParagraph = MbEqualNoCase(ch->strFontName, kParagraphFont);
            if (!lastParagraph) lastSlot = tally.SlotOf(*ch);
        }
        ++run;
    }
    if (!lastParagraph) tally.Count(lastSlot, run);

    const std::vector<FontCount>& fonts = tally.Fonts();
    const FontCount* dominant = &fonts[0];
    double weighted = 0.0, total = 0.0;
    for (const FontCount& f : fonts) {
        if (f.count > dominant->count) dominant = &f;
        weighted += double(f.count) * f.size;
        total += double(f.count);
    }
    return FontStats{dominant->name, weighted / total};
}

int GetFontStats(CBaseBlock& block) {
    std::optional<FontStats> stats = ReadFontStats(block);
    if (!stats) return 0;
    block.m_strFontName = std::move(stats->fontName);
    block.m_dAvgSize = stats->avgSize;
    return 1;
}

int GetLayoutCode(const CBaseBlock& block) {
    const auto& chars = block.m_arrChars;
    if (chars.empty()) return kLayoutUnknown;
    if (chars.size() == 1) return kLayoutSingleColumn;
    if (block.m_nKind != kBlockBody && block.m_nKind != kBlockTitle) return kLayoutColumnsLeftwards;

    const St_WordInfo& first = chars[0];
    const int64_t width = first.nWidth;
    const int64_t firstLeft = first.rcChar.left;
    int64_t horizontal = 0, vertical = 0, after = 0, right = 0, left = 0;
    // The first character's direction decides what is counted.
    const St_WordInfo* const end = chars.data() + chars.size();
    for (const St_WordInfo* ch = chars.data() + 1; ch != end; ++ch) {
        if (IsRectEmpty(ch->rcChar)) continue;  // paragraph markers
        const int64_t d = ch->rcChar.left - firstLeft;
        if (first.bVertical) {
            ++vertical;
            const bool rightwards = d > width;
            right += rightwards;
            left += !rightwards && d < -width;
        } else {
            ++horizontal;
            after += d > 0;
        }
    }
    const int64_t before = horizontal - after;
    const int64_t same = vertical - right - left;
    if (horizontal > vertical) return after > before ? kLayoutLeftToRight : kLayoutRightToLeft;
    if (same > left && same > right) return kLayoutSingleColumn;
    return right > left ? kLayoutColumnsRightwards : kLayoutColumnsLeftwards;
}

}  // namespace kestrum
