// The page setup and the dispatch of body lines to their handlers.
#include "model/PageInfo.h"
#include "model/TextBlock.h"
#include "psreader/PSParser.h"
#include "tests/support/PsPageWriter.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

// Someone else cuts the page file short between Open and LoadPage: the page reads
// what the file still holds, and nothing raises a signal.
TEST_F(PsDriver, AFileCutShortAfterOpenLoadsWhatItHolds) {
    PsPageWriter page;
    page.boundingBox(0, 0, 595, 842).box(0, 0, 10, 10);
    const std::string bytes = page.bytes();
    const std::string path = dir_.Write("page.ps", bytes);
    ASSERT_TRUE(reader_.Open(path));
    for (size_t size : {bytes.size() / 2, size_t{0}}) {
        dir_.Write("page.ps", bytes.substr(0, size));
        EXPECT_TRUE(reader_.LoadPage());
        EXPECT_TRUE(reader_.m_arrBlocks.empty()) << size;
        reader_.ClearPage();
    }
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

// GBK characters 啊阿埃… in turn, `count` of them.
std::string Hanzi(int count, int seed) {
    std::string text;
    for (int i = 0; i < count; ++i) text += {'\xB0', static_cast<char>(0xA1 + (seed + i) % 10)};
    return text;
}

TEST_F(PsDriver, LoadPageFinishesWhatItReadsAsFinishingAfterwardsWould) {
    // Enough text that LoadPage reads it for finishing while it is still reading: body
    // columns, titles in another size, a second article nested in some, and lines of
    // single-byte characters among them.
    PsPageWriter page;
    const std::vector<double> advances(24, 920), wide(8, 2400);
    for (int article = 1; article <= 100; ++article) {
        page.article(article).translate(1000, 2000 + article * 10);
        page.font("JBHGHT", 2400).show(0, 2400, Hanzi(8, article), wide).paragraph();
        if (article % 7 == 0) page.article(1000 + article).translate(500, 500).font("JBHGSS", 920).show(0, 0, "ABC", {}).endArticle();
        page.font("JBHGSS", 920);
        for (int line = 0; line < 40; ++line) {
            if (line % 9 == 4) page.show(0, 5000 + line * 1100, "12 x 34", {});
            else page.show(line % 2 * 21000, 5000 + line * 1100, Hanzi(24, line), advances);
            if (line % 10 == 9) page.paragraph();
        }
        page.endArticle();
    }
    const std::string path = dir_.Write("large.ps", page.bytes());

    ASSERT_TRUE(reader_.Open(path));
    ASSERT_TRUE(reader_.LoadPage());
    CPSParser afterwards;  // the steps of LoadPage one after the other
    ASSERT_TRUE(afterwards.Open(path));
    afterwards.m_bLoadGroupArticles = afterwards.m_bGroupArticles;
    afterwards.ParsePage();
    ASSERT_TRUE(afterwards.FinishPage());
    afterwards.JoinTitleLines();

    ASSERT_GT(reader_.m_arrTextBlocks.GetSize(), 100);
    ASSERT_EQ(reader_.m_arrTextBlocks.GetSize(), afterwards.m_arrTextBlocks.GetSize());
    for (int i = 0; i < reader_.m_arrTextBlocks.GetSize(); ++i) {
        const CTextBlock& a = *reader_.m_arrTextBlocks[i];
        const CTextBlock& b = *afterwards.m_arrTextBlocks[i];
        EXPECT_EQ(a.m_nID, b.m_nID) << i;
        EXPECT_EQ(a.m_strText, b.m_strText) << i;
        EXPECT_EQ(a.m_strHtml, b.m_strHtml) << i;
        EXPECT_EQ(a.m_strFontName, b.m_strFontName) << i;
        EXPECT_EQ(a.m_dFontSize, b.m_dFontSize) << i;
        EXPECT_EQ(a.m_nLayout, b.m_nLayout) << i;
    }
}

}  // namespace
}  // namespace kestrum
