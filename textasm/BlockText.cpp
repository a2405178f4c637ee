#include "textasm/BlockText.h"

#include "textasm/CharCodes.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

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

std::string FontTag(const St_WordInfo& ch) {
    return "<font face = \"" + ch.strFontName + "\"  size = \"" + std::to_string(ch.nHeight) + "\">";
}

std::string RunElement(const std::string& fontTag, const std::string& runText) {
    return fontTag + " <![CDATA[" + runText + "]]></font>";
}

// The spaces that stand for the gap between two neighbouring characters.
std::string GapSpaces(const St_WordInfo& prev, const St_WordInfo& cur) {
    const int64_t a = (int64_t{prev.nHeight} + cur.nHeight) / 2;
    const bool bothSingle = prev.wCode < 0x8000 && cur.wCode < 0x8000;
    const bool bothDouble = prev.wCode >= 0x8000 && cur.wCode >= 0x8000;
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
    const char* space = bothSingle ? kNarrowSpace : kWideSpace;
    std::string spaces;
    if (gap >= unit) {
        for (int n = 0; gap >= unit && n < kMaxGapSpaces; ++n) {
            spaces += space;
            gap -= unit;
        }
        return spaces;
    }
    const double lower = double(a) * (bothSingle ? kSingleMinGap : kDoubleMinGap);
    if ((bothSingle || bothDouble) && gap > lower && gap <= double(a) * kMaxNarrowGap)
        spaces = kNarrowSpace;
    return spaces;
}

}  // namespace

std::string BuildBlockText(CBaseBlock& block, std::span<const St_ReplaceCode> replaceCodes,
                           std::span<const St_ReplaceCode> symbolCodes) {
    const auto& chars = block.m_arrChars;
    const bool body = block.m_nKind == kBlockBody;
    std::string text, html, runText, fontTag;
    int ref = -1;  // reference character of the current run

    for (size_t i = 0; i < chars.size(); ++i) {
        St_WordInfo cur = chars[i];
        if (cur.IsParagraphMarker() && i + 1 == chars.size()) continue;
        const std::string t = CharToText(cur, replaceCodes, symbolCodes);
        if (cur.IsParagraphMarker()) {
            text += kLineBreak;
            runText += kLineBreak;
            if (body) text += kIndent;
            continue;
        }
        if (fontTag.empty() && ref != -1) fontTag = FontTag(chars[static_cast<size_t>(ref)]);
        if (text.empty()) {
            if (body) text = kIndent;
        } else {
            if (i > 0) {
                const std::string spaces = GapSpaces(chars[i - 1], cur);
                text += spaces;
                runText += spaces;
            }
            if (IsSameRun(block, ref, cur) == 0) {
                if (fontTag.empty()) fontTag = FontTag(cur);
                html += RunElement(fontTag, runText);
                fontTag = FontTag(cur);
                runText.clear();
            }
        }
        runText += t;
        text += t;
        if (cur.wCode >= 0x8000 && !IsPunct(cur.wCode)) ref = static_cast<int>(i);
    }

    if (fontTag.empty() && !chars.empty()) fontTag = FontTag(chars[0]);
    html += RunElement(fontTag, runText);
    block.m_strParaHtml = "<p>" + html + "</p>";
    if (block.m_nArticle == -1) block.m_strParaHtml.clear();
    return text;
}

}  // namespace kestrum
