// UTF-8 (the command line, the exports) <-> UTF-16 (the component's interface), over iconv.
#pragma once

#include <string>
#include <string_view>

std::u16string ToUtf16(std::string_view utf8);
std::string ToUtf8(std::u16string_view utf16);
