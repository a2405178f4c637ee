// Kestrum — reader component for typeset newspaper and magazine pages.
//
// This is the one header a host compiles against. It declares the COM basics the
// component speaks (on Linux there is no COM runtime, so they are spelled out here),
// the component's interfaces in their fixed method order, the page-object interfaces
// the host defines, the host settings object, the identifiers, and the functions
// libkestrum.so exports. A host needs this header and libkestrum.so, nothing else.
//
// Binary conventions (Linux x86-64, Itanium C++ ABI):
//  - LONG, ULONG, INT, UINT, BOOL and HRESULT are 32-bit, as on the component's
//    original platform. Values that carry an address (dwAppExt, list items, the
//    page-image handle) are pointer-sized.
//  - Interfaces are called through their virtual tables in declaration order.
//    Where a component class adds a destructor to an interface's table, the
//    Itanium ABI gives that destructor two table entries (complete and deleting),
//    so an operation declared after it sits one entry later than on the original
//    platform. Hosts call through the declarations below and never count slots.
//  - The page-object interfaces have no IUnknown: the component owns every object
//    and the host only borrows pointers. Never delete one.
//  - Strings crossing the interface are 16-bit (UTF-16) code units; strings handed
//    out are BSTRs which the host frees with SysFreeString.
#ifndef KESTRUM_KESTRUM_H
#define KESTRUM_KESTRUM_H

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(KESTRUM_BUILDING_LIBRARY)
#define KESTRUM_API extern "C" __attribute__((visibility("default")))
#else
#define KESTRUM_API extern "C"
#endif

// ---------------------------------------------------------------------------
// Basic types
// ---------------------------------------------------------------------------
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef int32_t INT;
typedef uint32_t UINT;
typedef int32_t BOOL;
typedef uint16_t USHORT;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t HRESULT;
typedef uintptr_t ULONG_PTR;
typedef char16_t OLECHAR;
typedef OLECHAR* BSTR;
typedef void* HGLOBAL;

#define KESTRUM_HR(v) (static_cast<HRESULT>(static_cast<uint32_t>(v)))
constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_FAIL = KESTRUM_HR(0x80004005u);
constexpr HRESULT E_INVALIDARG = KESTRUM_HR(0x80070057u);
constexpr HRESULT E_NOINTERFACE = KESTRUM_HR(0x80004002u);
constexpr HRESULT E_POINTER = KESTRUM_HR(0x80004003u);
constexpr HRESULT E_OUTOFMEMORY = KESTRUM_HR(0x8007000Eu);
constexpr HRESULT CLASS_E_NOAGGREGATION = KESTRUM_HR(0x80040110u);
constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = KESTRUM_HR(0x80040111u);
constexpr HRESULT SELFREG_E_CLASS = KESTRUM_HR(0x80040201u);
constexpr HRESULT SELFREG_E_TYPELIB = KESTRUM_HR(0x80040200u);

inline constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
inline constexpr bool FAILED(HRESULT hr) { return hr < 0; }

struct GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};
typedef GUID IID;
typedef GUID CLSID;
typedef const GUID& REFGUID;
typedef const IID& REFIID;
typedef const CLSID& REFCLSID;

inline bool IsEqualGUID(REFGUID a, REFGUID b) { return std::memcmp(&a, &b, sizeof(GUID)) == 0; }
inline bool operator==(REFGUID a, REFGUID b) { return IsEqualGUID(a, b); }
inline bool operator!=(REFGUID a, REFGUID b) { return !IsEqualGUID(a, b); }

// Rectangle of the type library (record tagRECT) and the point of a region.
struct tagRECT {
    LONG left = 0;
    LONG top = 0;
    LONG right = 0;
    LONG bottom = 0;
};
typedef tagRECT RECT;

struct tagPOINT {
    LONG x = 0;
    LONG y = 0;
};
typedef tagPOINT POINT;

// The part of VARIANT that IProp uses: a 16-bit type tag and a BSTR.
typedef uint16_t VARTYPE;
constexpr VARTYPE VT_EMPTY = 0;
constexpr VARTYPE VT_BSTR = 8;
struct VARIANT {
    VARTYPE vt = VT_EMPTY;
    uint16_t wReserved1 = 0;
    uint16_t wReserved2 = 0;
    uint16_t wReserved3 = 0;
    union {
        BSTR bstrVal;
        int64_t llVal;
        double dblVal;
        void* byref;
    };
    VARIANT() : llVal(0) {}
};

