// Articles made from the blocks' article numbers: which page is grouped, and the
// order of articles and of the blocks inside each.
#include "host/NumberedArticles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TextBlockDoc Text(int32_t id, std::optional<int32_t> article, int32_t kind = 3, int32_t level = 1) {
    TextBlockDoc block;
    block.id = id;
    block.article = article;
    block.kind = kind;
    block.level = level;
    return block;
}

PictureDoc Picture(const char* name, std::optional<int32_t> article) {
    PictureDoc picture;
    picture.name = name;
    picture.article = article;
    return picture;
}

std::vector<int32_t> Ids(const std::vector<const TextBlockDoc*>& blocks) {
    std::vector<int32_t> ids;
    for (const TextBlockDoc* block : blocks) ids.push_back(block->id);
    return ids;
}

std::vector<std::string> Names(const std::vector<const PictureDoc*>& pictures) {
    std::vector<std::string> names;
    for (const PictureDoc* picture : pictures) names.push_back(picture->name.value_or(""));
    return names;
}

TEST(HostNumberedArticles, GroupsByNumberInPageOrderHeadingsFirst) {
    PageDoc doc;
    doc.format = "ps";
    // The component lists joined titles after the other blocks; the ids give the page order.
    doc.textBlocks = {Text(2, 1), Text(3, 2), Text(4, -1), Text(6, 3), Text(7, 1), Text(9, 2, 2),
                      Text(1, 2, 2), Text(5, 1, 3, 0), Text(8, 3, 2)};
    doc.pictures = {Picture("placed", 0), Picture("second", 2), Picture("unknown story", 5), Picture("old", std::nullopt)};
    const std::optional<NumberedPage> page = GroupByArticleNumber(doc);
    ASSERT_TRUE(page);
    ASSERT_EQ(page->articles.size(), 3u);
    struct Expected {
        int32_t number;
        std::vector<int32_t> ids;
        std::vector<std::string> pictures;
    };
    const Expected expected[] = {
        {2, {1, 9, 3}, {"second"}},  // two titles in page order, then the body
        {1, {5, 2, 7}, {}},          // a joined title (level 0) leads though read later
        {3, {8, 6}, {}},
    };
    for (size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(page->articles[i].number, expected[i].number) << i;
        EXPECT_EQ(Ids(page->articles[i].texts), expected[i].ids) << i;
        EXPECT_EQ(Names(page->articles[i].pictures), expected[i].pictures) << i;
    }
    EXPECT_EQ(Ids(page->looseTexts), std::vector<int32_t>{4});
    EXPECT_EQ(Names(page->loosePictures), (std::vector<std::string>{"placed", "unknown story", "old"}));
}

TEST(HostNumberedArticles, OnlyPagesWithoutArticlesWhoseBlocksAreNumbered) {
    struct Case {
        const char* name;
        PageDoc doc;
        bool grouped;
    };
    PageDoc numbered;
    numbered.textBlocks = {Text(1, -1)};
    PageDoc withoutExtension;
    withoutExtension.textBlocks = {Text(1, std::nullopt), Text(2, std::nullopt)};
    PageDoc withArticles = numbered;
    withArticles.articles.emplace_back();
    PageDoc noText;
    noText.pictures = {Picture("alone", 0)};
    const Case cases[] = {
        {"every block outside articles", numbered, true},
        {"a component without the extension", withoutExtension, false},
        {"a page with articles of its own", withArticles, false},
        {"a page without text", noText, false},
    };
    for (const Case& c : cases) EXPECT_EQ(GroupByArticleNumber(c.doc).has_value(), c.grouped) << c.name;
}

}  // namespace
