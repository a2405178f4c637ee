// Articles: characters placed and sized from font, scale and show lines, and the
// blocks that paragraph breaks, title markers and article ends close.
#include "psreader/PSParser.h"
#include "psreader/PageFile.h"
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

const char* kTwoChars = "\xB0\xA1\xB0\xA2";  // 啊阿

std::string Chars(size_t n) {
    std::string s;
    for (size_t i = 0; i < n; ++i) s += "\xB0\xA1";
    return s;
}
std::vector<double> Advances(size_t n, double step = 2000) { return std::vector<double>(n, step); }

class PsArticle : public testing::ParsedPageTest {};

TEST_F(PsArticle, TwoCharactersWithTheirAdvances) {
    for (bool vertical : {false, true}) {
        PsPageWriter page;
        page.article(3).translate(10000, 20000).font("JBHGSS", 920);
        if (vertical) page.showVertical(1000, 2000, kTwoChars, {1000, 1000});
        else page.show(1000, 2000, kTwoChars, {1000, 1000});
        page.endArticle();
        reader_.m_arrBlocks.clear();
        const auto& blocks = Parse(page);
        ASSERT_EQ(blocks.size(), 1u);
        const CBaseBlock& b = blocks[0];
        ASSERT_EQ(b.m_arrChars.size(), 2u);
        const St_WordInfo& first = b.m_arrChars[0];
        const St_WordInfo& second = b.m_arrChars[1];
        EXPECT_EQ(first.wCode, 0xB0A1);
        EXPECT_EQ(first.rcChar, MakeRect(1000, 1264, 1920, 2184));
        EXPECT_EQ(first.bVertical, vertical ? 1 : 0);
        EXPECT_EQ(second.bVertical, vertical ? 1 : 0);
        if (vertical) {
            EXPECT_EQ(MakePoint(second.nX, second.nY), MakePoint(1000, 3000));
        } else {
            EXPECT_EQ(MakePoint(second.nX, second.nY), MakePoint(2000, 2000));
            EXPECT_EQ(second.rcChar, MakeRect(2000, 1264, 2920, 2184));
            EXPECT_EQ(b.m_rcBox, MakeRect(10000, 20000, 12874, 22230));
            EXPECT_EQ(b.m_rcBound, MakeRect(11000, 21264, 12920, 22184));
        }
        EXPECT_EQ(b.m_nArticle, 3);
        EXPECT_EQ(b.m_nKind, kBlockBody);
        EXPECT_EQ(b.m_nID, -1);
        EXPECT_EQ(first.nWidth, 920);
        EXPECT_EQ(first.fAngle, 0.0f);
    }
}

TEST_F(PsArticle, SingleByteWidthsFollowTheAdvancesAround) {
    struct Case {
        uint16_t code;
        bool advances;
        int32_t prev, next;
        int32_t width;
    };
    const std::vector<Case> cases = {
        {'A', true, 500, 300, 920}, {'A', true, 400, 300, 644}, {'A', true, 500, 400, 644},
        {'A', false, 0, 0, 460},    {'%', true, 0, 1000, 920},  {'?', false, 0, 0, 920},
        {0xB0A1, false, 0, 0, 920},
    };
    for (const Case& c : cases) {
        reader_.m_curWord.wCode = c.code;
        Point extent{};
        reader_.PlaceChar(0, 1000, extent, 1.0f, 1.0f, c.advances, c.prev, c.next);
        EXPECT_EQ(reader_.m_curWord.rcChar.right - reader_.m_curWord.rcChar.left, c.width) << c.code << " " << c.prev;
    }
}

TEST_F(PsArticle, AppendedCharactersBoundTheirBlockButEmptyBoxesAndRepeatsAddNothing) {
    const Rect boxes[] = {MakeRect(5, 5, 5, 9), MakeRect(10, 20, 30, 40), MakeRect(10, 20, 30, 40),
                          MakeRect(-7, 0, -7, 100), MakeRect(0, 10, 12, 50)};
    std::vector<St_WordInfo> chars;
    CBaseBlock block;
    Rect last{};
    for (const Rect& box : boxes) {
        reader_.m_curWord.rcChar = box;
        reader_.AppendChar(chars, block, last);
    }
    EXPECT_EQ(chars.size(), 4u);  // the repeat replaced the one before it
    EXPECT_EQ(block.m_rcBound, MakeRect(0, 10, 30, 50));
}

