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

// A GB2312 character of the first rows, a different one for each of the first 94 x 39 numbers.
std::string Character(int i) {
    return {static_cast<char>(0xB0 + i / 94 % 39), static_cast<char>(0xA1 + i % 94)};
}

std::string PixelBytes(const DrawBitmap& b) {
    return std::string(reinterpret_cast<const char*>(b.Pixels()), size_t(b.Stride()) * size_t(b.Height()));
}

// Characters held back and drawn together must come out as the same characters
// drawn one at a time (here each is forced out by reading a pixel), whether they
// overlap, touch or stand apart, however many wait at once (a page's worth is
// drawn in bands of rows on several threads; characters too large for the glyph
// cache to hold them all make it start over halfway), and whatever is drawn after
// them lies on top.
TEST(Draw, CharactersDrawnTogetherMatchCharactersDrawnAlone) {
    struct Case {
        const char* name;
        int32_t size, step, lineStep;  // pixels: the em, from one character to the next, between lines
        int count, perLine, kinds;     // characters, characters a line, different characters
        bool recolour;                 // every other character in red
    };
    const std::vector<Case> cases = {{"overlapping", 20, 11, 12, 10, 5, 2, false},
                                     {"edge to edge", 20, 20, 20, 10, 5, 2, false},
                                     {"apart", 20, 24, 26, 10, 5, 2, false},
                                     {"changing colour", 20, 11, 12, 10, 5, 2, true},
                                     {"a page's worth", 20, 11, 13, 6000, 60, 300, true},
                                     {"more than the glyph cache holds", 1000, 200, 200, 100, 5, 100, false}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const int32_t width = 4 + k.step * (k.perLine - 1) + k.size;
        const int32_t height = 4 + k.lineStep * ((k.count - 1) / k.perLine) + k.size;
        Canvas together(width, height), alone(width, height);
        for (Canvas* c : {&together, &alone}) {
            FontRequest font;
            font.nHeight = -k.size;
            font.strFaceName = kSong;
            c->dc.SelectFont(font);
            for (int i = 0; i < k.count; ++i) {
                c->dc.SetTextColour(k.recolour && i % 2 ? kRed : 0);
                c->dc.TextOut(2 + (i % k.perLine) * k.step, 2 + (i / k.perLine) * k.lineStep, Character(i % k.kinds));
                if (c == &alone) c->bitmap.PixelAt(0, 0);
            }
            c->dc.FillRect(MakeRect(0, 0, 8, 8), kBlue);
        }
        EXPECT_TRUE(PixelBytes(together.bitmap) == PixelBytes(alone.bitmap));
        EXPECT_EQ(together.bitmap.PixelAt(3, 3), kBlue);
        int inked = 0;
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x) inked += together.bitmap.PixelAt(x, y) != kWhite;
        EXPECT_GT(inked, 8 * 8 + k.count * 2) << "every character leaves some ink";
    }
}

// Text under a clip shows exactly where the clip lets a fill through, whether the
// clip is made of whole-pixel boxes or has curves.
TEST(Draw, CharactersStayInsideTheClip) {
    struct Case {
        const char* name;
        DrawPath clip;
    };
    std::vector<Case> cases(3);
    cases[0].name = "a rectangle";
    cases[0].clip.Rectangle(MakeRect(13, 7, 71, 44));
    cases[1].name = "two rectangles";
    cases[1].clip.Rectangle(MakeRect(0, 0, 30, 25));
    cases[1].clip.Rectangle(MakeRect(50, 30, 90, 60));
    cases[2].name = "an ellipse";
    cases[2].clip.Ellipse(MakeRect(5, 3, 85, 57));
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Canvas clipped(90, 60), open(90, 60), window(90, 60);
        window.dc.IntersectClip(k.clip);
        window.dc.FillRect(MakeRect(0, 0, 90, 60), 0);
        for (Canvas* c : {&clipped, &open}) {
            if (c == &clipped) c->dc.IntersectClip(k.clip);
            c->dc.SetTextColour(kRed);
            // Sizes whose baselines and advances fall on fractions of a pixel either side of a half.
            for (int i = 0; i < 12; ++i) {
                FontRequest font;
                font.nHeight = -(15 + i % 3);
                font.strFaceName = kHei;
                c->dc.SelectFont(font);
                c->dc.TextOut(1 + (i % 3) * 30, 1 + (i / 3) * 15, Character(2 * i) + Character(2 * i + 1));
            }
        }
        int differences = 0, inked = 0;
        for (int32_t y = 0; y < 60; ++y)
            for (int32_t x = 0; x < 90; ++x) {
                const bool inside = window.bitmap.PixelAt(x, y) == 0;
                const Colour expected = inside ? open.bitmap.PixelAt(x, y) : kWhite;
                differences += clipped.bitmap.PixelAt(x, y) != expected;
                inked += inside && expected != kWhite;
            }
        EXPECT_EQ(differences, 0);
        EXPECT_GT(inked, 100);
    }
}

// Characters placed by a damaged page far off the bitmap, or straddling its edge.
TEST(Draw, CharactersOffTheBitmapLeaveItAlone) {
    struct Case {
        const char* name;
        int32_t x, y;
        bool inks;
    };
    const std::vector<Case> cases = {{"far right and below", INT32_MAX, INT32_MAX, false},
                                     {"far left and above", INT32_MIN, INT32_MIN, false},
                                     {"just past the right edge", 40, 5, false},
                                     {"half over the left edge", -10, 5, true},
                                     {"half over the bottom edge", 5, 30, true}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Canvas c(40, 40);
        FontRequest font;
        font.nHeight = -20;
        font.strFaceName = kHei;
        c.dc.SelectFont(font);
        c.dc.SetTextColour(0);
        c.dc.TextOut(k.x, k.y, kZhong + kGuo);
        int dark = 0;
        DarkBox(c.bitmap, &dark);
        EXPECT_EQ(dark > 0, k.inks);
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
