// A packed device-independent bitmap (header, colour table, pixels) as a .bmp file.
#pragma once

#include <cstddef>
#include <string>

// Empty when the bitmap's header does not describe a bitmap inside `size` bytes.
std::string BmpFile(const unsigned char* dib, size_t size);
