#include "layout/ArticleRegion.h"
#include "layout/Composite.h"
#include "layout/Geometry.h"
#include "layout/SortOrders.h"
#include "model/Article.h"
#include "model/PageInfo.h"
#include "model/PicBlock.h"
#include "model/TextBlock.h"

#include <gtest/gtest.h>

#include <tuple>

#include <algorithm>
#include <string>
#include <vector>

namespace kestrum {
namespace {

// Rectangles as tuples, so that failures print their sides.
std::tuple<int32_t, int32_t, int32_t, int32_t> Sides(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

// Owns the blocks a test makes, the parts of composites included.
class GeometryTest : public ::testing::Test {
protected:
    ~GeometryTest() override {
        owned_.DeleteAll();
        pics_.DeleteAll();
    }

    CTextBlock* Text(const Rect& r, int32_t kind = kTextBody, std::string text = "", double size = 10.0) {
        CTextBlock* b = Loose(r, kind, std::move(text), size);
        owned_.Add(b);
        return b;
    }
    // A block the test hands to an owner of its own.
    CTextBlock* Loose(const Rect& r, int32_t kind = kTextBody, std::string text = "", double size = 10.0) {
        auto* b = new CTextBlock(&page_);
        b->m_rect = r;
        b->m_nKind = kind;
        b->m_strText = std::move(text);
        b->m_strHtml = "<p>" + b->m_strText + "</p>";
        b->m_dFontSize = size;
        return b;
    }
    CPicBlock* Pic(const Rect& r, int32_t id = 0) {
        auto* p = new CPicBlock(&page_);
        p->m_rect = r;
        p->m_nID = id;
        pics_.Add(p);
        return p;
    }
    // The composite takes its parts out of the test's ownership.
    CTextBlock* Merge(std::vector<CTextBlock*> parts) {
        for (CTextBlock* p : parts) {
            auto& items = owned_.Items();
            items.erase(std::remove(items.begin(), items.end(), p), items.end());
        }
        CTextBlock* merged = MergeBlocks(parts);
        owned_.Add(merged);
        return merged;
    }

    CPageInfo page_;
    CTextBlockArray owned_;
    CPicBlockArray pics_;
};

TEST(Geometry, OverlapLengthIsSignedAndRatiosRelateItToTheSpans) {
    EXPECT_EQ(OverlapLength(0, 10, 10, 20), 0.0);    // touching
    EXPECT_EQ(OverlapLength(0, 10, 14, 20), -4.0);   // a gap of 4
    EXPECT_EQ(OverlapLength(0, 10, 5, 30), 5.0);
    EXPECT_EQ(OverlapLength(5, 30, 0, 10), 5.0);

    double shorter = 0.0;
    EXPECT_DOUBLE_EQ(OverlapRatio(0, 10, 5, 30, &shorter), 5.0 / 30);
    EXPECT_DOUBLE_EQ(shorter, 0.5);
    EXPECT_LT(OverlapRatio(0, 10, 20, 30, &shorter), 0.0);
    EXPECT_LT(shorter, 0.0);
    EXPECT_EQ(OverlapRatio(0, 10, 0, 10), 1.0);
}

TEST(Geometry, RatiosOverZeroSpansFailEveryThreshold) {
    struct Case {
        double a0, a1, b0, b1;
        bool spanZero;
    };
    const Case cases[] = {{5, 5, 5, 5, true}, {5, 5, 0, 10, false}, {0, 10, 20, 20, false}};
    for (const Case& c : cases) {
        double shorter = 2.0;
        const double span = OverlapRatio(c.a0, c.a1, c.b0, c.b1, &shorter);
        EXPECT_EQ(shorter, kNoRatio);
        if (c.spanZero) {
            EXPECT_EQ(span, kNoRatio);
        }
        for (double threshold : {0.0, 0.2, 0.5, 0.8, 0.9, 0.95}) {
            EXPECT_FALSE(shorter > threshold);
            EXPECT_FALSE(shorter >= threshold);
        }
    }
}

TEST_F(GeometryTest, CombineLayoutTellsWhichDirectionsGoTogether) {
    const struct {
        int block, code, expected;
    } cases[] = {
        {0, 4, 4}, {5, 3, 3}, {4, 5, 4}, {1, 2, 0}, {3, 4, 0}, {2, 2, 2}, {1, 0, 1}, {0, 0, 0}, {5, 1, 0}, {2, 5, 0},
    };
    CTextBlock* b = Text(MakeRect(0, 0, 1, 1));
    for (const auto& c : cases) {
        b->m_nLayout = c.block;
        EXPECT_EQ(CombineLayout(*b, c.code), c.expected) << c.block << " with " << c.code;
    }
}

TEST_F(GeometryTest, CompositeLayoutJudgesEveryPartAgainstTheFirstWithACode) {
    const struct {
        std::vector<int> codes;
        int expected;
    } cases[] = {
        {{5, 3, 4}, 5}, {{3, 5, 4}, 0}, {{0, 4, 5}, 4}, {{0, 0}, 0}, {{1, 1, 0}, 1}, {{1, 2}, 0},
    };
    for (const auto& c : cases) {
        CTextBlock* composite = Text(MakeRect(0, 0, 1, 1));
        for (int code : c.codes) {
            CTextBlock* part = Loose(MakeRect(0, 0, 1, 1));
            part->m_nLayout = code;
            composite->m_arrParts.Add(part);
        }
        EXPECT_EQ(CompositeLayout(*composite), c.expected) << ::testing::PrintToString(c.codes);
    }
}

std::vector<int32_t> Ids(const CTextBlockArray& list) {
    std::vector<int32_t> ids;
    for (const CTextBlock* b : list) ids.push_back(b->m_nID);
    return ids;
}

TEST_F(GeometryTest, TextOrdersSortByTheirKeys) {
    // id, left, top, size: every key distinct, so the order does not hang on ties.
    const struct {
        int32_t id, left, top;
        double size;
    } blocks[] = {{3, 50, 10, 12}, {1, 10, 30, 9}, {4, 30, 20, 15}, {2, 20, 40, 11}};
    const struct {
        int mode;
        std::vector<int32_t> ids;
    } cases[] = {
        {kTextById, {1, 2, 3, 4}},
        {kTextByRows, {3, 4, 1, 2}},
        {kTextByColumns, {1, 2, 4, 3}},
        {kTextBySizeDown, {4, 3, 2, 1}},
    };
    for (const auto& c : cases) {
        CTextBlockArray list;
        for (const auto& b : blocks) {
            CTextBlock* t = Text(MakeRect(b.left, b.top, b.left + 5, b.top + 5), kTextBody, "", b.size);
            t->m_nID = b.id;
            list.Add(t);
        }
        SortTextBlocks(list, c.mode);
        EXPECT_EQ(Ids(list), c.ids) << "mode " << c.mode;
        list.RemoveAll();
    }
}

TEST_F(GeometryTest, EqualCoordinatesFallToTheSecondKey) {
    CTextBlockArray list;
    const int32_t lefts[] = {30, 10, 20};
    for (int32_t i = 0; i < 3; ++i) {
        CTextBlock* t = Text(MakeRect(lefts[i], 100, lefts[i] + 5, 105));
        t->m_nID = i;
        list.Add(t);
    }
    SortTextBlocks(list, kTextByRows);
    EXPECT_EQ(Ids(list), (std::vector<int32_t>{1, 2, 0}));
    list.RemoveAll();
}

TEST_F(GeometryTest, ColumnReadingGoesDownEachColumnFromTheLeft) {
    // Two columns of two blocks each, listed scrambled.
    const struct {
        int32_t id;
        Rect r;
    } blocks[] = {{4, MakeRect(200, 100, 300, 190)}, {1, MakeRect(0, 0, 100, 90)},
                  {3, MakeRect(200, 0, 300, 90)}, {2, MakeRect(0, 100, 100, 190)}};
    CTextBlockArray list;
    for (const auto& b : blocks) {
        CTextBlock* t = Text(b.r);
        t->m_nID = b.id;
        list.Add(t);
    }
    SortTextBlocks(list, kTextColumnReading);
    EXPECT_EQ(Ids(list), (std::vector<int32_t>{1, 2, 3, 4}));
    list.RemoveAll();
}

TEST_F(GeometryTest, OrdersWithoutConsistencyStayInsideTheList) {
    // Modes without an order, and column reading over overlapping, staggered blocks
    // (not transitive), on a list long enough for any sort to run far.
    std::vector<CTextBlock*> blocks;
    for (int32_t i = 0; i < 600; ++i) {
        const int32_t left = (i * 37) % 500, top = (i * 53) % 700;
        CTextBlock* t = Text(MakeRect(left, top, left + 120, top + 10));
        t->m_nID = i;
        blocks.push_back(t);
    }
    for (int mode : {3, 4, 5, 6, 7, 8, 9, 10, 12, -1}) {
        CTextBlockArray list;
        for (CTextBlock* b : blocks) list.Add(b);
        SortTextBlocks(list, mode);
        std::vector<CTextBlock*> sorted = list.Items(), original = blocks;
        std::sort(sorted.begin(), sorted.end());
        std::sort(original.begin(), original.end());
        EXPECT_EQ(sorted, original) << "mode " << mode;
        list.RemoveAll();
    }
}

TEST_F(GeometryTest, PictureOrdersByNumberOrByRows) {
    Pic(MakeRect(50, 10, 60, 20), 2);
    Pic(MakeRect(10, 10, 20, 20), 3);
    Pic(MakeRect(0, 5, 5, 8), 1);
    auto ids = [this] {
        std::vector<int32_t> out;
        for (const CPicBlock* p : pics_) out.push_back(p->m_nID);
        return out;
    };
    SortPicBlocks(pics_, kPicById);
    EXPECT_EQ(ids(), (std::vector<int32_t>{1, 2, 3}));
    SortPicBlocks(pics_, kPicByRows);
    EXPECT_EQ(ids(), (std::vector<int32_t>{1, 3, 2}));
}

TEST_F(GeometryTest, MergingOneBlockReturnsItUnchanged) {
    CTextBlock* only = Text(MakeRect(0, 0, 10, 10), kTextBody, "ab");
    EXPECT_EQ(MergeBlocks(std::vector<CTextBlock*>{only}), only);
    EXPECT_EQ(only->m_nLevel, 1);
    EXPECT_EQ(only->m_strText, "ab");
    EXPECT_TRUE(only->m_arrParts.IsEmpty());
    EXPECT_EQ(MergeBlocks(std::vector<CTextBlock*>{}), nullptr);
}

TEST_F(GeometryTest, MergedBodyReadsItsPartsInColumnOrderWithTheirWeightedSize) {
    CTextBlock* right = Text(MakeRect(200, 0, 300, 50), kTextBody, "abcd", 16.0);
    CTextBlock* left = Text(MakeRect(0, 20, 100, 80), kTextBody, "xy", 10.0);
    right->m_nLayout = kLayoutLeftToRight;
    right->m_nArticle = 9;
    CTextBlock* merged = Merge({right, left});

    EXPECT_DOUBLE_EQ(merged->m_dFontSize, 14.0);
    EXPECT_EQ(merged->m_strText, "xy\r\nabcd\r\n");
    EXPECT_EQ(merged->m_strHtml, "<p>xy</p><p>abcd</p>");
    ASSERT_EQ(merged->m_arrParts.GetSize(), 2);
    EXPECT_EQ(merged->m_arrParts[0], left);
    EXPECT_EQ(Sides(merged->m_rect), Sides(MakeRect(0, 0, 300, 80)));
    EXPECT_EQ(merged->m_nLevel, 2);
    EXPECT_EQ(merged->m_nID, -1);
    EXPECT_EQ(merged->m_nKind, kTextBody);
    EXPECT_EQ(merged->m_nArticle, 9);
    EXPECT_EQ(merged->m_nLayout, kLayoutLeftToRight);
    EXPECT_TRUE(merged->m_strFontName.empty());

    // A composite of composites stands one level higher.
    CTextBlock* outer = Merge({merged, Text(MakeRect(0, 100, 10, 110), kTextBody, "z")});
    EXPECT_EQ(outer->m_nLevel, 3);
}

TEST_F(GeometryTest, MergedTitleKeepsListOrderWithoutSeparators) {
    CTextBlock* second = Text(MakeRect(200, 0, 300, 50), kTextTitle, "cd");
    CTextBlock* first = Text(MakeRect(0, 0, 100, 50), kTextTitle, "ab");
    CTextBlock* merged = Merge({second, first});
    EXPECT_EQ(merged->m_strText, "cdab");
    EXPECT_EQ(merged->m_nKind, kTextTitle);
}

TEST_F(GeometryTest, MergingPartsWithoutTextGivesThePlainMeanSize) {
    CTextBlock* merged = Merge({Text(MakeRect(0, 0, 1, 1), kTextBody, "", 10.0),
                                Text(MakeRect(0, 2, 1, 3), kTextBody, "", 16.0)});
    EXPECT_DOUBLE_EQ(merged->m_dFontSize, 13.0);
}

TEST_F(GeometryTest, ArticleRegionUnitesTheSelectedParts) {
    CArticle article(&page_);
    article.m_pMainTitle = Loose(MakeRect(0, 0, 100, 10), kTextTitle);
    article.m_pBody = Loose(MakeRect(-20, 20, -5, 40));
    auto* pic = new CPicBlock(&page_);
    pic->m_rect = MakeRect(200, 200, 299, 300);
    article.m_arrPics.Add(pic);
    pic->m_pCaption = Loose(MakeRect(200, 310, 299, 320));  // a settled single block: level 1, no parts

    Rect r;
    ASSERT_TRUE(GetArticleRegion(article, kRegionTitles, r));
    EXPECT_EQ(Sides(r), Sides(MakeRect(0, 0, 100, 10)));
    ASSERT_TRUE(GetArticleRegion(article, kRegionBody, r));
    EXPECT_EQ(Sides(r), Sides(MakeRect(-20, 20, -4, 40)));  // right -5 rounds up to -4
    ASSERT_TRUE(GetArticleRegion(article, kRegionPictures, r));
    EXPECT_EQ(Sides(r), Sides(MakeRect(200, 200, 299, 300)));
    EXPECT_FALSE(GetArticleRegion(article, kRegionCaptions, r));
    pic->m_pCaption->m_nLevel = 0;
    ASSERT_TRUE(GetArticleRegion(article, kRegionCaptions, r));
    EXPECT_EQ(Sides(r), Sides(MakeRect(200, 310, 299, 320)));
    ASSERT_TRUE(GetArticleRegion(article, kRegionAll, r));
    EXPECT_EQ(Sides(r), Sides(MakeRect(-20, 0, 299, 320)));

    CArticle bare(&page_);
    EXPECT_FALSE(GetArticleRegion(bare, kRegionAll, r));
    bare.m_pBody = Loose(MakeRect(5, 5, 5, 9));  // empty: collected, adds nothing
    ASSERT_TRUE(GetArticleRegion(bare, kRegionAll, r));
    EXPECT_EQ(Sides(r), Sides(MakeRect(0, 0, 0, 0)));
}

TEST_F(GeometryTest, ArticleCoversRectanglesMostlyInsideOrMostlyHoldingIt) {
    CArticle article(&page_);
    article.m_pMainTitle = Loose(MakeRect(0, 0, 1000, 100), kTextTitle);
    article.m_pBody = Loose(MakeRect(0, 100, 1000, 1000));
    const struct {
        Rect r;
        bool covered;
    } cases[] = {
        {MakeRect(10, 10, 20, 20), true},         // tiny, wholly inside
        {MakeRect(900, 500, 1200, 600), false},   // a third inside
        {MakeRect(800, 500, 1100, 600), true},    // two thirds inside
        {MakeRect(-100, -100, 1100, 1100), true}, // holds all of the article
        {MakeRect(2000, 0, 2100, 100), false},    // apart
        {MakeRect(1000, 0, 1100, 100), false},    // touching
    };
    for (const auto& c : cases)
        EXPECT_EQ(ArticleCovers(article, c.r), c.covered) << c.r.left << "," << c.r.top;
    CArticle bare(&page_);
    EXPECT_FALSE(ArticleCovers(bare, MakeRect(0, 0, 10, 10)));
}

}  // namespace
}  // namespace kestrum
