#include "model/PageInfo.h"

#include "model/Boundary.h"
#include "platform/Bstr.h"

namespace kestrum {

CPageInfo::~CPageInfo() = default;

HRESULT CPageInfo::ReservedProp1(void*) { return S_OK; }
HRESULT CPageInfo::ReservedProp2(LONG, LONG) { return S_OK; }

LONG CPageInfo::GetPageNo() { return m_nPageNo; }

HRESULT CPageInfo::GetPageLabel(LONG* pPageNo, BSTR* pLabel) {
    if (!pPageNo || !pLabel) return E_POINTER;
    // Without a page or a label the host keeps what it initialised.
    if (m_nPageNo <= 0 || m_strLabel.empty()) return S_OK;
    return Guarded([&] {
        HRESULT hr = StoreBstr(pLabel, m_strLabel);
        if (SUCCEEDED(hr)) *pPageNo = m_nPageNo;
        return hr;
    });
}

HRESULT CPageInfo::GetTitle(BSTR* pTitle) {
    return Guarded([&] { return StoreBstr(pTitle, m_strTitle); });
}

namespace {

// The reserved texts are handed out (empty) but reported as absent.
HRESULT ReservedText(BSTR* out, const std::string& text) {
    return Guarded([&] {
        HRESULT hr = StoreBstr(out, text);
        return FAILED(hr) ? hr : E_FAIL;
    });
}

}  // namespace

HRESULT CPageInfo::GetReservedText1(BSTR* pText) { return ReservedText(pText, m_strReserved3); }
HRESULT CPageInfo::GetReservedText2(BSTR* pText) { return ReservedText(pText, m_strReserved1); }
HRESULT CPageInfo::GetReservedText3(BSTR* pText) { return ReservedText(pText, m_strReserved2); }

double CPageInfo::GetWidth() { return m_dWidth; }
double CPageInfo::GetHeight() { return m_dHeight; }
double CPageInfo::GetImageWidth() { return m_dImageWidth; }
double CPageInfo::GetImageHeight() { return m_dImageHeight; }

HRESULT CPageInfo::GetReservedValue(LONG* pValue) {
    if (!pValue) return E_POINTER;
    *pValue = 0;
    return E_FAIL;
}

double CPageInfo::GetMeanTextSize() { return m_dMeanTextSize; }

CRegn::~CRegn() = default;

HRESULT CRegn::GetPoints(POINT* pPoints, LONG* pCount) {
    if (!pPoints) {
        if (!pCount) return E_POINTER;
        *pCount = static_cast<LONG>(m_arrPoints.size());
        return S_OK;
    }
    for (const _DPOINT& p : m_arrPoints) *pPoints++ = MakePoint(trunc32(p.x), trunc32(p.y));
    return S_OK;
}

LONG CRegn::GetPageNo() { return m_nPageNo; }

void CRegn::SetRect(const Rect& r, int32_t pageNo) {
    const double left = r.left, top = r.top, right = r.right, bottom = r.bottom;
    m_arrPoints.assign({{left, top}, {right, top}, {right, bottom}, {left, bottom}});
    m_nPageNo = pageNo;
}

HRESULT LendRegion(CRegn& region, const Rect& rect, int32_t pageNo, LONG nIndex, IRegn** ppRegion) {
    if (!ppRegion) return E_POINTER;
    if (nIndex > 1) return E_FAIL;
    return Guarded([&] {
        region.SetRect(rect, pageNo);
        *ppRegion = &region;
        return S_OK;
    });
}

Rect RoundUpRect(const Rect& r, double roundUp) {
    return MakeRect(r.left, r.top, trunc32(r.right + roundUp), trunc32(r.bottom + roundUp));
}

CProp::~CProp() = default;

HRESULT CProp::GetPropName(BSTR* pName) {
    return Guarded([&] { return StoreBstr(pName, m_strName); });
}

HRESULT CProp::GetPropValue(VARIANT* pValue) {
    if (!pValue) return E_POINTER;
    return Guarded([&] {
        // The host hands in a fresh variant; whatever it held is the host's.
        BSTR value = MakeBstr(m_strValue);
        if (!value) return E_FAIL;
        pValue->vt = VT_BSTR;
        pValue->bstrVal = value;
        return S_OK;
    });
}

HRESULT CProp::GetPropText(BSTR* pText) {
    return Guarded([&] { return StoreBstr(pText, m_strText); });
}

}  // namespace kestrum
