// Placed pictures: clips, transforms and look-backs, the named file and its lookup.
#include "psreader/ImagePath.h"
#include "psreader/PSParser.h"
#include "tests/support/ParsedPage.h"
#include "tests/support/PsPageWriter.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace kestrum {
namespace {

using testing::PsPageWriter;

class PsPicture : public testing::ParsedPageTest {};

const Rect kFrame = MakeRect(1000, 2000, 4000, 6000);
const Rect kFrameInPoints = MakeRect(9, 19, 38, 58);

TEST_F(PsPicture, PlacementForms) {
    struct Case {
        const char* name;
        std::vector<std::string> lines;  // before the error-handler line
        Rect box, bound;
        int32_t shape;
        double angle, skewB, skewC;
    };
    const Rect none{};
    const std::vector<Case> cases = {
        {"rectangle clip", {"gs 1000 2000 3000 4000 rectclip 2500 4000 tr -1500 -2000 tr"}, kFrame, kFrame,
         kShapeRect, 0, 0, 0},
        {"oval clip", {"gs 1000 2000 4000 6000 oval clip np 2500 4000 tr -1500 -2000 tr"}, kFrame, kFrame,
         kShapeOval, 0, 0, 0},
        {"transform with rotation", {"gs 2500 4000 tr 30 rotate -1500 -2000 tr"}, kFrame, none, kShapeRect, 30, 0,
         0},
        {"transform after a path clip", {"eoclip np 2500 4000 tr -1500 -2000 tr"}, kFrame, none, kShapeRect, 0, 0, 0},
        {"look-back to a translation",
         {"gs 2500 4000 tr 1 1 scale", "15 rotate", "[1 0.25 0.5 1 0 0] concat", "0.5 0.5 scale -3000 -4000 tr",
          "/picstr 10 string def"},
         kFrame, none, kShapeRect, 15, 0.25, 0.5},
        {"look-back to a clip",
         {"gs 1000 2000 3000 4000 rectclip 2500 4000 tr 1 1 scale", "0.5 0.5 scale -3000 -4000 tr",
          "/picstr 10 string def"},
         kFrame, kFrame, kShapeRect, 0, 0, 0},
        {"look-back without a placement", {"/picstr 10 string def"}, none, none, kShapeRect, 0, 0, 0},
    };
    for (const Case& c : cases) {
        PsPageWriter page;
        for (const std::string& l : c.lines) page.line(l);
        page.pictureMessage("D:\\IMAGES\\PHOTO1.TIF");
        reader_.m_arrBlocks.clear();
        reader_.m_arrImages.clear();
        const auto& blocks = Parse(page);
        ASSERT_EQ(blocks.size(), 1u) << c.name;
        const CBaseBlock& b = blocks[0];
        EXPECT_EQ(b.m_nKind, kBlockPicture) << c.name;
        EXPECT_EQ(b.m_rcBox, c.box) << c.name;
        EXPECT_EQ(b.m_rcBound, c.bound) << c.name;
        EXPECT_EQ(b.m_nShape, c.shape) << c.name;
        EXPECT_DOUBLE_EQ(b.m_dAngle, c.angle) << c.name;
        EXPECT_FLOAT_EQ(static_cast<float>(b.m_dSkewB), static_cast<float>(c.skewB)) << c.name;
        EXPECT_FLOAT_EQ(static_cast<float>(b.m_dSkewC), static_cast<float>(c.skewC)) << c.name;
        EXPECT_EQ(b.m_strFileName, "PHOTO1.TIF") << c.name;
        EXPECT_EQ(b.m_nID, 0) << c.name;
        ASSERT_EQ(reader_.m_arrImages.size(), 1u) << c.name;
        const CImagePath& ref = *reader_.m_arrImages[0];
        if (c.box == kFrame) {
            EXPECT_EQ(ref.m_rcClip, kFrameInPoints) << c.name;
            EXPECT_EQ(ref.m_rcImage, kFrameInPoints) << c.name;  // an empty frame takes the clip
        }
        EXPECT_EQ(ref.m_nShape, c.shape) << c.name;
        EXPECT_EQ(ref.m_strName, "PHOTO1.TIF") << c.name;
    }
}

TEST_F(PsPicture, APathBeforeAPictureBecomesItsOutlineOnce) {
    PsPageWriter page;
    page.path({{0, 0}, {7420, 0}, {7420, 7420}, {0, 7420}, {0, 3710}});
    page.line("eoclip np 2500 4000 tr -1500 -2000 tr").pictureMessage("a.tif");
    page.picture(2500, 4000, 3000, 4000, "b.tif");
    const auto& blocks = Parse(page);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0].m_arrPoints.size(), 5u);
    ASSERT_EQ(reader_.m_arrImages.size(), 2u);
    EXPECT_EQ(reader_.m_arrImages[0]->m_nShape, kShapePolygon);
    EXPECT_EQ(reader_.m_arrImages[0]->m_arrOutline.at(2), MakePoint(72, 72));
    EXPECT_TRUE(blocks[1].m_arrPoints.empty());
    EXPECT_TRUE(reader_.m_arrImages[1]->m_arrOutline.empty());
    EXPECT_EQ(blocks[1].m_nID, 1);
}

