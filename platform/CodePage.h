// Narrow <-> wide text with the calling thread's ANSI code page (936, GBK, unless
// the host sets another one), built on iconv. Conversions never fail and never
// drop the rest of a string: an invalid or truncated byte sequence becomes U+FFFD,
// a character the code page lacks becomes '?'.
#pragma once

#include <string>
#include <string_view>

namespace kestrum {

constexpr unsigned kDefaultCodePage = 936;

unsigned ThreadCodePage();
// False (and no change) when iconv does not know the code page.
bool SetThreadCodePage(unsigned codePage);

std::u16string NarrowToWide(std::string_view narrow);
std::string WideToNarrow(std::u16string_view wide);
// For null-terminated wide input that may be null (host strings): null gives "".
std::string WideToNarrow(const char16_t* wide);

std::string Utf16ToUtf8(std::u16string_view wide);
std::u16string Utf8ToUtf16(std::string_view utf8);
// Whether the bytes are well-formed UTF-8 throughout.
bool IsUtf8(std::string_view bytes);

}  // namespace kestrum
