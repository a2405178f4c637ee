#include "textasm/BlockText.h"

#include "platform/Mbcs.h"
#include "textasm/CharCodes.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

namespace kestrum {
namespace {

constexpr const char* kLineBreak = "\r\n";
constexpr const char* kIndent = "\xA1\xA1\xA1\xA1";   // two ideographic spaces
constexpr const char* kWideSpace = "\xA1\xA1";        // one ideographic space
constexpr const char* kNarrowSpace = " ";

// Gap units and bounds, × the mean font size of the two characters.
constexpr double kNarrowUnit = 0.65;      // between two single-byte characters
constexpr double kWideUnit = 0.8;         // otherwise
constexpr double kSingleMinGap = 0.3;     // a narrow space for a gap above this ...
constexpr double kDoubleMinGap = 0.32;
constexpr double kMaxNarrowGap = 0.64;    // ... and at most this
// A real line never needs more; a hostile gap must not grow the text without bound.
constexpr int kMaxGapSpaces = 512;

void AppendFontTag(std::string& out, const St_WordInfo& ch) {
    out += "<font face = \"";
    out += ch.strFontName;
    out += "\"  size = \"";
    out += std::to_string(ch.nHeight);
    out += "\">";
}

// The spaces that stand for the gap between two neighbouring characters, the second
// of code `code`: `count` times `space`.
struct Gap {
    const char* space = kNarrowSpace;
    int count = 0;
};

Gap GapSpaces(const St_WordInfo& prev, const St_WordInfo& cur, uint16_t code) {
    // Only neighbours of one direction have a gap: along a line that both share, or
    // down a column that both share, within the mean size a of the two. Touching or
    // overlapping characters, most of a line, have none whatever a is (the bounds
    // below are positive), so the distance is judged first.
    const bool vertical = prev.bVertical != 0;
    if (vertical != (cur.bVertical != 0)) return {};
    const int64_t distance = vertical ? int64_t{cur.rcChar.top} - prev.rcChar.bottom
                                      : int64_t{cur.rcChar.left} - prev.rcChar.right;
    if (distance <= 0) return {};
    const int64_t a = (int64_t{prev.nHeight} + cur.nHeight) / 2;
    const int64_t across = vertical ? int64_t{cur.nX} - prev.nX : int64_t{cur.nY} - prev.nY;
    if (std::llabs(across) >= a) return {};  // so a > 0 from here on

    double gap = double(distance);
    const bool bothSingle = prev.wCode < 0x8000 && code < 0x8000;
    const bool bothDouble = prev.wCode >= 0x8000 && code >= 0x8000;
    const double unit = double(a) * (bothSingle ? kNarrowUnit : kWideUnit);
    if (gap >= unit) {
        Gap spaces{bothSingle ? kNarrowSpace : kWideSpace, 0};
        for (; gap >= unit && spaces.count < kMaxGapSpaces; ++spaces.count) gap -= unit;
        return spaces;
    }
    const double lower = double(a) * (bothSingle ? kSingleMinGap : kDoubleMinGap);
    if ((bothSingle || bothDouble) && gap > lower && gap <= double(a) * kMaxNarrowGap) return {kNarrowSpace, 1};
    return {};
}

// The plain text of a block, written in place into room made ahead, so that a character
// costs a check and a two-byte copy rather than a string append.
class TextWriter {
public:
    explicit TextWriter(size_t room) : text_(room, '\0'), out_(text_.data()), end_(out_ + text_.size()) {}

    size_t Size() const { return static_cast<size_t>(out_ - text_.data()); }
    std::string_view Written() const { return {text_.data(), Size()}; }

    // One character's bytes, the first `length` (at most two) of `bytes`: both are
    // stored, so that the copy does not depend on the length.
    void PutCode(const std::array<char, 2>& bytes, size_t length) {
        if (end_ - out_ < 2) Grow(2);
        std::memcpy(out_, bytes.data(), 2);
        out_ += length;
    }
    void Put(std::string_view bytes) {
        if (static_cast<size_t>(end_ - out_) < bytes.size()) Grow(bytes.size());
        std::memcpy(out_, bytes.data(), bytes.size());
        out_ += bytes.size();
    }
    void PutGap(Gap gap) {
        for (int n = 0; n < gap.count; ++n) Put(gap.space);
    }

    std::string Take() {
        text_.resize(Size());
        return std::move(text_);
    }

private:
    void Grow(size_t more) {
        const size_t used = Size();
        text_.resize(std::max(text_.size() * 2, used + more));
        out_ = text_.data() + used;
        end_ = text_.data() + text_.size();
    }

