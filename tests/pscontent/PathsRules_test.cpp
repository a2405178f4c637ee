// Filled boxes, stroked frames, rules, broken lines and the current path.
#include "pscontent/Colour.h"
#include "psreader/PSParser.h"
#include "tests/support/ParsedPage.h"
#include "tests/support/PsPageWriter.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrum {
namespace {

using testing::PsInk;
using testing::PsPageWriter;

class PsRules : public testing::ParsedPageTest {};

std::vector<Point> Pts(std::initializer_list<std::pair<int32_t, int32_t>> list) {
    std::vector<Point> out;
    for (auto [x, y] : list) out.push_back(MakePoint(x, y));
    return out;
}

TEST_F(PsRules, FilledBoxesInsideAnArticleMoveWithIt) {
    PsPageWriter page;
    page.article(1).translate(1000, 2000).box(100, 200, 300, 400, PsInk::Cmyk(0, 0, 0, 0.5)).endArticle();
    const auto& blocks = Parse(page);
    ASSERT_EQ(blocks.size(), 2u);
    const CBaseBlock& box = blocks[0];
    EXPECT_EQ(box.m_nKind, kBlockRuleOrBox);
    EXPECT_EQ(box.m_rcBox, MakeRect(1100, 2200, 1400, 2600));
    EXPECT_EQ(box.m_nShape, kShapeRect);
    ASSERT_EQ(box.m_arrChars.size(), 1u);
    EXPECT_EQ(box.m_arrChars[0].crColor, CmykToColour(0, 0, 0, 50));
    EXPECT_NE(box.m_arrChars[0].strFontName, kRuleFont);
    EXPECT_EQ(box.m_nID, -1);
}

TEST_F(PsRules, AFilledBoxTakesTheCurrentPathOnce) {
    PsPageWriter page;
    page.path({{0, 0}, {100, 0}, {100, 100}, {0, 100}}).box(0, 0, 100, 100).box(0, 0, 50, 50, PsInk::Grey(1));
    const auto& blocks = Parse(page);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0].m_nShape, kShapePolygon);
    EXPECT_EQ(blocks[0].m_arrPoints, Pts({{0, 0}, {100, 0}, {100, 100}, {0, 100}}));
    EXPECT_EQ(blocks[1].m_nShape, kShapeRect);
    EXPECT_TRUE(blocks[1].m_arrPoints.empty());
    EXPECT_EQ(blocks[1].m_arrChars.at(0).crColor, 0x00FFFFFFu);
    EXPECT_EQ(blocks[1].m_nID, 0);
}

TEST_F(PsRules, FilledBoxesKeepTheirRectangleWhateverTheirInk) {
    const PsInk inks[] = {PsInk{}, PsInk::Grey(0.8), PsInk::Cmyk(0, 0, 0, 0.5)};
    for (const PsInk& ink : inks) {
        PsPageWriter page;
        page.box(5000, 16500, 20000, 600, ink);
        reader_.m_arrBlocks.clear();
        const auto& blocks = Parse(page);
        ASSERT_EQ(blocks.size(), 1u);
        EXPECT_EQ(blocks[0].m_rcBox, MakeRect(5000, 16500, 25000, 17100)) << "ink kind " << ink.kind;
    }
}

TEST_F(PsRules, RulesCarryTheirOutlineWidthAndColour) {
    PsPageWriter page;
    page.frame(100, 200, 300, 400, 20, PsInk::Cmyk(1, 0, 0, 0));
    page.rule({10, 20}, {30, 40}, 2, PsInk::Grey(0));
    page.brokenLine({{10, 20}, {30, 40}, {50, 60}}, 3, PsInk::Cmyk(0, 1, 0, 0), true);
    const auto& blocks = Parse(page);
    ASSERT_EQ(blocks.size(), 3u);

    const CBaseBlock& frame = blocks[0];
    EXPECT_EQ(frame.m_rcBox, MakeRect(100, 200, 400, 600));
    EXPECT_EQ(frame.m_arrPoints, Pts({{100, 200}, {400, 200}, {400, 600}, {100, 600}, {100, 200}}));
    ASSERT_EQ(frame.m_arrChars.size(), 2u);
    for (const St_WordInfo& w : frame.m_arrChars) {
        EXPECT_EQ(w.strFontName, kRuleFont);
        EXPECT_EQ(w.wCode, 20);
        EXPECT_EQ(w.crColor, CmykToColour(100, 0, 0, 0));
    }

    const CBaseBlock& rule = blocks[1];
    EXPECT_EQ(rule.m_arrPoints, Pts({{30, 40}, {10, 20}}));
    EXPECT_EQ(rule.m_arrChars.at(0).wCode, 2);
    EXPECT_EQ(rule.m_arrChars.at(0).crColor, 0u);
    EXPECT_EQ(rule.m_arrChars.at(0).strFontName, kRuleFont);

    const CBaseBlock& broken = blocks[2];
    EXPECT_EQ(broken.m_arrPoints, Pts({{10, 20}, {30, 40}, {50, 60}, {10, 20}}));
    EXPECT_EQ(broken.m_arrChars.at(0).wCode, 3);
    EXPECT_EQ(broken.m_arrChars.at(0).crColor, CmykToColour(0, 100, 0, 0));
    EXPECT_EQ(reader_.m_curWord.strFontName, kDefaultWordFont);
}

TEST_F(PsRules, ALineWithNoShapeStillGivesAnEmptyBlock) {
    PsPageWriter page;
    page.article(1).translate(0, 0).line("0 0 10 10rectfill").endArticle();
    const auto& blocks = Parse(page);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0].m_nKind, kBlockRuleOrBox);
    EXPECT_EQ(blocks[0].m_rcBox, Rect{});
}

TEST_F(PsRules, PathShapes) {
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        int32_t shape;
        size_t points;
    };
    const std::vector<Case> cases = {
        {"polygon", {"np gs 0 0 m 10 0 l", "10 10 l", "cp"}, kShapePolygon, 3},
        {"curve on the first line", {"gs 0 0 m 1 1 2 2 3 3 curveto", "4 4 5 5 6 6 curveto", "clip"}, kShapeBezier, 7},
        {"curve only later", {"gs 0 0 m 1 1 l", "4 4 5 5 6 6 curveto", "cp"}, kShapePolygon, 5},
        {"curve mixed with a line", {"gs 0 0 m 1 1 2 2 3 3 curveto", "9 9 l", "cp"}, kShapePolygon, 5},
        {"ended by a stroke", {"gs 0 0 m 10 0 l", "10 10 l", "st"}, kShapePolygon, 0},
    };
    for (const Case& c : cases) {
        PsPageWriter page;
        for (const std::string& l : c.lines) page.line(l);
        reader_.m_curBlock = CBaseBlock();
        Parse(page);
        EXPECT_EQ(reader_.m_curBlock.m_nKind, kBlockPath) << c.name;
        EXPECT_EQ(reader_.m_curBlock.m_nShape, c.shape) << c.name;
        EXPECT_EQ(reader_.m_curBlock.m_arrPoints.size(), c.points) << c.name;
    }
}

}  // namespace
}  // namespace kestrum
