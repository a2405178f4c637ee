#include "platform/Mbcs.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

constexpr size_t npos = std::string_view::npos;

TEST(PlatformMbcs, FindNeverStartsAtATrailByte) {
    struct Case {
        std::string text;
        std::string what;
        size_t from;
        size_t expected;
    };
    const Case cases[] = {
        {"\x81\x5C(", "\\(", 0, npos},                   // the trail of 0x815C is not a '\'
        {"\x81\x5C(\\(", "\\(", 0, 3},
        {"\xCB\xCE\x5B\xCC\xE5[", "[", 0, 2},            // 宋 then a real '['
        {"\xB0\x5B\xB0\x5D]", "]", 0, 4},                // trail bytes '[' and ']'
        {"\xB0\xB0\xB0", "\xB0\xB0", 0, 0},
        {"a\xB0\xB0\xB0\xB0", "\xB0\xB0", 0, 1},
        {"a\xB0\xB0\xB0\xB0", "\xB0\xB0", 3, 3},
        {"xyz\xCB", "\xCB", 0, 3},                       // lone lead byte at the end
        {"\xB0\xB0\x41", "A", 0, 2},                     // an even run of lead bytes before the hit
        {"\xB0\xB0\xB0\x41", "A", 0, npos},             // an odd run: 'A' is the trail of B041
        {"\xB0\xB0\xB0\x41" "A", "A", 0, 4},
        {"abcabc", "abc", 1, 3},
        {"abc", "", 2, 2},
        {"abc", "", 3, 3},
        {"abc", "", 4, npos},
        {"abc", "c", 9, npos},
        {"ab", "abc", 0, npos},
        {"", "a", 0, npos},
        // long runs of lead-range bytes before the hit, as after a shown string
        {std::string(37, '\xB0') + ")", ")", 0, npos},
        {std::string(36, '\xB0') + ")", ")", 0, 36},
        {"\x80" + std::string(33, '\xB0') + ")", ")", 0, npos},
        {std::string(20, '\xB0') + "\xFF" + std::string(16, '\xB0') + ")", ")", 0, 37},
        {"\xFE\x81" + std::string(30, '\xC0') + ")", ")", 0, 32},
        {std::string(32, '\xB0') + ")", ")", 6, 32},
        {std::string(32, '\xB0') + ")", ")", 5, npos},
        // markers that begin with digits and spaces, as the page's operators do
        {"1 12 12 x", " 12 x", 0, 4},
        {"a 1 1 ", " 1 ", 0, 1},
        {" m x", " m", 0, 0},
        {"ab m", " m ", 0, npos},
        {"0 m 0 0 m ", "0 m ", 1, 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text + " / " + c.what);
        EXPECT_EQ(MbFind(c.text, c.what, c.from), c.expected);
    }
}

TEST(PlatformMbcs, FindWalksLongRunsOfTrailLookalikes) {
    // Every second byte looks like the marker: a scan that restarts at each
    // candidate would be quadratic here.
    std::string text;
    for (int i = 0; i < 200000; ++i) text += "\x81\x5C";
    text += "\\";
    EXPECT_EQ(MbFind(text, "\\"), text.size() - 1);
    EXPECT_EQ(MbFindLast(text, "\\"), text.size() - 1);
}

TEST(PlatformMbcs, FindLast) {
    EXPECT_EQ(MbFindLast("a.b.c", "."), 3u);
    EXPECT_EQ(MbFindLast(".\x81.", "."), 0u);  // the second '.' is a trail byte
    EXPECT_EQ(MbFindLast("aaaa", "aa"), 2u);
    EXPECT_EQ(MbFindLast("abc", "x"), npos);
    EXPECT_EQ(MbFindLast("abc", ""), 3u);
    EXPECT_EQ(MbFindLast("\xB0\xB0[", "["), 2u);
    EXPECT_EQ(MbFindLast("[\xB0\xB0\xB0[", "["), 0u);
    // Every later '[' is a trail byte: each is judged by the lead byte before it alone.
    std::string trails = "[";
    for (int i = 0; i < 200000; ++i) trails += "\x81[";
    EXPECT_EQ(MbFindLast(trails, "["), 0u);
}

