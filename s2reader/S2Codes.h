// Character codes of S2 glyphs: GB2312 for Chinese characters, ASCII for Latin text,
// and the typesetting system's own codes for styled digits, quotes and symbols, which
// map onto GB2312. The text of a glyph is appended as GB2312/ASCII bytes, with
// full-width Latin letters and digits folded into ASCII.
#pragma once

#include <cstdint>
#include <string_view>

namespace kestrum {

// The GB2312 code of an S2 code; codes of no replacement map to themselves.
uint16_t ConvertS2Code(uint16_t code);

// The ASCII byte of punctuation that folds to half width after Latin text, else 0.
char HalfWidthPunctuation(uint16_t code);

// Writes the text bytes of the non-zero S2 code `code` to `out` (room for two) and
// returns how many; `previous` is the text so far (its last byte decides folding).
int AppendS2Char(uint16_t code, std::string_view previous, char* out);

}  // namespace kestrum