TEST_F(PsPicture, TheFileIsLookedUpInTheFoldersThenAmongTheResources) {
    testing::TempDir pictures;
    const std::string inFolder = pictures.Write("photo1.tif", "not an image");
    const std::string listed = dir_.Write("RES2.TIF", "not an image");
    PsPageWriter page;
    page.resource(listed).picture(2500, 4000, 3000, 4000, "D:\\IMAGES\\PHOTO1.TIF");
    page.picture(2500, 4000, 3000, 4000, "C:\\res2.tif").picture(2500, 4000, 3000, 4000, "gone.tif");
    EXPECT_TRUE(reader_.Open(dir_.Write("page.ps", page.bytes())));
    reader_.SetImageFolders(pictures.Path());
    reader_.m_bResourceLookup = 1;
    reader_.ParsePage();
    const auto& blocks = reader_.m_arrBlocks;
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_EQ(blocks[0].m_strImagePath, inFolder);
    EXPECT_EQ(blocks[1].m_strImagePath, listed);
    EXPECT_EQ(blocks[2].m_strImagePath, "");
    EXPECT_EQ(reader_.m_arrImages[0]->m_strImagePath, inFolder);
}

TEST_F(PsPicture, MessageLinesWithoutTheirOpeningOrWithoutAnEnd) {
    const std::string missing = ")\xB2\xBB\xB4\xE6\xD4\xDA!\xBC\xCC\xD0\xF8\xBD\xE2\xCA\xCD\xC2\xF0?)";
    const std::string open = "\xCD\xBC\xCF\xF3\xCE\xC4\xBC\xFE(";
    struct Case {
        std::string message;
        bool recorded;
        std::string name;
    };
    const std::vector<Case> cases = {
        {"(" + open + "x.tif" + missing, true, "x.tif"},
        {"/errio {(abcdefgh" + missing, true, "(abcdefgh"},
        {missing + open + "late.tif", true, ""},
        {"/errio {(no end)", false, ""},
    };
    for (const Case& c : cases) {
        PsPageWriter page;
        page.line("gs 2500 4000 tr -1500 -2000 tr").line("errordict /undefinedfilename\t{errio} put").line(c.message);
        reader_.m_arrBlocks.clear();
        const auto& blocks = Parse(page.withoutPageEnd());
        ASSERT_EQ(blocks.size(), c.recorded ? 1u : 0u) << c.message;
        if (c.recorded) {
            EXPECT_EQ(blocks[0].m_strFileName, c.name) << c.message;
        }
    }
}

TEST_F(PsPicture, ManyLookBacksWithoutPlacementReadQuickly) {
    PsPageWriter page;
    for (int i = 0; i < 5000; ++i) page.line("/picstr 10 string def").pictureMessage("p.tif");
    page.line("gs 2500 4000 tr 1 1 scale");  // the only placement, at the very end
    for (int i = 0; i < 5000; ++i) page.line("15 rotate");
    page.line("-1500 -2000 tr");
    auto start = std::chrono::steady_clock::now();
    const auto& blocks = Parse(page);
    auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ASSERT_EQ(blocks.size(), 5000u);
    EXPECT_EQ(blocks[0].m_rcBox, kFrame);
    EXPECT_DOUBLE_EQ(blocks[4999].m_dAngle, 15);
    EXPECT_LT(seconds, 2.0);
}

}  // namespace
}  // namespace kestrum