TEST_F(PsArticle, PlacedCharactersSaturateAtTheEndsOfThe32BitRange) {
    struct Case {
        const char* what;
        int32_t x, y;
        float scale;
        Rect box;
        Point extent;
    };
    constexpr int32_t kMax = INT32_MAX, kMin = INT32_MIN;
    const std::vector<Case> cases = {
        {"near the top", 2147483000, 2147483600, 1.0f, MakeRect(2147483000, 2147482800, kMax, kMax), {kMax, kMax}},
        {"scaled past the bottom", -2147483000, -2147483000, 2.0f, MakeRect(kMin, kMin, -2147482648, -2147482648),
         {0, 0}},
        {"scaled, in range", 1000, 3000, 0.5f, MakeRect(500, 700, 1500, 1700), {1450, 1750}},
    };
    for (const Case& c : cases) {
        reader_.m_curWord.wCode = 0xB0A1;
        reader_.m_curWord.nWidth = reader_.m_curWord.nHeight = 1000;
        Point extent{};
        reader_.PlaceChar(c.x, c.y, extent, c.scale, c.scale, true, 0, 0);
        EXPECT_EQ(reader_.m_curWord.rcChar, c.box) << c.what;
        EXPECT_EQ(extent, c.extent) << c.what;
    }
}

TEST_F(PsArticle, ScaledFontsAndTurnedFonts) {
    PsPageWriter page;
    page.article(1).translate(0, 100).scale(2, 0.5).font("JBHGHT", 1000, 800).show(100, 100, "A", {});
    page.rotatedFont("SimHei", 700, 600).show(0, 0, "B", {}).endArticle();
    const auto& blocks = Parse(page);
    ASSERT_EQ(blocks.size(), 1u);
    const St_WordInfo& a = blocks[0].m_arrChars.at(0);
    EXPECT_EQ(a.nWidth, 2000);
    EXPECT_EQ(a.nHeight, 400);
    EXPECT_EQ(MakePoint(a.nX, a.nY), MakePoint(200, 50));
    EXPECT_EQ(a.strFontName, "\xC7\xE0\xC4\xF1\xBB\xAA\xB9\xE2\xBA\xDA\xCC\xE5");  // 青鸟华光黑体
    const St_WordInfo& b = blocks[0].m_arrChars.at(1);
    EXPECT_EQ(b.nWidth, 1400);
    EXPECT_EQ(b.nHeight, 300);
    EXPECT_EQ(b.fAngle, 90.0f);
    EXPECT_EQ(b.strFontName2, "\xBA\xDA\xCC\xE5");  // 黑体
}

TEST_F(PsArticle, PositionsDuplicatesAndAdvanceLists) {
    PsPageWriter page;
    page.article(1).translate(0, 100).font("JBHGSS", 920);
    page.show(-40, 500, "A", {});                        // clamped to x = 0
    page.show(3000, 500, "B", {}).show(3000, 500, "B", {});  // drawn twice at one place
    page.show(5000, 500, "CD", {1000, 1000});
    page.line("6000 900 m (EF) [5 ] fxs");                // one byte: the last advances again
    page.endArticle();
    page.article(2).translate(0, 100).line("0 0 m (GH) [5 ] fxs").endArticle();  // fresh advances are 0
    const auto& blocks = Parse(page);
    ASSERT_EQ(blocks.size(), 2u);
    const auto& chars = blocks[0].m_arrChars;
    ASSERT_EQ(chars.size(), 6u);
    EXPECT_EQ(chars[0].nX, 0);
    EXPECT_EQ(chars[1].nX, 3000);
    EXPECT_EQ(chars[2].wCode, 'C');
    EXPECT_EQ(chars[3].nX, 6000);
    EXPECT_EQ(chars[4].nX, 6000);
    EXPECT_EQ(chars[5].nX, 7000);
    ASSERT_EQ(blocks[1].m_arrChars.size(), 1u);
    EXPECT_EQ(blocks[1].m_arrChars[0].wCode, 'H');
}

