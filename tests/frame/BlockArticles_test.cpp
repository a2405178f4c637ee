// The article-number extension as a host reaches it: queried from an adaptor the
// class factory made, answering for the blocks of the loaded page and nothing else.
#include "model/PicBlock.h"
#include "model/TextBlock.h"
#include "tests/frame/AdaptorHost.h"
#include "tests/layout/GroupedPage.h"
#include "tests/model/HostSide.h"
#include "tests/support/HostLists.h"
#include "tests/support/InterleavedArticles.h"
#include "tests/support/S2Writer.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace kestrum {
namespace {

using testing::FakeAppExt;
using testing::Hanzi;
using testing::HostRef;
using testing::NewAdaptorFromFactory;
using testing::TakeBstr;
using testing::TakeItems;
using testing::TempDir;
using testing::Wide;

constexpr LONG kUntouched = 12345;

IBlockArticles* AskForArticles(IDataAdaptor* adaptor) {
    void* pv = nullptr;
    EXPECT_EQ(adaptor->QueryInterface(IID_IBlockArticles, &pv), S_OK);
    return static_cast<IBlockArticles*>(pv);
}

std::vector<ITextBlock*> TextList(IDataAdaptor* adaptor) {
    return TakeItems<ITextBlock>([&](IBlockList** out) { return adaptor->GetTextList(nullptr, 0, out); });
}
std::vector<IPicBlock*> PicList(IDataAdaptor* adaptor) {
    return TakeItems<IPicBlock>([&](IBlockList** out) { return adaptor->GetPicList(nullptr, 0, out); });
}

LONG TextArticle(IBlockArticles* numbers, ITextBlock* block) {
    LONG article = kUntouched;
    EXPECT_EQ(numbers->GetTextBlockArticle(block, &article), S_OK);
    return article;
}

class FrameBlockArticles : public ::testing::Test {
protected:
    HRESULT Load(const std::string& path, ULONG_PTR host = 0) {
        const HRESULT hr = adaptor->Open(host, Wide(path).c_str());
        return FAILED(hr) ? hr : adaptor->LoadPage(1, 0, 0);
    }
    std::string Interleaved() { return dir.Write("stories.ps", testing::InterleavedArticlesPage()); }

