// CMYK conversion, grey levels and Separation colour spaces.
#include "pscontent/Colour.h"
#include "psreader/PSParser.h"
#include "psreader/PageFile.h"
#include "tests/support/PsPageWriter.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrum {
namespace {

using testing::PsInk;
using testing::PsPageWriter;

uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return r | g << 8 | b << 16; }

TEST(PsColour, CmykPercentagesToRgb) {
    struct Case {
        int32_t c, m, y, k;
        uint32_t colour;
    };
    const std::vector<Case> cases = {
        {0, 0, 0, 0, 0x00FFFFFF},   {0, 0, 0, 100, 0},           {100, 0, 0, 0, 0x00FFFF00},
        {0, 100, 0, 0, 0x00FF00FF}, {0, 0, 100, 0, 0x0000FFFF}, {50, 0, 0, 0, Rgb(127, 255, 255)},
        {60, 0, 0, 50, Rgb(0, 127, 127)}, {-5, 0, 0, 0, Rgb(0, 255, 255)},
        {2147483647, 0, 0, 2147483647, 0},  // sums beyond 32 bits still count as above 100
    };
    for (const Case& c : cases) EXPECT_EQ(CmykToColour(c.c, c.m, c.y, c.k), c.colour) << c.c << " " << c.k;
    EXPECT_EQ(GreyToColour(1.0f), 0x00FFFFFFu);
    EXPECT_EQ(GreyToColour(0.0f), 0u);
    EXPECT_EQ(GreyToColour(0.5f), Rgb(127, 127, 127));
}

TEST(PsColour, SeparationLinesColourTheTextAfterThem) {
    struct Case {
        const char* name;
        uint32_t colour;
    };
    const std::vector<Case> cases = {
        {"/Cyan", Rgb(178, 255, 255)},
        {"/Magenta", Rgb(255, 178, 255)},
        {"/Black", Rgb(178, 178, 178)},
        {"/PANTONE", 0},  // a spot colour leaves the colour as it was
    };
    for (const Case& c : cases) {
        PsPageWriter page;
        page.article(1).translate(0, 0).font("JBHGSS", 920).separation(c.name, 0.3).show(0, 0, "A", {}).endArticle();
        testing::TempDir dir;
        CPSParser reader;
        ASSERT_TRUE(reader.Open(dir.Write("page.ps", page.bytes())));
        reader.ParsePage();
        ASSERT_EQ(reader.m_arrBlocks.size(), 1u);
        EXPECT_EQ(reader.m_arrBlocks[0].m_arrChars.at(0).crColor, c.colour) << c.name;
    }
}

TEST(PsColour, TheTintLineIsConsumedWhateverTheName) {
    CPSParser reader;
    PageFile file("0.3 setcolor\nnext\n");
    std::string line = "[ /Separation /Spot /DeviceCMYK { dup 0 0 0 } ] setcolorspace";
    uint32_t colour = 42;
    EXPECT_TRUE(reader.ReadSeparationColour(file, line, colour));
    EXPECT_EQ(colour, 42u);
    EXPECT_EQ(line, "/Spot");
    EXPECT_EQ(file.Tell(), 13u);
    std::string plain = "0 0 0 1 sc";
    EXPECT_FALSE(reader.ReadSeparationColour(file, plain, colour));
    EXPECT_EQ(file.Tell(), 13u);
}

TEST(PsColour, BoxesTakeTheColourOfTheLinesBefore) {
    struct Case {
        const char* name;
        std::vector<std::string> before;
        uint32_t colour;
    };
    const std::vector<Case> cases = {
        {"nothing", {"% comment line"}, kDefaultRuleColour},
        {"grey", {"0.5 sg"}, Rgb(127, 127, 127)},
        {"separation", {"[ /Separation /Magenta /DeviceCMYK { dup 0 0 0 } ] setcolorspace", "0.5 setcolor"},
         Rgb(255, 127, 255)},
    };
    for (const Case& c : cases) {
        PsPageWriter page;
        for (const std::string& l : c.before) page.line(l);
        page.box(0, 0, 10, 10);
        testing::TempDir dir;
        CPSParser reader;
        ASSERT_TRUE(reader.Open(dir.Write("page.ps", page.bytes())));
        reader.ParsePage();
        ASSERT_EQ(reader.m_arrBlocks.size(), 1u);
        EXPECT_EQ(reader.m_arrBlocks[0].m_arrChars.at(0).crColor, c.colour) << c.name;
    }
}

}  // namespace
}  // namespace kestrum
