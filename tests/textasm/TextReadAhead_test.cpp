// Text blocks read for finishing on a thread of their own while the page is read.
#include "textasm/TextReadAhead.h"
#include "tests/support/CharRecords.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

// Blocks enough for a reading thread: lines of 宋体 characters in two sizes.
BlockList TextBlocks(int count) {
    BlockList blocks;
    for (int i = 0; i < count; ++i) {
        CBaseBlock& b = blocks.emplace_back();
        b.m_nKind = i % 4 == 0 ? kBlockTitle : kBlockBody;
        b.m_nArticle = 1 + i % 3;
        b.m_nID = i;
        for (int c = 0; c < 2000; ++c)
            b.m_arrChars.push_back(testing::CharAt(uint16_t(0xB0A1 + c % 50), c * 920, c < 100 ? 1800 : 920, "\xCB\xCE\xCC\xE5"));
    }
    return blocks;
}

TEST(TextReadAhead, ReadsTheBlocksHandedOverAndOnlyThose) {
    const BlockList blocks = TextBlocks(40);
    TextReadAhead ahead({}, {});
    for (size_t i = 0; i < blocks.size(); ++i)
        if (i % 3 != 0) ahead.Offer(i, blocks[i]);
    std::vector<TextResult> results = ahead.Take(blocks.size() + 2);

    ASSERT_EQ(results.size(), blocks.size() + 2);
    for (size_t i = 0; i < blocks.size(); ++i) {
        ASSERT_EQ(results[i].read, i % 3 != 0) << i;
        if (!results[i].read) continue;
        const TextResult expected = ReadText(blocks[i], {}, {});
        ASSERT_TRUE(results[i].stats.has_value());
        EXPECT_EQ(results[i].stats->fontName, expected.stats->fontName) << i;
        EXPECT_EQ(results[i].stats->avgSize, expected.stats->avgSize) << i;
        EXPECT_EQ(results[i].texts.text, expected.texts.text) << i;
        EXPECT_EQ(results[i].texts.html, expected.texts.html) << i;
        EXPECT_EQ(results[i].layout, expected.layout) << i;
    }
    EXPECT_FALSE(results[blocks.size()].read);
}

TEST(TextReadAhead, CanBeLeftWithoutTakingTheResults) {
    // A page given up halfway (its reading threw): the reading thread is let go.
    const BlockList blocks = TextBlocks(40);
    {
        TextReadAhead ahead({}, {});
        for (size_t i = 0; i < blocks.size(); ++i) ahead.Offer(i, blocks[i]);
    }
    TextReadAhead unused({}, {});
    EXPECT_TRUE(unused.Take(0).empty());
}

}  // namespace
}  // namespace kestrum
