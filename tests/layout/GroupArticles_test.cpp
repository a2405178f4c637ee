// S2 pages loaded with article grouping on: titles, bodies and pictures come back as
// the host's articles, with nothing left loose.
#include "tests/layout/GroupedPage.h"
#include "tests/support/S2Writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace kestrum {
namespace {

using testing::ExpectEveryBlockInAnArticle;
using testing::Hanzi;
using testing::S2HostPage;
using testing::S2Writer;

constexpr uint16_t kPageWidth = 10000;
constexpr uint16_t kPageHeight = 14000;

// Font sizes of the size numbers the pages use, in S2 units.
constexpr double kSize3 = 76, kSize5 = 100, kSize8 = 152, kSize10 = 202, kSize12 = 266, kSize14 = 352;

std::vector<std::string> Lines(int count, int chars, int from) {
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) lines.push_back(Hanzi(chars, from + i * chars));
    return lines;
}

ITextBlock* Role(IArticle* article, ULONG role) { return S2HostPage::Role(*article, role); }
double SizeOf(IArticle* article, ULONG role) {
    ITextBlock* block = Role(article, role);
    return block ? block->GetFontSize() : 0.0;
}
LONG TopOf(ITextBlock* block) { return block ? S2HostPage::Rect(*block).top : -1; }

// A lead title line over a larger main title, two body columns under them, and a
// picture between the columns with a caption line under it.
std::string TitledPage() {
    S2Writer page;
    page.ShortHeader(kPageWidth, kPageHeight)
        .TextBlock(1000, 1000, 8, {Hanzi(8)})
        .TextBlock(1000, 1300, 14, {Hanzi(7, 10)})
        .TextBlock(1000, 1800, 5, Lines(6, 4, 20))
        .TextBlock(2800, 1800, 5, Lines(6, 4, 50))
        .Picture(1600, 1850, 1000, 600, "PIC1")
        .TextBlock(1700, 2470, 3, {Hanzi(4, 90)});
    return page.Data();
}

// Titles in vertical columns moving leftwards: lead on the right, main, subtitle on
// the left, and the body's columns left of them.
std::string VerticalPage() {
    S2Writer page;
    page.ShortHeader(kPageWidth, kPageHeight)
        .VerticalTextBlock(9000, 1000, 8, Lines(2, 4, 0), 190)
        .VerticalTextBlock(8400, 1000, 14, Lines(2, 4, 10), 440)
        .VerticalTextBlock(7600, 1000, 10, Lines(2, 4, 20), 250)
        .VerticalTextBlock(7000, 1000, 5, Lines(3, 8, 30));
    return page.Data();
}

// A header line and logo at the top, a picture spanning the page's height, one
// article, and two full-width lines at the foot.
std::string HeaderFooterPage() {
    S2Writer page;
    page.ShortHeader(kPageWidth, kPageHeight)
        .Picture(100, 50, 300, 13900, "TALL")
        .TextBlock(1000, 100, 5, {Hanzi(8)})
        .Picture(5000, 100, 1000, 400, "LOGO")
        .TextBlock(1000, 2000, 12, {Hanzi(6, 10)})
        .TextBlock(1000, 2500, 5, Lines(2, 10, 20))
        .TextBlock(200, 13400, 5, {Hanzi(92, 40)})
        .TextBlock(200, 13600, 5, {Hanzi(92, 140)});
    return page.Data();
}

std::string UntitledPage() {
    S2Writer page;
    page.ShortHeader(kPageWidth, kPageHeight)
        .TextBlock(1000, 1000, 5, Lines(2, 10, 0))
        .TextBlock(1000, 5000, 5, {Hanzi(10, 20)})
        .TextBlock(6000, 9000, 5, {Hanzi(10, 30)})
        .Picture(6000, 2000, 2000, 1500, "PIC1");
    return page.Data();
}

// A main title with a wide body, and a smaller title line beside it at `sideTop`.
std::string SideTitlePage(int16_t sideTop) {
    S2Writer page;
    page.ShortHeader(kPageWidth, kPageHeight)
        .TextBlock(1000, 1300, 14, {Hanzi(6)})
        .TextBlock(3200, sideTop, 10, {Hanzi(4, 10)})
        .TextBlock(1000, 1800, 5, Lines(2, 30, 20));
    return page.Data();
}

