// Layout of the packed device-independent bitmaps the image layer keeps its pixels
// in: a 40-byte BITMAPINFOHEADER, a palette of RGBQUADs for 8 bits, then bottom-up
// rows padded to 4 bytes, BGR. Every image is 8-bit with a palette or 24-bit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kestrum::dib {

constexpr size_t kHeaderSize = 40;
constexpr uint32_t kPaletteEntries = 256;

// Bytes of one padded row; 0 when it does not fit the image limit.
size_t RowBytes(uint32_t width, uint16_t bpp);
// Bytes of the pixel rows of such an image; 0 when they would exceed the image limit.
size_t PixelBytes(uint32_t width, uint32_t height, uint16_t bpp);

// Lays out a zeroed image (a grey-ramp palette for 8 bits). False, with `bytes`
// emptied, for a zero size, a depth other than 8 or 24, or pixels beyond the limit.
bool Create(std::vector<uint8_t>& bytes, uint32_t width, uint32_t height, uint16_t bpp);

uint32_t Width(const std::vector<uint8_t>& bytes);
uint32_t Height(const std::vector<uint8_t>& bytes);
uint16_t Bpp(const std::vector<uint8_t>& bytes);
// Palette entries (B, G, R, 0 each); null for 24 bits.
uint8_t* Palette(std::vector<uint8_t>& bytes);
const uint8_t* Palette(const std::vector<uint8_t>& bytes);
// Row `y` counted from the top of the picture.
uint8_t* Row(std::vector<uint8_t>& bytes, uint32_t y);
const uint8_t* Row(const std::vector<uint8_t>& bytes, uint32_t y);

inline void SetPaletteEntry(uint8_t* palette, uint32_t index, uint8_t r, uint8_t g, uint8_t b) {
    palette[index * 4] = b;
    palette[index * 4 + 1] = g;
    palette[index * 4 + 2] = r;
    palette[index * 4 + 3] = 0;
}

// Row `y` as B, G, R triples, whatever the depth; `out` holds 3 x width bytes.
void RowToBgr(const std::vector<uint8_t>& bytes, uint32_t y, uint8_t* out);

}  // namespace kestrum::dib