    std::string text_;
    char* out_;
    char* end_;
};

// The runs of the HTML fragment hold the plain text without its paragraph indents.
class HtmlRuns {
public:
    void NoteIndent(size_t at) { indents_.push_back(at); }

    // The font element of the run of plain text [begin, end).
    void Append(std::string& html, std::string_view fontTag, std::string_view text, size_t begin, size_t end) {
        html += fontTag;
        html += " <![CDATA[";
        const size_t content = html.size();
        for (; next_ < indents_.size() && indents_[next_] < end; ++next_) {
            const size_t at = std::max(indents_[next_], begin);
            html.append(text, begin, at - begin);
            begin = at + std::strlen(kIndent);
        }
        if (end > begin) html.append(text, begin, end - begin);
        SplitSectionEnds(html, content);
        html += "]]></font>";
    }

private:
    // Page text holding "]]>" would end the section early and let the text after it
    // pass as markup: the section is closed before the ">" and opened again.
    static void SplitSectionEnds(std::string& html, size_t content) {
        constexpr std::string_view kSectionEnd = "]]>";
        if (FindBytes(std::string_view(html).substr(content), kSectionEnd) == std::string_view::npos) return;
        std::string text = html.substr(content);
        MbReplaceAll(text, kSectionEnd, "]]]]><![CDATA[>");
        html.resize(content);
        html += text;
    }

    std::vector<size_t> indents_;  // where the plain text has an indent, in order
    size_t next_ = 0;              // the first indent not yet passed
};

}  // namespace

BlockTexts RenderBlockText(const CBaseBlock& block, std::span<const St_ReplaceCode> replaceCodes,
                           std::span<const St_ReplaceCode> symbolCodes) {
    const auto& chars = block.m_arrChars;
    const bool body = block.m_nKind == kBlockBody;
    const CodeReplacer replace(replaceCodes, symbolCodes);
    // Room for every character as two bytes; gaps and breaks seldom need more.
    TextWriter text(chars.size() * 2 + std::strlen(kIndent));
    std::string html, fontTag;
    HtmlRuns runs;
    size_t runBegin = 0;  // where the current run starts in the plain text
    int ref = -1;         // reference character of the current run
    // Neighbours mostly share a font: the symbol font test is made once per change.
    FontName font = chars.empty() ? FontName() : chars[0].strFontName;
    bool symbolFont = IsSymbolFont(font);

    // The texts' stores could be the list's own as far as the compiler knows: its
    // bounds are read once.
    const St_WordInfo* const list = chars.data();
    const size_t count = chars.size();
    for (size_t i = 0; i < count; ++i) {
        const St_WordInfo& cur = list[i];
        if (cur.IsParagraphMarker()) {
            if (i + 1 == count) continue;
            text.Put(kLineBreak);
            if (body) {
                runs.NoteIndent(text.Size());
                text.Put(kIndent);
            }
            continue;
        }
        if (cur.strFontName != font) {
            font = cur.strFontName;
            symbolFont = IsSymbolFont(font);
        }
        const uint16_t code = replace(cur.wCode, symbolFont);
        if (fontTag.empty() && ref != -1) AppendFontTag(fontTag, list[ref]);
        if (text.Size() == 0) {
            if (body) {
                runs.NoteIndent(0);
                text.Put(kIndent);
            }
        } else {
            if (i > 0) text.PutGap(GapSpaces(list[i - 1], cur, code));
            if (IsSameRun(block, ref, cur, code) == 0) {
                if (fontTag.empty()) AppendFontTag(fontTag, cur);
                runs.Append(html, fontTag, text.Written(), runBegin, text.Size());
                runBegin = text.Size();
                fontTag.clear();
                AppendFontTag(fontTag, cur);
            }
        }
        std::array<char, 2> buffer{};
        text.PutCode(buffer, CodeText(code, buffer).size());
        if (code >= 0x8000 && !IsPunct(code)) ref = static_cast<int>(i);
    }

    std::string html_out;
    if (block.m_nArticle != -1) {
        if (fontTag.empty() && !chars.empty()) AppendFontTag(fontTag, chars[0]);
        html_out.reserve(html.size() + (text.Size() - runBegin) + fontTag.size() + 32);
        html_out = "<p>";
        html_out += html;
        runs.Append(html_out, fontTag, text.Written(), runBegin, text.Size());
        html_out += "</p>";
    }
    return BlockTexts{text.Take(), std::move(html_out)};
}

std::string BuildBlockText(CBaseBlock& block, std::span<const St_ReplaceCode> replaceCodes,
                           std::span<const St_ReplaceCode> symbolCodes) {
    BlockTexts texts = RenderBlockText(block, replaceCodes, symbolCodes);
    block.m_strParaHtml = std::move(texts.html);
    return std::move(texts.text);
}

}  // namespace kestrum
