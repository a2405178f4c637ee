// Pooled font names behave as string values, from any thread.
#include "pscontent/FontName.h"
#include "pscontent/Records.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace kestrum {
namespace {

TEST(PsFontName, BehavesAsAStringValue) {
    FontName a("JBHGSS");
    FontName b(std::string("JBHG") + "SS");
    FontName c("jbhgss");
    EXPECT_EQ(a, b);
    EXPECT_FALSE(a == c);
    EXPECT_EQ(a, std::string_view("JBHGSS"));
    EXPECT_EQ(a.str(), "JBHGSS");
    EXPECT_TRUE(FontName().empty());

    const std::string longName(5000, '\xB0');
    FontName big(longName);
    EXPECT_EQ(big.size(), longName.size());
    EXPECT_EQ(big.substr(4998), "\xB0\xB0");

    // The paragraph mark, known without a lookup, is the pooled name like any other.
    EXPECT_EQ(FontName::ParagraphMark(), FontName(kParagraphFont));
    EXPECT_EQ(FontName::ParagraphMark().str(), kParagraphFont);
    EXPECT_TRUE(St_WordInfo::ParagraphMarker().IsParagraphMarker());
    EXPECT_FALSE(St_WordInfo().IsParagraphMarker());

    St_WordInfo w;
    St_WordInfo copy = w;
    w.strFontName = "other";  // a copy keeps its own value
    EXPECT_EQ(copy.strFontName, std::string_view(kDefaultWordFont));
    EXPECT_EQ(w.strFontName, std::string_view("other"));
}

TEST(PsFontName, ThreadsPoolTheSameNamesAlike) {
    constexpr int kThreads = 4;
    constexpr int kNames = 200;
    std::vector<std::vector<FontName>> seen(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &seen] {
            for (int i = 0; i < kNames; ++i) seen[t].emplace_back("thread-name-" + std::to_string(i));
        });
    }
    for (auto& thread : threads) thread.join();
    for (int t = 1; t < kThreads; ++t) {
        for (int i = 0; i < kNames; ++i) {
            EXPECT_EQ(seen[t][i], seen[0][i]);
            EXPECT_EQ(seen[t][i].str(), "thread-name-" + std::to_string(i));
        }
    }
}

}  // namespace
}  // namespace kestrum
