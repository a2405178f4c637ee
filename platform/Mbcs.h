// Text helpers for narrow strings in the page files' code page (GBK): a byte of
// 0x81 to 0xFE starts a two-byte character whose second (trail) byte may look
// like an ASCII character ('\\', '[', ']', '(' ...). Searches here never match
// at a trail byte.
#pragma once

#include <string>
#include <string_view>

namespace kestrum {

inline bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// First position where the bytes of `what` occur, boundaries aside; npos when they do
// not. Made for markers in page text, which is mostly numbers: the search runs on the
// marker's first byte that is not a digit, space, point or minus sign. Its time is at
// most the text's length times the marker's.
size_t FindBytes(std::string_view text, std::string_view what);

// First position at or after `from` where `what` starts on a character boundary;
// std::string::npos when there is none. An empty `what` matches at `from`.
// `from` itself must be a character boundary (0, or an offset found here).
size_t MbFind(std::string_view text, std::string_view what, size_t from = 0);
// Last such position, npos when there is none.
size_t MbFindLast(std::string_view text, std::string_view what);
inline bool MbContains(std::string_view text, std::string_view what) {
    return MbFind(text, what) != std::string_view::npos;
}
// Replaces every non-overlapping occurrence, left to right; returns the count.
size_t MbReplaceAll(std::string& text, std::string_view from, std::string_view to);
// Case-insensitive comparison of ASCII letters; two-byte characters compare as they are.
int MbCompareNoCase(std::string_view a, std::string_view b);
inline bool MbEqualNoCase(std::string_view a, std::string_view b) { return MbCompareNoCase(a, b) == 0; }

// Substrings by offset, clamped to the text: never outside it.
std::string Mid(std::string_view text, size_t pos, size_t count = std::string_view::npos);
std::string Left(std::string_view text, size_t count);
// Text before the first occurrence of `marker` (the whole text when absent).
std::string Before(std::string_view text, std::string_view marker);
// Text after the first occurrence of `marker` (empty when absent).
std::string After(std::string_view text, std::string_view marker);

// White space: space, tab, CR, LF, VT, FF.
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);
std::string Trim(std::string_view text);
// Removes every occurrence of `c` at the front / the end.
std::string TrimLeftChar(std::string_view text, char c);
std::string TrimRightChar(std::string_view text, char c);

}  // namespace kestrum
