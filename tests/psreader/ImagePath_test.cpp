// The picture reference record: construction, attaching and turning its image, and
// drawing it through its clip outline.
#include "psreader/ImagePath.h"

#include "parser/Image.h"
#include "platform/Draw.h"
#include "tests/parser/ImageTestFiles.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrum {
namespace {

using testing::Rgb;
using testing::TempDir;

constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kRed = RgbColour(255, 0, 0);

// A red picture whose top-left pixel is blue: shows which way it turned.
std::string RedPicture(const TempDir& dir, uint32_t w = 10, uint32_t h = 6) {
    const std::string path = dir.File("red.png");
    testing::WritePng(path, w, h, [](uint32_t x, uint32_t y) { return x == 0 && y == 0 ? Rgb{0, 0, 255} : Rgb{255, 0, 0}; },
                      testing::PngKind::Rgb);
    return path;
}

void ExpectNear(const Rect& got, const Rect& want) {
    EXPECT_NEAR(got.left, want.left, 1);
    EXPECT_NEAR(got.top, want.top, 1);
    EXPECT_NEAR(got.right, want.right, 1);
    EXPECT_NEAR(got.bottom, want.bottom, 1);
}

TEST(ImagePath, ConstructionTakesTheClipForAnEmptyImageRectangle) {
    const CImagePath a(MakeRect(1, 2, 30, 40), nullptr, MakeRect(5, 6, 5, 60));
    EXPECT_EQ(a.m_rcImage, MakeRect(1, 2, 30, 40));
    EXPECT_EQ(a.m_strName, "");
    EXPECT_EQ(a.m_nShape, 3);
    EXPECT_EQ(a.m_fScale, 1.0f);
    const CImagePath b(MakeRect(1, 2, 30, 40), "p.jpg", MakeRect(5, 6, 7, 60));
    EXPECT_EQ(b.m_rcImage, MakeRect(5, 6, 7, 60));
    EXPECT_EQ(b.m_strName, "p.jpg");
}

TEST(ImagePath, RotateRectTurnsClockwiseOnThePage) {
    Rect r = MakeRect(-50, -25, 50, 25);
    CImagePath::RotateRect(r, 0, 0, -90.0);
    ExpectNear(r, MakeRect(-25, -50, 25, 50));
    // Around another centre the rectangle comes back there.
    Rect s = MakeRect(100, 100, 200, 150);
    CImagePath::RotateRect(s, 150, 125, 90.0);
    ExpectNear(s, MakeRect(125, 75, 175, 175));
    Rect t = MakeRect(0, 0, 10, 0);  // a = -d: +30 degrees turns (10, 0) up to y < 0
    CImagePath::RotateRect(t, 0, 0, 30.0);
    EXPECT_EQ(t, MakeRect(0, -5, 8, 0));  // (8.66, -5) truncated
}

TEST(ImagePath, SetImageLoadsAndTurns) {
    TempDir dir;
    const std::string picture = RedPicture(dir);
    const Rect rect = MakeRect(-50, -25, 50, 25);

    CImagePath notLoaded(rect, "red.png", rect);
    EXPECT_FALSE(notLoaded.SetImage(picture, 12.5, false));
    EXPECT_EQ(notLoaded.m_strImagePath, picture);
    EXPECT_EQ(notLoaded.m_dAngle, 12.5);
    EXPECT_EQ(notLoaded.m_pImage, nullptr);

    CImagePath missing(rect, "x.png", rect);
    EXPECT_FALSE(missing.SetImage(dir.File("x.png"), 0, true));
    EXPECT_FALSE(missing.SetImage("", 0, true));
    EXPECT_EQ(missing.m_pImage, nullptr);

    CImagePath small(rect, "red.png", rect);
    ASSERT_TRUE(small.SetImage(picture, 0.01, true));
    ASSERT_NE(small.m_pImage, nullptr);
    EXPECT_EQ(small.m_rcImage, rect);
    EXPECT_EQ(small.m_pImage->GetWidth(), 10u);

    CImagePath turned(rect, "red.png", rect);
    ASSERT_TRUE(turned.SetImage(picture, 90.0, true));
    ExpectNear(turned.m_rcImage, MakeRect(-25, -50, 25, 50));
    ExpectNear(turned.m_rcClip, MakeRect(-25, -50, 25, 50));
    ASSERT_EQ(turned.m_pImage->GetWidth(), 6u);
    ASSERT_EQ(turned.m_pImage->GetHeight(), 10u);
    // Clockwise, like the rectangles: the top-left pixel goes to the top-right.
    EXPECT_EQ(testing::PixelOf(*turned.m_pImage, 5, 0), (Rgb{0, 0, 255}));

    const std::string broken = dir.Write("broken.jpg", "\xFF\xD8\xFF not really");
    CImagePath bad(rect, "broken.jpg", rect);
    EXPECT_TRUE(bad.SetImage(broken, 90.0, true));
    ASSERT_NE(bad.m_pImage, nullptr);
    EXPECT_FALSE(bad.m_pImage->IsValid());
    EXPECT_EQ(bad.m_rcImage, rect);  // not turned
}

struct Page {
    Page() : bitmap(140, 100), dc(bitmap) { dc.FillRect(MakeRect(0, 0, 140, 100), kWhite); }
    bool Red(int32_t x, int32_t y) const { return bitmap.PixelAt(x, y) == kRed; }
    DrawBitmap bitmap;
    DrawContext dc;
};

TEST(ImagePath, DrawClipsToTheScaledOutline) {
    TempDir dir;
    const std::string picture = RedPicture(dir);

    CImagePath none(MakeRect(10, 10, 60, 40), "p", MakeRect(0, 0, 70, 50));
    Page blank;
    EXPECT_FALSE(none.Draw(blank.dc, 2.0f));
    EXPECT_EQ(none.m_fScale, 2.0f);

    CImagePath rect(MakeRect(10, 10, 60, 40), "p", MakeRect(1, 1, 70, 50));
    ASSERT_TRUE(rect.SetImage(picture, 0, true));
    Page p;
    ASSERT_TRUE(rect.Draw(p.dc, 2.0f));
    EXPECT_TRUE(p.Red(20, 20));
    EXPECT_TRUE(p.Red(119, 79));
    EXPECT_FALSE(p.Red(19, 50));
    EXPECT_FALSE(p.Red(120, 50));
    EXPECT_FALSE(p.Red(60, 80));
    // The state is restored: the whole page can be drawn on again.
    p.dc.FillRect(MakeRect(0, 0, 1, 1), kRed);
    EXPECT_TRUE(p.Red(0, 0));

    CImagePath ellipse(MakeRect(0, 0, 70, 50), "p", MakeRect(0, 0, 70, 50));
    ellipse.m_nShape = 2;
    ASSERT_TRUE(ellipse.SetImage(picture, 0, true));
    Page e;
    ASSERT_TRUE(ellipse.Draw(e.dc, 2.0f));
    EXPECT_TRUE(e.Red(70, 50));
    for (auto [x, y] : {std::pair{1, 1}, {138, 1}, {1, 98}, {138, 98}}) EXPECT_FALSE(e.Red(x, y)) << x << "," << y;
}

TEST(ImagePath, DrawOutlinesOfEveryPointCount) {
    TempDir dir;
    const std::string picture = RedPicture(dir);
    struct Case {
        const char* name;
        int32_t shape;
        std::vector<Point> outline;
        std::vector<std::pair<Point, bool>> expect;  // pixel at scale 1, red
    };
    const std::vector<Case> cases = {
        {"triangle", 4, {MakePoint(0, 0), MakePoint(100, 0), MakePoint(0, 80)},
         {{MakePoint(30, 30), true}, {MakePoint(90, 70), false}}},
        {"polygon without points: the clip rectangle", 4, {}, {{MakePoint(30, 30), true}, {MakePoint(130, 30), false}}},
        {"Bezier, 1 + 3 points", 5, {MakePoint(0, 40), MakePoint(40, -20), MakePoint(80, -20), MakePoint(120, 40)},
         {{MakePoint(60, 20), true}, {MakePoint(60, 60), false}, {MakePoint(2, 2), false}}},
        {"Bezier with two points left over: joined by lines", 5,
         {MakePoint(0, 40), MakePoint(40, -20), MakePoint(80, -20), MakePoint(120, 40), MakePoint(120, 90),
          MakePoint(0, 90)},
         {{MakePoint(60, 20), true}, {MakePoint(60, 60), true}, {MakePoint(2, 2), false}}},
        {"Bezier of one point", 5, {MakePoint(5, 5)}, {{MakePoint(60, 20), false}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CImagePath path(MakeRect(0, 0, 120, 90), "p", MakeRect(0, 0, 140, 100));
        path.m_nShape = c.shape;
        path.m_arrOutline = c.outline;
        ASSERT_TRUE(path.SetImage(picture, 0, true));
        Page p;
        ASSERT_TRUE(path.Draw(p.dc, 1.0f));
        for (const auto& [pt, red] : c.expect) EXPECT_EQ(p.Red(pt.x, pt.y), red) << pt.x << "," << pt.y;
    }
}

TEST(ImagePath, TurnedPicturesFillTheOutlineBox) {
    TempDir dir;
    CImagePath path(MakeRect(0, 0, 10, 10), "p", MakeRect(0, 0, 10, 10));
    path.m_nShape = 4;
    path.m_arrOutline = {MakePoint(20, 10), MakePoint(60, 10), MakePoint(60, 40), MakePoint(20, 40)};
    ASSERT_TRUE(path.SetImage(RedPicture(dir), 0, true));
    path.m_dAngle = 30.0;  // as SetImage leaves it after turning
    Page p;
    ASSERT_TRUE(path.Draw(p.dc, 2.0f));
    EXPECT_TRUE(p.Red(100, 60));
    EXPECT_TRUE(p.Red(119, 79));
    EXPECT_FALSE(p.Red(30, 30));
}

}  // namespace
}  // namespace kestrum
