// The packed DIB the host receives: header, palette, row padding, pixels, the
// caller-owned handle, and a .bmp made of it opened by an independent program.
#include "parser/Image.h"
#include "parser/ImageDib.h"
#include "platform/Files.h"
#include "tests/parser/ImageTestFiles.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <unistd.h>

namespace kestrum {
namespace {

using namespace testing;

struct Header {
    uint32_t size;
    int32_t width, height;
    uint16_t planes, bpp;
    uint32_t compression, imageSize;
    int32_t xPels, yPels;
    uint32_t used, important;
};
static_assert(sizeof(Header) == 40);

Header HeaderOf(const void* dib) {
    Header h;
    std::memcpy(&h, dib, sizeof h);
    return h;
}

// 5 x 3 pixels: odd widths need padding in both depths.
Rgb Corner(uint32_t x, uint32_t y) { return x == 4 && y == 0 ? Rgb{10, 20, 30} : Rgb{200, 100, 50}; }

TEST(ImageDib, HeaderPaddingPaletteAndPixelsOfBothDepths) {
    TempDir dir;
    const std::string gifPath = dir.File("p.gif");
    WriteGif(gifPath, 5, 3, {{200, 100, 50}, {10, 20, 30}},
             {[](uint32_t x, uint32_t y) { return Rgb{x == 4 && y == 0 ? 1 : 0, 0, 0}; }});
    const std::string pngPath = dir.File("p.png");
    WritePng(pngPath, 5, 3, Corner, PngKind::Rgb);

    struct Case {
        const char* path;
        uint16_t bpp;
        uint32_t stride;
        uint32_t paletteBytes;
    };
    for (const Case& c : {Case{gifPath.c_str(), 8, 8, 1024}, Case{pngPath.c_str(), 24, 16, 0}}) {
        SCOPED_TRACE(c.path);
        CxImage image(c.path, CxImage::FindType(c.path));
        ASSERT_TRUE(image.IsValid());
        const auto* dib = static_cast<const uint8_t*>(image.GetDIB());
        ASSERT_NE(dib, nullptr);
        const Header h = HeaderOf(dib);
        EXPECT_EQ(h.size, 40u);
        EXPECT_EQ(h.width, 5);
        EXPECT_EQ(h.height, 3);  // positive: rows bottom-up
        EXPECT_EQ(h.planes, 1);
        EXPECT_EQ(h.bpp, c.bpp);
        EXPECT_EQ(h.compression, 0u);
        EXPECT_EQ(h.imageSize, c.stride * 3);
        EXPECT_EQ(h.used, c.paletteBytes / 4);
        EXPECT_EQ(image.GetDIBSize(), 40 + c.paletteBytes + c.stride * 3);
        // The top-right pixel sits at the end of the last row.
        const uint8_t* topRow = dib + 40 + c.paletteBytes + 2 * c.stride;
        if (c.bpp == 8) {
            const uint8_t* entry = dib + 40 + topRow[4] * 4;
            EXPECT_EQ(Rgb(entry[2], entry[1], entry[0]), (Rgb{10, 20, 30}));
            EXPECT_EQ(entry[3], 0);
        } else {
            EXPECT_EQ(Rgb(topRow[14], topRow[13], topRow[12]), (Rgb{10, 20, 30}));
        }

        HGLOBAL handle = image.CopyToHandle();
        ASSERT_NE(handle, nullptr);
        EXPECT_EQ(GlobalSize(handle), image.GetDIBSize());
        const void* copy = GlobalLock(handle);
        EXPECT_EQ(std::memcmp(copy, dib, image.GetDIBSize()), 0);
        EXPECT_NE(copy, dib);
        GlobalUnlock(handle);
        GlobalFree(handle);
    }
    CxImage empty(CXIMAGE_FORMAT_JPG);
    EXPECT_EQ(empty.GetDIB(), nullptr);
    EXPECT_EQ(empty.GetDIBSize(), 0u);
    EXPECT_EQ(empty.CopyToHandle(), nullptr);
}

std::string Output(const std::string& command) {
    std::string out;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) return out;
    char buffer[256];
    while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe.get())) out.append(buffer, n);
    return out;
}

TEST(ImageDib, PixelBuffersStopAtTheImageLimit) {
    struct Case {
        uint32_t width, height;
        uint16_t bpp;
        size_t bytes;  // 0: refused
    };
    const Case cases[] = {
        {16384, 32768, 8, kMaxImageBytes},  // exactly the limit
        {16384, 32769, 8, 0},
        {8192, 21845, 24, size_t{24576} * 21845},
        {8192, 21846, 24, 0},
        {0xFFFFFFFF, 0xFFFFFFFF, 24, 0},
        {0xFFFFFFFF, 1, 8, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dib::PixelBytes(c.width, c.height, c.bpp), c.bytes) << c.width << " x " << c.height << " x " << c.bpp;
}

TEST(ImageDib, BmpOfTheDibOpensInImageMagick) {
    if (access("/usr/bin/identify", X_OK) != 0) GTEST_SKIP() << "ImageMagick is not installed";
    TempDir dir;
    const std::string gifPath = dir.File("p.gif");
    WriteGif(gifPath, 5, 3, {{200, 100, 50}, {10, 20, 30}},
             {[](uint32_t x, uint32_t y) { return Rgb{x == 4 && y == 0 ? 1 : 0, 0, 0}; }});
    const std::string pngPath = dir.File("p.png");
    WritePng(pngPath, 5, 3, Corner, PngKind::Rgb);
    for (const std::string& source : {gifPath, pngPath}) {
        SCOPED_TRACE(source);
        CxImage image(source, CXIMAGE_FORMAT_UNKNOWN);
        ASSERT_TRUE(image.IsValid());
        const std::string bmp = dir.Write("p.bmp", BmpFileOf(image.GetDIB(), image.GetDIBSize()));
        const std::string said =
            Output("/usr/bin/identify -format '%w %h %[pixel:p{4,0}] %[pixel:p{0,2}]' '" + bmp + "' 2>&1");
        EXPECT_EQ(said, "5 3 srgb(10,20,30) srgb(200,100,50)");
        // And our own reader takes it back.
        CxImage again(bmp, CXIMAGE_FORMAT_BMP);
        ASSERT_TRUE(again.IsValid());
        EXPECT_EQ(PixelOf(again, 4, 0), (Rgb{10, 20, 30}));
        EXPECT_EQ(again.GetBpp(), image.GetBpp());
    }
}

}  // namespace
}  // namespace kestrum
