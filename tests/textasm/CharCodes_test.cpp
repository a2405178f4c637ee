#include "textasm/CharCodes.h"

#include "psreader/PSParser.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

constexpr const char* kSymbolFont1 = "\xBB\xAA\xB9\xE2\xC5\xC5\xB0\xE6\xB7\xFB\xBA\xC5\xBF\xE2\xA3\xB1";  // 华光排版符号库１
constexpr const char* kSong = "\xCB\xCE\xCC\xE5";  // 宋体

St_WordInfo Char(uint16_t code, const char* font = kSong, int32_t height = 920) {
    St_WordInfo w;
    w.wCode = code;
    w.strFontName = font;
    w.strFontName2 = font;
    w.nHeight = height;
    return w;
}

struct TextCase {
    const char* what;
    uint16_t code;
    const char* font;
    std::string text;  // bytes expected
};

TEST(TextCodes, CharToTextTurnsPageCodesIntoText) {
    const TextCase cases[] = {
        {"symbol font, any code", 0xB0A1, kSymbolFont1, "\xA1\xF1"},
        {"symbol font, ASCII code", 0x41, kSymbolFont1, "\xA1\xF1"},
        {"full-width digit", 0xA3B5, kSong, "5"},
        {"full-width digit in a symbol font", 0xA3B5, kSymbolFont1, "\xA1\xF1"},
        {"vertical comma", 0xA6D9, kSong, "\xA3\xAC"},
        {"vertical corner bracket takes the first row", 0xA6E8, kSong, "\xA1\xAE"},
        {"vertical lenticular bracket", 0xA6EE, kSong, "\xA1\xBE"},
        {"horizontal punctuation unchanged", 0xA1B8, kSong, "\xA1\xB8"},
        {"Chinese character", 0xD6D0, kSong, "\xD6\xD0"},
        {"ASCII", 0x41, kSong, "A"},
        {"code 0", 0x0000, kSong, ""},
    };
    CPSParser reader;  // its replacement list holds the full-width digits
    for (const TextCase& c : cases) {
        St_WordInfo ch = Char(c.code, c.font);
        EXPECT_EQ(CharToText(ch, reader.m_arrReplaceCodes, reader.m_arrSymbolCodes), c.text) << c.what;
    }
}

TEST(TextCodes, CharToTextLeavesTheReplacementButNotTheHorizontalFormInTheCode) {
    CPSParser reader;
    St_WordInfo digit = Char(0xA3B0);
    CharToText(digit, reader.m_arrReplaceCodes, reader.m_arrSymbolCodes);
    EXPECT_EQ(digit.wCode, '0');

    St_WordInfo comma = Char(0xA6D9);
    CharToText(comma, reader.m_arrReplaceCodes, reader.m_arrSymbolCodes);
    EXPECT_EQ(comma.wCode, 0xA6D9);

    St_WordInfo symbol = Char(0xB0A1, kSymbolFont1);
    const St_ReplaceCode symbols[] = {{0xB0A1, 0xA1EE}, {0xB0A1, 0xA1EF}};
    EXPECT_EQ(CharToText(symbol, {}, symbols), "\xA1\xEE");
}

TEST(TextCodes, PunctuationTablesAnswerTheFirstIndex) {
    EXPECT_EQ(FindHorzPunct(0xA1A2), 0);
    EXPECT_EQ(FindHorzPunct(0xA5F8), 33);
    EXPECT_EQ(FindVertPunct(0xA6E8), 4);
    EXPECT_EQ(FindVertPunct(0xA6EF), 19);
    EXPECT_EQ(FindVertPunct(0xA6ED), 33);
    EXPECT_EQ(FindHorzPunct(0xA6D9), -1);
    EXPECT_EQ(FindVertPunct(0xA3AC), -1);
    EXPECT_EQ(FindHorzPunct(0xD6D0), -1);
}

TEST(TextCodes, IsSameRunEndsRunsOnlyAtAnotherFontOrSizeOfAFullCharacter) {
    struct Case {
        const char* what;
        St_WordInfo ref;
        St_WordInfo ch;
        int refIndex;
        int expected;
    };
    const Case cases[] = {
        {"no reference yet", Char(0xD6D0, kSong, 920), Char(0xCEC4, "X", 1800), -1, 1},
        {"Latin letter after another font", Char(0xD6D0, kSong), Char('A', "X", 1800), 0, 1},
        {"comma in another font", Char(0xD6D0, kSong), Char(0xA3AC, "X"), 0, 1},
        {"vertical comma in another font", Char(0xD6D0, kSong), Char(0xA6D9, "X"), 0, 1},
        {"size 920 to 1800", Char(0xD6D0, kSong, 920), Char(0xCEC4, kSong, 1800), 0, 0},
        {"another font", Char(0xD6D0, kSong), Char(0xCEC4, "\xBA\xDA\xCC\xE5"), 0, 0},
        {"font names differ in case only", Char(0xD6D0, "FZSSK"), Char(0xCEC4, "fzssk"), 0, 1},
        {"paragraph marker as reference", St_WordInfo::ParagraphMarker(), Char(0xCEC4, kSong, 1800), 0, 1},
    };
    for (const Case& c : cases) {
        CBaseBlock block;
        block.m_arrChars = {c.ref};
        EXPECT_EQ(IsSameRun(block, c.refIndex, c.ch), c.expected) << c.what;
    }
}

}  // namespace
}  // namespace kestrum
