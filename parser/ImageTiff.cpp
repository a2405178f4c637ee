// TIFF through libtiff's RGBA interface (CMYK, LZW, Deflate, JPEG inside, the first
// page of several). Grey and palette pictures of up to 8 bits stay 8-bit. The
// library's messages are swallowed: a bad file is simply not an image.
#include "parser/Image.h"
#include "parser/ImageCodecs.h"
#include "parser/ImageDib.h"

#include <map>
#include <vector>

#include <tiffio.h>

namespace kestrum::codec {

namespace {

int Quiet(TIFF*, void*, const char*, const char*, va_list) { return 1; }

struct TiffFile {
    TIFF* tif = nullptr;
    ~TiffFile() {
        if (tif) TIFFClose(tif);
    }
};

struct Options {
    TIFFOpenOptions* opts = TIFFOpenOptionsAlloc();
    ~Options() { TIFFOpenOptionsFree(opts); }
};

uint8_t Red(uint32_t abgr) { return static_cast<uint8_t>(TIFFGetR(abgr)); }

// The picture's own palette, or false when it has none of at most 256 entries.
bool ReadColourMap(TIFF* tif, uint16_t bitsPerSample, uint8_t* palette) {
    uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
    if (!TIFFGetField(tif, TIFFTAG_COLORMAP, &red, &green, &blue) || !red || !green || !blue) return false;
    const uint32_t entries = 1u << bitsPerSample;
    for (uint32_t i = 0; i < entries; ++i)
        dib::SetPaletteEntry(palette, i, red[i] >> 8, green[i] >> 8, blue[i] >> 8);
    return true;
}

}  // namespace

bool DecodeTiff(const std::string& osPath, std::vector<uint8_t>& dib) {
    Options options;
    if (!options.opts) return false;
    TIFFOpenOptionsSetErrorHandlerExtR(options.opts, Quiet, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options.opts, Quiet, nullptr);
    TIFFOpenOptionsSetMaxSingleMemAlloc(options.opts, static_cast<tmsize_t>(kMaxImageBytes));
    TiffFile f;
    f.tif = TIFFOpenExt(osPath.c_str(), "r", options.opts);
    if (!f.tif) return false;

    uint32_t width = 0, height = 0;
    uint16_t photometric = 0, bitsPerSample = 1, samplesPerPixel = 1;
    TIFFGetField(f.tif, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(f.tif, TIFFTAG_IMAGELENGTH, &height);
    TIFFGetFieldDefaulted(f.tif, TIFFTAG_PHOTOMETRIC, &photometric);
    TIFFGetFieldDefaulted(f.tif, TIFFTAG_BITSPERSAMPLE, &bitsPerSample);
    TIFFGetFieldDefaulted(f.tif, TIFFTAG_SAMPLESPERPIXEL, &samplesPerPixel);
    if (width == 0 || height == 0 || uint64_t{width} * height * 4 > kMaxImageBytes) return false;
    char message[1024];
    if (!TIFFRGBAImageOK(f.tif, message)) return false;

    const bool small = samplesPerPixel == 1 && bitsPerSample <= 8;
    const bool grey = small && (photometric == PHOTOMETRIC_MINISBLACK || photometric == PHOTOMETRIC_MINISWHITE);
    const bool palette = small && photometric == PHOTOMETRIC_PALETTE;
    if (!dib::Create(dib, width, height, grey || palette ? 8 : 24)) return false;
    if (palette && !ReadColourMap(f.tif, bitsPerSample, dib::Palette(dib))) return false;

    std::vector<uint32_t> raster(size_t{width} * height);
    if (!TIFFReadRGBAImageOriented(f.tif, width, height, raster.data(), ORIENTATION_TOPLEFT, 1)) return false;

    // Palette pictures come back as colours; each is looked up again in the palette.
    std::map<uint32_t, uint8_t> indexOf;
    if (palette) {
        const uint8_t* table = dib::Palette(dib);
        for (int i = (1 << bitsPerSample) - 1; i >= 0; --i) {
            const uint8_t* e = table + i * 4;
            indexOf[uint32_t{e[2]} | (uint32_t{e[1]} << 8) | (uint32_t{e[0]} << 16)] = uint8_t(i);
        }
    }
    for (uint32_t y = 0; y < height; ++y) {
        const uint32_t* from = raster.data() + size_t{y} * width;
        uint8_t* to = dib::Row(dib, y);
        for (uint32_t x = 0; x < width; ++x) {
            const uint32_t v = from[x];
            if (grey) {
                to[x] = Red(v);
            } else if (palette) {
                const auto it = indexOf.find(v & 0x00FFFFFF);
                to[x] = it == indexOf.end() ? 0 : it->second;
            } else {
                to[x * 3] = static_cast<uint8_t>(TIFFGetB(v));
                to[x * 3 + 1] = static_cast<uint8_t>(TIFFGetG(v));
                to[x * 3 + 2] = Red(v);
            }
        }
    }
    return true;
}

}  // namespace kestrum::codec
