#include "platform/CodePage.h"

#include <kestrum/kestrum.h>

#include <gtest/gtest.h>

#include <thread>

namespace kestrum {
namespace {

// "%%Creator:(华光易捷杂志排版系统)"
constexpr char kCreatorGbk[] =
    "%%Creator:(\xBB\xAA\xB9\xE2\xD2\xD7\xBD\xDD\xD4\xD3\xD6\xBE\xC5\xC5\xB0\xE6\xCF\xB5\xCD\xB3)";
constexpr char16_t kCreatorWide[] = u"%%Creator:(华光易捷杂志排版系统)";

struct RoundTrip {
    const char* gbk;
    const char16_t* wide;
};

TEST(PlatformCodePage, GbkTextConvertsBothWays) {
    const RoundTrip cases[] = {
        {kCreatorGbk, kCreatorWide},
        {"\xCB\xCE\xCC\xE5", u"宋体"},
        {"\xC7\xE0\xC4\xF1\xBB\xAA\xB9\xE2\xBC\xF2\xB1\xA8\xCB\xCE", u"青鸟华光简报宋"},
        {"\xBA\xDA\xCC\xE5 12pt", u"黑体 12pt"},  // 黑体
        {"\x81\x5C(", u"乗("},                   // trail byte 0x5C
        {"plain ASCII", u"plain ASCII"},
        {"", u""},
    };
    ASSERT_EQ(ThreadCodePage(), kDefaultCodePage);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.gbk);
        EXPECT_EQ(NarrowToWide(c.gbk), std::u16string(c.wide));
        EXPECT_EQ(WideToNarrow(std::u16string_view(c.wide)), std::string(c.gbk));
    }
    EXPECT_EQ(std::string(kCreatorGbk).size(), 32u);
}

TEST(PlatformCodePage, BrokenNarrowBytesBecomeReplacementsAndKeepTheRest) {
    struct Case {
        std::string gbk;
        std::u16string wide;
    };
    const Case cases[] = {
        {"\xCB\xCE\xCC", u"宋\uFFFD"},                 // cut off after a lead byte
        {"\xCB", u"\uFFFD"},
        {"a\xFF" "b", u"a\uFFFDb"},                    // never a lead byte
        {"\x81\x20z\xCB\xCE", u"\uFFFD z宋"},          // lead byte with a space after it
        {std::string("x\0y", 3), std::u16string(u"x\0y", 3)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.gbk);
        EXPECT_EQ(NarrowToWide(c.gbk), c.wide);
    }
}

TEST(PlatformCodePage, UserDefinedCharactersSurviveTheRoundTrip) {
    const RoundTrip cases[] = {
        {"\xAA\xA1", u"\uE000"}, {"\xAF\xFE", u"\uE233"},
        {"\xF8\xA1", u"\uE234"}, {"\xFE\xFE", u"\uE4C5"},
        {"\xA1\x40", u"\uE4C6"}, {"\xA1\x7E", u"\uE504"},
        {"\xA1\x80", u"\uE505"}, {"\xA7\xA0", u"\uE765"},
        {"a\xAB\xB0" "b", u"a\uE06Db"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.gbk);
        EXPECT_EQ(NarrowToWide(c.gbk), std::u16string(c.wide));
        EXPECT_EQ(WideToNarrow(std::u16string_view(c.wide)), std::string(c.gbk));
    }
    EXPECT_EQ(WideToNarrow(std::u16string_view(std::u16string{0xE766, 0xDFFF})), "??");
    // An unassigned but well-formed pair is one character: its trail 'A' is not text.
    EXPECT_EQ(NarrowToWide("\xA2\xE3" "A"), u"\uFFFD" "A");
}

