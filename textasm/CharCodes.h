// Character codes of the PostScript pages as the host should read them: vertical
// punctuation back to its horizontal form, full-width digits to ASCII, symbols of
// the typesetting system's own fonts to a neutral mark; and the run test that says
// where a run of one font and size ends. The tests a block's every character goes
// through are inline here.
#pragma once

#include "platform/Mbcs.h"
#include "pscontent/Records.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kestrum {

inline constexpr int kPunctCount = 34;

namespace punct_tables {

// Full-width punctuation of horizontal text and, at the same index, the vertical
// presentation form the typesetting system draws in vertical text.
inline constexpr std::array<uint16_t, kPunctCount> kHorz = {
    0xA1A2, 0xA1A3, 0xA1AA, 0xA1AD, 0xA1AE, 0xA1AF, 0xA1B0, 0xA1B1, 0xA1B2, 0xA1B3,
    0xA1B4, 0xA1B5, 0xA1B6, 0xA1B7, 0xA1B8, 0xA1B9, 0xA1BA, 0xA1BB, 0xA1BE, 0xA1BF,
    0xA3A1, 0xA3A8, 0xA3A9, 0xA3AC, 0xA3AE, 0xA3BA, 0xA3BB, 0xA3BF, 0xA3DB, 0xA3DD,
    0xA3FB, 0xA3FD, 0xA5F7, 0xA5F8,
};
// Repeats codes (corner brackets, lenticular brackets): a lookup takes the first.
inline constexpr std::array<uint16_t, kPunctCount> kVert = {
    0xA6DB, 0xA6DA, 0xA6F2, 0xA6F3, 0xA6E8, 0xA6E9, 0xA6EA, 0xA6EB, 0xA6E2, 0xA6E3,
    0xA6E4, 0xA6E5, 0xA6E6, 0xA6E7, 0xA6E8, 0xA6E9, 0xA6EA, 0xA6EB, 0xA6EE, 0xA6EF,
    0xA6DE, 0xA6E0, 0xA6E1, 0xA6D9, 0xA6FE, 0xA6DC, 0xA6DD, 0xA6DF, 0xA6EE, 0xA6EF,
    0xA6F0, 0xA6F1, 0xA6EC, 0xA6ED,
};

// Most text is no punctuation: codes outside a table's span are answered at once.
inline constexpr auto kHorzSpan = std::ranges::minmax(kHorz);
inline constexpr auto kVertSpan = std::ranges::minmax(kVert);

inline int FindIn(const std::array<uint16_t, kPunctCount>& table, std::ranges::min_max_result<uint16_t> span,
                  uint16_t code) {
    if (code < span.min || code > span.max) return -1;
    auto it = std::find(table.begin(), table.end(), code);
    return it == table.end() ? -1 : static_cast<int>(it - table.begin());
}

}  // namespace punct_tables

// Index of the first table entry holding `code`, or -1.
inline int FindHorzPunct(uint16_t code) { return punct_tables::FindIn(punct_tables::kHorz, punct_tables::kHorzSpan, code); }
inline int FindVertPunct(uint16_t code) { return punct_tables::FindIn(punct_tables::kVert, punct_tables::kVertSpan, code); }
// In either table.
inline bool IsPunct(uint16_t code) {
    using namespace punct_tables;
    if (code < std::min(kHorzSpan.min, kVertSpan.min) || code > std::max(kHorzSpan.max, kVertSpan.max)) return false;
    return FindHorzPunct(code) >= 0 || FindVertPunct(code) >= 0;
}

// True for the typesetting system's symbol fonts, whose codes mean nothing elsewhere.
bool IsSymbolFont(std::string_view fontName);

// The replacement lists of a page: symbolCodes in a symbol font (a neutral mark for
// codes it does not list), else replaceCodes. The lists are lent, not copied.
class CodeReplacer {
public:
    CodeReplacer(std::span<const St_ReplaceCode> replaceCodes, std::span<const St_ReplaceCode> symbolCodes);

    uint16_t operator()(uint16_t code, bool symbolFont) const {
        if (symbolFont) return Replace(symbolCodes_, code, kSymbolSubstitute);
        // Most codes lie outside the span of the list's codes.
        if (code < replaceMin_ || code > replaceMax_) return code;
        return Replace(replaceCodes_, code, code);
    }

private:
    static constexpr uint16_t kSymbolSubstitute = 0xA1F1;  // ●

    // The `to` of the first pair whose `from` is `code`, or `fallback`.
    static uint16_t Replace(std::span<const St_ReplaceCode> codes, uint16_t code, uint16_t fallback) {
        for (const St_ReplaceCode& pair : codes)
            if (pair.from == code) return pair.to;
        return fallback;
    }

    std::span<const St_ReplaceCode> replaceCodes_, symbolCodes_;
    uint16_t replaceMin_ = 0xFFFF, replaceMax_ = 0;
};

// The code the replacement lists give `code` (see CodeReplacer).
inline uint16_t ReplacedCode(uint16_t code, bool symbolFont, std::span<const St_ReplaceCode> replaceCodes,
                             std::span<const St_ReplaceCode> symbolCodes) {
    return CodeReplacer(replaceCodes, symbolCodes)(code, symbolFont);
}

// The bytes of a character code, vertical punctuation in its horizontal form: one
// byte for a code below 0x80 (none for 0), two for a GBK code; kept in `buffer`.
inline std::string_view CodeText(uint16_t code, std::array<char, 2>& buffer) {
    const int vert = FindVertPunct(code);
    if (vert >= 0) code = punct_tables::kHorz[static_cast<size_t>(vert)];
    if (code >= 0x8000) {
        buffer = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
        return {buffer.data(), 2};
    }
    buffer[0] = static_cast<char>(code & 0xFF);
    return {buffer.data(), buffer[0] != 0 ? size_t{1} : size_t{0}};
}

// Applies the replacement lists to ch.wCode (in place) and returns the character's
// bytes as CodeText gives them.
std::string CharToText(St_WordInfo& ch, std::span<const St_ReplaceCode> replaceCodes,
                       std::span<const St_ReplaceCode> symbolCodes);

// Font names of two characters are the same when they match with ASCII letters folded.
inline bool SameFontName(const FontName& a, const FontName& b) {
    // The same name is the common case and needs no folding.
    return a == b || MbEqualNoCase(a, b);
}

// 1 when a character of code `code` in ch's font and size continues the run whose
// reference character is element `refIndex` of the block's characters (-1: no
// reference yet), 0 when a new run starts. Single-byte characters and punctuation
// never end a run.
inline int IsSameRun(const CBaseBlock& block, int refIndex, const St_WordInfo& ch, uint16_t code) {
    if (refIndex < 0) return 1;
    if (code < 0x8000) return 1;
    if (IsPunct(code)) return 1;
    // The index is checked against the end pointer: a count of 52-byte records costs a division.
    const auto at = block.m_arrChars.begin() + refIndex;
    if (at >= block.m_arrChars.end()) return 1;
    const St_WordInfo& ref = *at;
    if (ref.IsParagraphMarker()) return 1;
    if (ref.nHeight != ch.nHeight) return 0;
    return SameFontName(ref.strFontName, ch.strFontName) ? 1 : 0;
}
inline int IsSameRun(const CBaseBlock& block, int refIndex, const St_WordInfo& ch) {
    return IsSameRun(block, refIndex, ch, ch.wCode);
}

}  // namespace kestrum
