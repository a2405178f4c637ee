// The component's one creatable class: it picks the reader for a page file by its
// extension, forwards Open, LoadPage and Close to it, and hands the page's objects
// and image to the host.
#pragma once

#include <kestrum/kestrum.h>

#include "frame/BlockArticles.h"

#include <cstdint>
#include <memory>
#include <string>

namespace kestrum {

class CParserFile;

enum ParserKind : int32_t {
    kNoParser = -1,
    kPostScriptParser = 1,
    kS2Parser = 2,
};

class CPSDataAdaptor : public IDataAdaptor {
public:
    // Makes an adaptor (aggregated when `outer` is not null) and queries it for `riid`.
    // With an outer object only IID_IUnknown may be asked for.
    static HRESULT Create(IUnknown* outer, REFIID riid, void** ppv);

    // IUnknown of IDataAdaptor: the controlling object's (the outer one when aggregated).
    HRESULT QueryInterface(REFIID riid, void** ppv) override;
    ULONG AddRef() override;
    ULONG Release() override;

    HRESULT GetPaperInfo(void** ppPaperInfo) override;
    HRESULT GetCurPageInfo(void** ppPageInfo) override;
    HRESULT Open(ULONG_PTR dwAppExt, const OLECHAR* szFileName) override;
    HRESULT Close() override;
    HRESULT LoadPage(INT nPageNo, ULONG dwLFlags, BOOL bGetAllPageInfo) override;
    HRESULT SavePageImage(INT nPageNo, double dScale, const OLECHAR* szImageName, LONG* plDeepenPixel) override;
    HRESULT GetPageImage(INT nPageNo, double dViewScale, HGLOBAL* phDIB) override;
    HRESULT get_FileName(BSTR* pVal) override;
    HRESULT get_TotalPageCount(LONG* pVal) override;
    HRESULT GetPicList(RECT* prc, ULONG dwFlags, IBlockList** ppVal) override;
    HRESULT GetTextList(RECT* prc, ULONG dwFlags, IBlockList** ppVal) override;
    HRESULT GetArticleList(ULONG dwFlags, IBlockList** ppVal) override;
    HRESULT get_CurrentPage(LONG* pVal) override;
    HRESULT SplitPDFMultiPage(ULONG_PTR dwAppExt) override;

    // For white-box checks of the reader choice.
    ParserKind GetParserKind() const { return m_nParserKind; }
    CParserFile* GetParser() const { return m_pParser.get(); }

private:
    class Object;
    explicit CPSDataAdaptor(IUnknown* controlling);
    ~CPSDataAdaptor();
    CPSDataAdaptor(const CPSDataAdaptor&) = delete;
    CPSDataAdaptor& operator=(const CPSDataAdaptor&) = delete;

    // The reader for a page file with this extension, created or replaced as needed;
    // null for an extension no reader knows (the current reader then stays).
    CParserFile* ReaderFor(const std::string& path);
    // The reader when it has a page open (page number above 0), else null.
    CParserFile* OpenReader() const;

    IUnknown* m_pControlling;               // receives IUnknown calls made on IDataAdaptor
    CBlockArticles m_blockArticles;         // the article-number extension over the loaded page's blocks
    std::unique_ptr<CParserFile> m_pParser;  // the current reader, null until a known file is opened
    ParserKind m_nParserKind = kNoParser;
};

}  // namespace kestrum