TEST_F(PsArticle, ParagraphBreaksCloseTitles) {
    PsPageWriter page;
    // Ten large characters, then a break: a title.
    page.article(1).translate(1000, 1000).font("JBHGHT", 2000).show(0, 3000, Chars(10), Advances(10)).paragraph();
    page.font("JBHGSS", 920).show(0, 6000, Chars(3), Advances(3)).endArticle();
    // Sixty characters: too long for a title; nothing large ahead.
    page.article(2).translate(1000, 9000).font("JBHGHT", 2000).show(0, 3000, Chars(60), Advances(60)).paragraph();
    page.font("JBHGSS", 920).show(0, 6000, Chars(3), Advances(3)).endArticle();
    // After "%Title Block" every break closes a title, and so does the end.
    page.article(3).translate(1000, 20000).titleBlock().font("JBHGSS", 920).show(0, 0, Chars(3), Advances(3));
    page.paragraph().show(0, 2000, Chars(2), Advances(2)).paragraph().show(0, 4000, Chars(1), {}).endArticle();
    // A body paragraph followed by a much larger font: closed ahead of the title.
    page.article(4).translate(1000, 30000).font("JBHGSS", 920).show(0, 0, Chars(3), Advances(3)).paragraph();
    page.font("JBHGHT", 2400).show(0, 3000, Chars(2), Advances(2)).endArticle();

    const auto& blocks = Parse(page);
    std::vector<std::pair<int32_t, size_t>> seen;  // article, character count
    for (const CBaseBlock& b : blocks) {
        EXPECT_EQ(b.m_nKind, b.m_nArticle == 2 ? kBlockBody : kBlockTitle) << b.m_nArticle;
        seen.push_back({b.m_nArticle, b.m_arrChars.size()});
    }
    const std::vector<std::pair<int32_t, size_t>> expected = {{1, 11}, {1, 3}, {2, 64}, {3, 4},
                                                              {3, 3},  {3, 1}, {4, 4},  {4, 2}};
    EXPECT_EQ(seen, expected);
    EXPECT_TRUE(blocks.at(0).m_arrChars.back().IsParagraphMarker());
    EXPECT_EQ(blocks.at(0).m_nMaxSize, 2000);
    EXPECT_EQ(blocks.at(1).m_nMinSize, 920);
}

TEST_F(PsArticle, NestedArticlesStartFromTheOuterTranslation) {
    for (int outer : {7, -1}) {
        PsPageWriter page;
        page.article(outer).translate(100, 200).font("JBHGSS", 920).show(0, 0, "A", {});
        page.article(8).translate(10, 20).show(0, 0, "B", {}).endArticle();
        page.show(0, 1000, "C", {}).endArticle();
        reader_.m_arrBlocks.clear();
        const auto& blocks = Parse(page);
        ASSERT_EQ(blocks.size(), 2u);
        EXPECT_EQ(blocks[0].m_nArticle, 8);
        const int32_t base = outer == -1 ? 0 : 1;
        EXPECT_EQ(MakePoint(blocks[0].m_rcBox.left, blocks[0].m_rcBox.top),
                  MakePoint(10 + base * 100, 20 + base * 200));
        EXPECT_EQ(blocks[1].m_nArticle, outer);
        EXPECT_EQ(blocks[1].m_arrChars.size(), 2u);  // the outer article goes on after the nested one
    }
}

TEST_F(PsArticle, MirroredMatrixLinesEndTheArticle) {
    PsPageWriter page;
    page.article(5).font("JBHGSS", 920).show(0, 0, "A", {}).translate(-50, -60).show(0, 0, "never", {});
    page.article(6).translate(1000, 2000).show(0, 0, "B", {}).translate(-3, 4);
    const auto& blocks = Parse(page);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(MakePoint(blocks[0].m_rcBox.left, blocks[0].m_rcBox.top), MakePoint(50, 60));
    EXPECT_EQ(blocks[0].m_arrChars.size(), 1u);
    EXPECT_EQ(MakePoint(blocks[1].m_rcBox.left, blocks[1].m_rcBox.top), MakePoint(3, -4));
    EXPECT_EQ(reader_.m_strPrevLine, "[1 0 0 1 -3 4] concat");
}

TEST_F(PsArticle, OriginSearchFindsTheMirroredEndOfAnUntranslatedTitle) {
    PsPageWriter page;
    page.article(4).titleBlock().font("JBHGHT", 2000).show(0, 0, "AB", {1000, 1000}).paragraph();
    page.show(0, 3000, "C", {}).translate(-700, -800);
    const auto& blocks = Parse(page);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(MakePoint(blocks[0].m_rcBox.left, blocks[0].m_rcBox.top), MakePoint(700, 800));
    EXPECT_EQ(blocks[0].m_rcBound.left, 700);
}

