#include "textasm/CharCodes.h"

#include "platform/Mbcs.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace kestrum {
namespace {

// Full-width punctuation of horizontal text and, at the same index, the vertical
// presentation form the typesetting system draws in vertical text.
constexpr std::array<uint16_t, kPunctCount> kHorzPunct = {
    0xA1A2, 0xA1A3, 0xA1AA, 0xA1AD, 0xA1AE, 0xA1AF, 0xA1B0, 0xA1B1, 0xA1B2, 0xA1B3,
    0xA1B4, 0xA1B5, 0xA1B6, 0xA1B7, 0xA1B8, 0xA1B9, 0xA1BA, 0xA1BB, 0xA1BE, 0xA1BF,
    0xA3A1, 0xA3A8, 0xA3A9, 0xA3AC, 0xA3AE, 0xA3BA, 0xA3BB, 0xA3BF, 0xA3DB, 0xA3DD,
    0xA3FB, 0xA3FD, 0xA5F7, 0xA5F8,
};
// Repeats codes (corner brackets, lenticular brackets): a lookup takes the first.
constexpr std::array<uint16_t, kPunctCount> kVertPunct = {
    0xA6DB, 0xA6DA, 0xA6F2, 0xA6F3, 0xA6E8, 0xA6E9, 0xA6EA, 0xA6EB, 0xA6E2, 0xA6E3,
    0xA6E4, 0xA6E5, 0xA6E6, 0xA6E7, 0xA6E8, 0xA6E9, 0xA6EA, 0xA6EB, 0xA6EE, 0xA6EF,
    0xA6DE, 0xA6E0, 0xA6E1, 0xA6D9, 0xA6FE, 0xA6DC, 0xA6DD, 0xA6DF, 0xA6EE, 0xA6EF,
    0xA6F0, 0xA6F1, 0xA6EC, 0xA6ED,
};

constexpr std::string_view kSymbolFontMark = "\xC5\xC5\xB0\xE6\xB7\xFB\xBA\xC5";  // 排版符号
constexpr uint16_t kSymbolSubstitute = 0xA1F1;                                  // ●

// Most text is no punctuation: codes outside a table's span are answered at once.
constexpr auto kHorzSpan = std::ranges::minmax(kHorzPunct);
constexpr auto kVertSpan = std::ranges::minmax(kVertPunct);

int FindIn(const std::array<uint16_t, kPunctCount>& table, std::ranges::min_max_result<uint16_t> span,
           uint16_t code) {
    if (code < span.min || code > span.max) return -1;
    auto it = std::find(table.begin(), table.end(), code);
    return it == table.end() ? -1 : static_cast<int>(it - table.begin());
}

// The `to` of the first pair whose `from` is `code`, or `fallback`.
uint16_t Replace(std::span<const St_ReplaceCode> codes, uint16_t code, uint16_t fallback) {
    for (const St_ReplaceCode& pair : codes)
        if (pair.from == code) return pair.to;
    return fallback;
}

}  // namespace

int FindHorzPunct(uint16_t code) { return FindIn(kHorzPunct, kHorzSpan, code); }
int FindVertPunct(uint16_t code) { return FindIn(kVertPunct, kVertSpan, code); }
bool IsPunct(uint16_t code) {
    if (code < std::min(kHorzSpan.min, kVertSpan.min) || code > std::max(kHorzSpan.max, kVertSpan.max)) return false;
    return FindHorzPunct(code) >= 0 || FindVertPunct(code) >= 0;
}

bool IsSymbolFont(std::string_view fontName) {
    // A plain byte search: the mark is looked for wherever it occurs, as the
    // typesetting system's own font test does.
    return fontName.find(kSymbolFontMark) != std::string_view::npos;
}

uint16_t ReplacedCode(uint16_t code, bool symbolFont, std::span<const St_ReplaceCode> replaceCodes,
                      std::span<const St_ReplaceCode> symbolCodes) {
    if (symbolFont) return Replace(symbolCodes, code, kSymbolSubstitute);
    return Replace(replaceCodes, code, code);
}

std::string_view CodeText(uint16_t code, std::array<char, 2>& buffer) {
    const int vert = FindVertPunct(code);
    if (vert >= 0) code = kHorzPunct[static_cast<size_t>(vert)];
    if (code >= 0x8000) {
        buffer = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
        return {buffer.data(), 2};
    }
    buffer[0] = static_cast<char>(code & 0xFF);
    return {buffer.data(), buffer[0] != 0 ? size_t{1} : size_t{0}};
}

std::string CharToText(St_WordInfo& ch, std::span<const St_ReplaceCode> replaceCodes,
                       std::span<const St_ReplaceCode> symbolCodes) {
    ch.wCode = ReplacedCode(ch.wCode, IsSymbolFont(ch.strFontName), replaceCodes, symbolCodes);
    std::array<char, 2> buffer;
    return std::string(CodeText(ch.wCode, buffer));
}

int IsSameRun(const CBaseBlock& block, int refIndex, const St_WordInfo& ch, uint16_t code) {
    if (refIndex < 0) return 1;
    if (code < 0x8000) return 1;
    if (IsPunct(code)) return 1;
    if (static_cast<size_t>(refIndex) >= block.m_arrChars.size()) return 1;
    const St_WordInfo& ref = block.m_arrChars[static_cast<size_t>(refIndex)];
    if (ref.IsParagraphMarker()) return 1;
    if (ref.nHeight != ch.nHeight) return 0;
    // The same name is the common case and needs no folding.
    if (ref.strFontName == ch.strFontName || MbEqualNoCase(ref.strFontName, ch.strFontName)) return 1;
    return 0;
}

}  // namespace kestrum
