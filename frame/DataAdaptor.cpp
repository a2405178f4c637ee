#include "frame/DataAdaptor.h"

#include "model/Boundary.h"
#include "model/ComObject.h"
#include "model/PageInfo.h"
#include "parser/Image.h"
#include "parser/ParserFile.h"
#include "platform/CodePage.h"
#include "platform/Files.h"
#include "platform/Mbcs.h"
#include "platform/Path.h"
#include "psreader/PSParser.h"
#include "s2reader/S2Parser.h"

namespace kestrum {

namespace {

constexpr uint8_t kPageJpegQuality = 100;

// The host's preview image of the page (an existing file) decoded as JPEG; false when it does not decode.
bool DecodePreview(const std::string& preview, CxImage& image) {
    return image.Load(preview, CXIMAGE_FORMAT_JPG) && image.IsValid();
}

// A new result list with the reader's objects, handed to the host.
template <class List>
HRESULT HandOutCopy(const CParserFile& reader, HRESULT (CParserFile::*copy)(List&, ULONG) const, ULONG flags,
                    IBlockList** ppVal) {
    auto list = std::make_unique<List>();
    (reader.*copy)(*list, flags);  // a reader without articles just lists none
    return HandOutList(list.release(), ppVal);
}

}  // namespace

// The object the module hands out: it holds the reference count and the
// non-delegating IUnknown, the adaptor does the work.
class CPSDataAdaptor::Object final : public CComObject<IUnknown> {
public:
    explicit Object(IUnknown* outer) : m_adaptor(outer ? outer : this) {}

private:
    IUnknown* FindInterface(REFIID riid) override {
        if (riid == IID_IUnknown) return this;
        if (riid == IID_IDataAdaptor) return &m_adaptor;
        if (riid == IID_IBlockArticles) return &m_adaptor.m_blockArticles;
        return nullptr;
    }

    CPSDataAdaptor m_adaptor;
};

HRESULT CPSDataAdaptor::Create(IUnknown* outer, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer && riid != IID_IUnknown) return CLASS_E_NOAGGREGATION;
    return Guarded(
        [&] {
            auto object = std::make_unique<Object>(outer);
            const HRESULT hr = object->QueryInterface(riid, ppv);
            if (SUCCEEDED(hr)) object.release();  // now owned by its reference
            return hr;
        },
        E_OUTOFMEMORY);
}

CPSDataAdaptor::CPSDataAdaptor(IUnknown* controlling) : m_pControlling(controlling), m_blockArticles(controlling) {}

CPSDataAdaptor::~CPSDataAdaptor() = default;

HRESULT CPSDataAdaptor::QueryInterface(REFIID riid, void** ppv) { return m_pControlling->QueryInterface(riid, ppv); }
ULONG CPSDataAdaptor::AddRef() { return m_pControlling->AddRef(); }
ULONG CPSDataAdaptor::Release() { return m_pControlling->Release(); }

HRESULT CPSDataAdaptor::GetPaperInfo(void** ppPaperInfo) {
    if (!ppPaperInfo) return E_POINTER;
    *ppPaperInfo = nullptr;  // there is no paper information
    return S_OK;
}

HRESULT CPSDataAdaptor::GetCurPageInfo(void** ppPageInfo) {
    if (!ppPageInfo) return E_FAIL;
    if (m_pParser) *ppPageInfo = static_cast<IPageInfo*>(m_pParser->m_pPageInfo.get());
    return S_OK;
}

CParserFile* CPSDataAdaptor::ReaderFor(const std::string& path) {
    const std::string ext = ExtensionOf(path);
    ParserKind wanted = kNoParser;
    if (MbEqualNoCase(ext, ".ps")) wanted = kPostScriptParser;
    else if (MbEqualNoCase(ext, ".s2")) wanted = kS2Parser;
    else return nullptr;

    if (m_pParser && m_nParserKind != wanted) {
        m_pParser.reset();
        m_nParserKind = kNoParser;
    }
    if (!m_pParser) {
        if (wanted == kPostScriptParser) m_pParser = std::make_unique<CPSParser>();
        else m_pParser = std::make_unique<CS2Parser>();
        m_nParserKind = wanted;
    }
    return m_pParser.get();
}

