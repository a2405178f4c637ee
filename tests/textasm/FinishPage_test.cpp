#include "model/PageInfo.h"
#include "model/PicBlock.h"
#include "model/TextBlock.h"
#include "parser/Image.h"
#include "platform/Files.h"
#include "psreader/PSParser.h"
#include "tests/support/CharRecords.h"
#include "textasm/BlockStats.h"
#include "textasm/BlockText.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>

namespace kestrum {
namespace {

// Rectangles as tuples, so that failures print their sides.
std::tuple<int32_t, int32_t, int32_t, int32_t> Sides(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

constexpr const char* kSong = "\xCB\xCE\xCC\xE5";  // 宋体
constexpr const char* kHei = "\xBA\xDA\xCC\xE5";   // 黑体

St_WordInfo Char(int32_t left, int32_t size = 920, const char* font = kSong, uint16_t code = 0xD6D0) {
    return testing::CharAt(code, left, size, font);
}

// `count` characters of one font side by side.
void AddRun(CBaseBlock& b, int count, int32_t size, const char* font = kSong) {
    for (int i = 0; i < count; ++i) b.m_arrChars.push_back(Char(int32_t(b.m_arrChars.size()) * size, size, font));
}

CBaseBlock TextRecord(int32_t kind, int count, int32_t size, int32_t id = 0) {
    CBaseBlock b;
    b.m_nKind = kind;
    b.m_nID = id;
    b.m_nArticle = 1;
    AddRun(b, count, size);
    b.m_rcBound = MakeRect(0, 0, count * size, size);
    return b;
}

TEST(FinishPage, FontStatsTakeTheCommonestFontAndWeighTheSizes) {
    CBaseBlock b;
    AddRun(b, 30, 920, "FontA");
    AddRun(b, 10, 1800, "FontB");
    ASSERT_EQ(GetFontStats(b), 1);
    EXPECT_EQ(b.m_strFontName, "FontA");
    EXPECT_DOUBLE_EQ(b.m_dAvgSize, 1140.0);

    // A font's size is that of its first character; case does not make another font.
    CBaseBlock cased;
    cased.m_arrChars = {Char(0, 1000, "FontA"), Char(0, 3000, "fonta"), Char(0, 500, "FontB")};
    ASSERT_EQ(GetFontStats(cased), 1);
    EXPECT_EQ(cased.m_strFontName, "FontA");
    EXPECT_DOUBLE_EQ(cased.m_dAvgSize, (2 * 1000.0 + 500.0) / 3);

    // Equal counts: the earlier font wins.
    CBaseBlock tie;
    tie.m_arrChars = {Char(0, 800, kHei), Char(0, 600, kSong)};
    ASSERT_EQ(GetFontStats(tie), 1);
    EXPECT_EQ(tie.m_strFontName, kHei);
}

TEST(FinishPage, FontStatsCountALeadingParagraphMarkerOnce) {
    CBaseBlock b;
    b.m_nKind = kBlockTitle;
    b.m_arrChars.push_back(St_WordInfo::ParagraphMarker());
    AddRun(b, 5, 1500, "FontA");
    b.m_arrChars.push_back(St_WordInfo::ParagraphMarker());
    ASSERT_EQ(GetFontStats(b), 1);
    EXPECT_EQ(b.m_strFontName, "FontA");
    EXPECT_DOUBLE_EQ(b.m_dAvgSize, (920.0 + 5 * 1500.0) / 6);

    CBaseBlock empty, lone;
    lone.m_arrChars = {St_WordInfo::ParagraphMarker()};
    lone.m_strFontName = "kept";
    EXPECT_EQ(GetFontStats(empty), 0);
    EXPECT_EQ(GetFontStats(lone), 0);
    EXPECT_EQ(lone.m_strFontName, "kept");
}

St_WordInfo Vertical(int32_t left, int32_t top) {
    St_WordInfo w = Char(left);
    w.bVertical = 1;
    w.rcChar = MakeRect(left, top, left + 920, top + 920);
    return w;
}

St_WordInfo NegativeWidth(St_WordInfo w) {
    w.nWidth = -1000;
    return w;
}

TEST(FinishPage, LayoutCodeFollowsWhereTheCharactersLie) {
    struct Case {
        const char* what;
        int32_t kind;
        std::vector<St_WordInfo> chars;
        int expected;
    };
    const Case cases[] = {
        {"no characters", kBlockBody, {}, kLayoutUnknown},
        {"one character", kBlockBody, {Char(0)}, kLayoutSingleColumn},
        {"not text", kBlockPicture, {Char(0), Char(920)}, kLayoutColumnsLeftwards},
        {"horizontal, rightwards", kBlockBody, {Char(0), Char(920), Char(1840)}, kLayoutLeftToRight},
        {"horizontal, leftwards", kBlockTitle, {Char(1840), Char(920), Char(0)}, kLayoutRightToLeft},
        {"horizontal, marker ignored", kBlockBody, {Char(920), St_WordInfo::ParagraphMarker(), Char(1840)},
         kLayoutLeftToRight},
        {"vertical, one column", kBlockBody, {Vertical(0, 0), Vertical(900, 920), Vertical(-900, 1840)},
         kLayoutSingleColumn},
        {"vertical, columns to the left", kBlockBody,
         {Vertical(5000, 0), Vertical(5000, 920), Vertical(3000, 0), Vertical(3000, 920)}, kLayoutColumnsLeftwards},
        {"vertical, columns to the right", kBlockBody,
         {Vertical(0, 0), Vertical(0, 920), Vertical(2000, 0), Vertical(2000, 920), Vertical(2000, 1840)},
         kLayoutColumnsRightwards},
        // Beyond the width one way counts only that way, even when the other test holds too.
        {"vertical, a negative first width", kBlockBody, {NegativeWidth(Vertical(0, 0)), Vertical(0, 920), Vertical(0, 1840)},
         kLayoutColumnsRightwards},
    };
    for (const Case& c : cases) {
        CBaseBlock b;
        b.m_nKind = c.kind;
        b.m_arrChars = c.chars;
        EXPECT_EQ(GetLayoutCode(b), c.expected) << c.what;
    }
}

TEST(FinishPage, MakesTextBlocksAndPromotesClearlyLargerBodyText) {
    CPSParser reader;
    reader.m_arrBlocks.push_back(TextRecord(kBlockBody, 100, 500, 4));
    reader.m_arrBlocks.push_back(TextRecord(kBlockBody, 20, 700, 5));
    ASSERT_TRUE(reader.FinishPage());

    ASSERT_EQ(reader.m_arrTextBlocks.GetSize(), 2);
    EXPECT_NEAR(reader.m_pPageInfo->m_dMeanTextSize, 533.333, 0.001);
    const CTextBlock& small = *reader.m_arrTextBlocks[0];
    const CTextBlock& large = *reader.m_arrTextBlocks[1];
    EXPECT_EQ(small.m_nKind, kBlockBody);
    EXPECT_EQ(large.m_nKind, kBlockTitle);  // 700 > 1.2 × 533.33

    EXPECT_EQ(small.m_nID, 4);
    EXPECT_EQ(small.m_nArticle, 1);
    EXPECT_EQ(small.m_strFontName, kSong);
    EXPECT_DOUBLE_EQ(small.m_dFontSize, 500.0);
    EXPECT_EQ(small.m_nLayout, kLayoutLeftToRight);
    EXPECT_EQ(Sides(small.m_rect), Sides(MakeRect(0, 0, 50000, 500)));
    EXPECT_EQ(small.m_strText.substr(0, 6), "\xA1\xA1\xA1\xA1\xD6\xD0");
    EXPECT_EQ(small.m_strHtml.substr(0, 9), "<p><font ");
    EXPECT_EQ(small.m_pPageInfo, reader.m_pPageInfo.get());
    EXPECT_TRUE(reader.m_arrBlocks[0].m_strParaHtml.empty());  // worked on a copy
}

TEST(FinishPage, ALargePageReadsAsTheBlocksDoOneByOne) {
    // Enough characters that the blocks are read on several threads, in blocks of
    // several sizes, fonts and kinds, with blocks that give no host block among them.
    CPSParser reader;
    for (int i = 0; i < 300; ++i) {
        CBaseBlock b = TextRecord(i % 5 == 0 ? kBlockTitle : kBlockBody, 200 + i * 7 % 900, 500 + i % 7 * 100, i);
        if (i % 3 == 0) AddRun(b, 40, 1200, kHei);
        if (i % 4 == 0) b.m_arrChars.push_back(St_WordInfo::ParagraphMarker());
        if (i % 11 == 0) b.m_bSkip = 1;
        reader.m_arrBlocks.push_back(b);
        if (i % 13 == 0) reader.m_arrBlocks.push_back(CBaseBlock{});
    }
    ASSERT_TRUE(reader.FinishPage());

    int n = 0;
    for (const CBaseBlock& b : reader.m_arrBlocks) {
        std::optional<FontStats> stats = ReadFontStats(b);
        if (b.m_bSkip || !stats) continue;
        ASSERT_LT(n, reader.m_arrTextBlocks.GetSize());
        const CTextBlock& text = *reader.m_arrTextBlocks[n++];
        const BlockTexts expected = RenderBlockText(b, reader.m_arrReplaceCodes, reader.m_arrSymbolCodes);
        EXPECT_EQ(text.m_nID, b.m_nID);
        EXPECT_EQ(text.m_strText, expected.text) << b.m_nID;
        EXPECT_EQ(text.m_strHtml, expected.html) << b.m_nID;
        EXPECT_EQ(text.m_strFontName, stats->fontName) << b.m_nID;
        EXPECT_EQ(text.m_dFontSize, stats->avgSize) << b.m_nID;
        EXPECT_EQ(text.m_nLayout, GetLayoutCode(b)) << b.m_nID;
    }
    EXPECT_EQ(n, reader.m_arrTextBlocks.GetSize());
}

TEST(FinishPage, BodyTextNotClearlyLargerStaysBody) {
    CPSParser reader;
    reader.m_arrBlocks.push_back(TextRecord(kBlockBody, 20, 900));
    reader.m_arrBlocks.push_back(TextRecord(kBlockBody, 10, 1100));
    ASSERT_TRUE(reader.FinishPage());
    // Mean 966.67; 1100 is below 1160.
    EXPECT_NEAR(reader.m_pPageInfo->m_dMeanTextSize, 966.667, 0.001);
    EXPECT_EQ(reader.m_arrTextBlocks[1]->m_nKind, kBlockBody);
}

TEST(FinishPage, OnlyTextAndPicturesBecomeHostBlocks) {
    CPSParser reader;
    CBaseBlock rule;
    rule.m_nKind = kBlockRuleOrBox;
    CBaseBlock path;
    path.m_nKind = kBlockPath;
    CBaseBlock skipped = TextRecord(kBlockBody, 3, 920);
    skipped.m_bSkip = 1;
    CBaseBlock markerOnly;
    markerOnly.m_nKind = kBlockTitle;
    markerOnly.m_arrChars = {St_WordInfo::ParagraphMarker()};
    for (const CBaseBlock& b : {rule, path, skipped, markerOnly, CBaseBlock{}}) reader.m_arrBlocks.push_back(b);

    ASSERT_TRUE(reader.FinishPage());
    EXPECT_TRUE(reader.m_arrTextBlocks.IsEmpty());
    EXPECT_TRUE(reader.m_arrPicBlocks.IsEmpty());
    EXPECT_EQ(reader.m_pPageInfo->m_dMeanTextSize, 0.0);  // no text: no 0 / 0
}

CBaseBlock PictureRecord(const Rect& box, double angle = 0.0) {
    CBaseBlock b;
    b.m_nKind = kBlockPicture;
    b.m_nID = 7;
    b.m_nArticle = 2;
    b.m_rcBox = box;
    b.m_dAngle = angle;
    b.m_strFileName = "photo.jpg";
    return b;
}

TEST(FinishPage, PictureRectanglesFollowRotationAndOutline) {
    CPSParser reader;
    reader.m_arrBlocks.push_back(PictureRecord(MakeRect(0, 0, 100, 50)));
    reader.m_arrBlocks.push_back(PictureRecord(MakeRect(0, 0, 100, 50), 90.0));
    CBaseBlock outlined = PictureRecord(MakeRect(0, 0, 100, 50), 90.0);
    outlined.m_arrPoints = {MakePoint(10, 20), MakePoint(300, 40), MakePoint(50, 400)};
    reader.m_arrBlocks.push_back(outlined);
    CBaseBlock twoPoints = PictureRecord(MakeRect(0, 0, 100, 50));
    twoPoints.m_arrPoints = {MakePoint(10, 20), MakePoint(300, 400)};
    reader.m_arrBlocks.push_back(twoPoints);
    ASSERT_TRUE(reader.FinishPage());

    ASSERT_EQ(reader.m_arrPicBlocks.GetSize(), 4);
    EXPECT_EQ(Sides(reader.m_arrPicBlocks[0]->m_rect), Sides(MakeRect(0, 0, 100, 50)));
    const Rect turned = reader.m_arrPicBlocks[1]->m_rect;
    EXPECT_NEAR(turned.left, 25, 1);
    EXPECT_NEAR(turned.top, -25, 1);
    EXPECT_NEAR(turned.right, 75, 1);
    EXPECT_NEAR(turned.bottom, 75, 1);
    EXPECT_EQ(Sides(reader.m_arrPicBlocks[2]->m_rect), Sides(MakeRect(10, 20, 300, 400)));
    EXPECT_EQ(Sides(reader.m_arrPicBlocks[3]->m_rect), Sides(MakeRect(0, 0, 100, 50)));

    const CPicBlock& pic = *reader.m_arrPicBlocks[0];
    EXPECT_EQ(pic.m_nKind, kBlockPicture);
    EXPECT_EQ(pic.m_nID, 7);
    EXPECT_EQ(pic.m_nArticle, 2);
    EXPECT_EQ(pic.m_strName, "photo.jpg");
    EXPECT_EQ(pic.m_pImage, nullptr);  // no image path
}

// A 2 × 2 pixel, 24-bit BMP file.
std::string TinyBmp() {
    auto le = [](std::string& out, uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) out += char((v >> (8 * i)) & 0xFF);
    };
    std::string f = "BM";
    le(f, 54 + 16, 4), le(f, 0, 4), le(f, 54, 4);
    le(f, 40, 4), le(f, 2, 4), le(f, 2, 4), le(f, 1, 2), le(f, 24, 2);
    le(f, 0, 4), le(f, 16, 4), le(f, 2835, 4), le(f, 2835, 4), le(f, 0, 4), le(f, 0, 4);
    f += std::string(16, '\x80');
    return f;
}

TEST(FinishPage, PicturesLoadTheirImageWhenTheFileExists) {
    const std::string present = TempFolder() + "kestrum_finishpage_test.bmp";
    ASSERT_TRUE(WriteWholeFile(present, TinyBmp()));
    CPSParser reader;
    for (const std::string& path : {present, std::string("/nonexistent/folder/photo.jpg")}) {
        CBaseBlock b = PictureRecord(MakeRect(0, 0, 10, 10));
        b.m_strImagePath = path;
        reader.m_arrBlocks.push_back(b);
    }
    ASSERT_TRUE(reader.FinishPage());
    RemoveFile(present);

    ASSERT_EQ(reader.m_arrPicBlocks.GetSize(), 2);
    const CPicBlock& loaded = *reader.m_arrPicBlocks[0];
    ASSERT_NE(loaded.m_pImage, nullptr);
    EXPECT_EQ(loaded.m_pImage->GetWidth(), 2u);
    const CPicBlock& missing = *reader.m_arrPicBlocks[1];
    EXPECT_EQ(missing.m_strImagePath, "/nonexistent/folder/photo.jpg");
    EXPECT_EQ(missing.m_pImage, nullptr);
}

}  // namespace
}  // namespace kestrum
