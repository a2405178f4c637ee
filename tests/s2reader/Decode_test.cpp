// What the stream walk makes of an S2 page before the host sees it: the link numbers
// that tell the article assembly which blocks were set together, and layout codes.
#include "model/PicBlock.h"
#include "model/TextBlock.h"
#include "parser/Image.h"
#include "s2reader/S2Parser.h"
#include "tests/support/S2Writer.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <vector>

namespace kestrum {
namespace {

using testing::S2Writer;

// The blocks of a page decoded and built, before any article is made.
std::vector<const CTextBlock*> Blocks(CS2Parser& reader, const S2Writer& stream, const testing::TempDir& dir) {
    EXPECT_TRUE(reader.Open(dir.Write("page.s2", S2Writer().ShortHeader(20000, 20000).Bytes(stream.Data()).Data())));
    reader.DecodePage();
    reader.BuildBlocks();
    return {reader.m_arrTextBlocks.begin(), reader.m_arrTextBlocks.end()};
}

TEST(S2Decode, LinkNumbersAreTheItemsOwnPositions) {
    S2Writer stream;
    stream.SizeNumbers(5, 5)
        .SetLine(1000).Glyph(100, 'a').EndItem()               // item 1, not linked
        .SetLine(1000).Space().EndItem()                       // item 2, no glyphs: no block, still counted
        .Link().SetLine(1000).Glyph(100, 'b').SetLine(9000).Glyph(100, 'c').EndItem()  // item 3, linked
        .SizeNumbers(5, 5).SetLine(1000).Glyph(100, 'd')       // item 4
        .SizeNumbers(9, 9).Glyph(200, 'e');                    // item 5, opened by the size change
    testing::TempDir dir;
    CS2Parser reader;
    const std::vector<const CTextBlock*> blocks = Blocks(reader, stream, dir);
    ASSERT_EQ(blocks.size(), 4u);
    const std::vector<std::pair<std::string, int32_t>> expected = {{"a", 0}, {"bc", 3}, {"d", 0}, {"e", 5}};
    for (size_t i = 0; i < blocks.size(); ++i) {
        EXPECT_EQ(blocks[i]->m_strText, expected[i].first);
        EXPECT_EQ(blocks[i]->m_nArticle, expected[i].second) << blocks[i]->m_strText;
    }
    EXPECT_EQ(reader.m_nItemCount, 5);
}

struct LayoutCase {
    const char* name;
    S2Writer glyphs;  // after size numbers 5/5 (100 x 100) and line 1000
    int32_t layout;
    double fontSize;
};

TEST(S2Decode, LayoutFromGlyphPositions) {
    const std::vector<LayoutCase> cases = {
        {"one glyph stays undetermined", S2Writer().Glyph(100, 'a'), 0, 100.0},
        {"rightwards", S2Writer().Glyph(100, 'a').Glyph(200, 'b'), 1, 100.0},
        {"leftwards", S2Writer().Glyph(300, 'a').Glyph(200, 'b'), 2, 100.0},
        {"columns rightwards",
         S2Writer().Vertical().Glyph(100, 'a').Glyph(200, 'b').SetLine(1200).Glyph(100, 'c').Glyph(200, 'd'), 3, 100.0},
        {"more rows than columns", S2Writer().Glyph(100, 'a').Glyph(200, 'b').Glyph(300, 'c').SetLine(1125)
                                       .Glyph(100, 'd'), 1, 100.0},
    };
    for (const LayoutCase& c : cases) {
        testing::TempDir dir;
        CS2Parser reader;
        const std::vector<const CTextBlock*> blocks =
            Blocks(reader, S2Writer().SizeNumbers(5, 5).SetLine(1000).Bytes(c.glyphs.Data()), dir);
        ASSERT_EQ(blocks.size(), 1u) << c.name;
        EXPECT_EQ(blocks[0]->m_nLayout, c.layout) << c.name;
        EXPECT_EQ(blocks[0]->m_dFontSize, c.fontSize) << c.name;
    }
}

TEST(S2Decode, MissingPictureFilesStillMakePictureBlocks) {
    testing::TempDir dir;
    CS2Parser reader;
    reader.SetImageFolders(dir.Path() + "none;" + dir.Path());
    Blocks(reader, S2Writer().Picture(1, 2, 3, 4, "GONE"), dir);
    ASSERT_EQ(reader.m_arrPicBlocks.GetSize(), 1);
    EXPECT_EQ(reader.m_arrPicBlocks[0]->m_strName, "GONE");
    EXPECT_EQ(reader.m_arrPicBlocks[0]->m_strImagePath, "");
    EXPECT_EQ(reader.m_arrPicBlocks[0]->m_pImage, nullptr);
}

}  // namespace
}  // namespace kestrum
