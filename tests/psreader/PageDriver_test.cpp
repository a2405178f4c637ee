// The page setup and the dispatch of body lines to their handlers.
#include "model/PageInfo.h"
#include "psreader/PSParser.h"
#include "tests/support/PsPageWriter.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrum {
namespace {

using testing::PsPageWriter;

class PsDriver : public ::testing::Test {
protected:
    bool Parse(const PsPageWriter& page) { return Parse(page.bytes()); }
    bool Parse(const std::string& bytes) {
        EXPECT_TRUE(reader_.Open(dir_.Write("page.ps", bytes)));
        return reader_.ParsePage();
    }
    testing::TempDir dir_;
    CPSParser reader_;
};

TEST_F(PsDriver, BoundingBoxGivesThePageSizeInPageUnits) {
    PsPageWriter page;
    page.boundingBox(0, 0, 595, 842);
    EXPECT_TRUE(Parse(page));
    EXPECT_EQ(reader_.m_dPageWidth, 595 * 7420.0 / 72);
    EXPECT_EQ(reader_.m_dPageHeight, 842 * 7420.0 / 72);
    EXPECT_EQ(reader_.m_pPageInfo->m_dWidth, reader_.m_dPageWidth);
    EXPECT_EQ(reader_.m_pPageInfo->m_dHeight, reader_.m_dPageHeight);
}

TEST_F(PsDriver, PageWithoutBoundingBoxStaysEmptyAndKeepsItsPageInformation) {
    PsPageWriter sized;
    sized.box(0, 0, 10, 10);
    Parse(sized);
    reader_.ClearPage();
    reader_.m_strPageImage = dir_.File("missing.jpg");

    PsPageWriter page;
    page.withoutBoundingBox().box(0, 0, 10, 10);
    EXPECT_FALSE(Parse(page));
    ASSERT_NE(reader_.m_pPageInfo, nullptr);
    EXPECT_EQ(reader_.m_pPageInfo->m_dWidth, 0.0);
    EXPECT_EQ(reader_.m_pPageInfo->m_dImageWidth, 0.0);
    EXPECT_TRUE(reader_.m_arrBlocks.empty());
    // The reader takes the next file as before.
    EXPECT_TRUE(Parse(sized));
    EXPECT_EQ(reader_.m_arrBlocks.size(), 1u);
    EXPECT_EQ(reader_.m_pPageInfo->m_dImageHeight, 0.0);  // a preview that does not load
}

TEST_F(PsDriver, TheSetupEndIsOnlyFoundPastItsFixedOffset) {
    for (size_t offset : {size_t{1000}, size_t{0}}) {
        PsPageWriter page;
        page.setupEndOffset(offset).box(0, 0, 10, 10);
        reader_.m_arrBlocks.clear();
        EXPECT_TRUE(Parse(page)) << offset;
        EXPECT_TRUE(reader_.m_arrBlocks.empty()) << offset;
    }
}

TEST_F(PsDriver, BodyLinesGoToTheFirstHandlerThatTakesThem) {
    PsPageWriter page;
    page.line("%%Text 1 of Article 9 10 20 30 40 rectfill").font("JBHGSS", 920).show(0, 0, "A", {});
    page.translate(-1, -1);                      // the article's end
    page.line("st\r");                           // not a stroke: the carriage return stays
    page.line(std::string(230, ' ') + "%end of page 1 ..........");  // 251 bytes: passed over
    page.box(1, 2, 3, 4);
    const auto& blocks = reader_.m_arrBlocks;
    EXPECT_TRUE(Parse(page));
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0].m_nArticle, 9);
    EXPECT_EQ(blocks[0].m_nKind, kBlockBody);
    EXPECT_EQ(blocks[1].m_nKind, kBlockRuleOrBox);
    EXPECT_EQ(blocks[1].m_rcBox, MakeRect(1, 2, 4, 6));
    EXPECT_EQ(reader_.m_strPrevLine, "st\r\n");
}

TEST_F(PsDriver, ReadingStopsAtThePageEnd) {
    PsPageWriter page;
    page.box(0, 0, 1, 1).line("%end of page 1").box(5, 5, 1, 1);
    Parse(page);
    EXPECT_EQ(reader_.m_arrBlocks.size(), 1u);
}

TEST_F(PsDriver, LoadPageTakesTheGroupingOptionAndAlwaysSucceeds) {
    reader_.m_bGroupArticles = 0;
    EXPECT_TRUE(reader_.Open(dir_.Write("page.ps", PsPageWriter().withoutBoundingBox().bytes())));
    EXPECT_TRUE(reader_.LoadPage());
    EXPECT_EQ(reader_.m_bLoadGroupArticles, 0);
}

}  // namespace
}  // namespace kestrum