// ---------------------------------------------------------------------------
// Identifiers
// ---------------------------------------------------------------------------
inline constexpr IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_IClassFactory = {0x00000001, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// coclass PSDataAdaptor
inline constexpr CLSID CLSID_PSDataAdaptor = {0x01EDC397, 0x47A5, 0x44A5, {0x83, 0x1C, 0xAB, 0x57, 0x43, 0x32, 0x3F, 0xEF}};
inline constexpr IID IID_IDataAdaptor = {0x6A2DB666, 0xEE93, 0x4BC9, {0x9D, 0xE2, 0xEE, 0x4B, 0xE2, 0xBD, 0x97, 0x9D}};
inline constexpr IID IID_IBlockList = {0x6A2DB666, 0xEE93, 0x4BC9, {0x9D, 0xE2, 0xEE, 0x4B, 0xE2, 0xBD, 0x97, 0x9E}};
// Extension of the adaptor: the page's article numbers (IBlockArticles below).
inline constexpr IID IID_IBlockArticles = {0x8A3D7802, 0x0A7F, 0x4BF8, {0x80, 0x79, 0x3C, 0xA0, 0x58, 0xDD, 0x68, 0xCA}};
// type library KESTRUMLib 1.0
inline constexpr GUID LIBID_KESTRUMLib = {0xB516461F, 0x7A88, 0x4A22, {0xBD, 0x83, 0xF0, 0x32, 0xE8, 0x29, 0x9F, 0x93}};

#define KESTRUM_PROGID "Kestrum.PSDataAdaptor.1"
#define KESTRUM_VERSION_INDEPENDENT_PROGID "Kestrum.PSDataAdaptor"

// ---------------------------------------------------------------------------
// COM interfaces
// ---------------------------------------------------------------------------
struct IUnknown {
    virtual HRESULT QueryInterface(REFIID riid, void** ppvObject) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    ~IUnknown() = default;
};

struct IClassFactory : IUnknown {
    virtual HRESULT CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) = 0;
    virtual HRESULT LockServer(BOOL fLock) = 0;

protected:
    ~IClassFactory() = default;
};

// A list of page objects handed to the host. Items are lent: the host indexes them
// and casts each to the interface of the list's kind (ITextBlock, IPicBlock or
// IArticle). Releasing the list frees the list only.
struct IBlockList : IUnknown {
    virtual HRESULT GetCount(LONG* pVal) = 0;
    virtual HRESULT GetItemAt(INT nIndex, void** ppItem) = 0;

protected:
    ~IBlockList() = default;
};

// ---------------------------------------------------------------------------
// Host-defined page-object interfaces (no IUnknown, no reference counts)
// ---------------------------------------------------------------------------
struct IRegn {
    // With pPoints null: stores the point count in *pCount. Otherwise fills
    // pPoints[0..n-1] and leaves *pCount alone.
    virtual HRESULT GetPoints(POINT* pPoints, LONG* pCount) = 0;
    virtual LONG GetPageNo() = 0;

protected:
    ~IRegn() = default;
};

struct IProp {
    virtual HRESULT GetPropName(BSTR* pName) = 0;
    virtual HRESULT GetPropValue(VARIANT* pValue) = 0;
    virtual HRESULT GetPropText(BSTR* pText) = 0;

protected:
    ~IProp() = default;
};

struct ILabelPropBase {
    virtual HRESULT ReservedProp1(void* pReserved) = 0;
    virtual HRESULT ReservedProp2(LONG lReserved1, LONG lReserved2) = 0;

protected:
    ~ILabelPropBase() = default;
};

struct IPageInfo : ILabelPropBase {
    virtual LONG GetPageNo() = 0;
    virtual HRESULT GetPageLabel(LONG* pPageNo, BSTR* pLabel) = 0;
    virtual HRESULT GetTitle(BSTR* pTitle) = 0;
    virtual HRESULT GetReservedText1(BSTR* pText) = 0;
    virtual HRESULT GetReservedText2(BSTR* pText) = 0;
    virtual HRESULT GetReservedText3(BSTR* pText) = 0;
    virtual double GetWidth() = 0;
    virtual double GetHeight() = 0;
    virtual double GetImageWidth() = 0;
    virtual double GetImageHeight() = 0;
    virtual HRESULT GetReservedValue(LONG* pValue) = 0;
    virtual double GetMeanTextSize() = 0;

protected:
    ~IPageInfo() = default;
};

