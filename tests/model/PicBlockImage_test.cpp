// A picture block with a loaded image: what the host reads of it and SaveImage.
#include "model/PicBlock.h"

#include "parser/Image.h"
#include "platform/CodePage.h"
#include "platform/Files.h"
#include "tests/parser/ImageTestFiles.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace kestrum {
namespace {

using testing::Rgb;
using testing::TempDir;

// A 6 x 4 palette picture of two colours.
std::unique_ptr<CxImage> PaletteImage(const TempDir& dir) {
    const std::string path = dir.File("pal.gif");
    testing::WriteGif(path, 6, 4, {{250, 10, 10}, {10, 10, 250}},
                      {[](uint32_t x, uint32_t) { return Rgb{x < 3 ? 0 : 1, 0, 0}; }});
    return std::make_unique<CxImage>(path, CxImage::FindType(path));
}

HRESULT Save(CPicBlock& block, const std::string& path) {
    const std::u16string wide = NarrowToWide(path);
    return block.SaveImage(wide.c_str());
}

bool IsJpeg(const std::string& path) {
    std::string bytes;
    return ReadWholeFile(path, bytes) && bytes.compare(0, 3, "\xFF\xD8\xFF") == 0;
}

TEST(ModelPicBlockImage, ReportsTheImage) {
    TempDir dir;
    CPicBlock block(nullptr);
    EXPECT_EQ(block.GetImageWidth(), 0);
    EXPECT_EQ(block.GetImageBpp(), 0);
    EXPECT_EQ(block.GetImageDIB(), nullptr);
    block.m_pImage = PaletteImage(dir);
    ASSERT_TRUE(block.m_pImage->IsValid());
    EXPECT_EQ(block.GetImageWidth(), 6);
    EXPECT_EQ(block.GetImageHeight(), 4);
    EXPECT_EQ(block.GetImageBpp(), 8);
    EXPECT_EQ(block.GetImageDIB(), block.m_pImage->GetDIB());
}

TEST(ModelPicBlockImage, SaveImageWritesJpegWhateverTheName) {
    TempDir dir;
    CPicBlock none(nullptr);
    EXPECT_EQ(Save(none, dir.File("none.jpg")), E_FAIL);
    EXPECT_FALSE(PathExists(dir.File("none.jpg")));

    // A .png name gets JPEG data, and the image is left as it was.
    CPicBlock png(nullptr);
    png.m_pImage = PaletteImage(dir);
    EXPECT_EQ(Save(png, dir.File("out.png")), S_OK);
    EXPECT_TRUE(IsJpeg(dir.File("out.png")));
    EXPECT_EQ(png.GetImageBpp(), 8);

    // A .jpg name (or none known) raises the palette picture to 24 bits first, at full quality.
    CPicBlock jpg(nullptr);
    jpg.m_pImage = PaletteImage(dir);
    EXPECT_EQ(Save(jpg, dir.File("out.jpg")), S_OK);
    EXPECT_TRUE(IsJpeg(dir.File("out.jpg")));
    EXPECT_EQ(jpg.GetImageBpp(), 24);
    EXPECT_EQ(jpg.m_pImage->GetJpegQuality(), 100);
    CxImage back(dir.File("out.jpg"), CXIMAGE_FORMAT_JPG);
    ASSERT_TRUE(back.IsValid());
    EXPECT_TRUE(testing::Near(testing::PixelOf(back, 0, 0), Rgb{250, 10, 10}, 12));
    EXPECT_TRUE(testing::Near(testing::PixelOf(back, 5, 3), Rgb{10, 10, 250}, 12));

    EXPECT_EQ(Save(jpg, dir.File("missing/folder/out.jpg")), S_FALSE);
    // An image that did not decode has nothing to save.
    CPicBlock broken(nullptr);
    broken.m_pImage = std::make_unique<CxImage>(dir.Write("bad.jpg", "\xFF\xD8\xFF"), CXIMAGE_FORMAT_JPG);
    EXPECT_EQ(Save(broken, dir.File("bad-out.jpg")), S_FALSE);
}

}  // namespace
}  // namespace kestrum
