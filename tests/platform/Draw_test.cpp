// The drawing layer the page renderer and the picture records draw with.
#include "platform/Draw.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrum {
namespace {

constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kRed = RgbColour(255, 0, 0);
constexpr Colour kBlue = RgbColour(0, 0, 255);

const std::string kSong = "\xCB\xCE\xCC\xE5";  // 宋体
const std::string kHei = "\xBA\xDA\xCC\xE5";   // 黑体
const std::string kZhong = "\xD6\xD0";         // 中
const std::string kGuo = "\xB9\xFA";           // 国
const std::string kYi = "\xD2\xBB";            // 一

// The pixels of a colour as a picture of '#' and '.', for readable failures.
std::string Picture(const DrawBitmap& b, Colour c) {
    std::string s;
    for (int32_t y = 0; y < b.Height(); ++y) {
        for (int32_t x = 0; x < b.Width(); ++x) s += b.PixelAt(x, y) == c ? '#' : '.';
        s += '\n';
    }
    return s;
}

struct Canvas {
    explicit Canvas(int32_t w, int32_t h) : bitmap(w, h), dc(bitmap) { dc.FillRect(MakeRect(0, 0, w, h), kWhite); }
    DrawBitmap bitmap;
    DrawContext dc;
};

TEST(Draw, RectanglesCoverTheirPixelsOnly) {
    Canvas c(8, 6);
    c.dc.FillRect(MakeRect(1, 1, 4, 3), kRed);
    c.dc.FrameRect(MakeRect(4, 1, 8, 6), kBlue);
    c.dc.FillRect(MakeRect(3, 5, 1, 6), kRed);  // inverted: nothing
    EXPECT_EQ(Picture(c.bitmap, kRed),
              "........\n"
              ".###....\n"
              ".###....\n"
              "........\n"
              "........\n"
              "........\n");
    EXPECT_EQ(Picture(c.bitmap, kBlue),
              "........\n"
              "....####\n"
              "....#..#\n"
              "....#..#\n"
              "....#..#\n"
              "....####\n");
}

TEST(Draw, ClipsIntersectAndRestore) {
    Canvas c(10, 10);
    c.dc.Save();
    c.dc.IntersectClip(MakeRect(0, 0, 6, 10));
    c.dc.IntersectClip(MakeRect(4, 2, 10, 4));
    c.dc.FillRect(MakeRect(0, 0, 10, 10), kRed);
    c.dc.Restore();
    c.dc.Restore();  // unmatched: nothing happens
    EXPECT_EQ(Picture(c.bitmap, kRed).substr(0, 44), "..........\n..........\n....##....\n....##....\n");
    c.dc.FillRect(MakeRect(9, 9, 10, 10), kBlue);
    EXPECT_EQ(c.bitmap.PixelAt(9, 9), kBlue);
}

TEST(Draw, ClipsToFigures) {
    struct Case {
        const char* name;
        DrawPath path;
        std::vector<std::pair<Point, bool>> inside;  // pixel, drawn
    };
    std::vector<Case> cases(4);
    cases[0].name = "ellipse";
    cases[0].path.Ellipse(MakeRect(0, 0, 20, 10));
    cases[0].inside = {{MakePoint(10, 5), true}, {MakePoint(0, 0), false}, {MakePoint(19, 9), false},
                       {MakePoint(1, 5), true}};
    cases[1].name = "triangle";
    cases[1].path.MoveTo(MakePoint(0, 0));
    cases[1].path.LineTo(MakePoint(20, 0));
    cases[1].path.LineTo(MakePoint(0, 20));
    cases[1].path.CloseFigure();
    cases[1].inside = {{MakePoint(2, 2), true}, {MakePoint(18, 18), false}, {MakePoint(12, 12), false}};
    cases[2].name = "Bezier lens";
    cases[2].path.MoveTo(MakePoint(0, 10));
    cases[2].path.BezierTo(MakePoint(5, -3), MakePoint(15, -3), MakePoint(20, 10));
    cases[2].path.BezierTo(MakePoint(15, 23), MakePoint(5, 23), MakePoint(0, 10));
    cases[2].path.CloseFigure();
    cases[2].inside = {{MakePoint(10, 10), true}, {MakePoint(1, 1), false}, {MakePoint(10, 1), true},
                       {MakePoint(19, 19), false}};
    cases[3].name = "nothing";
    cases[3].inside = {{MakePoint(10, 10), false}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Canvas c(20, 20);
        c.dc.Save();
        c.dc.IntersectClip(k.path);
        c.dc.FillRect(MakeRect(0, 0, 20, 20), kRed);
        c.dc.Restore();
        for (const auto& [p, drawn] : k.inside) EXPECT_EQ(c.bitmap.PixelAt(p.x, p.y) == kRed, drawn) << p.x << "," << p.y;
    }
}

TEST(Draw, PensDrawLinesAndBrushesFillFigures) {
    Canvas c(12, 12);
    c.dc.SetPen(1, kRed);
    c.dc.Polyline({MakePoint(1, 1), MakePoint(9, 1)});
    c.dc.SetPen(3, kBlue);
    c.dc.Polyline({MakePoint(2, 6), MakePoint(9, 6)});
    EXPECT_EQ(Picture(c.bitmap, kRed).substr(0, 26), "............\n.########...\n");
    for (int y : {5, 6, 7}) EXPECT_EQ(c.bitmap.PixelAt(5, y), kBlue) << y;
    EXPECT_NE(c.bitmap.PixelAt(5, 4), kBlue);
    EXPECT_NE(c.bitmap.PixelAt(5, 8), kBlue);

    Canvas f(12, 12);
    f.dc.SetNoPen();
    f.dc.SetBrush(kRed);
    f.dc.Polygon({MakePoint(0, 0), MakePoint(12, 0), MakePoint(0, 12)});
    f.dc.Rectangle(MakeRect(8, 8, 11, 11));
    EXPECT_EQ(f.bitmap.PixelAt(2, 2), kRed);
    EXPECT_EQ(f.bitmap.PixelAt(9, 9), kRed);
    EXPECT_EQ(f.bitmap.PixelAt(7, 7), kWhite);
    EXPECT_EQ(f.bitmap.PixelAt(11, 11), kWhite);
}

// Bounding box of the dark pixels; empty when there are none.
Rect DarkBox(const DrawBitmap& b, int* count = nullptr) {
    Rect box = MakeRect(b.Width(), b.Height(), 0, 0);
    int n = 0;
    for (int32_t y = 0; y < b.Height(); ++y)
        for (int32_t x = 0; x < b.Width(); ++x)
            if ((b.PixelAt(x, y) & 0xFF) < 128) {
                ++n;
                box = MakeRect(std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                               std::max(box.bottom, y + 1));
            }
    if (count) *count = n;
    return box;
}

TEST(Draw, TextComesOutAsRealGlyphs) {
    // 宋体, 黑体 and 青鸟华光报宋: none is installed under that name.
    for (const std::string& face : {kSong, kHei, std::string("\xC7\xE0\xC4\xF1\xBB\xAA\xB9\xE2\xB1\xA8\xCB\xCE")}) {
        SCOPED_TRACE(ResolvedFontFamily(face));
        EXPECT_FALSE(ResolvedFontFamily(face).empty());
        FontRequest font;
        font.nHeight = -20;
        font.nCharSet = 134;
        font.strFaceName = face;
        Canvas zhong(40, 40), guo(40, 40);
        for (Canvas* c : {&zhong, &guo}) {
            c->dc.SelectFont(font);
            c->dc.SetTextColour(0);
            c->dc.TextOut(5, 5, c == &zhong ? kZhong : kGuo);
        }
        int dark = 0;
        const Rect box = DarkBox(zhong.bitmap, &dark);
        // Inside the 20-pixel cell, neither empty nor a filled box.
        EXPECT_GT(dark, 20);
        EXPECT_LT(dark, 20 * 20 / 2);
        EXPECT_GE(box.left, 5);
        EXPECT_GE(box.top, 5);
        EXPECT_LE(box.right, 26);
        EXPECT_LE(box.bottom, 26);
        EXPECT_NE(Picture(zhong.bitmap, 0), Picture(guo.bitmap, 0));
    }
}

TEST(Draw, FontsTurnAndNarrow) {
    struct Case {
        const char* name;
        int32_t width, escapement, x;
        bool wide;  // the stroke of 一 lies across
    };
    const std::vector<Case> cases = {{"plain", 0, 0, 20, true}, {"a quarter clockwise", 0, 2700, 40, false}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Canvas c(60, 60);
        FontRequest font;
        font.nHeight = -24;
        font.nWidth = k.width;
        font.nEscapement = k.escapement;
        font.strFaceName = kSong;
        c.dc.SelectFont(font);
        c.dc.SetTextColour(0);
        c.dc.TextOut(k.x, 20, kYi);
        const Rect box = DarkBox(c.bitmap);
        ASSERT_FALSE(IsRectEmpty(box));
        EXPECT_EQ(box.right - box.left > box.bottom - box.top, k.wide);
        if (k.escapement) {
            EXPECT_LE(box.right, k.x);  // the cell lies to the left of its corner
        }
    }
    // Half the average width makes a narrower glyph.
    auto widthOf = [](int32_t width) {
        Canvas c(60, 40);
        FontRequest font;
        font.nHeight = -24;
        font.nWidth = width;
        font.strFaceName = kHei;
        c.dc.SelectFont(font);
        c.dc.SetTextColour(0);
        c.dc.TextOut(5, 5, kZhong);
        const Rect box = DarkBox(c.bitmap);
        return box.right - box.left;
    };
    EXPECT_LT(widthOf(6), widthOf(0) * 3 / 4);
}

// Characters held back and drawn together must come out as the same characters
// drawn one at a time (here each is forced out by reading a pixel), whether they
// overlap, touch or stand apart, and whatever is drawn after them lies on top.
TEST(Draw, CharactersDrawnTogetherMatchCharactersDrawnAlone) {
    struct Case {
        const char* name;
        int32_t step, lineStep;  // pixels from one character to the next, and between the two lines
        bool recolour;           // every other character in red
    };
    const std::vector<Case> cases = {{"overlapping", 11, 12, false},
                                     {"edge to edge", 20, 20, false},
                                     {"apart", 24, 26, false},
                                     {"changing colour", 11, 12, true}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Canvas together(150, 60), alone(150, 60);
        for (Canvas* c : {&together, &alone}) {
            FontRequest font;
            font.nHeight = -20;
            font.strFaceName = kSong;
            c->dc.SelectFont(font);
            for (int i = 0; i < 10; ++i) {
                c->dc.SetTextColour(k.recolour && i % 2 ? kRed : 0);
                c->dc.TextOut(2 + (i % 5) * k.step, 2 + (i / 5) * k.lineStep, i % 3 ? kZhong : kGuo);
                if (c == &alone) c->bitmap.PixelAt(0, 0);
            }
            c->dc.FillRect(MakeRect(0, 0, 8, 8), kBlue);
        }
        const size_t bytes = size_t(together.bitmap.Stride()) * size_t(together.bitmap.Height());
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(together.bitmap.Pixels()), bytes),
                  std::string(reinterpret_cast<const char*>(alone.bitmap.Pixels()), bytes));
        EXPECT_EQ(together.bitmap.PixelAt(3, 3), kBlue);
        int dark = 0;
        DarkBox(together.bitmap, &dark);
        EXPECT_GT(dark, 8 * 8 + 10 * 20) << "every character leaves some ink";
    }
}

