#include "textasm/BlockText.h"
#include "tests/support/CharRecords.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace kestrum {
namespace {

constexpr const char* kSong = "\xCB\xCE\xCC\xE5";  // 宋体
constexpr const char* kHei = "\xBA\xDA\xCC\xE5";   // 黑体
constexpr uint16_t kZhong = 0xD6D0;                 // 中
constexpr uint16_t kWen = 0xCEC4;                   // 文
const std::string kIndent = "\xA1\xA1\xA1\xA1";
const std::string kWide = "\xA1\xA1";

// A character on the baseline y = 0 starting at `left`, one em wide.
St_WordInfo At(uint16_t code, int32_t left, int32_t size = 920, const char* font = kSong) {
    return testing::CharAt(code, left, size, font);
}

// A vertical character of a column at x = 0 whose box starts at `top`.
St_WordInfo Down(uint16_t code, int32_t top, int32_t size = 920) {
    St_WordInfo w = At(code, 0, size);
    w.bVertical = 1;
    w.nY = top + size;
    w.rcChar = MakeRect(0, top, size, top + size);
    return w;
}

CBaseBlock Block(int32_t kind, std::initializer_list<St_WordInfo> chars, int32_t article = 1) {
    CBaseBlock b;
    b.m_nKind = kind;
    b.m_nArticle = article;
    b.m_arrChars = chars;
    return b;
}

std::string Tag(const char* font, int size) {
    return std::string("<font face = \"") + font + "\"  size = \"" + std::to_string(size) + "\">";
}
std::string Element(const std::string& tag, const std::string& text) { return tag + " <![CDATA[" + text + "]]></font>"; }

std::string Build(CBaseBlock& b) { return BuildBlockText(b, {}, {}); }

TEST(BlockText, BodyBlockIsIndentedAndItsHtmlHoldsOneRun) {
    CBaseBlock body = Block(kBlockBody, {At(kZhong, 0), At(kWen, 920)});
    EXPECT_EQ(Build(body), kIndent + "\xD6\xD0\xCE\xC4");
    EXPECT_EQ(body.m_strParaHtml, "<p>" + Element(Tag(kSong, 920), "\xD6\xD0\xCE\xC4") + "</p>");
    EXPECT_EQ(body.m_strParaHtml,
              "<p><font face = \"\xCB\xCE\xCC\xE5\"  size = \"920\"> <![CDATA[\xD6\xD0\xCE\xC4]]></font></p>");

    CBaseBlock title = Block(kBlockTitle, {At(kZhong, 0), At(kWen, 920)});
    EXPECT_EQ(Build(title), "\xD6\xD0\xCE\xC4");
    EXPECT_EQ(title.m_strParaHtml, body.m_strParaHtml);
}

TEST(BlockText, GapsBecomeSpacesByTheUnitsOfTheirCharacters) {
    const std::string zw = "\xD6\xD0";
    struct Case {
        const char* what;
        St_WordInfo first, second;
        std::string text;
    };
    St_WordInfo nextLine = At(kWen, 5000);
    nextLine.nY = 2000;
    const Case cases[] = {
        {"Chinese, gap 1500: two units of 736", At(kZhong, 0), At(kWen, 920 + 1500), zw + kWide + kWide + "\xCE\xC4"},
        {"Chinese, gap 400: one narrow space", At(kZhong, 0), At(kWen, 920 + 400), zw + " \xCE\xC4"},
        {"Chinese, gap 650: nothing", At(kZhong, 0), At(kWen, 920 + 650), zw + "\xCE\xC4"},
        {"Chinese, gap 294: nothing", At(kZhong, 0), At(kWen, 920 + 294), zw + "\xCE\xC4"},
        {"Latin, gap 300: one narrow space", At('a', 0), At('b', 920 + 300), "a b"},
        {"Latin, gap 600: one unit of 598", At('a', 0), At('b', 920 + 600), "a b"},
        {"Latin, gap 1200: two units", At('a', 0), At('b', 920 + 1200), "a  b"},
        {"Latin after Chinese, gap 400: nothing", At(kZhong, 0), At('b', 920 + 400), zw + "b"},
        {"vertical, same column, gap 1500", Down(kZhong, 0), Down(kWen, 920 + 1500), zw + kWide + kWide + "\xCE\xC4"},
        {"next line: nothing", At(kZhong, 0), nextLine, zw + "\xCE\xC4"},
        {"Latin, gap of 511 units", At('a', 0), At('b', 920 + 598 * 511 + 100), "a" + std::string(511, ' ') + "b"},
        {"Latin, gap of 512 units: the most one gap gives", At('a', 0), At('b', 920 + 598 * 512 + 100),
         "a" + std::string(512, ' ') + "b"},
        {"Latin, gap of 100000 units", At('a', 0), At('b', 920 + 598 * 100000), "a" + std::string(512, ' ') + "b"},
    };
    for (const Case& c : cases) {
        CBaseBlock title = Block(kBlockTitle, {c.first, c.second});
        EXPECT_EQ(Build(title), c.text) << c.what;
    }
}

TEST(BlockText, ParagraphMarkersBreakLinesAndAFinalOneAddsNothing) {
    CBaseBlock body = Block(kBlockBody, {At(kZhong, 0), St_WordInfo::ParagraphMarker(), At(kWen, 0),
                                         St_WordInfo::ParagraphMarker()});
    EXPECT_EQ(Build(body), kIndent + "\xD6\xD0\r\n" + kIndent + "\xCE\xC4");
    EXPECT_EQ(body.m_strParaHtml, "<p>" + Element(Tag(kSong, 920), "\xD6\xD0\r\n\xCE\xC4") + "</p>");

    CBaseBlock title = Block(kBlockTitle, {At(kZhong, 0), St_WordInfo::ParagraphMarker(), At(kWen, 0)});
    EXPECT_EQ(Build(title), "\xD6\xD0\r\n\xCE\xC4");
}

TEST(BlockText, IndentsStayOutOfEveryRunOfTheHtml) {
    const St_WordInfo marker = St_WordInfo::ParagraphMarker();
    CBaseBlock body = Block(kBlockBody, {At(kZhong, 0), marker, At(kWen, 0, 1800), marker, At(kZhong, 0, 1800)});
    EXPECT_EQ(Build(body), kIndent + "\xD6\xD0\r\n" + kIndent + "\xCE\xC4\r\n" + kIndent + "\xD6\xD0");
    EXPECT_EQ(body.m_strParaHtml, "<p>" + Element(Tag(kSong, 920), "\xD6\xD0\r\n") +
                                      Element(Tag(kSong, 1800), "\xCE\xC4\r\n\xD6\xD0") + "</p>");

    CBaseBlock leading = Block(kBlockBody, {marker, At(kWen, 0)});
    EXPECT_EQ(Build(leading), "\r\n" + kIndent + "\xCE\xC4");
    // A run whose tag was never taken gets the first character's: here the marker's.
    EXPECT_EQ(leading.m_strParaHtml, "<p>" + Element(Tag(kParagraphFont, 920), "\r\n\xCE\xC4") + "</p>");
}

TEST(BlockText, AnotherSizeStartsARunAndTheGapStaysWithTheRunThatEnds) {
    // Mean size 1360: a unit of 1088, so a gap of 1500 is one wide space.
    CBaseBlock title = Block(kBlockTitle, {At(kZhong, 0), At(kWen, 920 + 1500, 1800)});
    EXPECT_EQ(Build(title), "\xD6\xD0" + kWide + "\xCE\xC4");
    EXPECT_EQ(title.m_strParaHtml,
              "<p>" + Element(Tag(kSong, 920), "\xD6\xD0" + kWide) + Element(Tag(kSong, 1800), "\xCE\xC4") + "</p>");
}

TEST(BlockText, PunctuationAndLatinInAnotherFontJoinTheCurrentRun) {
    CBaseBlock title = Block(kBlockTitle, {At(kZhong, 0), At(0xA3AC, 920, 920, kHei), At('A', 1840, 920, kHei),
                                           At(kWen, 2760)});
    EXPECT_EQ(Build(title), "\xD6\xD0\xA3\xAC" "A\xCE\xC4");
    EXPECT_EQ(title.m_strParaHtml, "<p>" + Element(Tag(kSong, 920), "\xD6\xD0\xA3\xAC" "A\xCE\xC4") + "</p>");

    // A Chinese character of the other font does end the run.
    CBaseBlock two = Block(kBlockTitle, {At(kZhong, 0), At(0xA3AC, 920, 920, kHei), At(kWen, 1840, 920, kHei)});
    Build(two);
    EXPECT_EQ(two.m_strParaHtml,
              "<p>" + Element(Tag(kSong, 920), "\xD6\xD0\xA3\xAC") + Element(Tag(kHei, 920), "\xCE\xC4") + "</p>");
}

// "]]>" in the text would close the section and let what follows pass as markup; a
// "]" that is the second byte of a character closes nothing.
TEST(BlockText, SectionEndsInTheTextSplitTheSection) {
    CBaseBlock title = Block(kBlockTitle, {At(']', 0), At(']', 920), At('>', 1840), At('<', 2760), At(kZhong, 3680)});
    EXPECT_EQ(Build(title), "]]><\xD6\xD0");
    EXPECT_EQ(title.m_strParaHtml, "<p>" + Element(Tag(kSong, 920), "]]]]><![CDATA[><\xD6\xD0") + "</p>");

    CBaseBlock trail = Block(kBlockTitle, {At(0x815D, 0), At(']', 920), At('>', 1840)});
    EXPECT_EQ(Build(trail), "\x81]]>");
    EXPECT_EQ(trail.m_strParaHtml, "<p>" + Element(Tag(kSong, 920), "\x81]]>") + "</p>");
}

TEST(BlockText, TextOutsideArticlesHasNoHtml) {
    CBaseBlock loose = Block(kBlockBody, {At(kZhong, 0), At(kWen, 920)}, -1);
    EXPECT_EQ(Build(loose), kIndent + "\xD6\xD0\xCE\xC4");
    EXPECT_TRUE(loose.m_strParaHtml.empty());
}

TEST(BlockText, SymbolFontCharactersShowAsABlackCircleInBothRenderings) {
    const char* symbolFont = "\xBB\xAA\xB9\xE2\xC5\xC5\xB0\xE6\xB7\xFB\xBA\xC5\xBF\xE2\xA3\xB2";  // 华光排版符号库２
    CBaseBlock title = Block(kBlockTitle, {At(kZhong, 0), At(0xB0A1, 920, 920, symbolFont)});
    EXPECT_EQ(Build(title), "\xD6\xD0\xA1\xF1");
    EXPECT_EQ(title.m_strParaHtml,
              "<p>" + Element(Tag(kSong, 920), "\xD6\xD0") + Element(Tag(symbolFont, 920), "\xA1\xF1") + "</p>");
}

TEST(BlockText, AHostileGapStaysBounded) {
    // One unit of 0.65 page units against a gap of two thousand million.
    St_WordInfo a = At('a', 0, 1), b = At('b', 0, 1);
    b.rcChar.left = 2000000000;
    CBaseBlock far = Block(kBlockTitle, {a, b});
    EXPECT_LT(Build(far).size(), 10000u);
}

}  // namespace
}  // namespace kestrum
