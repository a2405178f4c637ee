// Picture blocks without an image, and their captions.
#include "model/PageInfo.h"
#include "model/PicBlock.h"
#include "model/TextBlock.h"
#include "tests/model/HostSide.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

using testing::Sides;
using testing::TakeBstr;

TEST(ModelPicBlock, MissingImageAnswersZeroAndCannotBeSaved) {
    CPicBlock pic(nullptr);
    pic.m_strName = "P1";
    BSTR path = reinterpret_cast<BSTR>(0x10);
    EXPECT_EQ(pic.GetImagePath(&path), E_FAIL);
    EXPECT_EQ(path, reinterpret_cast<BSTR>(0x10));
    EXPECT_EQ(pic.GetImageWidth(), 0);
    EXPECT_EQ(pic.GetImageHeight(), 0);
    EXPECT_EQ(pic.GetImageBpp(), 0);
    EXPECT_EQ(pic.GetImageDIB(), nullptr);
    EXPECT_EQ(pic.SaveImage(u"/nowhere/p1.jpg"), E_FAIL);

    BSTR name = nullptr;
    EXPECT_EQ(pic.GetName(&name), S_OK);
    EXPECT_EQ(TakeBstr(name), "P1");
    pic.m_strName.clear();
    EXPECT_EQ(pic.GetName(&name), E_FAIL);
}

TEST(ModelPicBlock, RectRoundsRightAndBottomTowardZero) {
    struct Case {
        Rect rect;
        Rect expected;
    };
    for (const Case& c : {Case{MakeRect(0, 0, 99, 40), MakeRect(0, 0, 99, 40)},
                          Case{MakeRect(-9, -9, -5, -5), MakeRect(-9, -9, -4, -4)}}) {
        CPicBlock pic(nullptr);
        pic.m_rect = c.rect;
        Rect viaHost, viaLayout;
        ASSERT_EQ(pic.GetRect(&viaHost), S_OK);
        ASSERT_EQ(pic.GetRegionRect(&viaLayout), S_OK);
        EXPECT_EQ(Sides(viaHost), Sides(c.expected));
        EXPECT_EQ(Sides(viaLayout), Sides(c.expected));
    }
}

TEST(ModelPicBlock, CaptionIsListedAndGivesTheHtml) {
    CPageInfo page;
    page.m_nPageNo = 1;
    CPicBlock pic(&page);
    IBlockList* list = nullptr;
    BSTR html = nullptr;
    EXPECT_EQ(pic.GetTextBlocks(&list, 0), E_FAIL);
    EXPECT_EQ(pic.GetHtml(&html), E_FAIL);
    EXPECT_EQ(list, nullptr);
    EXPECT_EQ(html, nullptr);

    // While captions are attached the caption is a container of candidates; the
    // picture owns the container and its parts.
    pic.m_pCaption = new CTextBlock(&page);
    pic.m_pCaption->m_arrParts.Add(new CTextBlock(&page));
    EXPECT_EQ(pic.GetHtml(&html), E_FAIL);  // a caption without HTML
    pic.m_pCaption->m_strHtml = "<p>cap</p>";
    ASSERT_EQ(pic.GetHtml(&html), S_OK);
    EXPECT_EQ(TakeBstr(html), "<p>cap</p>");

    ASSERT_EQ(pic.GetTextBlocks(&list, 7), S_OK);
    LONG count = 0;
    list->GetCount(&count);
    void* item = nullptr;
    list->GetItemAt(0, &item);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(item, static_cast<ITextBlock*>(pic.m_pCaption));
    list->Release();
}

}  // namespace
}  // namespace kestrum
