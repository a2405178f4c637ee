// PNG through libpng. Palette and grey pictures stay 8-bit; everything else becomes
// 24-bit, with transparency laid over white.
#include "parser/Image.h"
#include "parser/ImageCodecs.h"
#include "parser/ImageDib.h"

#include <csetjmp>
#include <vector>

#include <png.h>

namespace kestrum::codec {

namespace {

constexpr png_uint_32 kMaxSide = 1u << 20;  // pixels; the image limit catches the rest

void OnWarning(png_structp, png_const_charp) {}
[[noreturn]] void OnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

struct Reader {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~Reader() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

uint8_t OverWhite(uint8_t v, uint8_t alpha) { return static_cast<uint8_t>((v * alpha + 255 * (255 - alpha)) / 255); }

}  // namespace

bool DecodePng(FILE* file, std::vector<uint8_t>& dib) {
    Reader r;
    r.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
    if (!r.png) return false;
    r.info = png_create_info_struct(r.png);
    if (!r.info) return false;
    std::vector<uint8_t> pixels;
    std::vector<png_bytep> rows;
    if (setjmp(png_jmpbuf(r.png))) return false;
    png_set_user_limits(r.png, kMaxSide, kMaxSide);
    png_init_io(r.png, file);
    png_read_info(r.png, r.info);

    const png_uint_32 width = png_get_image_width(r.png, r.info);
    const png_uint_32 height = png_get_image_height(r.png, r.info);
    const int colourType = png_get_color_type(r.png, r.info);
    const int depth = png_get_bit_depth(r.png, r.info);
    const bool palette = colourType == PNG_COLOR_TYPE_PALETTE;
    const bool grey = colourType == PNG_COLOR_TYPE_GRAY && !png_get_valid(r.png, r.info, PNG_INFO_tRNS);
    const bool alpha = !palette && !grey;  // expanded to four channels below

    if (depth == 16) png_set_strip_16(r.png);
    if (palette) {
        png_set_packing(r.png);
    } else if (grey) {
        png_set_expand_gray_1_2_4_to_8(r.png);
    } else {
        png_set_expand(r.png);
        png_set_gray_to_rgb(r.png);
        png_set_add_alpha(r.png, 0xFF, PNG_FILLER_AFTER);
        png_set_bgr(r.png);
    }
    png_set_interlace_handling(r.png);
    png_read_update_info(r.png, r.info);

    if (!dib::Create(dib, width, height, palette || grey ? 8 : 24)) return false;
    if (palette) {
        png_colorp entries = nullptr;
        int count = 0;
        if (png_get_PLTE(r.png, r.info, &entries, &count) == PNG_INFO_PLTE && entries) {
            uint8_t* table = dib::Palette(dib);
            for (int i = 0; i < count && i < int(dib::kPaletteEntries); ++i)
                dib::SetPaletteEntry(table, i, entries[i].red, entries[i].green, entries[i].blue);
        }
    }
    rows.resize(height);
    if (alpha) {
        if (uint64_t{width} * height * 4 > kMaxImageBytes) return false;
        pixels.resize(size_t{width} * height * 4);
        for (png_uint_32 y = 0; y < height; ++y) rows[y] = pixels.data() + size_t{y} * width * 4;
    } else {
        for (png_uint_32 y = 0; y < height; ++y) rows[y] = dib::Row(dib, y);
    }
    png_read_image(r.png, rows.data());
    png_read_end(r.png, nullptr);

    if (alpha) {
        for (png_uint_32 y = 0; y < height; ++y) {
            const uint8_t* from = rows[y];
            uint8_t* to = dib::Row(dib, y);
            for (png_uint_32 x = 0; x < width; ++x, from += 4, to += 3) {
                to[0] = OverWhite(from[0], from[3]);
                to[1] = OverWhite(from[1], from[3]);
                to[2] = OverWhite(from[2], from[3]);
            }
        }
    }
    return true;
}

}  // namespace kestrum::codec
