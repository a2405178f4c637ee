// What callers do with a loaded image: save it as JPEG, raise its depth, turn it,
// draw it, and make one from a rendered bitmap.
#include "parser/Image.h"
#include "platform/Draw.h"
#include "platform/Files.h"
#include "tests/parser/ImageTestFiles.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrum {
namespace {

using namespace testing;

const Rgb kWhite{255, 255, 255};

std::string WritePalettePng(const TempDir& dir) {
    const std::string path = dir.File("cells.png");
    WritePng(path, kCellsWidth, kCellsHeight,
             [](uint32_t x, uint32_t y) {
                 const Rgb c = Cells(x, y);
                 return Rgb{c == Rgb{220, 0, 0} ? 0 : c == Rgb{0, 200, 0} ? 1 : c == Rgb{0, 0, 230} ? 2 : c == kWhite ? 3 : 4, 0, 0};
             },
             PngKind::Palette, false, {{220, 0, 0}, {0, 200, 0}, {0, 0, 230}, {255, 255, 255}, {64, 64, 64}});
    return path;
}

TEST(ImageEdit, SavesJpegAtTheQualityAsked) {
    TempDir dir;
    CxImage image(WritePalettePng(dir), CXIMAGE_FORMAT_PNG);
    ASSERT_EQ(image.GetBpp(), 8);
    image.SetJpegQuality(100);
    EXPECT_EQ(image.GetJpegQuality(), 100);
    ASSERT_TRUE(image.Save(dir.File("best.jpg"), CXIMAGE_FORMAT_JPG));
    image.SetJpegQuality(5);
    ASSERT_TRUE(image.Save(dir.File("worst.jpg"), CXIMAGE_FORMAT_JPG));

    std::string best, worst;
    ASSERT_TRUE(ReadWholeFile(dir.File("best.jpg"), best));
    ASSERT_TRUE(ReadWholeFile(dir.File("worst.jpg"), worst));
    EXPECT_LT(worst.size(), best.size());
    CxImage again(dir.File("best.jpg"), CXIMAGE_FORMAT_JPG);
    ASSERT_TRUE(again.IsValid());
    EXPECT_EQ(again.GetBpp(), 24);
    // Cell centres: the decoder's chroma upsampling blends the cells' edges.
    for (uint32_t y = 4; y < kCellsHeight; y += 8)
        for (uint32_t x = 4; x < kCellsWidth; x += 8) EXPECT_TRUE(Near(PixelOf(again, x, y), Cells(x, y), 8)) << x << "," << y;

    CxImage empty(CXIMAGE_FORMAT_JPG);
    EXPECT_FALSE(empty.Save(dir.File("empty.jpg"), CXIMAGE_FORMAT_JPG));
    EXPECT_FALSE(PathExists(dir.File("empty.jpg")));
    EXPECT_FALSE(again.Save(dir.File("no/such/folder.jpg"), CXIMAGE_FORMAT_JPG));
    EXPECT_FALSE(again.Save(dir.File("a.png"), CXIMAGE_FORMAT_PNG));  // only JPEG is written
}

TEST(ImageEdit, IncreaseBppKeepsThePixels) {
    TempDir dir;
    CxImage image(WritePalettePng(dir), CXIMAGE_FORMAT_PNG);
    ASSERT_EQ(image.GetBpp(), 8);
    EXPECT_FALSE(image.IncreaseBpp(4));
    EXPECT_TRUE(image.IncreaseBpp(8));
    EXPECT_EQ(image.GetBpp(), 8);
    ASSERT_TRUE(image.IncreaseBpp(24));
    EXPECT_EQ(image.GetBpp(), 24);
    EXPECT_EQ(image.GetWidth(), kCellsWidth);
    for (uint32_t y = 0; y < kCellsHeight; ++y)
        for (uint32_t x = 0; x < kCellsWidth; ++x) ASSERT_EQ(PixelOf(image, x, y), Cells(x, y)) << x << "," << y;
    EXPECT_FALSE(image.IncreaseBpp(8));
    CxImage empty;
    EXPECT_FALSE(empty.IncreaseBpp(24));
}

// A bitmap of the drawing layer: a red pixel at top-left, blue at top-right, white elsewhere.
void PaintCorners(DrawBitmap& bitmap) {
    DrawContext dc(bitmap);
    dc.FillRect(MakeRect(0, 0, bitmap.Width(), bitmap.Height()), 0xFFFFFF);
    dc.FillRect(MakeRect(0, 0, 1, 1), RgbColour(255, 0, 0));
    dc.FillRect(MakeRect(bitmap.Width() - 1, 0, bitmap.Width(), 1), RgbColour(0, 0, 255));
}

TEST(ImageEdit, CreateFromBitmapCopiesThePixels) {
    DrawBitmap bitmap(7, 3);
    PaintCorners(bitmap);
    CxImage image;
    ASSERT_TRUE(image.CreateFromHBITMAP(bitmap));
    EXPECT_EQ(image.GetWidth(), 7u);
    EXPECT_EQ(image.GetHeight(), 3u);
    EXPECT_EQ(image.GetBpp(), 24);
    EXPECT_EQ(PixelOf(image, 0, 0), (Rgb{255, 0, 0}));
    EXPECT_EQ(PixelOf(image, 6, 0), (Rgb{0, 0, 255}));
    EXPECT_EQ(PixelOf(image, 3, 2), kWhite);
    DrawBitmap invalid(0, 5);
    EXPECT_FALSE(image.CreateFromHBITMAP(invalid));
    EXPECT_FALSE(image.IsValid());
}

TEST(ImageEdit, RotatesCounterClockwiseOnAGrowingWhiteCanvas) {
    DrawBitmap bitmap(4, 2);
    PaintCorners(bitmap);
    CxImage image;
    ASSERT_TRUE(image.CreateFromHBITMAP(bitmap));

    CxImage quarter;
    ASSERT_TRUE(image.Rotate(90.0f, &quarter));
    EXPECT_EQ(image.GetWidth(), 4u);  // the source stays
    ASSERT_EQ(quarter.GetWidth(), 2u);
    ASSERT_EQ(quarter.GetHeight(), 4u);
    // Counter-clockwise on the screen: the top-right corner comes to the top-left.
    EXPECT_EQ(PixelOf(quarter, 0, 0), (Rgb{0, 0, 255}));
    EXPECT_EQ(PixelOf(quarter, 0, 3), (Rgb{255, 0, 0}));

    ASSERT_TRUE(image.Rotate(-90.0f));  // in place, clockwise
    EXPECT_EQ(image.GetWidth(), 2u);
    EXPECT_EQ(PixelOf(image, 1, 0), (Rgb{255, 0, 0}));
    EXPECT_EQ(PixelOf(image, 1, 3), (Rgb{0, 0, 255}));

    TempDir dir;
    CxImage cells(WritePalettePng(dir), CXIMAGE_FORMAT_PNG);
    ASSERT_TRUE(cells.Rotate(45.0f));
    EXPECT_EQ(cells.GetBpp(), 8);
    EXPECT_GT(cells.GetWidth(), kCellsWidth);
    EXPECT_GT(cells.GetHeight(), kCellsHeight);
    EXPECT_EQ(PixelOf(cells, 0, 0), kWhite);
    EXPECT_EQ(PixelOf(cells, cells.GetWidth() - 1, cells.GetHeight() - 1), kWhite);

    CxImage empty;
    EXPECT_FALSE(empty.Rotate(10.0f));
}

TEST(ImageEdit, RefusesACanvasBeyondTheLimit) {
    // 40000 x 1 pixels turned by 45 degrees would need a canvas of some 2.4 GB.
    TempDir dir;
    const std::string path = dir.File("line.png");
    WritePng(path, 40000, 1, [](uint32_t, uint32_t) { return Rgb{}; }, PngKind::Rgb);
    CxImage image(path, CXIMAGE_FORMAT_PNG);
    ASSERT_TRUE(image.IsValid());
    EXPECT_FALSE(image.Rotate(45.0f));
    EXPECT_EQ(image.GetWidth(), 40000u);
    EXPECT_EQ(image.GetHeight(), 1u);
    EXPECT_FALSE(DrawBitmap(20000, 20000).IsValid());
}

TEST(ImageEdit, DrawsStretchedWithoutSmoothingAndClipped) {
    DrawBitmap source(2, 1);
    PaintCorners(source);  // red, blue
    CxImage image;
    ASSERT_TRUE(image.CreateFromHBITMAP(source));

    DrawBitmap page(20, 10);
    DrawContext dc(page);
    dc.FillRect(MakeRect(0, 0, 20, 10), 0xFFFFFF);
    const Rect clip = MakeRect(0, 0, 20, 5);
    ASSERT_TRUE(image.Draw(dc, MakeRect(0, 0, 20, 10), &clip));
    EXPECT_EQ(page.PixelAt(0, 0), RgbColour(255, 0, 0));
    EXPECT_EQ(page.PixelAt(9, 4), RgbColour(255, 0, 0));  // nearest: no blend at the seam
    EXPECT_EQ(page.PixelAt(10, 4), RgbColour(0, 0, 255));
    EXPECT_EQ(page.PixelAt(19, 0), RgbColour(0, 0, 255));
    EXPECT_EQ(page.PixelAt(5, 5), 0xFFFFFFu);  // outside the clip
    // The clip was the image's own: the context draws everywhere again.
    dc.FillRect(MakeRect(0, 9, 1, 10), 0);
    EXPECT_EQ(page.PixelAt(0, 9), 0u);

    CxImage empty;
    EXPECT_FALSE(empty.Draw(dc, MakeRect(0, 0, 20, 10)));
}

}  // namespace
}  // namespace kestrum
