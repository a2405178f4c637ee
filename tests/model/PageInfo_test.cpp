// Page information, regions and properties as the host reads them.
#include "model/PageInfo.h"
#include "tests/model/HostSide.h"

#include <gtest/gtest.h>

#include <vector>

namespace kestrum {
namespace {

using testing::TakeBstr;
using testing::XY;

TEST(ModelPageInfo, LabelIsWrittenOnlyForAnOpenPageWithALabel) {
    struct Case {
        int32_t pageNo;
        const char* label;
        bool written;
    };
    for (const Case& c : {Case{0, "A01", false}, Case{1, "", false}, Case{-1, "A01", false}, Case{1, "A01", true}}) {
        CPageInfo info;
        info.m_nPageNo = c.pageNo;
        info.m_strLabel = c.label;
        LONG pageNo = 77;
        BSTR label = nullptr;
        ASSERT_EQ(info.GetPageLabel(&pageNo, &label), S_OK);
        if (c.written) {
            EXPECT_EQ(pageNo, c.pageNo);
            EXPECT_EQ(TakeBstr(label), c.label);
        } else {
            EXPECT_EQ(pageNo, 77) << c.pageNo << " '" << c.label << "'";
            EXPECT_EQ(label, nullptr);
        }
    }
}

TEST(ModelPageInfo, TitleComesOutAsWideText) {
    CPageInfo info;
    info.m_strTitle = "\xCB\xCE\xCC\xE5" "A01";  // 宋体A01
    BSTR title = nullptr;
    ASSERT_EQ(info.GetTitle(&title), S_OK);
    EXPECT_EQ(std::u16string(title, SysStringLen(title)), u"\u5B8B\u4F53A01");
    SysFreeString(title);
}

TEST(ModelPageInfo, ReservedTextsAreEmptyAndReportedAbsent) {
    CPageInfo info;
    for (auto get : {&CPageInfo::GetReservedText1, &CPageInfo::GetReservedText2, &CPageInfo::GetReservedText3}) {
        BSTR text = nullptr;
        EXPECT_EQ((info.*get)(&text), E_FAIL);
        EXPECT_EQ(TakeBstr(text), "");
        EXPECT_EQ((info.*get)(nullptr), E_POINTER);
    }
    LONG value = 5;
    EXPECT_EQ(info.GetReservedValue(&value), E_FAIL);
    EXPECT_EQ(value, 0);
}

TEST(ModelRegion, PointsAreCountedFirstThenTruncatedTowardZero) {
    CRegn region;
    region.m_arrPoints = {{-3.7, 2.9}, {3.7, -2.9}, {-0.5, 1e12}};
    LONG count = 0;
    ASSERT_EQ(region.GetPoints(nullptr, &count), S_OK);
    ASSERT_EQ(count, 3);

    std::vector<POINT> points(3);
    count = 99;
    ASSERT_EQ(region.GetPoints(points.data(), &count), S_OK);
    EXPECT_EQ(count, 99);  // left alone when the array is filled
    EXPECT_EQ(XY(points[0]), XY(MakePoint(-3, 2)));
    EXPECT_EQ(XY(points[1]), XY(MakePoint(3, -2)));
    EXPECT_EQ(XY(points[2]), XY(MakePoint(0, INT32_MAX)));  // beyond 32 bits saturates
    EXPECT_EQ(region.GetPoints(nullptr, nullptr), E_POINTER);
}

TEST(ModelProp, ValueIsAStringVariant) {
    CProp prop;
    prop.m_strName = "name";
    prop.m_strText = "text";
    prop.m_strValue = "value";
    VARIANT v;
    ASSERT_EQ(prop.GetPropValue(&v), S_OK);
    EXPECT_EQ(v.vt, VT_BSTR);
    EXPECT_EQ(TakeBstr(v.bstrVal), "value");
    BSTR name = nullptr, text = nullptr;
    EXPECT_EQ(prop.GetPropName(&name), S_OK);
    EXPECT_EQ(prop.GetPropText(&text), S_OK);
    EXPECT_EQ(TakeBstr(name), "name");
    EXPECT_EQ(TakeBstr(text), "text");
}

}  // namespace
}  // namespace kestrum