    TempDir dir;
    HostRef<IDataAdaptor> adaptor{NewAdaptorFromFactory()};
};

TEST_F(FrameBlockArticles, ExtensionIsPartOfTheAdaptorsIdentity) {
    IBlockArticles* numbers = AskForArticles(adaptor.get());
    ASSERT_NE(numbers, nullptr);
    // Counted on the adaptor: the host's reference plus the one just taken.
    EXPECT_EQ(adaptor->AddRef(), 3u);
    EXPECT_EQ(adaptor->Release(), 2u);

    void* fromAdaptor = nullptr;
    void* fromNumbers = nullptr;
    ASSERT_EQ(adaptor->QueryInterface(IID_IUnknown, &fromAdaptor), S_OK);
    ASSERT_EQ(numbers->QueryInterface(IID_IUnknown, &fromNumbers), S_OK);
    EXPECT_EQ(fromAdaptor, fromNumbers);
    void* back = nullptr;
    ASSERT_EQ(numbers->QueryInterface(IID_IDataAdaptor, &back), S_OK);
    EXPECT_EQ(back, adaptor.get());
    void* again = nullptr;
    ASSERT_EQ(numbers->QueryInterface(IID_IBlockArticles, &again), S_OK);
    EXPECT_EQ(again, numbers);

    // Other interfaces stay refused, from either pointer.
    constexpr IID kInvented = {0x8A3D7802, 0x0A7F, 0x4BF8, {0x80, 0x79, 0x3C, 0xA0, 0x58, 0xDD, 0x68, 0xCB}};
    for (const IID* iid : {&IID_IBlockList, &IID_IClassFactory, &kInvented}) {
        for (IUnknown* asked : {static_cast<IUnknown*>(adaptor.get()), static_cast<IUnknown*>(numbers)}) {
            void* pv = &pv;
            EXPECT_EQ(asked->QueryInterface(*iid, &pv), E_NOINTERFACE);
            EXPECT_EQ(pv, nullptr);
        }
    }
    for (void* taken : {fromAdaptor, fromNumbers, back, again}) static_cast<IUnknown*>(taken)->Release();
    EXPECT_EQ(numbers->Release(), 1u);  // the host's own reference to the adaptor is left
}

TEST_F(FrameBlockArticles, PostScriptBlocksCarryTheirStoryNumbers) {
    ASSERT_EQ(Load(Interleaved()), S_OK);
    HostRef<IBlockArticles> numbers{AskForArticles(adaptor.get())};
    std::vector<ITextBlock*> texts = TextList(adaptor.get());
    ASSERT_EQ(texts.size(), 7u);  // three headlines, three bodies, the folio
    for (ITextBlock* block : texts) {
        BSTR b = nullptr;
        ASSERT_EQ(block->GetText(&b), S_OK);
        const std::string text = TakeBstr(b);
        LONG expected = text.find(testing::kInterleavedFolio) != std::string::npos ? -1 : 0;
        for (const auto& story : testing::kInterleavedStories) {
            if (text.find(story.body) != std::string::npos || text.find(story.headline) != std::string::npos)
                expected = story.number;
        }
        ASSERT_NE(expected, 0) << text;
        EXPECT_EQ(TextArticle(numbers.get(), block), expected) << text;
        EXPECT_EQ(block->GetID2(), block->GetID()) << text;  // the old getters stay what they were
    }
    // The page file places pictures between its stories: they name no article.
    std::vector<IPicBlock*> pictures = PicList(adaptor.get());
    ASSERT_EQ(pictures.size(), 1u);
    LONG article = kUntouched;
    EXPECT_EQ(numbers->GetPicBlockArticle(pictures[0], &article), S_OK);
    EXPECT_EQ(article, 0);
}

TEST_F(FrameBlockArticles, OnlyBlocksOfTheLoadedPageAnswer) {
    const std::string page = Interleaved();
    ASSERT_EQ(adaptor->Open(0, Wide(page).c_str()), S_OK);
    HostRef<IBlockArticles> numbers{AskForArticles(adaptor.get())};
    HostRef<IDataAdaptor> other{NewAdaptorFromFactory()};
    ASSERT_EQ(other->Open(0, Wide(page).c_str()), S_OK);
    ASSERT_EQ(other->LoadPage(1, 0, 0), S_OK);
    ITextBlock* foreignText = TextList(other.get()).front();
    IPicBlock* foreignPicture = PicList(other.get()).front();

    // Opened, not loaded: not even the other adaptor's blocks are known here.
    LONG article = kUntouched;
    EXPECT_EQ(numbers->GetTextBlockArticle(foreignText, &article), E_INVALIDARG);

    ASSERT_EQ(adaptor->LoadPage(1, 0, 0), S_OK);
    ITextBlock* text = TextList(adaptor.get()).front();
    IPicBlock* picture = PicList(adaptor.get()).front();
    CTextBlock unlisted(nullptr);
    struct Case {
        const char* name;
        std::function<HRESULT(LONG*)> call;
        HRESULT expected;
    };
    IBlockArticles* n = numbers.get();
    const Case cases[] = {
        {"null text block", [&](LONG* out) { return n->GetTextBlockArticle(nullptr, out); }, E_POINTER},
        {"null picture", [&](LONG* out) { return n->GetPicBlockArticle(nullptr, out); }, E_POINTER},
        {"text block, null out", [&](LONG*) { return n->GetTextBlockArticle(text, nullptr); }, E_POINTER},
        {"picture, null out", [&](LONG*) { return n->GetPicBlockArticle(picture, nullptr); }, E_POINTER},
        {"another adaptor's text block", [&](LONG* out) { return n->GetTextBlockArticle(foreignText, out); },
         E_INVALIDARG},
        {"another adaptor's picture", [&](LONG* out) { return n->GetPicBlockArticle(foreignPicture, out); }, E_INVALIDARG},
        {"a block on no page", [&](LONG* out) { return n->GetTextBlockArticle(&unlisted, out); }, E_INVALIDARG},
        {"an address that is no object",
         [&](LONG* out) { return n->GetTextBlockArticle(reinterpret_cast<ITextBlock*>(uintptr_t{0x5EED}), out); },
         E_INVALIDARG},
        {"a picture passed as text",
         [&](LONG* out) { return n->GetTextBlockArticle(reinterpret_cast<ITextBlock*>(picture), out); }, E_INVALIDARG},
        {"a text block passed as picture",
         [&](LONG* out) { return n->GetPicBlockArticle(reinterpret_cast<IPicBlock*>(text), out); }, E_INVALIDARG},
    };
    for (const Case& c : cases) {
        article = kUntouched;
        EXPECT_EQ(c.call(&article), c.expected) << c.name;
        EXPECT_EQ(article, kUntouched) << c.name;
    }

    // A closed page's blocks are gone; their addresses must not answer.
    ASSERT_EQ(adaptor->Close(), S_OK);
    article = kUntouched;
    EXPECT_EQ(numbers->GetTextBlockArticle(text, &article), E_INVALIDARG);
    EXPECT_EQ(numbers->GetPicBlockArticle(picture, &article), E_INVALIDARG);
    EXPECT_EQ(article, kUntouched);
    other->Close();
}

// Every text block a host can meet on a grouped S2 page (article roles, parts of
// composites, captions) answers with the number the block carries.
TEST_F(FrameBlockArticles, S2BlocksAnswerWhereverTheHostMeetsThem) {
    // Two titles over two body columns, which grouping merges, and a captioned photo.
    testing::S2Writer s2;
    s2.ShortHeader(10000, 14000)
        .TextBlock(1000, 1000, 8, {Hanzi(8)})
        .TextBlock(1000, 1300, 14, {Hanzi(7, 10)})
        .TextBlock(1000, 1800, 5, {Hanzi(6, 20), Hanzi(6, 26), Hanzi(6, 32), Hanzi(6, 38)})
        .TextBlock(2800, 1800, 5, {Hanzi(6, 50), Hanzi(6, 56), Hanzi(6, 62), Hanzi(6, 68)})
        .Picture(1600, 1850, 1000, 600, "PIC1")
        .TextBlock(1700, 2470, 3, {Hanzi(4, 90)});
    FakeAppExt host;
    host.info.bGroupArticles = 1;
    ASSERT_EQ(Load(dir.Write("grouped.s2", s2.Data()), host.Handle()), S_OK);
    HostRef<IBlockArticles> numbers{AskForArticles(adaptor.get())};
    int texts = 0, parts = 0, captions = 0;
    std::function<void(ITextBlock*, int&)> check = [&](ITextBlock* block, int& counter) {
        ++counter;
        EXPECT_EQ(TextArticle(numbers.get(), block), static_cast<CTextBlock*>(block)->m_nArticle);
        for (ITextBlock* part : TakeItems<ITextBlock>([&](IBlockList** out) { return block->GetTextBlocks(out, 0); }))
            check(part, parts);
    };
    std::vector<IArticle*> articles =
        TakeItems<IArticle>([&](IBlockList** out) { return adaptor->GetArticleList(0, out); });
    ASSERT_FALSE(articles.empty());
    for (IArticle* article : articles) {
        for (ITextBlock* role : TakeItems<ITextBlock>([&](IBlockList** out) { return article->GetTextBlocks(out, 0); }))
            check(role, texts);
        for (IPicBlock* picture : TakeItems<IPicBlock>([&](IBlockList** out) { return article->GetPicBlocks(out); })) {
            LONG number = kUntouched;
            EXPECT_EQ(numbers->GetPicBlockArticle(picture, &number), S_OK);
            EXPECT_EQ(number, static_cast<CPicBlock*>(picture)->m_nArticle);
            for (ITextBlock* caption : TakeItems<ITextBlock>([&](IBlockList** out) { return picture->GetTextBlocks(out, 0); }))
                check(caption, captions);
        }
    }
    EXPECT_GT(texts, 0);
    EXPECT_EQ(parts, 2);
    EXPECT_EQ(captions, 1);
}

// What a host that never asks reads: the lists, numbers and texts of the same page
// read by a host that asks about every block.
TEST_F(FrameBlockArticles, HostsThatDoNotAskSeeTheSameLists) {
    const std::string page = Interleaved();
    auto snapshot = [&](IDataAdaptor* host, bool ask) {
        std::vector<std::string> seen;
        EXPECT_EQ(host->Open(0, Wide(page).c_str()), S_OK);
        EXPECT_EQ(host->LoadPage(1, 0, 0), S_OK);
        HostRef<IBlockArticles> numbers{ask ? AskForArticles(host) : nullptr};
        for (ITextBlock* block : TextList(host)) {
            if (numbers) TextArticle(numbers.get(), block);
            BSTR text = nullptr;
            block->GetText(&text);
            seen.push_back(std::to_string(block->GetID()) + "/" + std::to_string(block->GetID2()) + "/" +
                           std::to_string(block->GetKind()) + "/" + std::to_string(block->GetLevel()) + "/" +
                           TakeBstr(text));
        }
        for (IPicBlock* picture : PicList(host)) {
            BSTR name = nullptr;
            picture->GetName(&name);
            seen.push_back("picture " + TakeBstr(name));
        }
        seen.push_back("articles " + std::to_string(TakeItems<IArticle>([&](IBlockList** out) {
                                                        return host->GetArticleList(0, out);
                                                    }).size()));
        host->Close();
        return seen;
    };
    HostRef<IDataAdaptor> asking{NewAdaptorFromFactory()};
    const std::vector<std::string> plain = snapshot(adaptor.get(), false);
    EXPECT_EQ(plain, snapshot(asking.get(), true));
    EXPECT_EQ(plain.back(), "articles 0");  // a PostScript page lists no articles of its own
}

}  // namespace
}  // namespace kestrum
