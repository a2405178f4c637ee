// A host's view of the in-process server: the module is loaded with dlopen and every
// call goes through the exported entry points and the interfaces' tables.
#include <kestrum/kestrum.h>

#include "tests/support/PsPageWriter.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <string>

namespace {

using kestrum::testing::PsPageWriter;
using kestrum::testing::TempDir;

// The module's exports, as a host finds them.
struct Module {
    Module() {
        handle = dlopen(KESTRUM_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
        if (!handle) return;
        getClassObject = reinterpret_cast<decltype(getClassObject)>(dlsym(handle, "DllGetClassObject"));
        canUnloadNow = reinterpret_cast<decltype(canUnloadNow)>(dlsym(handle, "DllCanUnloadNow"));
        stringLen = reinterpret_cast<decltype(stringLen)>(dlsym(handle, "SysStringLen"));
        freeString = reinterpret_cast<decltype(freeString)>(dlsym(handle, "SysFreeString"));
    }
    ~Module() {
        if (handle) dlclose(handle);
    }
    void* handle = nullptr;
    HRESULT (*getClassObject)(REFCLSID, REFIID, void**) = nullptr;
    HRESULT (*canUnloadNow)() = nullptr;
    UINT (*stringLen)(BSTR) = nullptr;
    void (*freeString)(BSTR) = nullptr;
};

class FrameHost : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(module.handle, nullptr) << dlerror();
        ASSERT_NE(module.getClassObject, nullptr);
        ASSERT_NE(module.canUnloadNow, nullptr);
        void* pv = nullptr;
        ASSERT_EQ(module.getClassObject(CLSID_PSDataAdaptor, IID_IClassFactory, &pv), S_OK);
        factory = static_cast<IClassFactory*>(pv);
    }
    void TearDown() override {
        if (factory) factory->Release();
    }

    IDataAdaptor* NewAdaptor() {
        void* pv = nullptr;
        EXPECT_EQ(factory->CreateInstance(nullptr, IID_IDataAdaptor, &pv), S_OK);
        return static_cast<IDataAdaptor*>(pv);
    }
    std::u16string Text(BSTR b) {
        std::u16string text(b, module.stringLen(b));
        module.freeString(b);
        return text;
    }

    static Module module;
    IClassFactory* factory = nullptr;
};

Module FrameHost::module;

template <class T>
T* Sentinel() {
    return reinterpret_cast<T*>(uintptr_t{0x5EED});
}

TEST_F(FrameHost, WithoutAReaderNothingIsHandedOut) {
    IDataAdaptor* adaptor = NewAdaptor();
    ASSERT_NE(adaptor, nullptr);

    void* pv = Sentinel<void>();
    EXPECT_EQ(adaptor->GetPaperInfo(&pv), S_OK);
    EXPECT_EQ(pv, nullptr);
    pv = Sentinel<void>();
    EXPECT_EQ(adaptor->GetCurPageInfo(&pv), S_OK);
    EXPECT_EQ(pv, Sentinel<void>());
    EXPECT_EQ(adaptor->GetCurPageInfo(nullptr), E_FAIL);

    LONG value = 77;
    EXPECT_EQ(adaptor->get_CurrentPage(&value), S_OK);
    EXPECT_EQ(value, 77);
    EXPECT_EQ(adaptor->get_TotalPageCount(&value), S_OK);
    EXPECT_EQ(value, 1);
    BSTR name = Sentinel<OLECHAR>();
    EXPECT_EQ(adaptor->get_FileName(&name), E_FAIL);
    EXPECT_EQ(name, Sentinel<OLECHAR>());

    IBlockList* list = Sentinel<IBlockList>();
    EXPECT_EQ(adaptor->GetTextList(nullptr, 0, &list), E_FAIL);
    EXPECT_EQ(adaptor->GetPicList(nullptr, 0, &list), E_FAIL);
    EXPECT_EQ(adaptor->GetArticleList(0, &list), E_FAIL);
    EXPECT_EQ(list, Sentinel<IBlockList>());

    EXPECT_EQ(adaptor->LoadPage(1, 0, 0), S_OK);
    EXPECT_EQ(adaptor->SavePageImage(1, 1.0, u"/tmp/kestrum-never.jpg", nullptr), E_FAIL);
    HGLOBAL image = Sentinel<void>();
    EXPECT_EQ(adaptor->GetPageImage(1, 1.0, &image), E_FAIL);
    EXPECT_EQ(image, Sentinel<void>());
    EXPECT_EQ(adaptor->Close(), S_OK);
    EXPECT_EQ(adaptor->SplitPDFMultiPage(0), E_FAIL);
    EXPECT_EQ(adaptor->Open(0, nullptr), E_FAIL);
    EXPECT_EQ(adaptor->Open(0, u"/tmp/page.eps"), E_FAIL);

    // Null out arguments the host may pass.
    EXPECT_EQ(adaptor->GetPaperInfo(nullptr), E_POINTER);
    EXPECT_EQ(adaptor->get_CurrentPage(nullptr), E_POINTER);
    EXPECT_EQ(adaptor->get_TotalPageCount(nullptr), E_POINTER);
    EXPECT_EQ(adaptor->GetTextList(nullptr, 0, nullptr), E_POINTER);
    EXPECT_EQ(adaptor->GetPicList(nullptr, 0, nullptr), E_POINTER);
    EXPECT_EQ(adaptor->GetArticleList(0, nullptr), E_POINTER);
    EXPECT_EQ(adaptor->GetPageImage(1, 1.0, nullptr), E_POINTER);
    EXPECT_EQ(adaptor->SavePageImage(1, 1.0, nullptr, nullptr), E_POINTER);
    EXPECT_EQ(adaptor->QueryInterface(IID_IDataAdaptor, nullptr), E_POINTER);
    pv = Sentinel<void>();
    EXPECT_EQ(adaptor->QueryInterface(IID_IBlockList, &pv), E_NOINTERFACE);
    EXPECT_EQ(pv, nullptr);

    EXPECT_EQ(adaptor->Release(), 0u);
}

