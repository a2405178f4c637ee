// The page information object, the region (outline) of a block, and the property
// object that completes the host's interface family.
#pragma once

#include <kestrum/kestrum.h>

#include "platform/Rect.h"

#include <string>
#include <vector>

namespace kestrum {

class CPageInfo : public IPageInfo {
public:
    CPageInfo() = default;
    virtual ~CPageInfo();  // called by the owning reader only
    CPageInfo(const CPageInfo&) = delete;
    CPageInfo& operator=(const CPageInfo&) = delete;

    HRESULT ReservedProp1(void* pReserved) override;
    HRESULT ReservedProp2(LONG lReserved1, LONG lReserved2) override;
    LONG GetPageNo() override;
    HRESULT GetPageLabel(LONG* pPageNo, BSTR* pLabel) override;
    HRESULT GetTitle(BSTR* pTitle) override;
    HRESULT GetReservedText1(BSTR* pText) override;
    HRESULT GetReservedText2(BSTR* pText) override;
    HRESULT GetReservedText3(BSTR* pText) override;
    double GetWidth() override;
    double GetHeight() override;
    double GetImageWidth() override;
    double GetImageHeight() override;
    HRESULT GetReservedValue(LONG* pValue) override;
    double GetMeanTextSize() override;

    int32_t m_nPageNo = 0;         // 0 until a file opens, then 1
    double m_dWidth = 0.0;         // page width, reader's page units
    double m_dHeight = 0.0;        // page height
    std::string m_strReserved1;    // nothing fills the three reserved texts
    std::string m_strReserved2;
    std::string m_strReserved3;
    std::string m_strTitle;        // page file name without folder and extension
    std::string m_strLabel;        // host's page label
    double m_dMeanTextSize = 0.0;  // font sizes of the text blocks weighted by text length
    double m_dImageWidth = 0.0;    // pixel size of the preview image
    double m_dImageHeight = 0.0;
};

// A point of a region, in the reader's page units.
struct _DPOINT {
    double x = 0.0;
    double y = 0.0;
};

class CRegn : public IRegn {
public:
    CRegn() = default;
    virtual ~CRegn();
    CRegn(const CRegn&) = delete;
    CRegn& operator=(const CRegn&) = delete;

    HRESULT GetPoints(POINT* pPoints, LONG* pCount) override;
    LONG GetPageNo() override;

    // Refills the region with the four corners of `r` (clockwise from the top left).
    void SetRect(const Rect& r, int32_t pageNo);

    std::vector<_DPOINT> m_arrPoints;
    int32_t m_nPageNo = 0;
};

// A block's GetRegion: an index above 1 fails with *ppRegion untouched; any other
// index refills the block's region with the corners of `rect` and lends it.
HRESULT LendRegion(CRegn& region, const Rect& rect, int32_t pageNo, LONG nIndex, IRegn** ppRegion);

// `r` with right and bottom pushed up by `roundUp` and truncated toward zero.
Rect RoundUpRect(const Rect& r, double roundUp);

class CProp : public IProp {
public:
    CProp() = default;
    virtual ~CProp();
    CProp(const CProp&) = delete;
    CProp& operator=(const CProp&) = delete;

    HRESULT GetPropName(BSTR* pName) override;
    HRESULT GetPropValue(VARIANT* pValue) override;
    HRESULT GetPropText(BSTR* pText) override;

    std::string m_strName;   // first
    std::string m_strText;   // second
    std::string m_strValue;  // third
};

}  // namespace kestrum
