// Short text next to or on a picture comes back as the picture's caption on a grouped S2 page.
#include "tests/layout/GroupedPage.h"
#include "tests/support/S2Writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace kestrum {
namespace {

using testing::Hanzi;
using testing::S2HostPage;
using testing::S2Writer;

// One picture at 3000..5000 × 3000..4500 on a page of 10000 × 14000 units.
S2Writer PicturePage() {
    S2Writer page;
    page.ShortHeader(10000, 14000).Picture(3000, 3000, 2000, 1500, "PIC1");
    return page;
}

// The one picture of a grouped page.
IPicBlock* OnlyPicture(const S2HostPage& host) {
    for (IArticle* article : host.Articles()) {
        const auto pics = S2HostPage::Pictures(*article);
        if (!pics.empty()) return pics[0];
    }
    return nullptr;
}

TEST(Captions, ALineOnAnySideOfAPictureIsItsCaption) {
    struct Case {
        const char* name;
        std::function<void(S2Writer&)> add;  // the caption line, Hanzi(4) or Hanzi(3)
        std::string caption;                 // "<null>" when the line is no caption
    };
    const std::vector<Case> cases = {
        {"above", [](S2Writer& p) { p.TextBlock(3200, 2880, 3, {Hanzi(4)}); }, Hanzi(4)},
        {"below", [](S2Writer& p) { p.TextBlock(3200, 4530, 3, {Hanzi(4)}); }, Hanzi(4)},
        {"left", [](S2Writer& p) { p.TextBlock(2700, 3600, 3, {Hanzi(3)}); }, Hanzi(3)},
        {"right", [](S2Writer& p) { p.TextBlock(5050, 3600, 3, {Hanzi(3)}); }, Hanzi(3)},
        {"inside", [](S2Writer& p) { p.TextBlock(3500, 3500, 3, {Hanzi(4)}); }, Hanzi(4)},
        // Beside the picture but farther than 1.2 font sizes from it.
        {"left, too far", [](S2Writer& p) { p.TextBlock(2500, 3600, 3, {Hanzi(3)}); }, "<null>"},
        // Columns above a picture do not caption it: that takes a horizontal line.
        {"vertical above", [](S2Writer& p) { p.VerticalTextBlock(3500, 2700, 3, {Hanzi(2), Hanzi(2, 2)}); }, "<null>"},
        // A title line is never a caption.
        {"title below", [](S2Writer& p) { p.TextBlock(3200, 4530, 8, {Hanzi(4)}); }, "<null>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        S2Writer page = PicturePage();
        c.add(page);
        const S2HostPage host(page.Data(), true);
        ASSERT_EQ(host.ArticleCount(), 2 - (c.caption != "<null>"));
        IPicBlock* pic = OnlyPicture(host);
        ASSERT_NE(pic, nullptr);
        EXPECT_EQ(S2HostPage::Text(S2HostPage::Caption(*pic)), c.caption);
    }
}

// Two lines below the picture and one on its left: the side with more text wins, and
// the line on the left goes back to the page as text of its own.
TEST(Captions, CandidatesOnOneSideMergeAndTheOthersGoBack) {
    S2Writer page = PicturePage();
    page.TextBlock(3100, 4530, 3, {Hanzi(4)}).TextBlock(4000, 4530, 3, {Hanzi(4, 4)}).TextBlock(2700, 3600, 3, {Hanzi(3, 8)});
    const S2HostPage host(page.Data(), true);

    IPicBlock* pic = OnlyPicture(host);
    ASSERT_NE(pic, nullptr);
    ITextBlock* caption = S2HostPage::Caption(*pic);
    ASSERT_NE(caption, nullptr);
    const auto parts = S2HostPage::Parts(*caption);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(S2HostPage::Text(parts[0]), Hanzi(4));
    EXPECT_EQ(S2HostPage::Text(parts[1]), Hanzi(4, 4));

    ASSERT_EQ(host.ArticleCount(), 2);
    std::vector<std::string> bodies;
    for (IArticle* article : host.Articles()) bodies.push_back(S2HostPage::Text(S2HostPage::Role(*article, KESTRUM_PART_BODY)));
    EXPECT_NE(std::find(bodies.begin(), bodies.end(), Hanzi(3, 8)), bodies.end());
    testing::ExpectEveryBlockInAnArticle(page.Data());
}

// A line between two pictures goes to the one below it, even with the other nearer on its left.
TEST(Captions, BelowBeatsBeside) {
    S2Writer page = PicturePage();
    page.Picture(1000, 4400, 2150, 800, "LEFT").TextBlock(3200, 4530, 3, {Hanzi(4)});
    const S2HostPage host(page.Data(), true);
    for (IArticle* article : host.Articles()) {
        for (IPicBlock* pic : S2HostPage::Pictures(*article)) {
            const std::string expected = testing::NameOf(*pic) == "PIC1" ? Hanzi(4) : "<null>";
            EXPECT_EQ(S2HostPage::Text(S2HostPage::Caption(*pic)), expected);
        }
    }
}

}  // namespace
}  // namespace kestrum
