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
    std::string name;
    int64_t count = 0;
    int32_t size = 0;  // height of the font's first character
};

}  // namespace

int GetFontStats(CBaseBlock& block) {
    const auto& chars = block.m_arrChars;
    if (chars.empty()) return 0;
    if (chars.size() == 1 && MbEqualNoCase(chars[0].strFontName, kParagraphFont)) return 0;

    // The first character counts even when it is a paragraph marker.
    std::vector<FontCount> fonts{{chars[0].strFontName, 1, chars[0].nHeight}};
    std::unordered_map<std::string, size_t> index{{FoldedName(chars[0].strFontName), 0}};
    for (size_t i = 1; i < chars.size(); ++i) {
        const St_WordInfo& ch = chars[i];
        if (MbEqualNoCase(ch.strFontName, kParagraphFont)) continue;
        auto [it, added] = index.try_emplace(FoldedName(ch.strFontName), fonts.size());
        if (added)
            fonts.push_back({ch.strFontName, 1, ch.nHeight});
        else
            ++fonts[it->second].count;
    }

    const FontCount* dominant = &fonts[0];
    double weighted = 0.0, total = 0.0;
    for (const FontCount& f : fonts) {
        if (f.count > dominant->count) dominant = &f;
        weighted += double(f.count) * f.size;
        total += double(f.count);
    }
    block.m_strFontName = dominant->name;
    block.m_dAvgSize = weighted / total;
    return 1;
}

int GetLayoutCode(const CBaseBlock& block) {
    const auto& chars = block.m_arrChars;
    if (chars.empty()) return kLayoutUnknown;
    if (chars.size() == 1) return kLayoutSingleColumn;
    if (block.m_nKind != kBlockBody && block.m_nKind != kBlockTitle) return kLayoutColumnsLeftwards;

    const St_WordInfo& first = chars[0];
    const int64_t width = first.nWidth;
    int64_t horizontal = 0, vertical = 0, after = 0, before = 0, right = 0, left = 0, same = 0;
    for (size_t i = 1; i < chars.size(); ++i) {
        const Rect& rc = chars[i].rcChar;
        if (IsRectEmpty(rc)) continue;  // paragraph markers
        const int64_t d = int64_t{rc.left} - first.rcChar.left;
        if (first.bVertical) {
            ++vertical;
            if (d > width) ++right;
            else if (d < -width) ++left;
            else ++same;
        } else {
            ++horizontal;
            if (d > 0) ++after;
            else ++before;
        }
    }
    if (horizontal > vertical) return after > before ? kLayoutLeftToRight : kLayoutRightToLeft;
    if (same > left && same > right) return kLayoutSingleColumn;
    return right > left ? kLayoutColumnsRightwards : kLayoutColumnsLeftwards;
}

}  // namespace kestrum