TEST(PlatformCodePage, UnmappableWideTextBecomesQuestionMarks) {
    struct Case {
        std::u16string wide;
        std::string gbk;
    };
    const Case cases[] = {
        {u"a\U0001F600b", "a?b"},                       // outside GBK, one mark for the pair
        {std::u16string{u'a', 0xD800, u'b'}, "a?b"},    // lone high surrogate
        {std::u16string{0xDC00, u'\x5B8B'}, "?\xCB\xCE"},  // lone low surrogate, then 宋
        {std::u16string{u'x', 0xD83D}, "x?"},           // pair cut off at the end
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WideToNarrow(std::u16string_view(c.wide)), c.gbk);
    }
    EXPECT_EQ(WideToNarrow(static_cast<const char16_t*>(nullptr)), "");
}

TEST(PlatformCodePage, LongTextSurvivesWhole) {
    std::string gbk;
    std::u16string wide;
    for (int i = 0; i < 5000; ++i) {
        gbk += "\xCB\xCE" "a";
        wide += u"宋a";
    }
    EXPECT_EQ(NarrowToWide(gbk), wide);
    EXPECT_EQ(WideToNarrow(std::u16string_view(wide)), gbk);
}

TEST(PlatformCodePage, CodePageIsPerThread) {
    ASSERT_EQ(KestrumGetThreadCodePage(), 936u);
    std::thread other([] {
        EXPECT_EQ(KestrumSetThreadCodePage(65001), 936u);
        EXPECT_EQ(KestrumGetThreadCodePage(), 65001u);
        EXPECT_EQ(NarrowToWide("\xE5\xAE\x8B"), u"宋");
        EXPECT_EQ(WideToNarrow(std::u16string_view(u"宋")), "\xE5\xAE\x8B");
        EXPECT_EQ(KestrumSetThreadCodePage(1252), 65001u);
        EXPECT_EQ(NarrowToWide("caf\xE9"), u"café");
        EXPECT_EQ(WideToNarrow(std::u16string_view(u"宋")), "?");
    });
    other.join();
    EXPECT_EQ(KestrumGetThreadCodePage(), 936u);
    EXPECT_EQ(NarrowToWide("\xCB\xCE"), u"宋");
}

TEST(PlatformCodePage, CodePageOutsideAsciiIsConvertedThroughout) {
    std::thread other([] {
        ASSERT_EQ(KestrumSetThreadCodePage(37), 936u);  // EBCDIC: 'A' is 0xC1
        EXPECT_EQ(NarrowToWide("\xC1\xC2"), u"AB");
        EXPECT_EQ(WideToNarrow(std::u16string_view(u"AB")), "\xC1\xC2");
    });
    other.join();
}

TEST(PlatformCodePage, UnknownCodePageLeavesTheSettingAlone) {
    std::thread other([] {
        EXPECT_EQ(KestrumSetThreadCodePage(0), 0u);
        EXPECT_EQ(KestrumSetThreadCodePage(4242), 0u);
        EXPECT_EQ(KestrumGetThreadCodePage(), 936u);
        EXPECT_EQ(KestrumSetThreadCodePage(936), 936u);
        EXPECT_EQ(NarrowToWide("\xCB\xCE"), u"宋");
    });
    other.join();
}

TEST(PlatformCodePage, Utf8AndUtf16) {
    struct Case {
        std::string utf8;
        std::u16string wide;
    };
    const Case valid[] = {
        {"a\xC3\xA9\xE5\xAE\x8B\xF0\x9F\x98\x80", u"a\u00E9宋\U0001F600"},
        {"", u""},
    };
    for (const auto& c : valid) {
        EXPECT_EQ(Utf8ToUtf16(c.utf8), c.wide);
        EXPECT_EQ(Utf16ToUtf8(c.wide), c.utf8);
    }
    const Case brokenUtf8[] = {
        {"a\xE5\xAE", u"a\uFFFD\uFFFD"},             // cut off
        {"\xC0\xAF" "b", u"\uFFFD\uFFFDb"},          // overlong '/'
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},     // encoded surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // past U+10FFFF
        {"\x80z", u"\uFFFDz"},
    };
    for (const auto& c : brokenUtf8) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(Utf8ToUtf16(c.utf8), c.wide);
    }
    EXPECT_EQ(Utf16ToUtf8(std::u16string{u'a', 0xD800, u'b', 0xDC00}), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD");
}

}  // namespace
}  // namespace kestrum
