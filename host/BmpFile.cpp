#include "BmpFile.h"

#include <cstdint>

namespace {

constexpr uint32_t kInfoHeaderSize = 40;  // BITMAPINFOHEADER
constexpr uint32_t kFileHeaderSize = 14;  // BITMAPFILEHEADER
constexpr uint32_t kBitFields = 3;        // colour masks follow a BITMAPINFOHEADER

uint32_t ReadU32(const unsigned char* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }
uint16_t ReadU16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

void PutU32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

std::string BmpFile(const unsigned char* dib, size_t size) {
    if (!dib || size < kInfoHeaderSize) return {};
    uint32_t headerSize = ReadU32(dib);
    if (headerSize < kInfoHeaderSize || headerSize > size) return {};
    uint16_t bpp = ReadU16(dib + 14);
    uint32_t compression = ReadU32(dib + 16);
    uint32_t colours = ReadU32(dib + 32);
    if (colours == 0 && bpp <= 8) colours = 1u << bpp;
    uint64_t table = static_cast<uint64_t>(colours) * 4;
    if (compression == kBitFields && headerSize == kInfoHeaderSize) table += 12;
    uint64_t pixelsAt = kFileHeaderSize + headerSize + table;
    if (pixelsAt > kFileHeaderSize + size || kFileHeaderSize + size > UINT32_MAX) return {};

    std::string out = "BM";
    PutU32(out, static_cast<uint32_t>(kFileHeaderSize + size));
    PutU32(out, 0);  // two reserved words
    PutU32(out, static_cast<uint32_t>(pixelsAt));
    out.append(reinterpret_cast<const char*>(dib), size);
    return out;
}