TEST_F(PsArticle, DefinedGlyphs) {
    PsPageWriter page;
    page.article(1).translate(0, 1000).font("JBHGSS", 920).define("\xB0\xA1", 500, 600).define("A", 2000, 600);
    page.endArticle();
    const auto& blocks = Parse(page);
    ASSERT_EQ(blocks.size(), 1u);
    ASSERT_EQ(blocks[0].m_arrChars.size(), 2u);
    EXPECT_EQ(blocks[0].m_arrChars[0].wCode, 0xB0A1);
    EXPECT_EQ(blocks[0].m_arrChars[0].rcChar, MakeRect(500, 600 - 736, 1420, 600 - 736 + 920));
    EXPECT_EQ(blocks[0].m_arrChars[1].rcChar.right - blocks[0].m_arrChars[1].rcChar.left, 460);
}

TEST_F(PsArticle, HostileShowsAndHeadersStayInBounds) {
    PsPageWriter page;
    page.article(1).translate(0, 0).font("JBHGSS", 920);
    page.line("0 0 m (" + std::string(300, 'A') + ") [1000 1000 ] fxs");  // advances beyond 256 read as 0
    page.showHex(0, 5000, "\xB0", {});                                      // a lone lead byte
    page.endArticle();
    for (int i = 0; i < 20000; ++i) page.article(i);  // headers that never end
    const auto& blocks = Parse(page);
    ASSERT_EQ(blocks.size(), 1u);
    const auto& chars = blocks[0].m_arrChars;
    ASSERT_EQ(chars.size(), 4u);
    EXPECT_EQ(chars[2].nX, 2000);
    EXPECT_EQ(chars[3].wCode, 0xB000);
}

// Nesting deeper than the reader follows reads the header as a line of the article
// around it; advances beyond the list's room read 0.
TEST_F(PsArticle, NestingAndAdvanceListsStopAtTheirLimits) {
    for (int depth : {64, 65}) {
        PsPageWriter page;
        for (int level = 1; level <= depth; ++level) {
            page.article(level).translate(10, 10);
            if (level == 1) page.font("JBHGSS", 920);
            page.show(0, 0, "\xB0\xA1", {});
        }
        for (int level = 1; level <= depth; ++level) page.endArticle();
        reader_.m_arrBlocks.clear();
        int deepest = 0;
        for (const CBaseBlock& b : Parse(page)) deepest = std::max(deepest, b.m_nArticle);
        EXPECT_EQ(deepest, 64) << depth;
    }

    // Show lines of 257 and 258 characters a unit apart (within one read of the line
    // reader): the 258th has no advance of its own, lands on the 257th and takes its place.
    for (size_t n : {257, 258}) {
        std::string text;
        for (size_t i = 0; i < n; ++i) text += char('a' + i % 26);
        PsPageWriter page;
        page.article(1).translate(0, 0).font("JBHGSS", 920).show(0, 0, text, Advances(n - 1, 1)).endArticle();
        reader_.m_arrBlocks.clear();
        const auto& blocks = Parse(page);
        ASSERT_EQ(blocks.size(), 1u);
        const auto& chars = blocks[0].m_arrChars;
        ASSERT_EQ(chars.size(), 257u) << n;
        EXPECT_EQ(chars.back().nX, 256) << n;
        EXPECT_EQ(chars.back().wCode, uint16_t(text.back())) << n;
    }
}

TEST_F(PsArticle, ManyParagraphBreaksReadQuickly) {
    // A body block looks ahead for a title at every break; untranslated titles search
    // ahead for their origin at every break. Neither finds what it looks for.
    for (bool titles : {false, true}) {
        PsPageWriter page;
        page.article(1);
        if (titles) page.titleBlock();
        else page.translate(0, 0);
        for (int i = 0; i < 20000; ++i) page.font("JBHGSS", 920).show(0, i * 10, "A", {}).paragraph();
        page.withoutPageEnd();
        reader_.m_arrBlocks.clear();
        auto start = std::chrono::steady_clock::now();
        const auto& blocks = Parse(page);
        auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (titles) {
            ASSERT_EQ(blocks.size(), 20000u);
            EXPECT_EQ(blocks.back().m_rcBox.left, 0);
        } else {
            ASSERT_TRUE(blocks.empty());  // the body block never ends
        }
        EXPECT_LT(seconds, 2.0) << titles;
    }
}

TEST_F(PsArticle, AnArticleWithoutAnEndKeepsOnlyItsClosedTitles) {
    PsPageWriter page;
    page.article(1).translate(0, 0).titleBlock().font("JBHGSS", 920).show(0, 0, "AB", {1000, 1000}).paragraph();
    page.show(0, 2000, "CD", {1000, 1000}).withoutPageEnd();
    const auto& blocks = Parse(page);
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].m_arrChars.size(), 3u);
}

}  // namespace
}  // namespace kestrum
