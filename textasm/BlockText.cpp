#include "textasm/BlockText.h"

#include "textasm/CharCodes.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

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

void AppendRunElement(std::string& out, std::string_view fontTag, std::string_view runText) {
    out += fontTag;
    out += " <![CDATA[";
    out += runText;
    out += "]]></font>";
}

// The spaces that stand for the gap between two neighbouring characters, the second
// of code `code`: `count` times `space`.
struct Gap {
    const char* space = kNarrowSpace;
    int count = 0;
};

Gap GapSpaces(const St_WordInfo& prev, const St_WordInfo& cur, uint16_t code) {
    const int64_t a = (int64_t{prev.nHeight} + cur.nHeight) / 2;
    const bool bothSingle = prev.wCode < 0x8000 && code < 0x8000;
    const bool bothDouble = prev.wCode >= 0x8000 && code >= 0x8000;
    const bool sameColumn = std::llabs(int64_t{cur.nX} - prev.nX) < a;
    const bool sameLine = std::llabs(int64_t{cur.nY} - prev.nY) < a;
    if (!sameLine && !sameColumn) return {};  // so a > 0 from here on, and so is the unit

    double gap = 0.0;
    if (prev.bVertical) {
        if (cur.bVertical && sameColumn) gap = double(int64_t{cur.rcChar.top} - prev.rcChar.bottom);
    } else if (!cur.bVertical && sameLine) {
        gap = double(int64_t{cur.rcChar.left} - prev.rcChar.right);
    }

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

void AppendGap(std::string& out, Gap gap) {
    for (int n = 0; n < gap.count; ++n) out += gap.space;
}

// The bytes of `code` as CodeText gives them, without a call per character.
void AppendCode(std::string& out, uint16_t code) {
    std::array<char, 2> buffer;
    for (char c : CodeText(code, buffer)) out.push_back(c);
}

}  // namespace

BlockTexts RenderBlockText(const CBaseBlock& block, std::span<const St_ReplaceCode> replaceCodes,
                           std::span<const St_ReplaceCode> symbolCodes) {
    const auto& chars = block.m_arrChars;
    const bool body = block.m_nKind == kBlockBody;
    const CodeReplacer replace(replaceCodes, symbolCodes);
    std::string text, html, runText, fontTag;
    // Room for every character as two bytes; gaps and breaks seldom need more.
    text.reserve(chars.size() * 2 + (body ? std::strlen(kIndent) : 0));
    runText.reserve(chars.size() * 2);
    int ref = -1;  // reference character of the current run
    // Neighbours mostly share a font: the symbol font test is made once per change.
    FontName font = chars.empty() ? FontName() : chars[0].strFontName;
    bool symbolFont = IsSymbolFont(font);

    for (size_t i = 0; i < chars.size(); ++i) {
        const St_WordInfo& cur = chars[i];
        if (cur.IsParagraphMarker()) {
            if (i + 1 == chars.size()) continue;
            text += kLineBreak;
            runText += kLineBreak;
            if (body) text += kIndent;
            continue;
        }
        if (cur.strFontName != font) {
            font = cur.strFontName;
            symbolFont = IsSymbolFont(font);
        }
        const uint16_t code = replace(cur.wCode, symbolFont);
        if (fontTag.empty() && ref != -1) AppendFontTag(fontTag, chars[static_cast<size_t>(ref)]);
        if (text.empty()) {
            if (body) text = kIndent;
        } else {
            if (i > 0) {
                const Gap gap = GapSpaces(chars[i - 1], cur, code);
                if (gap.count > 0) {
                    AppendGap(text, gap);
                    AppendGap(runText, gap);
                }
            }
            if (IsSameRun(block, ref, cur, code) == 0) {
                if (fontTag.empty()) AppendFontTag(fontTag, cur);
                AppendRunElement(html, fontTag, runText);
                fontTag.clear();
                AppendFontTag(fontTag, cur);
                runText.clear();
            }
        }
        AppendCode(text, code);
        AppendCode(runText, code);
        if (code >= 0x8000 && !IsPunct(code)) ref = static_cast<int>(i);
    }

    BlockTexts out{std::move(text), {}};
    if (block.m_nArticle == -1) return out;
    if (fontTag.empty() && !chars.empty()) AppendFontTag(fontTag, chars[0]);
    out.html.reserve(html.size() + runText.size() + fontTag.size() + 32);
    out.html = "<p>";
    out.html += html;
    AppendRunElement(out.html, fontTag, runText);
    out.html += "</p>";
    return out;
}

std::string BuildBlockText(CBaseBlock& block, std::span<const St_ReplaceCode> replaceCodes,
                           std::span<const St_ReplaceCode> symbolCodes) {
    BlockTexts texts = RenderBlockText(block, replaceCodes, symbolCodes);
    block.m_strParaHtml = std::move(texts.html);
    return std::move(texts.text);
}

}  // namespace kestrum