// A title line over a single large glyph, whose writing direction cannot be told.
std::string UndirectedTitlePage() {
    S2Writer page;
    page.ShortHeader(kPageWidth, kPageHeight).TextBlock(1000, 1000, 12, {Hanzi(3)}).TextBlock(1000, 1400, 18, {Hanzi(1, 10)});
    return page.Data();
}

// Hundreds of title lines of mixed sizes on one spot, pictures on one spot, each with a caption candidate.
std::string HostilePage() {
    constexpr int kTitles = 600, kPictures = 200;
    S2Writer page;
    page.ShortHeader(kPageWidth, kPageHeight);
    for (int i = 0; i < kTitles; ++i) page.TextBlock(1000, 1000, 12 + i % 6, {Hanzi(2, i % 90)});
    for (int i = 0; i < kPictures; ++i)
        page.Picture(4000, 4000, 2000, 1500, "P" + std::to_string(i)).TextBlock(4100, 5530, 3, {Hanzi(3, i % 90)});
    return page.Data();
}

TEST(GroupArticles, LeadAndMainTitleOverBodyColumnsAndACaptionedPicture) {
    const S2HostPage host(TitledPage(), true);
    ASSERT_EQ(host.ArticleCount(), 1);
    IArticle* article = &host.Article(0);
    EXPECT_EQ(article->GetID(), 0x10000);
    EXPECT_EQ(S2HostPage::Text(Role(article, KESTRUM_PART_LEAD_TITLE)), Hanzi(8));
    EXPECT_EQ(S2HostPage::Text(Role(article, KESTRUM_PART_MAIN_TITLE)), Hanzi(7, 10));
    EXPECT_EQ(Role(article, KESTRUM_PART_SUB_TITLE), nullptr);

    ITextBlock* body = Role(article, KESTRUM_PART_BODY);
    ASSERT_NE(body, nullptr);
    const auto columns = S2HostPage::Parts(*body);
    ASSERT_EQ(columns.size(), 2u);
    EXPECT_EQ(S2HostPage::Rect(*columns[0]).left, 1000);  // column reading order
    EXPECT_EQ(S2HostPage::Rect(*columns[1]).left, 2800);
    EXPECT_EQ(body->GetLevel(), 2);
    EXPECT_EQ(body->GetFontSize(), kSize5);

    const auto pictures = S2HostPage::Pictures(*article);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(S2HostPage::Text(S2HostPage::Caption(*pictures[0])), Hanzi(4, 90));
}

TEST(GroupArticles, ColumnsMovingLeftwardsPutTheLeadTitleOnTheRight) {
    const S2HostPage host(VerticalPage(), true);
    ASSERT_EQ(host.ArticleCount(), 1);
    IArticle* article = &host.Article(0);
    EXPECT_EQ(SizeOf(article, KESTRUM_PART_MAIN_TITLE), kSize14);
    EXPECT_EQ(SizeOf(article, KESTRUM_PART_LEAD_TITLE), kSize8);
    EXPECT_EQ(SizeOf(article, KESTRUM_PART_SUB_TITLE), kSize10);
    EXPECT_EQ(Role(article, KESTRUM_PART_MAIN_TITLE)->GetLayout(), 4);
    ITextBlock* body = Role(article, KESTRUM_PART_BODY);
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(body->GetLayout(), 4);
    EXPECT_EQ(S2HostPage::Rect(*body).left, 6750);
}

// A main title in a single column reads in the direction of its body: columns on its
// left run leftwards, on its right rightwards.
TEST(GroupArticles, SingleColumnMainTitleTakesItsBodysDirection) {
    struct Case {
        int16_t bodyLeft;
        LONG layout;
    };
    for (const Case& c : {Case{8200, 4}, Case{9250, 3}}) {
        SCOPED_TRACE(c.bodyLeft);
        S2Writer page;
        page.ShortHeader(kPageWidth, kPageHeight)
            .VerticalTextBlock(8400, 1000, 14, {Hanzi(4)})
            .VerticalTextBlock(c.bodyLeft, 1000, 5, Lines(3, 8, 10));
        const S2HostPage host(page.Data(), true);
        ASSERT_EQ(host.ArticleCount(), 1);
        ITextBlock* main = Role(&host.Article(0), KESTRUM_PART_MAIN_TITLE);
        ASSERT_NE(main, nullptr);
        EXPECT_EQ(main->GetLayout(), c.layout);
        EXPECT_NE(Role(&host.Article(0), KESTRUM_PART_BODY), nullptr);
    }
}

