// Text blocks as the host and the layout see them.
#include "model/PageInfo.h"
#include "model/TextBlock.h"
#include "tests/model/HostSide.h"

#include <gtest/gtest.h>

#include <vector>

namespace kestrum {
namespace {

using testing::Sides;
using testing::TakeBstr;
using testing::XY;

std::vector<POINT> PointsOf(IRegn* region) {
    LONG count = 0;
    region->GetPoints(nullptr, &count);
    std::vector<POINT> points(static_cast<size_t>(count));
    if (count > 0) region->GetPoints(points.data(), &count);
    return points;
}

TEST(ModelTextBlock, RegionIsTheRectangleForEveryIndexUpToOne) {
    CPageInfo page;
    page.m_nPageNo = 1;
    CTextBlock block(&page);
    block.m_rect = MakeRect(10, 20, 110, 70);

    IRegn* first = nullptr;
    ASSERT_EQ(block.GetRegion(1, &first), S_OK);
    for (LONG index : {0, -7}) {
        IRegn* again = nullptr;
        ASSERT_EQ(block.GetRegion(index, &again), S_OK) << index;
        EXPECT_EQ(again, first);
    }
    EXPECT_EQ(XY(PointsOf(first)), XY({MakePoint(10, 20), MakePoint(110, 20), MakePoint(110, 70), MakePoint(10, 70)}));
    EXPECT_EQ(first->GetPageNo(), 1);

    for (LONG index : {2, 5}) {
        IRegn* untouched = first;
        EXPECT_EQ(block.GetRegion(index, &untouched), E_FAIL) << index;
        EXPECT_EQ(untouched, first);
    }
    LONG count = 0;
    EXPECT_EQ(block.GetRegionCount(&count), S_OK);
    EXPECT_EQ(count, 1);
}

TEST(ModelTextBlock, RegionRectRoundsRightAndBottomTowardZero) {
    struct Case {
        Rect rect;
        Rect expected;
    };
    for (const Case& c : {Case{MakeRect(0, 0, 100, 50), MakeRect(0, 0, 100, 50)},
                          Case{MakeRect(-20, -30, -10, -5), MakeRect(-20, -30, -9, -4)}}) {
        CTextBlock block(nullptr);
        block.m_rect = c.rect;
        Rect out;
        ASSERT_EQ(block.GetRegionRect(&out), S_OK);
        EXPECT_EQ(Sides(out), Sides(c.expected));
    }
}

TEST(ModelTextBlock, HostSeesTitleBodyOrOther) {
    struct Case {
        int32_t kind;
        LONG seen;
    };
    for (const Case& c : {Case{kTextTitle, 2}, Case{kTextBody, 3}, Case{kTextPicturePlaceholder, 7}, Case{0, 7},
                          Case{4, 7}}) {
        CTextBlock block(nullptr);
        block.m_nKind = c.kind;
        EXPECT_EQ(block.GetKind(), c.seen) << c.kind;
    }
}

TEST(ModelTextBlock, CompositeListsItsPartsInMergeOrder) {
    CPageInfo page;
    CTextBlockArray owner;
    auto* composite = new CTextBlock(&page);
    owner.Add(composite);
    composite->m_nLevel = 2;
    composite->m_nID = -1;
    for (int i = 0; i < 3; ++i) composite->m_arrParts.Add(new CTextBlock(&page));

    IBlockList* list = nullptr;
    ASSERT_EQ(composite->GetTextBlocks(&list, 12345), S_OK);
    LONG count = 0;
    list->GetCount(&count);
    ASSERT_EQ(count, 3);
    for (INT i = 0; i < 3; ++i) {
        void* item = nullptr;
        ASSERT_EQ(list->GetItemAt(i, &item), S_OK);
        EXPECT_EQ(item, static_cast<ITextBlock*>(composite->m_arrParts[i]));
    }
    EXPECT_EQ(list->Release(), 0u);
    EXPECT_EQ(composite->GetLevel(), 2);
    EXPECT_EQ(composite->GetID(), -1);
    EXPECT_EQ(composite->GetID2(), -1);
    owner.DeleteAll();
}

TEST(ModelTextBlock, BlockAsReadHasNoPartsPicturesOrHtml) {
    CTextBlock block(nullptr);  // as the S2 reader makes it: no font name, no HTML
    auto* sentinel = reinterpret_cast<IBlockList*>(0x1234);
    IBlockList* list = sentinel;
    EXPECT_EQ(block.GetTextBlocks(&list, 0), E_FAIL);
    EXPECT_EQ(block.GetPicBlocks(&list), E_FAIL);
    EXPECT_EQ(list, sentinel);

    BSTR html = reinterpret_cast<BSTR>(0x5678);
    EXPECT_EQ(block.GetHtml(&html), E_FAIL);
    EXPECT_EQ(html, reinterpret_cast<BSTR>(0x5678));

    BSTR font = nullptr;
    EXPECT_EQ(block.GetFontName(&font), S_OK);
    EXPECT_EQ(TakeBstr(font), "");
    EXPECT_EQ(block.GetID(), 0);
}

TEST(ModelTextBlock, TextLengthCountsGbkBytes) {
    CTextBlock block(nullptr);
    block.m_strText = "\xD6\xD0\xCE\xC4" "ab";  // 中文ab
    EXPECT_EQ(block.GetTextLength(), 6);
    BSTR text = nullptr;
    ASSERT_EQ(block.GetText(&text), S_OK);
    EXPECT_EQ(std::u16string(text, SysStringLen(text)), u"\u4E2D\u6587ab");
    SysFreeString(text);
}

TEST(ModelTextBlock, InitFromTakesGeometryAndTextOnly) {
    CTextBlock source(nullptr);
    source.m_rect = MakeRect(1, 2, 3, 4);
    source.m_strText = "abc";
    source.m_nArticle = 9;
    source.m_nLevel = 2;
    source.m_dFontSize = 920.5;
    source.m_nID = 4;
    source.m_nKind = kTextTitle;
    source.m_nLayout = 3;
    source.m_strFontName = "F";
    source.m_strHtml = "<p>abc</p>";

    CTextBlock copy(nullptr);
    copy.InitFrom(source);
    EXPECT_EQ(Sides(copy.m_rect), Sides(source.m_rect));
    EXPECT_EQ(copy.m_strText, "abc");
    EXPECT_EQ(copy.m_nArticle, 9);
    EXPECT_EQ(copy.m_nLevel, 2);
    EXPECT_EQ(copy.m_dFontSize, 920.5);
    EXPECT_EQ(copy.m_nID, -1);
    EXPECT_EQ(copy.m_nKind, 0);
    EXPECT_EQ(copy.m_nLayout, 0);
    EXPECT_TRUE(copy.m_strFontName.empty());
    EXPECT_TRUE(copy.m_strHtml.empty());

    CTextBlock empty(nullptr);  // an empty rectangle still counts in a union
    empty.m_rect = MakeRect(50, 60, 50, 60);
    copy.UnionWith(empty);
    EXPECT_EQ(Sides(copy.m_rect), Sides(MakeRect(1, 2, 50, 60)));
}

}  // namespace
}  // namespace kestrum