HRESULT CPSDataAdaptor::Open(ULONG_PTR dwAppExt, const OLECHAR* szFileName) {
    if (!szFileName) return E_FAIL;
    // Whatever this Open does to the reader, no page is loaded afterwards.
    m_blockArticles.ForgetPage();
    return Guarded([&] {
        const std::string path = WideToNarrow(szFileName);
        CParserFile* reader = ReaderFor(path);
        // A reader whose Open failed stays for the next file.
        if (!reader || !reader->Open(path)) return E_FAIL;
        if (dwAppExt) {
            // Settings the host cannot give leave the previous ones; the file is open all the same.
            Guarded([&] { return reader->ApplyHostSettings(reinterpret_cast<IAppExt*>(dwAppExt)); });
        }
        return S_OK;
    });
}

HRESULT CPSDataAdaptor::Close() {
    m_blockArticles.ForgetPage();
    return Guarded([&] {
        if (m_pParser) m_pParser->ClearPage();
        return S_OK;
    });
}

HRESULT CPSDataAdaptor::LoadPage(INT, ULONG, BOOL) {
    // A file holds one page, so the arguments choose nothing. Without a reader
    // there is nothing to load, which is not an error for the host.
    m_blockArticles.ForgetPage();
    return Guarded([&] {
        if (m_pParser) m_pParser->LoadPage();
        if (const CParserFile* reader = OpenReader()) m_blockArticles.IndexPage(*reader);
        return S_OK;
    });
}

HRESULT CPSDataAdaptor::SavePageImage(INT, double, const OLECHAR* szImageName, LONG*) {
    if (!szImageName) return E_POINTER;
    return Guarded([&] {
        if (!m_pParser) return E_FAIL;
        const std::string target = WideToNarrow(szImageName);
        const std::string preview = m_pParser->GetPageImagePath();
        if (preview.empty()) return m_pParser->RenderPageImage(target, true) ? S_OK : E_FAIL;
        if (!PathExists(preview)) return E_FAIL;
        CxImage image(CXIMAGE_FORMAT_JPG);
        if (!DecodePreview(preview, image)) return E_FAIL;
        image.SetJpegQuality(kPageJpegQuality);
        return image.Save(target, CXIMAGE_FORMAT_JPG) ? S_OK : E_FAIL;
    });
}

HRESULT CPSDataAdaptor::GetPageImage(INT, double, HGLOBAL* phDIB) {
    if (!phDIB) return E_POINTER;
    return Guarded([&] {
        if (!m_pParser) return E_FAIL;
        const std::string preview = m_pParser->GetPageImagePath();
        if (preview.empty() || !PathExists(preview)) return E_FAIL;
        CxImage image(CXIMAGE_FORMAT_JPG);
        *phDIB = DecodePreview(preview, image) ? image.CopyToHandle() : nullptr;
        return *phDIB ? S_OK : E_FAIL;
    });
}

HRESULT CPSDataAdaptor::get_FileName(BSTR*) { return E_FAIL; }  // the adaptor keeps no file name for the host

HRESULT CPSDataAdaptor::get_TotalPageCount(LONG* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 1;
    return S_OK;
}

CParserFile* CPSDataAdaptor::OpenReader() const {
    if (!m_pParser || !m_pParser->m_pPageInfo || m_pParser->m_pPageInfo->m_nPageNo <= 0) return nullptr;
    return m_pParser.get();
}

HRESULT CPSDataAdaptor::GetPicList(RECT*, ULONG dwFlags, IBlockList** ppVal) {
    if (!ppVal) return E_POINTER;
    const CParserFile* reader = OpenReader();
    if (!reader) return E_FAIL;
    return Guarded([&] { return HandOutCopy(*reader, &CParserFile::CopyPicBlocks, dwFlags, ppVal); });
}

HRESULT CPSDataAdaptor::GetTextList(RECT*, ULONG dwFlags, IBlockList** ppVal) {
    if (!ppVal) return E_POINTER;
    const CParserFile* reader = OpenReader();
    if (!reader) return E_FAIL;
    return Guarded([&] { return HandOutCopy(*reader, &CParserFile::CopyTextBlocks, dwFlags, ppVal); });
}

HRESULT CPSDataAdaptor::GetArticleList(ULONG dwFlags, IBlockList** ppVal) {
    if (!ppVal) return E_POINTER;
    const CParserFile* reader = OpenReader();
    if (!reader) return E_FAIL;
    return Guarded([&] { return HandOutCopy(*reader, &CParserFile::CopyArticles, dwFlags, ppVal); });
}

HRESULT CPSDataAdaptor::get_CurrentPage(LONG* pVal) {
    if (!pVal) return E_POINTER;
    if (m_pParser && m_pParser->m_pPageInfo) *pVal = m_pParser->m_pPageInfo->m_nPageNo;
    return S_OK;
}

HRESULT CPSDataAdaptor::SplitPDFMultiPage(ULONG_PTR) { return E_FAIL; }

}  // namespace kestrum