TEST(PlatformMbcs, ReplaceAll) {
    struct Case {
        std::string text;
        std::string from;
        std::string to;
        std::string expected;
        size_t count;
    };
    const Case cases[] = {
        {"a\\(b\\(", "\\(", "(", "a(b(", 2},
        {"\x81\x5C(x\\(", "\\(", "(", "\x81\x5C(x(", 1},  // trail byte left alone
        {"aaaa", "aa", "a", "aa", 2},                     // non-overlapping, left to right
        {"aaa", "a", "aa", "aaaaaa", 3},                  // replacement not rescanned
        {"abc", "x", "y", "abc", 0},
        {"abc", "", "y", "abc", 0},
        {"abc", "b", "", "ac", 1},
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        EXPECT_EQ(MbReplaceAll(text, c.from, c.to), c.count) << c.text;
        EXPECT_EQ(text, c.expected) << c.text;
    }
}

TEST(PlatformMbcs, CompareNoCase) {
    struct Case {
        std::string a;
        std::string b;
        int sign;
    };
    const Case cases[] = {
        {"ShowPage", "SHOWPAGE", 0},
        {"abc", "abd", -1},
        {"abd", "ABC", 1},
        {"ab", "abc", -1},
        {"", "", 0},
        {"\x81\x41", "\x81\x61", -1},              // trail bytes 'A' and 'a' are not letters
        {"\xCB\xCE" "A", "\xCB\xCE" "a", 0},
        {"\xCB", "\xCB\xCE", -1},                  // lone lead byte at the end
        {"[", "a", -1},                            // folds to lower case like _stricmp
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.a + " / " + c.b);
        const int r = MbCompareNoCase(c.a, c.b);
        EXPECT_EQ((r > 0) - (r < 0), c.sign);
        const int back = MbCompareNoCase(c.b, c.a);
        EXPECT_EQ((back > 0) - (back < 0), -c.sign);
    }
}

TEST(PlatformMbcs, SubstringsStayInsideTheText) {
    EXPECT_EQ(Mid("abcdef", 2, 3), "cde");
    EXPECT_EQ(Mid("abcdef", 4), "ef");
    EXPECT_EQ(Mid("abcdef", 4, 100), "ef");
    EXPECT_EQ(Mid("abcdef", 6), "");
    EXPECT_EQ(Mid("abcdef", npos, npos), "");
    EXPECT_EQ(Left("abc", 2), "ab");
    EXPECT_EQ(Left("abc", 10), "abc");
    EXPECT_EQ(Before("12 34 Tf", " Tf"), "12 34");
    EXPECT_EQ(Before("12 34", " Tf"), "12 34");
    EXPECT_EQ(After("(x) show", ") "), "show");
    EXPECT_EQ(After("(x) show", "]"), "");
    EXPECT_EQ(Before("\x81\x5C(a\\(b", "\\("), "\x81\x5C(a");
}

TEST(PlatformMbcs, Trim) {
    EXPECT_EQ(Trim(" \t\r\nab c\v\f "), "ab c");
    EXPECT_EQ(TrimLeft("  a "), "a ");
    EXPECT_EQ(TrimRight("  a "), "  a");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(TrimLeftChar("((a(", '('), "a(");
    EXPECT_EQ(TrimRightChar("a))", ')'), "a");
    // The ']' of 0xB05D is half of a character.
    EXPECT_EQ(TrimRightChar("x\xB0]]", ']'), "x\xB0]");
    EXPECT_EQ(TrimRightChar("\xB0]", ']'), "\xB0]");
}

}  // namespace
}  // namespace kestrum
