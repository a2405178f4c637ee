// BMP files: a 14-byte file header and a packed DIB. Uncompressed 1, 4, 8, 24 and
// 32-bit pictures are read (bottom-up or top-down); the few bits become 8. Run-length
// compressed and 16-bit files are not.
#include "parser/Image.h"
#include "parser/ImageCodecs.h"
#include "parser/ImageDib.h"

#include <cstring>
#include <vector>

namespace kestrum::codec {

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kRgb = 0;
constexpr uint32_t kBitFields = 3;

uint32_t U32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t{p[3]} << 24); }
uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint8_t IndexAt(const uint8_t* row, uint32_t x, uint16_t bpp) {
    if (bpp == 8) return row[x];
    const uint32_t perByte = 8 / bpp;
    const uint32_t shift = 8 - bpp * (x % perByte + 1);
    return static_cast<uint8_t>((row[x / perByte] >> shift) & ((1u << bpp) - 1));
}

long FileSize(FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) return -1;
    const long size = std::ftell(file);
    std::rewind(file);
    return size;
}

}  // namespace

bool DecodeBmp(FILE* file, std::vector<uint8_t>& dib) {
    const long fileSize = FileSize(file);
    uint8_t head[kFileHeaderSize + dib::kHeaderSize];
    if (fileSize < 0 || std::fread(head, 1, sizeof head, file) != sizeof head || head[0] != 'B' || head[1] != 'M')
        return false;
    const uint8_t* info = head + kFileHeaderSize;
    const uint32_t pixelOffset = U32(head + 10);
    const uint32_t infoSize = U32(info);
    const auto width = static_cast<int32_t>(U32(info + 4));
    const auto rawHeight = static_cast<int32_t>(U32(info + 8));
    const uint16_t bpp = U16(info + 14);
    const uint32_t compression = U32(info + 16);
    uint32_t colours = U32(info + 32);
    if (infoSize < dib::kHeaderSize || width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN) return false;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) return false;
    if (!(compression == kRgb || (compression == kBitFields && bpp == 32))) return false;
    if (compression == kBitFields) {
        // Only the usual layout, B, G, R and an unused byte, whichever header carries the masks.
        uint8_t masks[12];
        if (std::fseek(file, long(kFileHeaderSize + dib::kHeaderSize), SEEK_SET) != 0 ||
            std::fread(masks, 1, sizeof masks, file) != sizeof masks || U32(masks) != 0xFF0000u ||
            U32(masks + 4) != 0xFF00u || U32(masks + 8) != 0xFFu)
            return false;
    }
    const bool topDown = rawHeight < 0;
    const auto height = static_cast<uint32_t>(topDown ? -rawHeight : rawHeight);

    // The file must hold every row before anything is allocated for them.
    const size_t rowBytes = dib::RowBytes(uint32_t(width), bpp);
    if (rowBytes == 0 || uint64_t{pixelOffset} + uint64_t{rowBytes} * height > uint64_t(fileSize)) return false;
    if (!dib::Create(dib, uint32_t(width), height, bpp <= 8 ? 8 : 24)) return false;

    if (bpp <= 8) {
        const uint32_t most = 1u << bpp;
        if (colours == 0 || colours > most) colours = most;
        std::vector<uint8_t> table(size_t{colours} * 4);
        if (std::fseek(file, long(kFileHeaderSize + infoSize), SEEK_SET) != 0 ||
            std::fread(table.data(), 1, table.size(), file) != table.size())
            return false;
        std::memcpy(dib::Palette(dib), table.data(), table.size());
    }
    if (std::fseek(file, long(pixelOffset), SEEK_SET) != 0) return false;
    std::vector<uint8_t> row(rowBytes);
    for (uint32_t fileRow = 0; fileRow < height; ++fileRow) {
        if (std::fread(row.data(), 1, rowBytes, file) != rowBytes) return false;
        uint8_t* to = dib::Row(dib, topDown ? fileRow : height - 1 - fileRow);
        for (uint32_t x = 0; x < uint32_t(width); ++x) {
            if (bpp <= 8)
                to[x] = IndexAt(row.data(), x, bpp);
            else
                std::memcpy(to + x * 3, row.data() + x * (bpp / 8), 3);
        }
    }
    return true;
}

}  // namespace kestrum::codec
