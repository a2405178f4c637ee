// The two S2 header variants and reading the file.
#include "model/PageInfo.h"
#include "s2reader/S2Parser.h"
#include "tests/support/S2Writer.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrum {
namespace {

using testing::S2Writer;
using testing::TempDir;

struct HeaderCase {
    const char* name;
    std::string bytes;
    bool opens;
    double width;
    double height;
    int32_t headerWords;
    int32_t wordCount;
};

TEST(S2Open, ReadsBothHeaderVariants) {
    const std::string shortHeader("\x03\x80\xA0\x0F\x03\x80\xE0\x2E", 8);
    const std::vector<HeaderCase> cases = {
        {"short header", shortHeader, true, 4000, 12000, 2, 2},
        {"short header, 4n+3 bytes", shortHeader + "abc", true, 4000, 12000, 2, 2},
        {"short header, one mark wrong", std::string("\x03\x80\xA0\x0F\x04\x80\xE0\x2E", 8), false, 0, 0, 0, 0},
        {"short header cut short", shortHeader.substr(0, 7), false, 0, 0, 0, 0},
        {"long header AABB", S2Writer().LongHeader(0xAABB, 0xE2B9, 3000, 5000, 100, 200).Data(), true, 3000, 5000, 16, 16},
        {"long header 1E4D", S2Writer().LongHeader(0x1E4D, 0x0C37, 640, 480).Data(), true, 640, 480, 16, 16},
        {"mixed signature", S2Writer().LongHeader(0xB1B1, 0xE2B9, 3000, 5000).Data(), false, 0, 0, 0, 0},
        {"long header cut at 19 bytes", S2Writer().LongHeader(0xAABB, 0xE2B9, 3000, 5000).Data().substr(0, 19), false, 0, 0, 0, 0},
        {"empty file", "", false, 0, 0, 0, 0},
    };
    TempDir dir;
    for (const auto& c : cases) {
        CS2Parser reader;
        std::string path = dir.Write("page.s2", c.bytes);
        ASSERT_EQ(reader.Open(path), c.opens) << c.name;
        EXPECT_EQ(reader.m_pPageInfo->m_nPageNo, 1) << c.name;
        EXPECT_EQ(reader.m_pPageInfo->m_strTitle, "page") << c.name;
        EXPECT_EQ(reader.m_strFilePath, path) << c.name;
        EXPECT_EQ(reader.m_pView != nullptr, c.opens) << c.name;
        if (!c.opens) continue;
        EXPECT_EQ(reader.m_dPageWidth, c.width) << c.name;
        EXPECT_EQ(reader.m_dPageHeight, c.height) << c.name;
        EXPECT_EQ(reader.m_pPageInfo->m_dWidth, c.width) << c.name;
        EXPECT_EQ(reader.m_pPageInfo->m_dHeight, c.height) << c.name;
        EXPECT_EQ(reader.m_nHeaderWords, c.headerWords) << c.name;
        EXPECT_EQ(reader.m_nWordCount, c.wordCount) << c.name;
    }
}

TEST(S2Open, FailedSecondOpenReleasesTheEarlierFile) {
    TempDir dir;
    CS2Parser reader;
    ASSERT_TRUE(reader.Open(dir.Write("a.s2", S2Writer().ShortHeader(100, 200).Op(0x8019).Data())));
    EXPECT_EQ(reader.m_nWordCount, 3);
    EXPECT_FALSE(reader.Open(dir.Write("b.s2", "not an S2 page")));
    EXPECT_EQ(reader.m_pView, nullptr);
    EXPECT_EQ(reader.m_nWordCount, 0);
}

TEST(S2Open, ClearPageUnmapsAndKeepsThePageInformation) {
    TempDir dir;
    CS2Parser reader;
    ASSERT_TRUE(reader.Open(dir.Write("B01.s2", S2Writer().ShortHeader(100, 200).Data())));
    reader.m_arrImageFolders = {"/pics/"};
    EXPECT_TRUE(reader.ClearPage());
    EXPECT_EQ(reader.m_pView, nullptr);
    EXPECT_EQ(reader.m_nWordCount, 0);
    EXPECT_TRUE(reader.m_arrImageFolders.empty());
    EXPECT_EQ(reader.m_pPageInfo->m_strTitle, "B01");
    EXPECT_EQ(reader.m_pPageInfo->m_dWidth, 100);
}

TEST(S2Open, RendersNothing) {
    CS2Parser reader;
    EXPECT_FALSE(reader.RenderPageImage("/tmp/never.jpg", true));
}

}  // namespace
}  // namespace kestrum
