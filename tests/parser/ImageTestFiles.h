// Small picture files written with the codec libraries themselves, and the pixels
// of a CxImage read back from its packed DIB, for the image tests.
#pragma once

#include "parser/Image.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <ostream>
#include <functional>
#include <string>
#include <vector>

#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>
#include <tiffio.h>

namespace kestrum::testing {

struct Rgb {
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};
inline std::ostream& operator<<(std::ostream& os, const Rgb& c) {
    return os << "rgb(" << c.r << "," << c.g << "," << c.b << ")";
}

inline bool Near(const Rgb& a, const Rgb& b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

using PixelFn = std::function<Rgb(uint32_t x, uint32_t y)>;

// Flat 8 x 8 cells (one JPEG block each, so JPEG's errors stay small): red, green /
// blue, white / dark grey, repeated beyond 16 x 24.
inline Rgb Cells(uint32_t x, uint32_t y) {
    const uint32_t column = (x / 8) % 2, row = (y / 8) % 3;
    if (row == 2) return {64, 64, 64};
    if (row == 0) return column ? Rgb{0, 200, 0} : Rgb{220, 0, 0};
    return column ? Rgb{255, 255, 255} : Rgb{0, 0, 230};
}
constexpr uint32_t kCellsWidth = 16, kCellsHeight = 24;

// The colour of a pixel of the image's DIB (y from the top).
inline Rgb PixelOf(CxImage& image, uint32_t x, uint32_t y) {
    const auto* dib = static_cast<const uint8_t*>(image.GetDIB());
    const uint32_t w = image.GetWidth(), h = image.GetHeight();
    const uint16_t bpp = image.GetBpp();
    const size_t stride = (size_t{w} * bpp + 31) / 32 * 4;
    const uint8_t* bits = dib + 40 + (bpp == 8 ? 256 * 4 : 0);
    const uint8_t* px = bits + size_t{h - 1 - y} * stride;
    if (bpp == 8) {
        const uint8_t* e = dib + 40 + px[x] * 4;
        return {e[2], e[1], e[0]};
    }
    px += size_t{x} * 3;
    return {px[2], px[1], px[0]};
}

// ---------------------------------------------------------------------------
// JPEG

// Adobe's CMYK files store the inks inverted; plain CMYK files carry no Adobe marker.
enum class JpegKind { Rgb, Grey, AdobeCmyk, AdobeYcck, PlainCmyk, ProgressiveGrey };

// Inks of a colour as Adobe writes them: inverted.
inline void AdobeInks(const Rgb& c, uint8_t* out) {
    const int most = std::max({c.r, c.g, c.b});
    const int k = 255 - most;
    auto ink = [&](int v) { return most == 0 ? 0 : (most - v) * 255 / most; };
    out[0] = uint8_t(255 - ink(c.r));
    out[1] = uint8_t(255 - ink(c.g));
    out[2] = uint8_t(255 - ink(c.b));
    out[3] = uint8_t(255 - k);
}

inline void WriteJpeg(const std::string& path, uint32_t w, uint32_t h, const PixelFn& pixel,
                      JpegKind kind = JpegKind::Rgb, int quality = 100) {
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    FILE* f = std::fopen(path.c_str(), "wb");
    jpeg_stdio_dest(&c, f);
    c.image_width = w;
    c.image_height = h;
    const bool cmyk = kind == JpegKind::AdobeCmyk || kind == JpegKind::AdobeYcck || kind == JpegKind::PlainCmyk;
    const bool grey = kind == JpegKind::Grey || kind == JpegKind::ProgressiveGrey;
    c.input_components = grey ? 1 : cmyk ? 4 : 3;
    c.in_color_space = grey ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&c);
    if (kind == JpegKind::AdobeYcck) jpeg_set_colorspace(&c, JCS_YCCK);
    if (kind == JpegKind::PlainCmyk) c.write_Adobe_marker = FALSE;
    if (kind == JpegKind::ProgressiveGrey) jpeg_simple_progression(&c);
    jpeg_set_quality(&c, quality, TRUE);
    for (int i = 0; i < c.num_components; ++i) c.comp_info[i].h_samp_factor = c.comp_info[i].v_samp_factor = 1;
    jpeg_start_compress(&c, TRUE);
    std::vector<uint8_t> row(size_t{w} * 4);
    for (uint32_t y = 0; y < h; ++y) {
        for (uint32_t x = 0; x < w; ++x) {
            const Rgb p = pixel(x, y);
            if (grey) {
                row[x] = uint8_t(p.r);
            } else if (cmyk) {
                AdobeInks(p, &row[x * 4]);
                if (kind == JpegKind::PlainCmyk)
                    for (int i = 0; i < 4; ++i) row[x * 4 + i] = uint8_t(255 - row[x * 4 + i]);
            } else {
                row[x * 3] = uint8_t(p.r);
                row[x * 3 + 1] = uint8_t(p.g);
                row[x * 3 + 2] = uint8_t(p.b);
            }
        }
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&c, &r, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    std::fclose(f);
}

// ---------------------------------------------------------------------------
// PNG

enum class PngKind { Rgb, RgbaHalf, Palette, Grey, Grey16 };

inline void WritePng(const std::string& path, uint32_t w, uint32_t h, const PixelFn& pixel, PngKind kind,
                     bool interlaced = false, const std::vector<Rgb>& palette = {}) {
    FILE* f = std::fopen(path.c_str(), "wb");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_user_limits(png, 0x7FFFFFFF, 0x7FFFFFFF);  // the reader's limits are under test, not the writer's
    png_init_io(png, f);
    const int type = kind == PngKind::Rgb        ? PNG_COLOR_TYPE_RGB
                     : kind == PngKind::RgbaHalf ? PNG_COLOR_TYPE_RGB_ALPHA
                     : kind == PngKind::Palette  ? PNG_COLOR_TYPE_PALETTE
                                                 : PNG_COLOR_TYPE_GRAY;
    const int depth = kind == PngKind::Grey16 ? 16 : 8;
    png_set_IHDR(png, info, w, h, depth, type, interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> entries;
    for (const Rgb& c : palette) entries.push_back({uint8_t(c.r), uint8_t(c.g), uint8_t(c.b)});
    if (kind == PngKind::Palette) png_set_PLTE(png, info, entries.data(), int(entries.size()));
    png_write_info(png, info);
    const size_t channels = kind == PngKind::Rgb ? 3 : kind == PngKind::RgbaHalf ? 4 : kind == PngKind::Grey16 ? 2 : 1;
    std::vector<uint8_t> pixels(size_t{w} * h * channels);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
            const Rgb p = pixel(x, y);
            uint8_t* o = &pixels[(size_t{y} * w + x) * channels];
            if (kind == PngKind::Palette) {
                o[0] = uint8_t(p.r);  // the index is carried in r
            } else if (kind == PngKind::Grey || kind == PngKind::Grey16) {
                o[0] = uint8_t(p.r);
                if (kind == PngKind::Grey16) o[1] = 0;
            } else {
                o[0] = uint8_t(p.r);
                o[1] = uint8_t(p.g);
                o[2] = uint8_t(p.b);
                if (kind == PngKind::RgbaHalf) o[3] = 128;
            }
        }
    std::vector<png_bytep> rows(h);
    for (uint32_t y = 0; y < h; ++y) rows[y] = &pixels[size_t{y} * w * channels];
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
}

// ---------------------------------------------------------------------------
// TIFF

enum class TiffKind { Rgb, Cmyk, Grey, Palette };

struct TiffPage {
    PixelFn pixel;
    TiffKind kind = TiffKind::Rgb;
    uint16_t compression = COMPRESSION_NONE;
    std::vector<Rgb> palette;  // for Palette pages (the index is carried in r)
};

inline void WriteTiff(const std::string& path, uint32_t w, uint32_t h, const std::vector<TiffPage>& pages) {
    TIFF* t = TIFFOpen(path.c_str(), "w");
    for (const TiffPage& page : pages) {
        const uint16_t spp = page.kind == TiffKind::Rgb ? 3 : page.kind == TiffKind::Cmyk ? 4 : 1;
        TIFFSetField(t, TIFFTAG_IMAGEWIDTH, w);
        TIFFSetField(t, TIFFTAG_IMAGELENGTH, h);
        TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, spp);
        TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
        TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, page.compression == COMPRESSION_JPEG ? 8 : h);
        TIFFSetField(t, TIFFTAG_COMPRESSION, page.compression);
        const uint16_t photometric = page.kind == TiffKind::Rgb    ? PHOTOMETRIC_RGB
                                     : page.kind == TiffKind::Cmyk ? PHOTOMETRIC_SEPARATED
                                     : page.kind == TiffKind::Grey ? PHOTOMETRIC_MINISBLACK
                                                                   : PHOTOMETRIC_PALETTE;
        TIFFSetField(t, TIFFTAG_PHOTOMETRIC, photometric);
        if (page.compression == COMPRESSION_JPEG) TIFFSetField(t, TIFFTAG_JPEGQUALITY, 100);
        if (page.kind == TiffKind::Cmyk) TIFFSetField(t, TIFFTAG_INKSET, INKSET_CMYK);
        std::vector<uint16_t> red(256), green(256), blue(256);
        if (page.kind == TiffKind::Palette) {
            for (size_t i = 0; i < page.palette.size(); ++i) {
                red[i] = uint16_t(page.palette[i].r * 257);
                green[i] = uint16_t(page.palette[i].g * 257);
                blue[i] = uint16_t(page.palette[i].b * 257);
            }
            TIFFSetField(t, TIFFTAG_COLORMAP, red.data(), green.data(), blue.data());
        }
        if (pages.size() > 1) TIFFSetField(t, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
        std::vector<uint8_t> row(size_t{w} * spp);
        for (uint32_t y = 0; y < h; ++y) {
            for (uint32_t x = 0; x < w; ++x) {
                const Rgb p = page.pixel(x, y);
                uint8_t* o = &row[size_t{x} * spp];
                if (page.kind == TiffKind::Cmyk) {
                    AdobeInks(p, o);
                    for (int i = 0; i < 4; ++i) o[i] = uint8_t(255 - o[i]);  // TIFF keeps inks plain
                } else if (spp == 1) {
                    o[0] = uint8_t(p.r);
                } else {
                    o[0] = uint8_t(p.r);
                    o[1] = uint8_t(p.g);
                    o[2] = uint8_t(p.b);
                }
            }
            TIFFWriteScanline(t, row.data(), y, 0);
        }
        TIFFWriteDirectory(t);
    }
    TIFFClose(t);
}

// ---------------------------------------------------------------------------
// GIF: frames of palette indices (carried in r).

inline void WriteGif(const std::string& path, uint32_t w, uint32_t h, const std::vector<Rgb>& palette,
                     const std::vector<PixelFn>& frames, bool interlaced = false) {
    int error = 0;
    GifFileType* g = EGifOpenFileName(path.c_str(), false, &error);
    std::vector<GifColorType> colours(256);
    for (size_t i = 0; i < palette.size(); ++i)
        colours[i] = {uint8_t(palette[i].r), uint8_t(palette[i].g), uint8_t(palette[i].b)};
    ColorMapObject* map = GifMakeMapObject(256, colours.data());
    EGifPutScreenDesc(g, int(w), int(h), 8, 0, map);
    for (const PixelFn& frame : frames) {
        EGifPutImageDesc(g, 0, 0, int(w), int(h), interlaced, nullptr);
        std::vector<GifPixelType> line(w);
        std::vector<uint32_t> order;
        if (interlaced) {
            const uint32_t start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
            for (int pass = 0; pass < 4; ++pass)
                for (uint32_t y = start[pass]; y < h; y += step[pass]) order.push_back(y);
        } else {
            for (uint32_t y = 0; y < h; ++y) order.push_back(y);
        }
        for (uint32_t y : order) {
            for (uint32_t x = 0; x < w; ++x) line[x] = GifPixelType(frame(x, y).r);
            EGifPutLine(g, line.data(), int(w));
        }
    }
    GifFreeMapObject(map);
    EGifCloseFile(g, &error);
}

// ---------------------------------------------------------------------------

// A .bmp file: the 14-byte file header in front of a packed DIB.
inline std::string BmpFileOf(const void* dib, size_t size) {
    const auto* bytes = static_cast<const uint8_t*>(dib);
    uint32_t headerSize;
    uint16_t bpp;
    std::memcpy(&headerSize, bytes, 4);
    std::memcpy(&bpp, bytes + 14, 2);
    const uint32_t offset = 14 + headerSize + (bpp <= 8 ? 256 * 4 : 0);
    const uint32_t total = uint32_t(14 + size);
    std::string file = "BM";
    auto put32 = [&](uint32_t v) { file.append(reinterpret_cast<const char*>(&v), 4); };
    put32(total);
    put32(0);
    put32(offset);
    file.append(reinterpret_cast<const char*>(bytes), size);
    return file;
}

}  // namespace kestrum::testing