struct IBlock : ILabelPropBase {
    virtual LONG GetPageNo() = 0;
    virtual HRESULT GetTextBlocks(IBlockList** ppList, ULONG nPart) = 0;
    virtual HRESULT GetPicBlocks(IBlockList** ppList) = 0;
    virtual HRESULT GetHtml(BSTR* pHtml) = 0;

protected:
    ~IBlock() = default;
};

struct ITextBlock : IBlock {
    virtual LONG GetLayout() = 0;
    virtual HRESULT GetFontName(BSTR* pName) = 0;
    virtual double GetFontSize() = 0;
    virtual LONG GetTextLength() = 0;
    virtual LONG ReservedLong1() = 0;
    virtual HRESULT GetText(BSTR* pText) = 0;
    virtual HRESULT GetRegionCount(LONG* pCount) = 0;
    virtual HRESULT GetRegion(LONG nIndex, IRegn** ppRegion) = 0;
    virtual LONG ReservedLong2(LONG lReserved) = 0;
    virtual LONG GetKind() = 0;
    virtual double ReservedDouble1() = 0;
    virtual double ReservedDouble2() = 0;
    virtual LONG GetID() = 0;
    virtual LONG GetID2() = 0;
    virtual LONG ReservedLong3() = 0;
    virtual LONG GetLevel() = 0;
    virtual double GetFontSize2() = 0;

protected:
    ~ITextBlock() = default;
};

struct IPicBlock : IBlock {
    virtual HRESULT GetRect(RECT* pRect) = 0;
    // S_OK written, S_FALSE preparing or writing failed, E_FAIL no image.
    virtual HRESULT SaveImage(const OLECHAR* szPath) = 0;
    virtual HRESULT GetName(BSTR* pName) = 0;
    virtual LONG GetImageWidth() = 0;
    virtual LONG GetImageHeight() = 0;
    virtual LONG GetImageBpp() = 0;
    // Packed device-independent bitmap owned by the picture; null without an image.
    virtual void* GetImageDIB() = 0;
    virtual HRESULT GetRegionCount(LONG* pCount) = 0;
    virtual HRESULT GetRegion(LONG nIndex, IRegn** ppRegion) = 0;
    virtual HRESULT GetImagePath(BSTR* pPath) = 0;

protected:
    ~IPicBlock() = default;
};

struct IArticle : IBlock {
    // Page number in the high 16 bits, index of the article on its page in the low 16.
    virtual LONG GetID() = 0;

protected:
    ~IArticle() = default;
};

// Parts selectable with IArticle::GetTextBlocks.
constexpr ULONG KESTRUM_PART_ALL = 0;
constexpr ULONG KESTRUM_PART_MAIN_TITLE = 1;
constexpr ULONG KESTRUM_PART_LEAD_TITLE = 2;
constexpr ULONG KESTRUM_PART_SUB_TITLE = 3;
constexpr ULONG KESTRUM_PART_BODY = 4;

// ---------------------------------------------------------------------------
// Host settings, passed to IDataAdaptor::Open as the address of an IAppExt.
// ---------------------------------------------------------------------------
struct AppExtInfo {
    INT bResourceLookup;            // non-zero: match picture names against the page's resource list
    INT lReserved;                  // copied, read by nothing
    INT bGroupArticles;             // non-zero: group an S2 page's blocks into articles
    const OLECHAR* szPageLabel;     // page label, may be null
    const OLECHAR* szPageImage;     // full path of the page's preview image, may be null
    const OLECHAR* szImageFolders;  // picture folders separated by ';', "*" prefix = with subfolders
};

struct IAppExt {
    // Takes back the record GetInfo handed out.
    virtual HRESULT ReleaseInfo(AppExtInfo** ppInfo) = 0;
    // Stores the address of the settings record in *ppInfo; the component passes 0 as reserved.
    virtual HRESULT GetInfo(AppExtInfo** ppInfo, ULONG ulReserved) = 0;

protected:
    ~IAppExt() = default;
};

