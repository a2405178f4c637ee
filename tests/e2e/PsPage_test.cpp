// PostScript pages written in the typesetting system's dialect, loaded through the
// component's class object, and read back the way a host reads them.
#include <kestrum/kestrum.h>

#include "platform/Rect.h"
#include "psreader/FontTable.h"
#include "tests/model/HostSide.h"
#include "tests/support/HostLists.h"
#include "tests/support/PsPageWriter.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrum {
namespace {

using testing::PsPageWriter;
using testing::Sides;
using testing::TakeBstr;

constexpr const char* kAhA = "\xB0\xA1\xB0\xA2";  // 啊阿
constexpr const char* kIndent = "\xA1\xA1\xA1\xA1";

std::u16string Wide(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

// One loaded page as the host holds it: the adaptor and the lists it asked for.
class HostPage {
public:
    explicit HostPage(const PsPageWriter& page, testing::FakeAppExt* settings = nullptr) {
        path_ = dir_.Write("page.ps", page.bytes());
        adaptor_ = testing::NewAdaptorFromFactory();
        EXPECT_EQ(adaptor_->Open(settings ? settings->Handle() : 0, Wide(path_).c_str()), S_OK);
        EXPECT_EQ(adaptor_->LoadPage(1, 0, 0), S_OK);
        EXPECT_EQ(adaptor_->GetTextList(nullptr, 0, &texts_), S_OK);
        EXPECT_EQ(adaptor_->GetPicList(nullptr, 0, &pics_), S_OK);
    }
    ~HostPage() {
        if (texts_) texts_->Release();
        if (pics_) pics_->Release();
        adaptor_->Close();
        adaptor_->Release();
    }
    HostPage(const HostPage&) = delete;
    HostPage& operator=(const HostPage&) = delete;

    const testing::TempDir& Dir() const { return dir_; }
    LONG TextCount() const { return testing::ListCount(texts_); }
    LONG PicCount() const { return testing::ListCount(pics_); }
    ITextBlock& Text(INT i) const { return *static_cast<ITextBlock*>(testing::ListItem(texts_, i)); }
    IPicBlock& Pic(INT i) const { return *static_cast<IPicBlock*>(testing::ListItem(pics_, i)); }
    IPageInfo& Page() const {
        void* pv = nullptr;
        EXPECT_EQ(adaptor_->GetCurPageInfo(&pv), S_OK);
        return *static_cast<IPageInfo*>(pv);
    }

private:
    testing::TempDir dir_;
    std::string path_;
    IDataAdaptor* adaptor_ = nullptr;
    IBlockList* texts_ = nullptr;
    IBlockList* pics_ = nullptr;
};

std::string Text(ITextBlock& b) {
    BSTR s = nullptr;
    EXPECT_EQ(b.GetText(&s), S_OK);
    return TakeBstr(s);
}
std::string Html(IBlock& b) {
    BSTR s = nullptr;
    return b.GetHtml(&s) == S_OK ? TakeBstr(s) : "<none>";
}
std::string FontName(ITextBlock& b) {
    BSTR s = nullptr;
    EXPECT_EQ(b.GetFontName(&s), S_OK);
    return TakeBstr(s);
}
std::vector<std::pair<LONG, LONG>> Corners(ITextBlock& b) {
    IRegn* region = nullptr;
    EXPECT_EQ(b.GetRegion(0, &region), S_OK);
    LONG n = 0;
    region->GetPoints(nullptr, &n);
    std::vector<POINT> points(static_cast<size_t>(n));
    region->GetPoints(points.data(), &n);
    return testing::XY(points);
}
std::vector<std::pair<LONG, LONG>> Corners(LONG l, LONG t, LONG r, LONG b) { return {{l, t}, {r, t}, {r, b}, {l, b}}; }

std::string FontTag(const std::string& face, int size) {
    return "<font face = \"" + face + "\"  size = \"" + std::to_string(size) + "\">";
}

TEST(E2ePs, BodyTextReachesTheHostWithItsFontPlaceAndHtml) {
    PsPageWriter page;
    page.article(3).translate(10000, 20000).font("JBHGSS", 920).show(1000, 2000, kAhA, {1000, 1000}).endArticle();
    HostPage host(page);
    ASSERT_EQ(host.TextCount(), 1);
    ITextBlock& body = host.Text(0);
    const std::string face = MapFontName("JBHGSS");

    EXPECT_EQ(Text(body), std::string(kIndent) + kAhA);
    EXPECT_EQ(Html(body), "<p>" + FontTag(face, 920) + " <![CDATA[" + kAhA + "]]></font></p>");
    EXPECT_EQ(FontName(body), face);
    EXPECT_EQ(body.GetFontSize(), 920.0);
    EXPECT_EQ(body.GetKind(), 3);
    EXPECT_EQ(body.GetLayout(), 1);
    EXPECT_EQ(body.GetLevel(), 1);
    EXPECT_EQ(body.GetID(), -1);  // the page's first block
    // Character boxes (1000, 1264, 1920, 2184) and (2000, 1264, 2920, 2184) moved by the translation.
    EXPECT_EQ(Corners(body), Corners(11000, 21264, 12920, 22184));
    IBlockList* parts = nullptr;
    EXPECT_EQ(body.GetTextBlocks(&parts, 0), E_FAIL);
    EXPECT_EQ(host.Page().GetMeanTextSize(), 920.0);
    EXPECT_EQ(host.PicCount(), 0);
}

TEST(E2ePs, TitleLinesComeOutAsOneTitleBehindTheBody) {
    PsPageWriter page;
    page.article(4).translate(10000, 60000).font("JBHGSS", 920).show(0, 2000, kAhA, {1000, 1000}).endArticle();
    page.article(5).translate(10000, 20000).titleBlock().font("JBHGSS", 2000);
    page.show(0, 2000, "\xB1\xEA\xCC\xE2", {2000, 2000}).paragraph();       // 标题
    page.show(0, 4100, "\xD2\xBB\xD0\xD0", {2000, 2000}).paragraph();       // 一行
    page.endArticle();
    HostPage host(page);

    ASSERT_EQ(host.TextCount(), 2);
    EXPECT_EQ(host.Text(0).GetKind(), 3);
    ITextBlock& title = host.Text(1);
    EXPECT_EQ(title.GetKind(), 2);
    EXPECT_EQ(Text(title), "\xB1\xEA\xCC\xE2\xD2\xBB\xD0\xD0");
    const std::string tag = FontTag(MapFontName("JBHGSS"), 2000);
    EXPECT_EQ(Html(title), "<p>" + tag + " <![CDATA[\xB1\xEA\xCC\xE2]]></font></p>" + "<p>" + tag +
                               " <![CDATA[\xD2\xBB\xD0\xD0]]></font></p>");
    EXPECT_EQ(title.GetFontSize(), 2000.0);
    EXPECT_EQ(title.GetLevel(), 0);
    EXPECT_EQ(title.GetID(), 1);  // the later line
    EXPECT_EQ(title.GetLayout(), 1);
    IBlockList* parts = nullptr;
    EXPECT_EQ(title.GetTextBlocks(&parts, 0), E_FAIL);  // the lines are gone
    // Line one: top 2000 - 1600, line two: bottom 4100 + 400; widths 2000 + 2000.
    EXPECT_EQ(Corners(title), Corners(10000, 20400, 14000, 24500));
}

TEST(E2ePs, TextOutsideArticlesAndVerticalTextKeepTheirOwnRenderings) {
    PsPageWriter page;
    page.article(-1).translate(10000, 20000).font("JBHGSS", 920).show(0, 2000, kAhA, {1000}).endArticle();
    page.article(6).translate(40000, 20000).font("JBHGSS", 920);
    page.showVertical(0, 2000, "\xB0\xA1\xB0\xA2\xB0\xA3", {1000, 1000}).endArticle();
    HostPage host(page);

    ASSERT_EQ(host.TextCount(), 2);
    EXPECT_EQ(Text(host.Text(0)), std::string(kIndent) + kAhA);
    EXPECT_EQ(Html(host.Text(0)), "<none>");
    EXPECT_EQ(host.Text(1).GetLayout(), 5);  // one column
    EXPECT_EQ(Text(host.Text(1)), std::string(kIndent) + "\xB0\xA1\xB0\xA2\xB0\xA3");
}

TEST(E2ePs, PicturesReachTheHostWithTheirPlaceAndImage) {
    testing::TempDir pictures;
    std::string bmp = "BM";
    auto le = [&bmp](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) bmp += char((v >> (8 * i)) & 0xFF);
    };
    le(70, 4), le(0, 4), le(54, 4), le(40, 4), le(2, 4), le(2, 4), le(1, 2), le(24, 2);
    le(0, 4), le(16, 4), le(2835, 4), le(2835, 4), le(0, 4), le(0, 4);
    bmp += std::string(16, '\x40');
    pictures.Write("PHOTO1.BMP", bmp);
    const std::u16string folders = Wide(pictures.Path());
    testing::FakeAppExt settings;
    settings.SetStrings(nullptr, nullptr, folders.c_str());

    PsPageWriter page;
    page.picture(30000, 40000, 10000, 8000, "D:\\IMAGES\\PHOTO1.BMP");
    page.picture(60000, 40000, 10000, 8000, "D:\\IMAGES\\MISSING.TIF", 90);
    HostPage host(page, &settings);

    ASSERT_EQ(host.PicCount(), 2);
    IPicBlock& found = host.Pic(0);
    BSTR name = nullptr;
    ASSERT_EQ(found.GetName(&name), S_OK);
    EXPECT_EQ(TakeBstr(name), "PHOTO1.BMP");
    BSTR path = nullptr;
    ASSERT_EQ(found.GetImagePath(&path), S_OK);
    EXPECT_EQ(TakeBstr(path), pictures.File("PHOTO1.BMP"));
    EXPECT_EQ(found.GetImageWidth(), 2);
    RECT r{};
    ASSERT_EQ(found.GetRect(&r), S_OK);
    EXPECT_EQ(Sides(r), Sides(MakeRect(25000, 36000, 35000, 44000)));

    IPicBlock& missing = host.Pic(1);
    ASSERT_EQ(missing.GetImagePath(&path), E_FAIL);
    EXPECT_EQ(missing.GetImageWidth(), 0);
    EXPECT_EQ(missing.GetImageDIB(), nullptr);
    ASSERT_EQ(missing.GetRect(&r), S_OK);
    // Turned a quarter about its centre: 8000 wide, 10000 tall.
    EXPECT_NEAR(r.left, 56000, 1);
    EXPECT_NEAR(r.top, 35000, 1);
    EXPECT_NEAR(r.right, 64000, 1);
    EXPECT_NEAR(r.bottom, 45000, 1);
    EXPECT_EQ(host.TextCount(), 0);
}

}  // namespace
}  // namespace kestrum
