#include "layout/LayoutCodes.h"
#include "model/PicBlock.h"
#include "model/TextBlock.h"
#include "psreader/PSParser.h"

#include <gtest/gtest.h>

#include <tuple>

#include <string>
#include <vector>

namespace kestrum {
namespace {

// Rectangles as tuples, so that failures print their sides.
std::tuple<int32_t, int32_t, int32_t, int32_t> Sides(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

struct Line {
    int32_t id;
    int32_t top;             // each line is 30 units tall, 0 to 500 wide
    double size = 30.0;
    int32_t article = 1;
    int32_t kind = kTextTitle;
};

// Adds the lines to the reader's text list; each text is "t" and its number.
void AddLines(CPSParser& reader, const std::vector<Line>& lines) {
    for (const Line& l : lines) {
        auto* b = new CTextBlock(reader.m_pPageInfo.get());
        b->m_nID = l.id;
        b->m_nArticle = l.article;
        b->m_nKind = l.kind;
        b->m_dFontSize = l.size;
        b->m_rect = MakeRect(0, l.top, 500, l.top + 30);
        b->m_strText = (l.kind == kTextTitle ? "t" : "b") + std::to_string(l.id);
        b->m_strHtml = "<" + b->m_strText + ">";
        b->m_nLayout = kLayoutLeftToRight;
        reader.m_arrTextBlocks.Add(b);
    }
}

std::vector<std::string> Texts(const CPSParser& reader) {
    std::vector<std::string> out;
    for (const CTextBlock* b : reader.m_arrTextBlocks) out.push_back(b->m_strText);
    return out;
}

using Texts_t = std::vector<std::string>;

TEST(TitleJoin, ThreeLinesOfOneTitleBecomeOne) {
    CPSParser reader;
    AddLines(reader, {{5, 0}, {6, 40}, {7, 80}});
    EXPECT_EQ(reader.JoinTitleLines(), 0);

    ASSERT_EQ(reader.m_arrTextBlocks.GetSize(), 1);
    const CTextBlock& title = *reader.m_arrTextBlocks[0];
    EXPECT_EQ(title.m_strText, "t5t6t7");
    EXPECT_EQ(title.m_strHtml, "<t5><t6><t7>");
    EXPECT_EQ(title.m_nID, 7);
    EXPECT_EQ(title.m_nLevel, 0);
    EXPECT_EQ(title.m_nArticle, 1);
    EXPECT_EQ(title.m_nKind, kTextTitle);
    EXPECT_EQ(title.m_nLayout, kLayoutLeftToRight);
    EXPECT_DOUBLE_EQ(title.m_dFontSize, 30.0);
    EXPECT_EQ(Sides(title.m_rect), Sides(MakeRect(0, 0, 500, 110)));
    EXPECT_TRUE(title.m_arrParts.IsEmpty());
}

TEST(TitleJoin, LinesJoinOnlyWhenStackedCloseInOneArticleSizeAndSequence) {
    const struct {
        const char* what;
        std::vector<Line> lines;
        Texts_t texts;
    } cases[] = {
        {"sizes 30 and 30.5", {{5, 0, 30.0}, {6, 40, 30.5}}, {"t5", "t6"}},
        {"numbers 5 and 7", {{5, 0}, {7, 40}}, {"t5", "t7"}},
        {"different articles", {{5, 0, 30.0, 1}, {6, 40, 30.0, 2}}, {"t5", "t6"}},
        {"gap equal to the size", {{5, 0}, {6, 60}}, {"t5", "t6"}},
        {"gap one unit smaller", {{5, 0}, {6, 59}}, {"t5t6"}},
        {"overlapping lines", {{5, 0}, {6, 20}}, {"t5", "t6"}},
        {"touching lines", {{5, 0}, {6, 30}}, {"t5", "t6"}},
        {"later line above, listed first", {{6, 40}, {5, 0}}, {"t5t6"}},
        {"later number standing above", {{5, 40}, {6, 0}}, {"t5", "t6"}},
        // Line 6 takes the first partner in list order: 7 below it. The title 6+7
        // then has nothing next to line 5's number.
        {"first partner in list order wins", {{6, 40}, {7, 80}, {5, 0}}, {"t5", "t6t7"}},
        // Here 5 comes first; 5+6 (number 6) then takes 7.
        {"joined lines join again", {{6, 40}, {5, 0}, {7, 80}}, {"t5t6t7"}},
    };
    for (const auto& c : cases) {
        CPSParser reader;
        AddLines(reader, c.lines);
        EXPECT_EQ(reader.JoinTitleLines(), 0) << c.what;
        EXPECT_EQ(Texts(reader), c.texts) << c.what;
    }
}

TEST(TitleJoin, TitlesMoveBehindTheBodyText) {
    CPSParser reader;
    AddLines(reader, {{1, 0}, {2, 500, 10.0, 1, kTextBody}, {3, 700}, {4, 900, 10.0, 1, kTextBody}});
    EXPECT_EQ(reader.JoinTitleLines(), 0);
    EXPECT_EQ(Texts(reader), (Texts_t{"b2", "b4", "t1", "t3"}));
}

TEST(TitleJoin, PagesWithoutTitlesAreLeftAlone) {
    CPSParser empty;
    EXPECT_EQ(empty.JoinTitleLines(), 1);

    CPSParser bodyOnly;
    AddLines(bodyOnly, {{1, 0, 10.0, 1, kTextBody}, {2, 40, 10.0, 1, kTextBody}});
    EXPECT_EQ(bodyOnly.JoinTitleLines(), E_FAIL);
    EXPECT_EQ(Texts(bodyOnly), (Texts_t{"b1", "b2"}));

    CPSParser picturesOnly;
    picturesOnly.m_arrPicBlocks.Add(new CPicBlock(picturesOnly.m_pPageInfo.get()));
    EXPECT_EQ(picturesOnly.JoinTitleLines(), E_FAIL);
}

TEST(TitleJoin, ALongPageOfTitlePairsJoinsEachPair) {
    CPSParser reader;
    std::vector<Line> lines;
    for (int32_t i = 0; i < 2000; ++i) lines.push_back({i, (i / 2) * 100 + (i % 2) * 40, 30.0, i / 2});
    AddLines(reader, lines);
    EXPECT_EQ(reader.JoinTitleLines(), 0);
    ASSERT_EQ(reader.m_arrTextBlocks.GetSize(), 1000);
    for (int32_t k = 0; k < 1000; ++k) {
        const CTextBlock& t = *reader.m_arrTextBlocks[k];
        EXPECT_EQ(t.m_strText, "t" + std::to_string(2 * k) + "t" + std::to_string(2 * k + 1));
        EXPECT_EQ(t.m_nID, 2 * k + 1);
    }
}

// The pair scan as plainly as it can be written, over plain values: the oracle for
// the indexed partner search.
struct PlainLine {
    int32_t article, id;
    double size;
    Rect rect;
    std::string text;
};

std::vector<PlainLine> PairScan(std::vector<PlainLine> tl) {
    for (size_t i = 0; i < tl.size();) {
        bool joined = false;
        for (size_t j = i + 1; j < tl.size() && !joined; ++j) {
            const PlainLine &p = tl[i], &s = tl[j];
            if (s.article != p.article || s.size != p.size) continue;
            const int64_t d = int64_t{s.id} - p.id;
            int64_t gap;
            if (d == 1 && p.rect.bottom < s.rect.top) gap = int64_t{s.rect.top} - p.rect.bottom;
            else if (d == -1 && s.rect.bottom < p.rect.top) gap = int64_t{p.rect.top} - s.rect.bottom;
            else continue;
            if (!(double(gap) < s.size)) continue;
            const PlainLine& e = p.id < s.id ? p : s;
            const PlainLine& l = p.id < s.id ? s : p;
            PlainLine c{e.article, l.id, e.size, BoundingUnion(e.rect, l.rect), e.text + l.text};
            tl.erase(tl.begin() + static_cast<long>(j));
            tl.erase(tl.begin() + static_cast<long>(i));
            tl.push_back(c);
            joined = true;
        }
        if (!joined) ++i;
    }
    return tl;
}

TEST(TitleJoin, IndexedSearchJoinsExactlyAsThePairScan) {
    uint32_t seed = 12345;
    auto next = [&seed](uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    for (int page = 0; page < 200; ++page) {
        CPSParser reader;
        std::vector<PlainLine> plain;
        const int count = 1 + int(next(40));
        for (int k = 0; k < count; ++k) {
            const int32_t top = int32_t(next(400)) - 50;
            PlainLine l{int32_t(next(2)), int32_t(next(12)) - 2, next(4) ? 30.0 : 31.0,
                        MakeRect(0, top, 500, top + int32_t(next(40))), "t" + std::to_string(k) + ";"};
            plain.push_back(l);
            auto* b = new CTextBlock(reader.m_pPageInfo.get());
            b->m_nKind = kTextTitle;
            b->m_nArticle = l.article;
            b->m_nID = l.id;
            b->m_dFontSize = l.size;
            b->m_rect = l.rect;
            b->m_strText = l.text;
            reader.m_arrTextBlocks.Add(b);
        }
        const std::vector<PlainLine> expected = PairScan(plain);
        ASSERT_EQ(reader.JoinTitleLines(), 0);
        ASSERT_EQ(reader.m_arrTextBlocks.GetSize(), int(expected.size())) << "page " << page;
        for (size_t k = 0; k < expected.size(); ++k) {
            const CTextBlock& got = *reader.m_arrTextBlocks[int(k)];
            EXPECT_EQ(got.m_strText, expected[k].text) << "page " << page;
            EXPECT_EQ(got.m_nID, expected[k].id) << "page " << page;
            EXPECT_EQ(Sides(got.m_rect), Sides(expected[k].rect)) << "page " << page;
        }
    }
}

}  // namespace
}  // namespace kestrum
