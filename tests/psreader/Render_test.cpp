// The page proof: size, what is drawn from which record, and the character fonts.
#include "model/PageInfo.h"
#include "parser/Image.h"
#include "platform/Draw.h"
#include "psreader/PSParser.h"
#include "psreader/Render.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

using testing::TempDir;

constexpr Colour kWhite = 0x00FFFFFF;

// A reader holding a page of the given size in points and no records.
void SetPagePoints(CPSParser& reader, double width, double height) {
    reader.m_dPageWidth = width * 7420 / 72;
    reader.m_dPageHeight = height * 7420 / 72;
}

CBaseBlock RuleBlock(std::vector<Point> points, uint16_t width, uint32_t colour) {
    CBaseBlock block;
    block.m_nKind = kBlockRuleOrBox;
    St_WordInfo pen;
    pen.strFontName = kRuleFont;
    pen.wCode = width;
    pen.crColor = colour;
    block.m_arrChars = {pen, pen};
    block.m_arrPoints = std::move(points);
    return block;
}

CBaseBlock BoxBlock(const Rect& box, uint32_t colour) {
    CBaseBlock block;
    block.m_nKind = kBlockRuleOrBox;
    St_WordInfo brush;
    brush.crColor = colour;
    block.m_arrChars = {brush};
    block.m_rcBox = box;
    return block;
}

// Page units of a pixel position at scale 2 (one point is two pixels).
int32_t Units(int32_t pixels) { return pixels * 7420 / 144 + 1; }

TEST(PsRender, PageSizeInPixelsAndPixelSizeFlag) {
    TempDir dir;
    struct Case {
        double width, height;
        bool setPixelSize;
        double expectWidth, expectHeight;
    } cases[] = {
        {595, 842, true, 1190, 1684},
        {-50, 40, true, 100, 80},      // a negative width still gives a bitmap of the absolute size
        {50, 40, false, 7, 9},         // the embedded-document preview leaves the sizes alone
    };
    for (const auto& c : cases) {
        CPSParser reader;
        SetPagePoints(reader, c.width, c.height);
        reader.m_pPageInfo->m_dImageWidth = 7;
        reader.m_pPageInfo->m_dImageHeight = 9;
        std::string out = dir.File("page.jpg");
        ASSERT_TRUE(reader.RenderPageImage(out, c.setPixelSize)) << c.width;
        EXPECT_EQ(reader.m_pPageInfo->m_dImageWidth, c.expectWidth);
        EXPECT_EQ(reader.m_pPageInfo->m_dImageHeight, c.expectHeight);
        CxImage written(out, CXIMAGE_FORMAT_JPG);
        ASSERT_TRUE(written.IsValid());
        EXPECT_EQ(written.GetWidth(), static_cast<uint32_t>(std::abs(c.width) * 2));
    }
}

TEST(PsRender, EmptyOrHugePageIsNotDrawn) {
    TempDir dir;
    CPSParser empty;
    EXPECT_FALSE(empty.RenderPageImage(dir.File("a.jpg"), true));
    CPSParser huge;
    SetPagePoints(huge, 1e9, 1e9);
    EXPECT_FALSE(huge.RenderPageImage(dir.File("b.jpg"), true));
}

TEST(PsRender, DrawsRulesAndBoxesFromTheirRecords) {
    CPSParser reader;
    SetPagePoints(reader, 100, 100);
    // A red rule across y = 50 px, a one-point rule (drawn by nobody), a green box.
    reader.m_arrBlocks.push_back(RuleBlock({MakePoint(Units(20), Units(50)), MakePoint(Units(180), Units(50))}, 300, 0x0000FF));
    reader.m_arrBlocks.push_back(RuleBlock({MakePoint(Units(100), Units(150))}, 3000, 0x0000FF));
    reader.m_arrBlocks.push_back(BoxBlock(MakeRect(Units(20), Units(100), Units(60), Units(140)), 0x00FF00));

    DrawBitmap bitmap(200, 200);
    DrawContext dc(bitmap);
    dc.SetPrinting(true);
    reader.DrawPage(dc);

    EXPECT_EQ(bitmap.PixelAt(0, 0), 0x00FF0000u) << "blue page border";
    EXPECT_EQ(bitmap.PixelAt(100, 50), 0x0000FFu) << "the rule";
    EXPECT_EQ(bitmap.PixelAt(100, 150), kWhite) << "a rule of one point is not drawn";
    EXPECT_EQ(bitmap.PixelAt(40, 120), 0x00FF00u) << "the box";
    EXPECT_EQ(bitmap.PixelAt(150, 120), kWhite);
}

TEST(PsRender, ParagraphMarkersDrawNothing) {
    CPSParser reader;
    SetPagePoints(reader, 50, 50);
    CBaseBlock block;
    block.m_nKind = kBlockBody;
    block.m_arrChars = {St_WordInfo::ParagraphMarker(), St_WordInfo::ParagraphMarker()};
    reader.m_arrBlocks.push_back(block);

    DrawBitmap bitmap(100, 100);
    DrawContext dc(bitmap);
    reader.DrawPage(dc);
    for (int y = 1; y < 99; ++y)
        for (int x = 1; x < 99; ++x) ASSERT_EQ(bitmap.PixelAt(x, y), kWhite) << x << "," << y;
}

TEST(PsRender, CharacterFonts) {
    St_WordInfo ten;  // a 10-point character: 1030 page units, 9 whole points
    ten.nWidth = ten.nHeight = 1030;
    ten.wCode = 0xD6D0;
    FontRequest f = CharacterFont(ten, 2.0f);
    EXPECT_EQ(f.nHeight, -20);
    EXPECT_EQ(f.nWidth, 0);
    EXPECT_EQ(f.nCharSet, 134);
    EXPECT_EQ(f.nEscapement, 0);

    St_WordInfo narrow = ten;
    narrow.nWidth = 2060;  // 9 whole half points: trunc(9 x 1.04 x 2 + 1) = 19
    narrow.wCode = 'A';
    narrow.fAngle = 90.0f;
    f = CharacterFont(narrow, 2.0f);
    EXPECT_EQ(f.nWidth, 19);
    EXPECT_EQ(f.nCharSet, 0);
    EXPECT_EQ(f.nEscapement, 2700);
    EXPECT_EQ(f.nWeight, 400);
    EXPECT_EQ(f.nClipPrecision, 16);

    St_WordInfo longName = ten;
    longName.strFontName = std::string(40, 'F');
    EXPECT_EQ(CharacterFont(longName, 2.0f).strFaceName.size(), 31u);
}

TEST(PsRender, DrawsCharactersAsGlyphs) {
    CPSParser reader;
    SetPagePoints(reader, 60, 40);
    CBaseBlock block;
    block.m_nKind = kBlockTitle;
    block.m_rcBox = MakeRect(1000, 0, 0, 0);
    St_WordInfo ch;
    ch.nWidth = ch.nHeight = 2060;  // 20 points
    ch.nY = 2500;
    ch.wCode = 0xD6D0;  // 中
    block.m_arrChars = {ch};
    reader.m_arrBlocks.push_back(block);

    DrawBitmap bitmap(120, 80);
    DrawContext dc(bitmap);
    reader.DrawPage(dc);
    int dark = 0;
    for (int y = 1; y < 79; ++y)
        for (int x = 1; x < 119; ++x) dark += bitmap.PixelAt(x, y) != kWhite;
    EXPECT_GT(dark, 20);
    EXPECT_LT(dark, 118 * 78 / 2);
}

}  // namespace
}  // namespace kestrum
