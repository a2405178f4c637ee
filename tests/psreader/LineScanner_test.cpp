// The line reader's chunks and positions, and the operand operations of page lines.
#include "psreader/LineReader.h"
#include "psreader/LineScanner.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include <string>
#include <vector>

namespace kestrum {
namespace {

std::vector<size_t> ChunkLengths(std::string_view bytes) {
    LineReader reader(bytes);
    std::vector<size_t> lengths;
    std::string_view line;
    while (reader.ReadLine(line)) lengths.push_back(line.size());
    return lengths;
}

TEST(PsScanner, LongLinesArriveInChunksOfAtMost1023Bytes) {
    std::string line1500 = std::string(1499, 'x') + "\n";
    EXPECT_EQ(ChunkLengths(line1500), (std::vector<size_t>{1023, 477}));
    EXPECT_EQ(ChunkLengths("ab\ncd"), (std::vector<size_t>{3, 2}));
    EXPECT_EQ(ChunkLengths(std::string(1023, 'y')), (std::vector<size_t>{1023}));
}

TEST(PsScanner, TextEndsAtAZeroByteWhileThePositionPassesTheWholeChunk) {
    LineReader reader(std::string_view("ab\0cd\nef\n", 9));
    std::string_view line;
    ASSERT_TRUE(reader.ReadLine(line));
    EXPECT_EQ(line, "ab");
    EXPECT_EQ(reader.Tell(), 6u);
    ASSERT_TRUE(reader.ReadLine(line));
    EXPECT_EQ(line, "ef\n");
}

TEST(PsScanner, SeeksFailBeforeTheStartAndReadNothingPastTheEnd) {
    LineReader reader("line one\nline two\n");
    std::string_view line;
    reader.ReadLine(line);
    EXPECT_FALSE(reader.SeekRelative(-10));
    EXPECT_EQ(reader.Tell(), 9u);
    EXPECT_TRUE(reader.SeekRelative(-4));
    ASSERT_TRUE(reader.ReadLine(line));
    EXPECT_EQ(line, "one\n");
    EXPECT_TRUE(reader.Seek(100));
    EXPECT_FALSE(reader.ReadLine(line));
    EXPECT_TRUE(reader.SeekRelative(-100));
    EXPECT_EQ(reader.Tell(), 0u);
}

TEST(PsScanner, SplitNumbersFollowsAtofAndLeavesUnreachedValues) {
    struct Case {
        const char* text;
        size_t count;
        std::vector<float> expected;  // starting from {9, 9, 9, 9}
    };
    const std::vector<Case> cases = {
        {"0 0 595 842", 4, {0, 0, 595, 842}},
        {"1 2", 4, {1, 2, 9, 9}},
        {"1  2   3", 4, {1, 2, 3, 9}},
        {"", 4, {9, 9, 9, 9}},
        {"1 2 3 4 5", 4, {1, 2, 3, 4}},
        {" 7 8", 4, {0, 7, 8, 9}},
        {"1.5e1 -.5 abc 4x", 4, {15, -0.5f, 0, 4}},
        {"-12 +3 4\t5 -", 4, {-12, 3, 4, 0}},
        {"1234567890123456 2  ", 4, {1234567890123456.0f, 2, 9, 9}},
        {"12. 0x10 1e2", 4, {12, 16, 100, 9}},
        // one token said again and again
        {"920 920 920", 2, {920, 920, 9, 9}},
        {"-1 -1 -1 -1 -1", 4, {-1, -1, -1, -1}},
        {"1e1 1e1", 4, {10, 10, 9, 9}},
        {"5 5 5 ", 4, {5, 5, 5, 9}},
        {"5 55", 4, {5, 55, 9, 9}},
        {"55 5", 4, {55, 5, 9, 9}},
        {"5 5  5", 4, {5, 5, 5, 9}},
    };
    for (const Case& c : cases) {
        std::vector<float> values = {9, 9, 9, 9};
        EXPECT_TRUE(SplitNumbers(c.text, ' ', c.count, values.data()));
        EXPECT_EQ(values, c.expected) << c.text;
    }
}

TEST(PsScanner, SplitNumbersReadsIntegersOfEveryLengthAsStrtodDoes) {
    // Tokens of one to seventeen digits, signed and not, followed by what ends them.
    std::string text;
    std::vector<std::string> tokens;
    for (int digits = 1; digits <= 17; ++digits) {
        std::string number;
        for (int d = 0; d < digits; ++d) number += static_cast<char>('1' + (d * 7 + digits) % 9);
        tokens.push_back(number);
        tokens.push_back("-" + number);
        tokens.push_back(number + ".5");
        tokens.push_back(number + "e2");
        tokens.push_back("0" + number);
    }
    for (const std::string& token : tokens) text += token + "   ";
    std::vector<float> values(tokens.size(), -1.0f);
    ASSERT_TRUE(SplitNumbers(text, ' ', values.size(), values.data()));
    for (size_t i = 0; i < tokens.size(); ++i)
        EXPECT_EQ(values[i], static_cast<float>(std::strtod(tokens[i].c_str(), nullptr))) << tokens[i];
}

TEST(PsScanner, SplitNumbersReadsRepeatedTokensAnew) {
    // Neighbours that share their first bytes with the token before them.
    const char* texts[] = {
        "920 920 9200 920 92 920.5 920.5 920 -920 -920 920",
        "0.5 0.5 0.50 0.5 .5 0.5",
        "1234567 1234567 12345678 1234567 12345670 1234567",
        "7 7 7\t7 7x 7 77 7",
    };
    for (const char* text : texts) {
        std::vector<std::string> tokens;
        for (size_t at = 0, next; at < std::strlen(text); at = next + 1) {
            next = std::string_view(text).find(' ', at);
            if (next == std::string_view::npos) next = std::strlen(text);
            tokens.emplace_back(text + at, next - at);
        }
        std::vector<float> values(tokens.size(), -1.0f);
        ASSERT_TRUE(SplitNumbers(text, ' ', values.size(), values.data()));
        for (size_t i = 0; i < tokens.size(); ++i)
            EXPECT_EQ(values[i], static_cast<float>(std::strtod(tokens[i].c_str(), nullptr))) << text << " #" << i;
    }
}

TEST(PsScanner, ExtractShowTextTakesLiteralAndHexadecimalOperands) {
    struct Case {
        const char* name;
        std::string line;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"literal", "1000 2000 m (\xB0\xA1\xB0\xA2) [1000 1000 ] fxs", "\xB0\xA1\xB0\xA2"},
        {"escaped parentheses", "0 0 m (a\\(b\\)c\\\\d) [1 ] fxs", "a(b)c\\d"},
        {"trail byte 0x5C before a parenthesis", "0 0 m (\x95\x5C(x) [1 ] fxs", "\x95\x5C(x"},
        {"bracket right after the literal", "0 0 m (AB)[1 ] fxs", "AB"},
        {"hexadecimal two-byte codes", "0 0 m <B0A1B0A2> [1 1 ] fxs", "\xB0\xA1\xB0\xA2"},
        {"hexadecimal single bytes", "0 0 m <00410042> [1 1 ] fxs", "AB"},
        {"hexadecimal after mo", "0 0 mo <0041>s", "A"},
        {"last '>' before the operand", "x> 0 0 m <41", ""},
        {"no operand", "0 0 m 12 ] fxs", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(ExtractShowText(c.line), c.expected) << c.name;
}

TEST(PsScanner, MirroredConcatIsANegativeTranslation) {
    EXPECT_TRUE(IsMirroredConcat("[1 0 0 1 10 -5] concat"));
    EXPECT_TRUE(IsMirroredConcat("[1 0 0 1 -10 5] concat"));
    EXPECT_FALSE(IsMirroredConcat("[1 0 0 1 10 5] concat"));
    EXPECT_FALSE(IsMirroredConcat("[1 0 0 1 -10 -5] translate"));
    EXPECT_FALSE(IsMirroredConcat("[1 0 0 1] concat"));  // missing numbers count as 0
}

TEST(PsScanner, TakeCharRemovesOneCharacter) {
    struct Case {
        std::string text;
        int result;
        uint16_t code;
        size_t left;
    };
    const std::vector<Case> cases = {
        {"\xB0\xA1x", 1, 0xB0A1, 1},
        {"Ax", 0, 'A', 1},
        {"\xB0", 1, 0xB000, 0},  // a lone lead byte at the end takes no byte beyond the text
    };
    for (const Case& c : cases) {
        std::string_view text = c.text;
        uint16_t code = 0;
        EXPECT_EQ(TakeChar(text, code), c.result);
        EXPECT_EQ(code, c.code);
        EXPECT_EQ(text.size(), c.left);
    }
}

}  // namespace
}  // namespace kestrum
