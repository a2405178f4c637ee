// Character codes of the PostScript pages as the host should read them: vertical
// punctuation back to its horizontal form, full-width digits to ASCII, symbols of
// the typesetting system's own fonts to a neutral mark; and the run test that says
// where a run of one font and size ends.
#pragma once

#include "pscontent/Records.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kestrum {

inline constexpr int kPunctCount = 34;

// Index of the first table entry holding `code`, or -1.
int FindHorzPunct(uint16_t code);
int FindVertPunct(uint16_t code);
bool IsPunct(uint16_t code);  // in either table

// True for the typesetting system's symbol fonts, whose codes mean nothing elsewhere.
bool IsSymbolFont(std::string_view fontName);

// The code the replacement lists give `code`: symbolCodes in a symbol font (a neutral
// mark for codes it does not list), else replaceCodes.
uint16_t ReplacedCode(uint16_t code, bool symbolFont, std::span<const St_ReplaceCode> replaceCodes,
                      std::span<const St_ReplaceCode> symbolCodes);

// The bytes of a character code, vertical punctuation in its horizontal form: one
// byte for a code below 0x80 (none for 0), two for a GBK code; kept in `buffer`.
std::string_view CodeText(uint16_t code, std::array<char, 2>& buffer);

// Applies the replacement lists to ch.wCode (in place) and returns the character's
// bytes as CodeText gives them.
std::string CharToText(St_WordInfo& ch, std::span<const St_ReplaceCode> replaceCodes,
                       std::span<const St_ReplaceCode> symbolCodes);

// 1 when a character of code `code` in ch's font and size continues the run whose
// reference character is element `refIndex` of the block's characters (-1: no
// reference yet), 0 when a new run starts. Single-byte characters and punctuation
// never end a run.
int IsSameRun(const CBaseBlock& block, int refIndex, const St_WordInfo& ch, uint16_t code);
inline int IsSameRun(const CBaseBlock& block, int refIndex, const St_WordInfo& ch) {
    return IsSameRun(block, refIndex, ch, ch.wCode);
}

}  // namespace kestrum
