// Decoding every format from files written by the codec libraries, and hostile files.
#include "parser/Image.h"
#include "platform/Files.h"
#include "tests/parser/ImageTestFiles.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include <zlib.h>

namespace kestrum {
namespace {

using namespace testing;

const std::vector<Rgb> kCellPalette = {{220, 0, 0}, {0, 200, 0}, {0, 0, 230}, {255, 255, 255}, {64, 64, 64}};

// The cells as indices into kCellPalette, carried in r.
Rgb CellIndex(uint32_t x, uint32_t y) {
    const Rgb c = Cells(x, y);
    for (size_t i = 0; i < kCellPalette.size(); ++i)
        if (kCellPalette[i] == c) return {int(i), 0, 0};
    return {};
}

Rgb CellGrey(uint32_t x, uint32_t y) {
    const Rgb c = Cells(x, y);
    const int v = (c.r + c.g + c.b) / 3;
    return {v, v, v};
}

Rgb Inverted(uint32_t x, uint32_t y) {
    const Rgb c = Cells(x, y);
    return {255 - c.r, 255 - c.g, 255 - c.b};
}

struct DecodeCase {
    const char* name;
    const char* file;
    std::function<void(const std::string&)> write;
    uint16_t bpp;
    PixelFn expected;
    int tolerance;
};

TEST(ImageDecode, ReadsEveryFormatPixelByPixel) {
    const uint32_t w = kCellsWidth, h = kCellsHeight;
    const PixelFn cells = Cells;
    auto tiff = [&](TiffKind kind, uint16_t compression, PixelFn pixel = Cells) {
        return [=](const std::string& p) { WriteTiff(p, w, h, {{pixel, kind, compression, kCellPalette}}); };
    };
    const std::vector<DecodeCase> cases = {
        {"JPEG colour", "a.jpg", [&](const std::string& p) { WriteJpeg(p, w, h, cells); }, 24, cells, 6},
        {"JPEG grey", "a.jpeg", [&](const std::string& p) { WriteJpeg(p, w, h, CellGrey, JpegKind::Grey); }, 8,
         CellGrey, 3},
        {"JPEG Adobe CMYK", "a.jpg", [&](const std::string& p) { WriteJpeg(p, w, h, cells, JpegKind::AdobeCmyk); },
         24, cells, 6},
        {"JPEG plain CMYK", "a.jpg", [&](const std::string& p) { WriteJpeg(p, w, h, cells, JpegKind::PlainCmyk); },
         24, cells, 6},
        {"JPEG Adobe YCCK", "a.jpe", [&](const std::string& p) { WriteJpeg(p, w, h, cells, JpegKind::AdobeYcck); },
         24, cells, 8},
        {"PNG colour", "a.png", [&](const std::string& p) { WritePng(p, w, h, cells, PngKind::Rgb); }, 24, cells, 0},
        {"PNG interlaced", "a.png", [&](const std::string& p) { WritePng(p, w, h, cells, PngKind::Rgb, true); }, 24,
         cells, 0},
        {"PNG half transparent, over white", "a.png",
         [&](const std::string& p) { WritePng(p, w, h, cells, PngKind::RgbaHalf); }, 24,
         [](uint32_t x, uint32_t y) {
             const Rgb c = Cells(x, y);
             auto over = [](int v) { return (v * 128 + 255 * 127) / 255; };
             return Rgb{over(c.r), over(c.g), over(c.b)};
         },
         1},
        {"PNG palette", "a.png",
         [&](const std::string& p) { WritePng(p, w, h, CellIndex, PngKind::Palette, false, kCellPalette); }, 8, cells,
         0},
        {"PNG grey", "a.png", [&](const std::string& p) { WritePng(p, w, h, CellGrey, PngKind::Grey); }, 8, CellGrey,
         0},
        {"PNG 16-bit grey", "a.png", [&](const std::string& p) { WritePng(p, w, h, CellGrey, PngKind::Grey16); }, 8,
         CellGrey, 0},
        {"TIFF plain", "a.tif", tiff(TiffKind::Rgb, COMPRESSION_NONE), 24, cells, 0},
        {"TIFF LZW", "a.tiff", tiff(TiffKind::Rgb, COMPRESSION_LZW), 24, cells, 0},
        {"TIFF Deflate", "a.tif", tiff(TiffKind::Rgb, COMPRESSION_ADOBE_DEFLATE), 24, cells, 0},
        {"TIFF JPEG", "a.tif", tiff(TiffKind::Rgb, COMPRESSION_JPEG), 24, cells, 6},
        {"TIFF CMYK", "a.tif", tiff(TiffKind::Cmyk, COMPRESSION_LZW), 24, cells, 2},
        {"TIFF grey", "a.tif", tiff(TiffKind::Grey, COMPRESSION_NONE, CellGrey), 8, CellGrey, 0},
        {"TIFF palette", "a.tif", tiff(TiffKind::Palette, COMPRESSION_NONE, CellIndex), 8, cells, 0},
        {"TIFF first of two pages", "a.tif",
         [&](const std::string& p) {
             WriteTiff(p, w, h, {{cells, TiffKind::Rgb, COMPRESSION_NONE, {}}, {Inverted, TiffKind::Rgb, COMPRESSION_NONE, {}}});
         },
         24, cells, 0},
        {"GIF", "a.gif", [&](const std::string& p) { WriteGif(p, w, h, kCellPalette, {CellIndex}); }, 8, cells, 0},
        {"GIF interlaced", "a.gif", [&](const std::string& p) { WriteGif(p, w, h, kCellPalette, {CellIndex}, true); },
         8, cells, 0},
        {"GIF first of two frames", "a.gif",
         [&](const std::string& p) {
             WriteGif(p, w, h, kCellPalette, {CellIndex, [](uint32_t, uint32_t) { return Rgb{}; }});
         },
         8, cells, 0},
        // The content decides, not the name.
        {"PNG named .jpg", "png.jpg", [&](const std::string& p) { WritePng(p, w, h, cells, PngKind::Rgb); }, 24,
         cells, 0},
        {"JPEG without extension", "picture", [&](const std::string& p) { WriteJpeg(p, w, h, cells); }, 24, cells, 6},
    };
    for (const DecodeCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string path = dir.File(c.file);
        c.write(path);
        CxImage image(path, CxImage::FindType(path));
        ASSERT_TRUE(image.IsValid());
        EXPECT_EQ(image.GetWidth(), w);
        EXPECT_EQ(image.GetHeight(), h);
        EXPECT_EQ(image.GetBpp(), c.bpp);
        int wrong = 0;
        for (uint32_t y = 0; y < h; ++y)
            for (uint32_t x = 0; x < w; ++x)
                if (!Near(PixelOf(image, x, y), c.expected(x, y), c.tolerance) && wrong++ < 3)
                    ADD_FAILURE() << "pixel " << x << "," << y << ": " << PixelOf(image, x, y) << " instead of "
                                  << c.expected(x, y);
        EXPECT_EQ(wrong, 0);
    }
}

// A 1-bit top-down BMP: the only BMP layout our own files never have.
TEST(ImageDecode, ReadsOneBitTopDownBmp) {
    std::string file = "BM";
    auto put32 = [&](uint32_t v) { file.append(reinterpret_cast<const char*>(&v), 4); };
    auto put16 = [&](uint16_t v) { file.append(reinterpret_cast<const char*>(&v), 2); };
    put32(14 + 40 + 8 + 2 * 4);
    put32(0);
    put32(14 + 40 + 8);
    put32(40);
    put32(10);                       // width
    put32(static_cast<uint32_t>(-2));  // top-down
    put16(1);
    put16(1);
    for (int i = 0; i < 6; ++i) put32(0);
    file += std::string("\x00\x00\x00\x00\xFF\xFF\xFF\x00", 8);         // black, white
    file += std::string("\x80\x40\x00\x00" "\xFF\xC0\x00\x00", 8);      // rows padded to 4 bytes
    TempDir dir;
    CxImage image(dir.Write("one.bmp", file), CXIMAGE_FORMAT_BMP);
    ASSERT_TRUE(image.IsValid());
    EXPECT_EQ(image.GetBpp(), 8);
    const std::string expected[] = {"1000000001", "1111111111"};
    for (uint32_t y = 0; y < 2; ++y)
        for (uint32_t x = 0; x < 10; ++x)
            EXPECT_EQ(PixelOf(image, x, y).r, expected[y][x] == '1' ? 255 : 0) << x << "," << y;
}

// A sound PNG header claiming a picture of w x h pixels, and no pixels.
std::string PngClaiming(uint32_t w, uint32_t h) {
    std::string ihdr = "IHDR";
    for (uint32_t v : {w, h}) {
        for (int shift = 24; shift >= 0; shift -= 8) ihdr.push_back(char((v >> shift) & 0xFF));
    }
    ihdr += std::string("\x08\x02\x00\x00\x00", 5);
    const auto crc = static_cast<uint32_t>(crc32(0L, reinterpret_cast<const Bytef*>(ihdr.data()), uInt(ihdr.size())));
    std::string file = "\x89PNG\r\n\x1A\n";
    file += std::string("\x00\x00\x00\x0D", 4) + ihdr;
    for (int shift = 24; shift >= 0; shift -= 8) file.push_back(char((crc >> shift) & 0xFF));
    return file + std::string(64, '\0');
}

TEST(ImageDecode, DamagedOrHostileFilesGiveAnInvalidImage) {
    TempDir dir;
    const uint32_t w = kCellsWidth, h = kCellsHeight;
    auto written = [&](const char* name, auto write) {
        const std::string p = dir.File(name);
        write(p);
        std::string bytes;
        EXPECT_TRUE(ReadWholeFile(p, bytes));
        return bytes;
    };
    const std::string jpeg = written("ok.jpg", [&](const std::string& p) { WriteJpeg(p, w, h, Cells); });
    const std::string png = written("ok.png", [&](const std::string& p) { WritePng(p, w, h, Cells, PngKind::Rgb); });
    const std::string tif = written("ok.tif", [&](const std::string& p) {
        WriteTiff(p, w, h, {{Cells, TiffKind::Rgb, COMPRESSION_LZW, {}}});
    });
    const std::string gif = written("ok.gif", [&](const std::string& p) { WriteGif(p, w, h, kCellPalette, {CellIndex}); });

    std::string hugeJpeg = jpeg;  // SOF0 frame: height and width after the precision byte
    const size_t sof = hugeJpeg.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    hugeJpeg.replace(sof + 5, 4, "\xFF\xF0\xFF\xF0");
    std::string hugeGif = gif;
    hugeGif.replace(6, 4, "\xFF\xFF\xFF\xFF");
    std::string hugeBmp = "BM" + std::string(12, '\0') + std::string("\x28\0\0\0", 4) +
                          std::string("\x20\x4E\0\0\x20\x4E\0\0\x01\0\x18\0", 12) + std::string(24, '\0');
    std::string flipped = jpeg;
    for (size_t i = jpeg.size() / 2; i < jpeg.size() - 2; i += 7) flipped[i] = char(~flipped[i]);

    const std::vector<std::pair<const char*, std::string>> cases = {
        {"empty.jpg", ""},
        {"garbage.jpg", std::string("\xFF\xD8\xFF") + std::string(200, 'x')},
        {"cut.jpg", jpeg.substr(0, jpeg.size() / 3)},
        {"huge.jpg", hugeJpeg},
        {"cut.png", png.substr(0, png.size() / 2)},
        {"huge.png", PngClaiming(60000, 60000)},
        {"cut.tif", tif.substr(0, 60)},
        {"garbage.tif", std::string("II*\0\x08\0\0\0", 8) + std::string(100, '\xFF')},
        {"cut.gif", gif.substr(0, 20)},
        {"huge.gif", hugeGif},
        {"huge.bmp", hugeBmp},
        {"short.bmp", "BM"},
        {"text.jpg", "not a picture at all"},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        const std::string path = dir.Write(name, bytes);
        CxImage image(path, CxImage::FindType(path));
        EXPECT_FALSE(image.IsValid());
        EXPECT_EQ(image.GetWidth(), 0u);
        EXPECT_EQ(image.GetDIB(), nullptr);
        EXPECT_EQ(image.CopyToHandle(), nullptr);
    }
    // Damaged data inside a sound frame still gives a picture, as viewers show it.
    CxImage damaged(dir.Write("flipped.jpg", flipped), CXIMAGE_FORMAT_JPG);
    if (damaged.IsValid()) {
        EXPECT_EQ(damaged.GetWidth(), w);
    }
    CxImage missing(dir.File("none.jpg"), CXIMAGE_FORMAT_JPG);
    EXPECT_FALSE(missing.IsValid());
}

// A damaged progressive file can repeat its scans without end: a file of as many scans
// as the decoder reads still decodes, one more is refused. Tall PNG images likewise.
TEST(ImageDecode, ScanAndSideLimitsHoldAtTheirEdges) {
    TempDir dir;
    const std::string progressive = dir.File("progressive.jpg");
    WriteJpeg(progressive, kCellsWidth, kCellsHeight, Cells, JpegKind::ProgressiveGrey);
    std::string jpeg;
    ASSERT_TRUE(ReadWholeFile(progressive, jpeg));
    size_t scans = 0;
    for (size_t at = jpeg.find("\xFF\xDA"); at != std::string::npos; at = jpeg.find("\xFF\xDA", at + 2)) ++scans;
    const size_t lastScan = jpeg.rfind("\xFF\xDA");
    const std::string repeated = jpeg.substr(lastScan, jpeg.size() - 2 - lastScan);  // up to the end marker
    for (size_t total : {size_t{1000}, size_t{1001}}) {
        std::string file = jpeg.substr(0, jpeg.size() - 2);
        for (size_t i = scans; i < total; ++i) file += repeated;
        CxImage image(dir.Write("scans.jpg", file + "\xFF\xD9"), CXIMAGE_FORMAT_JPG);
        EXPECT_EQ(image.IsValid(), total == 1000) << total << " scans";
    }

    for (uint32_t height : {uint32_t{1} << 20, (uint32_t{1} << 20) + 1}) {
        const std::string path = dir.File("tall.png");
        WritePng(path, 1, height, [](uint32_t, uint32_t y) { return Rgb{int(y % 256), 0, 0}; }, PngKind::Grey);
        CxImage image(path, CXIMAGE_FORMAT_PNG);
        EXPECT_EQ(image.IsValid(), height == uint32_t{1} << 20) << height << " rows";
    }
}

TEST(ImageDecode, FindTypeFollowsTheExtension) {
    const std::vector<std::pair<const char*, uint32_t>> cases = {
        {"a.jpg", CXIMAGE_FORMAT_JPG}, {"A.JPEG", CXIMAGE_FORMAT_JPG}, {"x/y.Jpe", CXIMAGE_FORMAT_JPG},
        {"a.tif", CXIMAGE_FORMAT_TIF}, {"a.TIFF", CXIMAGE_FORMAT_TIF}, {"a.png", CXIMAGE_FORMAT_PNG},
        {"a.gif", CXIMAGE_FORMAT_GIF}, {"a.bmp", CXIMAGE_FORMAT_BMP}, {"a.dib", CXIMAGE_FORMAT_BMP},
        {"a.eps", CXIMAGE_FORMAT_UNKNOWN}, {"jpg", CXIMAGE_FORMAT_UNKNOWN}, {"a.jpg.pic", CXIMAGE_FORMAT_UNKNOWN},
        {"", CXIMAGE_FORMAT_UNKNOWN},
    };
    for (const auto& [path, format] : cases) EXPECT_EQ(CxImage::FindType(path), format) << path;
}

}  // namespace
}  // namespace kestrum