TEST_F(FrameHost, OpenLoadQueryClose) {
    TempDir dir;
    PsPageWriter page;
    page.article(1).translate(10000, 20000).font("JBHGSS", 920)
        .show(1000, 2000, "\xD6\xD0\xCE\xC4", {1000, 1000})  // 中文
        .endArticle();
    const std::string path = dir.Write("A01.ps", page.bytes());
    const std::u16string widePath(path.begin(), path.end());

    IDataAdaptor* adaptor = NewAdaptor();
    ASSERT_NE(adaptor, nullptr);
    EXPECT_EQ(module.canUnloadNow(), S_FALSE);
    ASSERT_EQ(adaptor->Open(0, widePath.c_str()), S_OK);
    ASSERT_EQ(adaptor->LoadPage(5, 123, 1), S_OK);  // one page whatever is asked

    void* pv = nullptr;
    ASSERT_EQ(adaptor->GetCurPageInfo(&pv), S_OK);
    auto* info = static_cast<IPageInfo*>(pv);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->GetPageNo(), 1);
    BSTR title = nullptr;
    ASSERT_EQ(info->GetTitle(&title), S_OK);
    EXPECT_EQ(Text(title), u"A01");
    EXPECT_GT(info->GetWidth(), 0.0);
    LONG current = 0;
    EXPECT_EQ(adaptor->get_CurrentPage(&current), S_OK);
    EXPECT_EQ(current, 1);
    EXPECT_EQ(adaptor->get_TotalPageCount(&current), S_OK);
    EXPECT_EQ(current, 1);
    BSTR name = Sentinel<OLECHAR>();
    EXPECT_EQ(adaptor->get_FileName(&name), E_FAIL);  // not even with a file open
    EXPECT_EQ(name, Sentinel<OLECHAR>());

    IBlockList* list = nullptr;
    ASSERT_EQ(adaptor->GetTextList(nullptr, 0, &list), S_OK);
    LONG count = 0;
    ASSERT_EQ(list->GetCount(&count), S_OK);
    EXPECT_GE(count, 1);
    for (INT i = 0; i < count; ++i) {
        void* item = nullptr;
        ASSERT_EQ(list->GetItemAt(i, &item), S_OK);
        auto* block = static_cast<ITextBlock*>(item);
        BSTR text = nullptr;
        ASSERT_EQ(block->GetText(&text), S_OK);
        EXPECT_NE(Text(text).find(u"\u4E2D\u6587"), std::u16string::npos);
        EXPECT_EQ(block->GetPageNo(), 1);
        IRegn* region = nullptr;
        ASSERT_EQ(block->GetRegion(0, &region), S_OK);
        LONG points = 0;
        region->GetPoints(nullptr, &points);
        EXPECT_EQ(points, 4);
    }
    for (INT outside : {-1, static_cast<INT>(count)}) {
        void* item = Sentinel<void>();
        EXPECT_EQ(list->GetItemAt(outside, &item), E_INVALIDARG);
        EXPECT_EQ(item, Sentinel<void>());
    }

    // A list the host still holds keeps the module in use after the adaptor goes.
    EXPECT_EQ(adaptor->Close(), S_OK);
    EXPECT_EQ(adaptor->Release(), 0u);
    EXPECT_EQ(module.canUnloadNow(), S_FALSE);
    EXPECT_EQ(list->Release(), 0u);
    EXPECT_EQ(module.canUnloadNow(), S_OK);

    EXPECT_EQ(factory->LockServer(1), S_OK);
    EXPECT_EQ(module.canUnloadNow(), S_FALSE);
    EXPECT_EQ(factory->LockServer(0), S_OK);
    EXPECT_EQ(factory->LockServer(0), S_OK);  // one unlock too many changes nothing
    EXPECT_EQ(module.canUnloadNow(), S_OK);
}

}  // namespace
