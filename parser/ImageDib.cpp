#include "parser/ImageDib.h"

#include "parser/Image.h"

#include <cstring>

namespace kestrum::dib {

namespace {

uint32_t ReadU32(const std::vector<uint8_t>& bytes, size_t at) {
    uint32_t v;
    std::memcpy(&v, bytes.data() + at, 4);
    return v;
}

void WriteU32(std::vector<uint8_t>& bytes, size_t at, uint32_t v) { std::memcpy(bytes.data() + at, &v, 4); }

void WriteU16(std::vector<uint8_t>& bytes, size_t at, uint16_t v) { std::memcpy(bytes.data() + at, &v, 2); }

size_t PaletteBytes(uint16_t bpp) { return bpp == 8 ? kPaletteEntries * 4 : 0; }

}  // namespace

size_t RowBytes(uint32_t width, uint16_t bpp) {
    const uint64_t bits = uint64_t{width} * bpp;
    const uint64_t bytes = (bits + 31) / 32 * 4;
    return bytes > kMaxImageBytes ? 0 : static_cast<size_t>(bytes);
}

size_t PixelBytes(uint32_t width, uint32_t height, uint16_t bpp) {
    const uint64_t total = uint64_t{RowBytes(width, bpp)} * height;
    return total > kMaxImageBytes ? 0 : static_cast<size_t>(total);
}

bool Create(std::vector<uint8_t>& bytes, uint32_t width, uint32_t height, uint16_t bpp) {
    bytes.clear();
    // The header holds signed sizes.
    if (width == 0 || height == 0 || width > INT32_MAX || height > INT32_MAX || (bpp != 8 && bpp != 24))
        return false;
    const size_t pixels = PixelBytes(width, height, bpp);
    if (pixels == 0) return false;
    bytes.assign(kHeaderSize + PaletteBytes(bpp) + pixels, 0);
    WriteU32(bytes, 0, kHeaderSize);
    WriteU32(bytes, 4, width);
    WriteU32(bytes, 8, height);
    WriteU16(bytes, 12, 1);
    WriteU16(bytes, 14, bpp);
    WriteU32(bytes, 20, static_cast<uint32_t>(pixels));
    if (bpp == 8) {
        WriteU32(bytes, 32, kPaletteEntries);
        uint8_t* palette = Palette(bytes);
        for (uint32_t i = 0; i < kPaletteEntries; ++i) {
            const auto v = static_cast<uint8_t>(i);
            SetPaletteEntry(palette, i, v, v, v);
        }
    }
    return true;
}

uint32_t Width(const std::vector<uint8_t>& bytes) { return bytes.empty() ? 0 : ReadU32(bytes, 4); }
uint32_t Height(const std::vector<uint8_t>& bytes) { return bytes.empty() ? 0 : ReadU32(bytes, 8); }

uint16_t Bpp(const std::vector<uint8_t>& bytes) {
    if (bytes.empty()) return 0;
    uint16_t v;
    std::memcpy(&v, bytes.data() + 14, 2);
    return v;
}

uint8_t* Palette(std::vector<uint8_t>& bytes) { return Bpp(bytes) == 8 ? bytes.data() + kHeaderSize : nullptr; }
const uint8_t* Palette(const std::vector<uint8_t>& bytes) {
    return Bpp(bytes) == 8 ? bytes.data() + kHeaderSize : nullptr;
}

uint8_t* Row(std::vector<uint8_t>& bytes, uint32_t y) {
    const uint16_t bpp = Bpp(bytes);
    const size_t first = kHeaderSize + PaletteBytes(bpp);
    return bytes.data() + first + size_t{Height(bytes) - 1 - y} * RowBytes(Width(bytes), bpp);
}

const uint8_t* Row(const std::vector<uint8_t>& bytes, uint32_t y) {
    return Row(const_cast<std::vector<uint8_t>&>(bytes), y);
}

void RowToBgr(const std::vector<uint8_t>& bytes, uint32_t y, uint8_t* out) {
    const uint32_t width = Width(bytes);
    const uint8_t* row = Row(bytes, y);
    if (Bpp(bytes) == 24) {
        std::memcpy(out, row, size_t{width} * 3);
        return;
    }
    const uint8_t* palette = Palette(bytes);
    for (uint32_t x = 0; x < width; ++x) std::memcpy(out + size_t{x} * 3, palette + size_t{row[x]} * 4, 3);
}

}  // namespace kestrum::dib
