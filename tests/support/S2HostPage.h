// An S2 page loaded through the component's class object and read back the way a host
// reads it: the article list, and each article's roles, pictures and captions.
#pragma once

#include <kestrum/kestrum.h>

#include "tests/model/HostSide.h"
#include "tests/support/HostLists.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrum::testing {

class S2HostPage {
public:
    // Writes `bytes` as page.s2 (or `name`) and loads it; `group` turns article
    // grouping on. `folders` and `pageImage` go to the host settings when not empty.
    explicit S2HostPage(const std::string& bytes, bool group = false, const std::string& folders = {},
                        const std::string& pageImage = {}, const std::string& name = "page.s2") {
        path_ = dir_.Write(name, bytes);
        folders_ = std::u16string(folders.begin(), folders.end());
        image_ = std::u16string(pageImage.begin(), pageImage.end());
        settings_.info.bGroupArticles = group ? 1 : 0;
        settings_.SetStrings(nullptr, image_.empty() ? nullptr : image_.c_str(),
                             folders_.empty() ? nullptr : folders_.c_str());
        adaptor_ = NewAdaptorFromFactory();
        const std::u16string wide(path_.begin(), path_.end());
        opened_ = adaptor_->Open(settings_.Handle(), wide.c_str());
        if (opened_ != S_OK) return;
        EXPECT_EQ(adaptor_->LoadPage(1, 0, 0), S_OK);
        EXPECT_EQ(adaptor_->GetTextList(nullptr, 0, &texts_), S_OK);
        EXPECT_EQ(adaptor_->GetPicList(nullptr, 0, &pics_), S_OK);
        EXPECT_EQ(adaptor_->GetArticleList(0, &articles_), S_OK);
    }
    ~S2HostPage() {
        for (IBlockList* list : {texts_, pics_, articles_})
            if (list) list->Release();
        adaptor_->Close();
        adaptor_->Release();
    }
    S2HostPage(const S2HostPage&) = delete;
    S2HostPage& operator=(const S2HostPage&) = delete;

    HRESULT Opened() const { return opened_; }
    IDataAdaptor& Adaptor() const { return *adaptor_; }
    const TempDir& Dir() const { return dir_; }
    LONG TextCount() const { return ListCount(texts_); }
    LONG PicCount() const { return ListCount(pics_); }
    LONG ArticleCount() const { return ListCount(articles_); }
    IArticle& Article(INT i) const { return *static_cast<IArticle*>(ListItem(articles_, i)); }
    std::vector<IArticle*> Articles() const {
        std::vector<IArticle*> all;
        for (INT i = 0; i < ArticleCount(); ++i) all.push_back(&Article(i));
        return all;
    }
    IPageInfo& Page() const {
        void* pv = nullptr;
        EXPECT_EQ(adaptor_->GetCurPageInfo(&pv), S_OK);
        return *static_cast<IPageInfo*>(pv);
    }

    // The article's block in one role (KESTRUM_PART_*), or null when the role is empty.
    static ITextBlock* Role(IArticle& article, ULONG part) {
        return First(TakeItems<ITextBlock>([&](IBlockList** l) { return article.GetTextBlocks(l, part); }));
    }
    static std::vector<IPicBlock*> Pictures(IArticle& article) {
        return TakeItems<IPicBlock>([&](IBlockList** l) { return article.GetPicBlocks(l); });
    }
    static ITextBlock* Caption(IPicBlock& pic) {
        return First(TakeItems<ITextBlock>([&](IBlockList** l) { return pic.GetTextBlocks(l, 0); }));
    }
    // The parts of a composite block, in order; empty for a plain block.
    static std::vector<ITextBlock*> Parts(ITextBlock& block) {
        return TakeItems<ITextBlock>([&](IBlockList** l) { return block.GetTextBlocks(l, 0); });
    }
    // GBK text of a block, "<null>" for a null block.
    static std::string Text(ITextBlock* block) {
        if (!block) return "<null>";
        BSTR text = nullptr;
        block->GetText(&text);
        return TakeBstr(text);
    }
    // The block's rectangle from the corners of its region (text or picture block).
    template <class Block>
    static RECT Rect(Block& block) {
        RECT r{};
        IRegn* region = nullptr;
        if (SUCCEEDED(block.GetRegion(0, &region)) && region) {
            LONG n = 0;
            region->GetPoints(nullptr, &n);
            std::vector<POINT> points(static_cast<size_t>(n));
            if (n == 4 && SUCCEEDED(region->GetPoints(points.data(), &n))) r = {points[0].x, points[0].y, points[2].x, points[2].y};
        }
        return r;
    }

private:
    static ITextBlock* First(const std::vector<ITextBlock*>& blocks) { return blocks.empty() ? nullptr : blocks[0]; }

    TempDir dir_;
    std::string path_;
    std::u16string folders_;
    std::u16string image_;
    FakeAppExt settings_;
    HRESULT opened_ = E_FAIL;
    IDataAdaptor* adaptor_ = nullptr;
    IBlockList* texts_ = nullptr;
    IBlockList* pics_ = nullptr;
    IBlockList* articles_ = nullptr;
};

}  // namespace kestrum::testing
