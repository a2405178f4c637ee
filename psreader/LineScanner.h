// Operands of the page lines: number runs, the text of a show line, the mirrored
// matrix test and taking one character off a text. Numbers follow atof/atoi.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kestrum {

// The byte values a line holds. A marker with a byte the line lacks cannot occur in
// it, which spares the search for most markers on most lines.
class ByteSet {
public:
    explicit ByteSet(std::string_view text);
    bool MayHold(std::string_view marker) const;

private:
    std::array<uint8_t, 256> held_{};  // 1 for each byte value the text holds
};

// atof / atoi of the text (leading white space, the longest valid prefix, 0 without one).
double Atof(std::string_view text);
int32_t Atoi(std::string_view text);

// Splits `text` at `sep` into at most `count` numbers stored from values[0]; entries
// beyond those found keep what they held. Runs of separators count as one.
bool SplitNumbers(std::string_view text, char sep, size_t count, float* values);

// The first `N` numbers of `text` split at spaces; missing ones are 0.
template <size_t N>
std::array<float, N> Numbers(std::string_view text) {
    std::array<float, N> values{};
    SplitNumbers(text, ' ', N, values.data());
    return values;
}

// The size-giving numbers of a font line's matrix "[a b c d e f]" (the text after
// " findfont [" at `markerPos`, up to the next ']'): width a and height -d, or, for a
// font turned by 90 degrees (a = 0), width b and height c.
struct FontMatrix {
    float w = 0.0f;
    float h = 0.0f;
    bool rotated = false;
};
inline constexpr std::string_view kFindFont = " findfont [";
FontMatrix ReadFontMatrix(std::string_view line, size_t markerPos);

// The text operand of a show line, literal "(...)" or hexadecimal "<...>"; empty
// when the line has none.
std::string ExtractShowText(std::string_view line);
// The same into `out`, whose room is used again.
void ExtractShowText(std::string_view line, std::string& out);

// The translation (fifth and sixth numbers) of a "[a b c d e f] concat" line.
struct ConcatTranslation {
    float tx = 0.0f;
    float ty = 0.0f;
    bool mirrored = false;  // a negative tx or ty
};
// False when the line holds no "] concat".
bool ReadConcat(std::string_view line, ConcatTranslation& out);
bool IsMirroredConcat(std::string_view line);

// Removes the first character of `text` and gives its code (a byte below 0x80, or lead
// byte * 256 + trail byte); 1 for a two-byte character, else 0. A lead byte at the very
// end is taken with a zero trail byte.
inline int TakeChar(std::string_view& text, uint16_t& code) {
    if (text.empty()) {
        code = 0;
        return 0;
    }
    const unsigned char first = static_cast<unsigned char>(text[0]);
    if (first < 0x80) {
        code = first;
        text.remove_prefix(1);
        return 0;
    }
    const unsigned char second = text.size() > 1 ? static_cast<unsigned char>(text[1]) : 0;
    code = static_cast<uint16_t>(first * 256 + second);
    text.remove_prefix(text.size() > 1 ? 2 : 1);
    return 1;
}

}  // namespace kestrum
