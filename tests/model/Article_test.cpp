// Articles: their text roles, pictures, HTML document and identifier.
#include "model/Article.h"
#include "model/PageInfo.h"
#include "model/PicBlock.h"
#include "model/TextBlock.h"
#include "tests/model/HostSide.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace kestrum {
namespace {

using testing::TakeBstr;

std::vector<void*> ItemsOf(IBlockList* list) {
    LONG count = 0;
    list->GetCount(&count);
    std::vector<void*> items(static_cast<size_t>(count));
    for (INT i = 0; i < count; ++i) list->GetItemAt(i, &items[static_cast<size_t>(i)]);
    return items;
}

void* Host(CTextBlock* block) { return static_cast<ITextBlock*>(block); }

TEST(ModelArticle, TextBlocksOfEachPart) {
    CPageInfo page;
    CArticle full(&page);
    full.m_pLeadTitle = new CTextBlock(&page);
    full.m_pMainTitle = new CTextBlock(&page);
    full.m_pSubTitle = new CTextBlock(&page);
    full.m_pBody = new CTextBlock(&page);
    CArticle mainOnly(&page);
    mainOnly.m_pMainTitle = new CTextBlock(&page);

    struct Case {
        CArticle* article;
        ULONG part;
        std::vector<void*> listed;  // empty: E_FAIL with a null list
    };
    const std::vector<Case> cases = {
        {&full, 0, {Host(full.m_pLeadTitle), Host(full.m_pMainTitle), Host(full.m_pSubTitle), Host(full.m_pBody)}},
        {&full, 1, {Host(full.m_pMainTitle)}},
        {&full, 2, {Host(full.m_pLeadTitle)}},
        {&full, 3, {Host(full.m_pSubTitle)}},
        {&full, 4, {Host(full.m_pBody)}},
        {&mainOnly, 0, {Host(mainOnly.m_pMainTitle)}},
        {&mainOnly, 1, {Host(mainOnly.m_pMainTitle)}},
        {&mainOnly, 2, {}},
        {&mainOnly, 3, {}},
        {&mainOnly, 4, {}},
    };
    for (const Case& c : cases) {
        IBlockList* list = reinterpret_cast<IBlockList*>(0x1);
        const HRESULT hr = c.article->GetTextBlocks(&list, c.part);
        if (c.listed.empty()) {
            EXPECT_EQ(hr, E_FAIL) << c.part;
            EXPECT_EQ(list, nullptr) << c.part;
            continue;
        }
        ASSERT_EQ(hr, S_OK) << c.part;
        EXPECT_EQ(ItemsOf(list), c.listed) << c.part;
        list->Release();
    }
    // Beyond the last part (-1 is 4294967295) the out argument stays as it was.
    for (ULONG part : {5u, static_cast<ULONG>(-1)}) {
        IBlockList* list = reinterpret_cast<IBlockList*>(0x1);
        EXPECT_EQ(full.GetTextBlocks(&list, part), E_FAIL);
        EXPECT_EQ(list, reinterpret_cast<IBlockList*>(0x1));
    }
}

TEST(ModelArticle, PicturesAreListedOnlyWhenThereAreSome) {
    CPageInfo page;
    CArticle article(&page);
    IBlockList* list = reinterpret_cast<IBlockList*>(0x1);
    EXPECT_EQ(article.GetPicBlocks(&list), E_FAIL);
    EXPECT_EQ(list, nullptr);

    article.m_arrPics.Add(new CPicBlock(&page));
    article.m_arrPics.Add(new CPicBlock(&page));
    ASSERT_EQ(article.GetPicBlocks(&list), S_OK);
    EXPECT_EQ(ItemsOf(list), (std::vector<void*>{static_cast<IPicBlock*>(article.m_arrPics[0]),
                                                  static_cast<IPicBlock*>(article.m_arrPics[1])}));
    list->Release();
}

TEST(ModelArticle, IdCarriesPageAndIndex) {
    CPageInfo page;
    page.m_nPageNo = 1;
    CArticle third(&page);
    third.m_nID = page.m_nPageNo << 16 | 2;
    EXPECT_EQ(third.GetID(), 65538);
    EXPECT_EQ(third.GetPageNo(), 1);
}

TEST(ModelArticle, HtmlDocumentFramesBodyAndCaptions) {
    CPageInfo page;
    CArticle article(&page);
    article.m_pMainTitle = new CTextBlock(&page);
    article.m_pMainTitle->m_strHtml = "<h1>T</h1>";
    article.MakeHtml();
    BSTR html = nullptr;
    EXPECT_EQ(article.GetHtml(&html), E_FAIL);  // titles alone make no document
    EXPECT_EQ(html, nullptr);

    article.m_pBody = new CTextBlock(&page);
    article.m_pBody->m_strHtml = "<p>body 100%s</p>";
    auto* captioned = new CPicBlock(&page);
    captioned->m_pCaption = new CTextBlock(&page);
    captioned->m_pCaption->m_strHtml = "<p>cap</p>";
    article.m_arrPics.Add(captioned);
    article.m_arrPics.Add(new CPicBlock(&page));  // no caption

    EXPECT_EQ(article.MakeHtml(), 1);
    ASSERT_EQ(article.GetHtml(&html), S_OK);
    EXPECT_EQ(TakeBstr(html), "<html> <body> <p>body 100%s</p> </body> </html>");
    ASSERT_EQ(captioned->GetHtml(&html), S_OK);
    EXPECT_EQ(TakeBstr(html), "<html> <body> <p>cap</p> </body> </html>");
}

TEST(ModelArticle, DeletesEverythingItOwns) {
    // The sanitizer run proves it: a composite body with parts, a picture with a
    // caption container holding candidates, and titles.
    CPageInfo page;
    auto article = std::make_unique<CArticle>(&page);
    article->m_pBody = new CTextBlock(&page);
    article->m_pBody->m_nLevel = 2;
    article->m_pBody->m_arrParts.Add(new CTextBlock(&page));
    article->m_pBody->m_arrParts.Add(new CTextBlock(&page));
    article->m_pLeadTitle = new CTextBlock(&page);
    auto* pic = new CPicBlock(&page);
    pic->m_pCaption = new CTextBlock(&page);
    pic->m_pCaption->m_arrParts.Add(new CTextBlock(&page));
    article->m_arrPics.Add(pic);
    article.reset();
    SUCCEED();
}

}  // namespace
}  // namespace kestrum
