// The reader base: host settings, picture folders, list copies and page objects.
#include "model/Article.h"
#include "model/PageInfo.h"
#include "model/PicBlock.h"
#include "model/TextBlock.h"
#include "parser/ParserFile.h"
#include "tests/model/HostSide.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrum {
namespace {

using testing::FakeAppExt;

// The base with the reader operations doing nothing.
class BareReader : public CParserFile {
public:
    bool Open(const std::string&) override { return true; }
    bool LoadPage() override { return true; }
    bool ClearPage() override {
        DeletePageObjects();
        return true;
    }
    bool RenderPageImage(const std::string&, bool) override { return false; }
};

using Folders = std::vector<std::string>;

TEST(ParserBaseFolders, SplitsTheHostListIntoFolders) {
    struct Case {
        const char* list;
        Folders folders;
    };
    const std::vector<Case> cases = {
        {";;C:\\a", {"/", "/", "C:\\a/"}},
        {"D:\\pics;*E:\\arch\\;X", {"D:\\pics/", "*E:\\arch\\"}},  // a last entry of one character is dropped
        {"/srv/pics/;*/srv/arch", {"/srv/pics/", "*/srv/arch/"}},
        {"pics;", {"pics/"}},
        {"", {}},
        {"X", {}},
        // The last byte is the trail byte 0x5C of a two-byte character, not a backslash.
        {"\xD5\xD5\xC6\xAC\x81\x5C", {"\xD5\xD5\xC6\xAC\x81\x5C/"}},
    };
    for (const Case& c : cases) {
        BareReader reader;
        reader.m_arrImageFolders = {"old/"};
        reader.SetImageFolders(c.list);
        EXPECT_EQ(reader.m_arrImageFolders, c.folders) << c.list;
    }
}

TEST(ParserBaseHost, NewReaderHasNoSettings) {
    BareReader reader;
    ASSERT_NE(reader.m_pPageInfo, nullptr);
    ASSERT_NE(reader.m_pArticles, nullptr);
    EXPECT_EQ(reader.m_pPageInfo->m_nPageNo, 0);
    EXPECT_TRUE(reader.m_arrImageFolders.empty());
    EXPECT_TRUE(reader.GetPageImagePath().empty());
    EXPECT_EQ(reader.m_bResourceLookup, 0);
    EXPECT_EQ(reader.m_lReserved, 0);
    EXPECT_EQ(reader.m_bGroupArticles, 0);
    EXPECT_EQ(reader.m_bLastImageFolder, 0);
}

TEST(ParserBaseHost, CopiesTheRecordAndGivesItBack) {
    BareReader reader;
    FakeAppExt host;
    host.info.bResourceLookup = 1;
    host.info.lReserved = 42;
    host.info.bGroupArticles = 1;
    host.SetStrings(u"A\u7248", u"/p/page.jpg", u"/srv/pics;*/srv/arch");  // 版
    host.result = S_FALSE;  // a success other than S_OK comes back as it is

    EXPECT_EQ(reader.ApplyHostSettings(&host), S_FALSE);
    EXPECT_TRUE(host.handedNull);
    EXPECT_EQ(host.reservedSeen, 0u);
    EXPECT_EQ(host.releases, 1);
    EXPECT_EQ(host.releasedRecord, &host.info);
    EXPECT_EQ(reader.m_bResourceLookup, 1);
    EXPECT_EQ(reader.m_lReserved, 42);
    EXPECT_EQ(reader.m_bGroupArticles, 1);
    EXPECT_EQ(reader.m_strPageLabel, "A\xB0\xE6");
    EXPECT_EQ(reader.m_pPageInfo->m_strLabel, "A\xB0\xE6");
    EXPECT_EQ(reader.GetPageImagePath(), "/p/page.jpg");
    EXPECT_EQ(reader.m_strImageFolders, "/srv/pics;*/srv/arch");
    EXPECT_EQ(reader.m_arrImageFolders, (Folders{"/srv/pics/", "*/srv/arch/"}));

    // A second record replaces everything, null strings by empty ones; the folder
    // of the last picture found stays.
    reader.m_strLastImageFolder = "/srv/pics/2011/";
    reader.m_bLastImageFolder = 1;
    FakeAppExt second;
    second.SetStrings(nullptr, nullptr, nullptr);
    EXPECT_EQ(reader.ApplyHostSettings(&second), S_OK);
    EXPECT_EQ(reader.m_bResourceLookup, 0);
    EXPECT_EQ(reader.m_bGroupArticles, 0);
    EXPECT_TRUE(reader.m_strPageLabel.empty());
    EXPECT_TRUE(reader.m_pPageInfo->m_strLabel.empty());
    EXPECT_TRUE(reader.GetPageImagePath().empty());
    EXPECT_TRUE(reader.m_arrImageFolders.empty());
    EXPECT_EQ(reader.m_strLastImageFolder, "/srv/pics/2011/");
    EXPECT_EQ(reader.m_bLastImageFolder, 1);
}

TEST(ParserBaseHost, NoRecordChangesNothing) {
    struct Case {
        HRESULT result;
        bool giveRecord;
        HRESULT expected;
    };
    for (const Case& c : {Case{E_OUTOFMEMORY, true, E_OUTOFMEMORY}, Case{S_OK, false, E_FAIL}}) {
        BareReader reader;
        FakeAppExt first;
        first.info.bGroupArticles = 1;
        first.SetStrings(u"L", u"/p.jpg", u"/a;/b");
        ASSERT_EQ(reader.ApplyHostSettings(&first), S_OK);

        FakeAppExt failing;
        failing.result = c.result;
        failing.giveRecord = c.giveRecord;
        failing.SetStrings(u"other", u"/other.jpg", u"/c");
        EXPECT_EQ(reader.ApplyHostSettings(&failing), c.expected);
        EXPECT_EQ(failing.releases, 0);
        EXPECT_EQ(reader.m_bGroupArticles, 1);
        EXPECT_EQ(reader.m_pPageInfo->m_strLabel, "L");
        EXPECT_EQ(reader.GetPageImagePath(), "/p.jpg");
        EXPECT_EQ(reader.m_arrImageFolders, (Folders{"/a/", "/b/"}));
    }
}

TEST(ParserBaseLists, CopiesAppendAfterWhatTheListHolds) {
    BareReader reader;
    CPageInfo* page = reader.m_pPageInfo.get();
    for (int i = 0; i < 2; ++i) {
        reader.m_arrTextBlocks.Add(new CTextBlock(page));
        reader.m_arrPicBlocks.Add(new CPicBlock(page));
        reader.m_pArticles->Add(new CArticle(page));
    }
    CTextBlock a(nullptr), b(nullptr);
    CTextBlockArray texts;
    texts.Add(&a);
    texts.Add(&b);
    ASSERT_EQ(reader.CopyTextBlocks(texts, 0xFFFFFFFFu), S_OK);
    EXPECT_EQ(texts.Items(), (std::vector<CTextBlock*>{&a, &b, reader.m_arrTextBlocks[0], reader.m_arrTextBlocks[1]}));

    CPicBlockArray pics;
    ASSERT_EQ(reader.CopyPicBlocks(pics, 0), S_OK);
    EXPECT_EQ(pics.Items(), reader.m_arrPicBlocks.Items());
    CArticleArray articles;
    ASSERT_EQ(reader.CopyArticles(articles, 0), S_OK);
    EXPECT_EQ(articles.Items(), reader.m_pArticles->Items());

    // A copy into the list itself would append the list to itself.
    EXPECT_EQ(reader.CopyTextBlocks(reader.m_arrTextBlocks, 0), E_INVALIDARG);
    EXPECT_EQ(reader.m_arrTextBlocks.GetSize(), 2);

    reader.DeletePageObjects();
    EXPECT_TRUE(reader.m_arrTextBlocks.IsEmpty());
    EXPECT_TRUE(reader.m_arrPicBlocks.IsEmpty());
    EXPECT_TRUE(reader.m_pArticles->IsEmpty());
}

TEST(ParserBaseLists, NoArticleListCopiesNothing) {
    BareReader reader;
    reader.m_pArticles.reset();
    CArticleArray articles;
    EXPECT_EQ(reader.CopyArticles(articles, 0), E_FAIL);
    EXPECT_TRUE(articles.IsEmpty());
}

TEST(ParserBaseLists, ReaderDeletesWhatItStillHolds) {
    // No ClearPage before the end: the sanitizer run sees nothing left behind.
    auto reader = std::make_unique<BareReader>();
    CPageInfo* page = reader->m_pPageInfo.get();
    auto* composite = new CTextBlock(page);
    composite->m_arrParts.Add(new CTextBlock(page));
    reader->m_arrTextBlocks.Add(composite);
    auto* article = new CArticle(page);
    article->m_pBody = new CTextBlock(page);
    reader->m_pArticles->Add(article);
    reader->m_arrPicBlocks.Add(new CPicBlock(page));
    reader.reset();
    SUCCEED();
}

}  // namespace
}  // namespace kestrum