// ---------------------------------------------------------------------------
// The component: coclass PSDataAdaptor, interface IDataAdaptor
// ---------------------------------------------------------------------------
struct IDataAdaptor : IUnknown {
    virtual HRESULT GetPaperInfo(void** ppPaperInfo) = 0;
    // *ppPageInfo receives an IPageInfo*, lent by the component.
    virtual HRESULT GetCurPageInfo(void** ppPageInfo) = 0;
    // dwAppExt: address of the host's IAppExt, or 0.
    virtual HRESULT Open(ULONG_PTR dwAppExt, const OLECHAR* szFileName) = 0;
    virtual HRESULT Close() = 0;
    virtual HRESULT LoadPage(INT nPageNo, ULONG dwLFlags, BOOL bGetAllPageInfo) = 0;
    virtual HRESULT SavePageImage(INT nPageNo, double dScale, const OLECHAR* szImageName, LONG* plDeepenPixel) = 0;
    // *phDIB receives a global memory handle holding a packed DIB; free it with GlobalFree.
    virtual HRESULT GetPageImage(INT nPageNo, double dViewScale, HGLOBAL* phDIB) = 0;
    virtual HRESULT get_FileName(BSTR* pVal) = 0;
    virtual HRESULT get_TotalPageCount(LONG* pVal) = 0;
    virtual HRESULT GetPicList(RECT* prc, ULONG dwFlags, IBlockList** ppVal) = 0;
    virtual HRESULT GetTextList(RECT* prc, ULONG dwFlags, IBlockList** ppVal) = 0;
    virtual HRESULT GetArticleList(ULONG dwFlags, IBlockList** ppVal) = 0;
    virtual HRESULT get_CurrentPage(LONG* pVal) = 0;
    virtual HRESULT SplitPDFMultiPage(ULONG_PTR dwAppExt) = 0;

protected:
    ~IDataAdaptor() = default;
};

// The article number the page file gives each block: blocks with equal numbers belong
// to one story; -1 marks text outside any story. A PostScript page states it line by
// line, so it groups that page's blocks where GetArticleList lists none; an S2 block
// carries its item's link number, a picture of either format 0.
//
// The page-object interfaces have no QueryInterface, so the blocks answer through the
// adaptor: IDataAdaptor::QueryInterface(IID_IBlockArticles, &p) gives this interface
// (counted on the adaptor, one identity with it); a component without the extension
// answers E_NOINTERFACE. A block is any text block (parts and captions included) or
// picture the adaptor handed out for the page loaded now.
struct IBlockArticles : IUnknown {
    // S_OK with the number; E_POINTER for a null argument; E_INVALIDARG, *pArticle
    // untouched, for a pointer that is not a block of the loaded page (a foreign
    // object, a block of a closed page). The pointer is compared, never called.
    virtual HRESULT GetTextBlockArticle(ITextBlock* pBlock, LONG* pArticle) = 0;
    virtual HRESULT GetPicBlockArticle(IPicBlock* pBlock, LONG* pArticle) = 0;

protected:
    ~IBlockArticles() = default;
};

// ---------------------------------------------------------------------------
// Exported functions
// ---------------------------------------------------------------------------
// Module entry points of the in-process server.
KESTRUM_API HRESULT DllCanUnloadNow(void);
KESTRUM_API HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv);
KESTRUM_API HRESULT DllRegisterServer(void);
KESTRUM_API HRESULT DllUnregisterServer(void);

// Creates an object registered in the file-based registry ($KESTRUM_REGISTRY, else
// $XDG_CONFIG_HOME/kestrum/registry, else ~/.config/kestrum/registry). szClass is a
// ProgID ("Kestrum.PSDataAdaptor") or a CLSID in braces. Loads the registered
// InprocServer32 module and asks its class factory.
KESTRUM_API HRESULT KestrumCreateInstance(const char* szClass, REFIID riid, void** ppv);

// BSTR: 16-bit code units after a 4-byte byte-length prefix, zero-terminated.
KESTRUM_API BSTR SysAllocString(const OLECHAR* psz);
KESTRUM_API BSTR SysAllocStringLen(const OLECHAR* strIn, UINT ui);
KESTRUM_API UINT SysStringLen(BSTR bstr);
KESTRUM_API void SysFreeString(BSTR bstr);

// Global memory handles (the page image handle of GetPageImage).
constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;
KESTRUM_API HGLOBAL GlobalAlloc(UINT uFlags, size_t dwBytes);
KESTRUM_API void* GlobalLock(HGLOBAL hMem);
KESTRUM_API BOOL GlobalUnlock(HGLOBAL hMem);
KESTRUM_API size_t GlobalSize(HGLOBAL hMem);
KESTRUM_API HGLOBAL GlobalFree(HGLOBAL hMem);

// The calling thread's ANSI code page, used for every narrow <-> wide conversion.
// 936 (GBK) unless the host sets another one. Returns the previous code page, or 0
// when the code page is not supported (the setting is then unchanged).
KESTRUM_API UINT KestrumSetThreadCodePage(UINT codePage);
KESTRUM_API UINT KestrumGetThreadCodePage(void);

#endif  // KESTRUM_KESTRUM_H
