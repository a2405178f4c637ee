// The adaptor's reader choice, its lists and the page image, seen from inside.
#include "frame/DataAdaptor.h"
#include "model/PageInfo.h"
#include "model/TextBlock.h"
#include "parser/Image.h"
#include "parser/ParserFile.h"
#include "tests/frame/AdaptorHost.h"
#include "tests/model/HostSide.h"
#include "tests/support/PsPageWriter.h"
#include "tests/support/S2Writer.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <jpeglib.h>
#include <vector>

namespace kestrum {
namespace {

using testing::FakeAppExt;
using testing::Inside;
using testing::NewAdaptor;
using testing::PsPageWriter;
using testing::S2Writer;
using testing::TakeBstr;
using testing::TempDir;
using testing::Wide;

// A grey JPEG written with libjpeg, the decoder's counterpart.
std::string TinyJpeg(int width, int height) {
    jpeg_compress_struct info{};
    jpeg_error_mgr err{};
    info.err = jpeg_std_error(&err);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 1;
    info.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<size_t>(width), 128);
    while (info.next_scanline < info.image_height) {
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    std::string bytes(reinterpret_cast<char*>(buffer), size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return bytes;
}

class FrameAdaptor : public ::testing::Test {
protected:
    std::string PsPage(const std::string& name) { return dir.Write(name, PsPageWriter().bytes()); }
    std::string S2Page(const std::string& name) { return dir.Write(name, S2Writer().ShortHeader(4000, 12000).Data()); }
    HRESULT Open(const std::string& path, ULONG_PTR host = 0) { return adaptor->Open(host, Wide(path).c_str()); }

    TempDir dir;
    testing::HostRef<IDataAdaptor> adaptor = NewAdaptor();
};

TEST_F(FrameAdaptor, ReaderIsChosenByExtensionWithoutRegardToCase) {
    struct Case {
        std::string name;
        bool ps;  // else S2
    };
    for (const Case& c : {Case{"page.ps", true}, Case{"PAGE.PS", true}, Case{"Page.Ps", true}, Case{"b.s2", false},
                          Case{"B.S2", false}}) {
        auto fresh = NewAdaptor();
        const std::string path = c.ps ? PsPage(c.name) : S2Page(c.name);
        EXPECT_EQ(fresh->Open(0, Wide(path).c_str()), S_OK) << c.name;
        EXPECT_EQ(Inside(fresh).GetParserKind(), c.ps ? kPostScriptParser : kS2Parser) << c.name;
    }
    for (const std::string name : {"page.eps", "page", "page.ps.bak", "folder.ps/page"}) {
        auto fresh = NewAdaptor();
        EXPECT_EQ(fresh->Open(0, Wide(dir.File(name)).c_str()), E_FAIL) << name;
        EXPECT_EQ(Inside(fresh).GetParserKind(), kNoParser) << name;
        EXPECT_EQ(Inside(fresh).GetParser(), nullptr) << name;
    }
    EXPECT_EQ(adaptor->Open(0, nullptr), E_FAIL);
}

TEST_F(FrameAdaptor, SameKindIsReusedOtherKindReplaces) {
    ASSERT_EQ(Open(PsPage("a.ps")), S_OK);
    const CParserFile* first = Inside(adaptor).GetParser();
    ASSERT_EQ(Open(PsPage("b.ps")), S_OK);
    EXPECT_EQ(Inside(adaptor).GetParser(), first);
    EXPECT_EQ(Inside(adaptor).GetParser()->m_strFilePath, dir.File("b.ps"));

    // An unknown extension fails and leaves the reader alone.
    EXPECT_EQ(Open(dir.File("c.eps")), E_FAIL);
    EXPECT_EQ(Inside(adaptor).GetParser(), first);
    EXPECT_EQ(Inside(adaptor).GetParserKind(), kPostScriptParser);

    ASSERT_EQ(Open(S2Page("d.s2")), S_OK);
    EXPECT_EQ(Inside(adaptor).GetParserKind(), kS2Parser);
    EXPECT_EQ(Inside(adaptor).GetParser()->m_strFilePath, dir.File("d.s2"));
}

TEST_F(FrameAdaptor, FailedOpenKeepsItsReader) {
    EXPECT_EQ(Open(dir.Write("bad.s2", "not an S2 page")), E_FAIL);
    EXPECT_EQ(Inside(adaptor).GetParserKind(), kS2Parser);
    const CParserFile* s2 = Inside(adaptor).GetParser();
    ASSERT_NE(s2, nullptr);

    EXPECT_EQ(Open(dir.File("missing.s2")), E_FAIL);
    EXPECT_EQ(Inside(adaptor).GetParser(), s2);

    // A PostScript file without the creator comment: the new reader stays, the old one went.
    EXPECT_EQ(Open(dir.Write("plain.ps", std::string(2000, ' '))), E_FAIL);
    EXPECT_EQ(Inside(adaptor).GetParserKind(), kPostScriptParser);
    EXPECT_NE(Inside(adaptor).GetParser(), nullptr);
}

TEST_F(FrameAdaptor, HostSettingsAreTakenOnlyWhenGiven) {
    ASSERT_EQ(Open(PsPage("A01.ps")), S_OK);
    void* pv = nullptr;
    ASSERT_EQ(adaptor->GetCurPageInfo(&pv), S_OK);
    auto* page = static_cast<IPageInfo*>(pv);
    LONG pageNo = -5;
    BSTR label = nullptr;
    page->GetPageLabel(&pageNo, &label);
    EXPECT_EQ(label, nullptr);  // no settings: no label
    BSTR title = nullptr;
    ASSERT_EQ(page->GetTitle(&title), S_OK);
    EXPECT_EQ(TakeBstr(title), "A01");

    FakeAppExt host;
    host.SetStrings(u"A01", nullptr, nullptr);
    ASSERT_EQ(Open(PsPage("A01.ps"), host.Handle()), S_OK);
    ASSERT_EQ(page->GetPageLabel(&pageNo, &label), S_OK);
    EXPECT_EQ(pageNo, 1);
    EXPECT_EQ(TakeBstr(label), "A01");

    // Settings the host cannot give change neither the settings nor Open's result.
    FakeAppExt failing;
    failing.result = E_FAIL;
    EXPECT_EQ(Open(PsPage("A01.ps"), failing.Handle()), S_OK);
    EXPECT_EQ(Inside(adaptor).GetParser()->m_strPageLabel, "A01");
}

TEST_F(FrameAdaptor, ListsAreNewCopiesOfTheReadersBlocks) {
    IBlockList* list = nullptr;
    EXPECT_EQ(adaptor->GetTextList(nullptr, 0, &list), E_FAIL);  // before any Open
    ASSERT_EQ(Open(PsPage("p.ps")), S_OK);

    // Opened, not loaded: empty lists.
    for (auto get : {&IDataAdaptor::GetTextList, &IDataAdaptor::GetPicList}) {
        ASSERT_EQ((adaptor.get()->*get)(nullptr, 0, &list), S_OK);
        LONG count = -1;
        list->GetCount(&count);
        EXPECT_EQ(count, 0);
        list->Release();
    }

    CParserFile* reader = Inside(adaptor).GetParser();
    for (int i = 0; i < 2; ++i) reader->m_arrTextBlocks.Add(new CTextBlock(reader->m_pPageInfo.get()));
    RECT nothing = MakeRect(5, 5, 5, 5);
    IBlockList* first = nullptr;
    IBlockList* second = nullptr;
    ASSERT_EQ(adaptor->GetTextList(&nothing, 0xFFFF, &first), S_OK);
    ASSERT_EQ(adaptor->GetTextList(nullptr, 0, &second), S_OK);
    EXPECT_NE(first, second);
    for (INT i = 0; i < 2; ++i) {
        void* a = nullptr;
        void* b = nullptr;
        first->GetItemAt(i, &a);
        second->GetItemAt(i, &b);
        EXPECT_EQ(a, static_cast<ITextBlock*>(reader->m_arrTextBlocks[i]));
        EXPECT_EQ(a, b);
    }
    first->Release();
    second->Release();
    // The blocks outlive the lists.
    EXPECT_EQ(reader->m_arrTextBlocks[1]->GetTextLength(), 0);

    ASSERT_EQ(adaptor->GetArticleList(0, &list), S_OK);
    LONG count = -1;
    list->GetCount(&count);
    EXPECT_EQ(count, 0);
    list->Release();

    EXPECT_EQ(adaptor->Close(), S_OK);
    EXPECT_TRUE(reader->m_arrTextBlocks.IsEmpty());
}

TEST_F(FrameAdaptor, PageImageComesFromThePreview) {
    const std::string good = dir.Write("preview.jpg", TinyJpeg(6, 4));
    const std::string broken = dir.Write("broken.jpg", "\xFF\xD8 not really a JPEG");
    const std::string out = dir.File("out.jpg");
    struct Case {
        std::string preview;
        HRESULT save;
        HRESULT get;
        bool handle;
    };
    const std::vector<Case> cases = {
        {good, S_OK, S_OK, true},
        {broken, E_FAIL, E_FAIL, false},      // exists but does not decode
        {dir.File("gone.jpg"), E_FAIL, E_FAIL, false},
    };
    for (const Case& c : cases) {
        FakeAppExt host;
        const std::u16string preview = Wide(c.preview);
        host.SetStrings(nullptr, preview.c_str(), nullptr);
        ASSERT_EQ(Open(S2Page("p.s2"), host.Handle()), S_OK);
        std::remove(out.c_str());

        EXPECT_EQ(adaptor->SavePageImage(1, 1.0, Wide(out).c_str(), nullptr), c.save) << c.preview;
        EXPECT_EQ(std::filesystem::exists(out), c.save == S_OK) << c.preview;
        if (c.save == S_OK) {
            CxImage copy(out, CXIMAGE_FORMAT_JPG);
            EXPECT_EQ(copy.GetWidth(), 6u);
            EXPECT_EQ(copy.GetHeight(), 4u);
        }
        HGLOBAL handle = reinterpret_cast<HGLOBAL>(0x1);
        EXPECT_EQ(adaptor->GetPageImage(1, 1.0, &handle), c.get) << c.preview;
        if (c.handle) {
            ASSERT_NE(handle, nullptr);
            EXPECT_GT(GlobalSize(handle), 40u);  // at least the bitmap header
            GlobalFree(handle);
        } else if (c.preview == broken) {
            EXPECT_EQ(handle, nullptr);
        } else {
            EXPECT_EQ(handle, reinterpret_cast<HGLOBAL>(0x1));
        }
        adaptor->Close();
    }
}

TEST_F(FrameAdaptor, WithoutPreviewOnlyPostScriptPagesAreDrawn) {
    const std::string out = dir.File("drawn.jpg");
    ASSERT_EQ(Open(S2Page("p.s2")), S_OK);
    adaptor->LoadPage(1, 0, 0);
    EXPECT_EQ(adaptor->SavePageImage(1, 1.0, Wide(out).c_str(), nullptr), E_FAIL);
    HGLOBAL handle = reinterpret_cast<HGLOBAL>(0x1);
    EXPECT_EQ(adaptor->GetPageImage(1, 1.0, &handle), E_FAIL);
    EXPECT_EQ(handle, reinterpret_cast<HGLOBAL>(0x1));

    ASSERT_EQ(Open(PsPage("p.ps")), S_OK);
    adaptor->LoadPage(1, 0, 0);
    EXPECT_EQ(adaptor->SavePageImage(1, 1.0, Wide(out).c_str(), nullptr), S_OK);
    EXPECT_TRUE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace kestrum