TEST(Draw, FontSizesFromDamagedPagesStayBounded) {
    Canvas c(40, 40);
    for (int32_t height : {INT32_MIN, INT32_MAX, -1}) {
        FontRequest font;
        font.nHeight = height;
        font.nWidth = INT32_MAX;
        font.nEscapement = INT32_MIN;
        font.strFaceName = kSong;
        c.dc.SelectFont(font);
        c.dc.TextOut(0, 0, kZhong);
    }
    c.dc.FillRect(MakeRect(0, 0, 1, 1), kRed);  // the context still draws
    EXPECT_EQ(c.bitmap.PixelAt(0, 0), kRed);
}

TEST(Draw, AnInvalidBitmapDrawsNothing) {
    DrawBitmap none(0, 0);
    DrawContext dc(none);
    EXPECT_FALSE(dc.IsValid());
    dc.FillRect(MakeRect(0, 0, 5, 5), kRed);
    dc.TextOut(0, 0, kZhong);
    dc.Save();
    dc.Restore();
    EXPECT_EQ(none.PixelAt(0, 0), 0u);
    EXPECT_FALSE(DrawBitmap(-3, 4).IsValid());
    EXPECT_FALSE(DrawBitmap(40000, 2).IsValid());
}

}  // namespace
}  // namespace kestrum
