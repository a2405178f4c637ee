// Grouped S2 pages as a host reads them: text of a chosen length, and where each
// block of the page ended.
#pragma once

#include "tests/support/S2HostPage.h"

#include <initializer_list>
#include <string>

namespace kestrum::testing {

// `count` distinct GB2312 characters, starting `from` characters after 啊.
inline std::string Hanzi(int count, int from = 0) {
    constexpr int kPerRow = 94;
    std::string text;
    for (int i = from; i < from + count; ++i) {
        text += static_cast<char>(0xB0 + i / kPerRow);
        text += static_cast<char>(0xA1 + i % kPerRow);
    }
    return text;
}

inline std::string NameOf(IPicBlock& pic) {
    BSTR name = nullptr;
    pic.GetName(&name);
    return TakeBstr(name);
}

// The blocks as read that the host reaches through the articles: the plain blocks of
// every role, composite and caption, and the pictures.
inline int ReachableBlocks(const S2HostPage& host) {
    int count = 0;
    auto countText = [&](auto& self, ITextBlock* block) -> void {
        const auto parts = S2HostPage::Parts(*block);
        if (parts.empty()) ++count;
        for (ITextBlock* part : parts) self(self, part);
    };
    for (IArticle* article : host.Articles()) {
        for (ULONG role : {KESTRUM_PART_LEAD_TITLE, KESTRUM_PART_MAIN_TITLE, KESTRUM_PART_SUB_TITLE, KESTRUM_PART_BODY})
            if (ITextBlock* block = S2HostPage::Role(*article, role)) countText(countText, block);
        for (IPicBlock* pic : S2HostPage::Pictures(*article)) {
            ++count;
            if (ITextBlock* caption = S2HostPage::Caption(*pic)) countText(countText, caption);
        }
    }
    return count;
}

// Grouping leaves nothing loose and loses nothing: every block the page gives one by
// one (an article each without grouping) is somewhere in the grouped articles.
inline void ExpectEveryBlockInAnArticle(const std::string& page) {
    const S2HostPage single(page, false);
    const S2HostPage grouped(page, true);
    EXPECT_EQ(grouped.TextCount(), 0);
    EXPECT_EQ(grouped.PicCount(), 0);
    EXPECT_EQ(ReachableBlocks(grouped), single.ArticleCount());
}

}  // namespace kestrum::testing