// The page's own articles come first, then the header band's, then the footer lines
// from the bottom up.
TEST(GroupArticles, HeaderBandAndFooterLinesFollowThePagesArticles) {
    const S2HostPage host(HeaderFooterPage(), true);
    ASSERT_EQ(host.ArticleCount(), 6);
    const std::vector<IArticle*> articles = host.Articles();
    for (LONG i = 0; i < 6; ++i) EXPECT_EQ(articles[size_t(i)]->GetID(), 0x10000 + i);

    EXPECT_EQ(SizeOf(articles[0], KESTRUM_PART_MAIN_TITLE), kSize12);
    EXPECT_NE(Role(articles[0], KESTRUM_PART_BODY), nullptr);
    const auto tall = S2HostPage::Pictures(*articles[1]);
    ASSERT_EQ(tall.size(), 1u);
    EXPECT_EQ(testing::NameOf(*tall[0]), "TALL");

    EXPECT_EQ(TopOf(Role(articles[2], KESTRUM_PART_BODY)), 100);
    const auto logo = S2HostPage::Pictures(*articles[3]);
    ASSERT_EQ(logo.size(), 1u);
    EXPECT_EQ(testing::NameOf(*logo[0]), "LOGO");

    EXPECT_EQ(TopOf(Role(articles[4], KESTRUM_PART_BODY)), 13600);
    EXPECT_EQ(TopOf(Role(articles[5], KESTRUM_PART_BODY)), 13400);
}

TEST(GroupArticles, WithoutTitlesEveryBlockIsAnArticleOfItsOwn) {
    const S2HostPage host(UntitledPage(), true);
    ASSERT_EQ(host.ArticleCount(), 4);
    const std::vector<IArticle*> articles = host.Articles();
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(Role(articles[i], KESTRUM_PART_MAIN_TITLE), nullptr);
        EXPECT_NE(Role(articles[i], KESTRUM_PART_BODY), nullptr);
        EXPECT_TRUE(S2HostPage::Pictures(*articles[i]).empty());
    }
    EXPECT_EQ(Role(articles[3], KESTRUM_PART_ALL), nullptr);
    EXPECT_EQ(S2HostPage::Pictures(*articles[3]).size(), 1u);
}

// A title line of its own beside a larger main title joins that article: lower as
// its subtitle, higher as its lead title.
TEST(GroupArticles, BareTitleBesideAMainTitleJoinsItsArticle) {
    struct Case {
        int16_t top;
        ULONG role;
    };
    for (const Case& c : {Case{1400, KESTRUM_PART_SUB_TITLE}, Case{1250, KESTRUM_PART_LEAD_TITLE}}) {
        SCOPED_TRACE(c.top);
        const S2HostPage host(SideTitlePage(c.top), true);
        ASSERT_EQ(host.ArticleCount(), 1);
        IArticle* article = &host.Article(0);
        EXPECT_EQ(SizeOf(article, KESTRUM_PART_MAIN_TITLE), kSize14);
        EXPECT_EQ(S2HostPage::Text(Role(article, c.role)), Hanzi(4, 10));
        EXPECT_NE(Role(article, KESTRUM_PART_BODY), nullptr);
    }
}

TEST(GroupArticles, LinesOfATitleWithoutDirectionBecomeTitlesOfTheirOwn) {
    const S2HostPage host(UndirectedTitlePage(), true);
    ASSERT_EQ(host.ArticleCount(), 2);
    std::vector<std::string> titles;
    for (IArticle* article : host.Articles()) titles.push_back(S2HostPage::Text(Role(article, KESTRUM_PART_MAIN_TITLE)));
    EXPECT_NE(std::find(titles.begin(), titles.end(), Hanzi(3)), titles.end());
    EXPECT_NE(std::find(titles.begin(), titles.end(), Hanzi(1, 10)), titles.end());
}

TEST(GroupArticles, EveryBlockOfThePageEndsInAnArticle) {
    const std::vector<std::pair<const char*, std::string>> pages = {
        {"titled", TitledPage()},
        {"vertical", VerticalPage()},
        {"header and footer", HeaderFooterPage()},
        {"untitled", UntitledPage()},
        {"side title", SideTitlePage(1400)},
        {"undirected title", UndirectedTitlePage()},
        {"hostile", HostilePage()},
    };
    for (const auto& [name, page] : pages) {
        SCOPED_TRACE(name);
        ExpectEveryBlockInAnArticle(page);
    }
}

}  // namespace
}  // namespace kestrum
