// One picture on the page: rectangle, name, image file, the image once loaded, and its caption.
#pragma once

#include <kestrum/kestrum.h>

#include "platform/Rect.h"

#include <memory>
#include <string>

namespace kestrum {

class CPageInfo;
class CRegn;
class CTextBlock;
class CxImage;

class CPicBlock : public IPicBlock {
public:
    explicit CPicBlock(CPageInfo* pPageInfo);
    // Deletes the image, then the caption's parts and the caption, then the region.
    virtual ~CPicBlock();
    CPicBlock(const CPicBlock&) = delete;
    CPicBlock& operator=(const CPicBlock&) = delete;

    HRESULT ReservedProp1(void* pReserved) override;
    HRESULT ReservedProp2(LONG lReserved1, LONG lReserved2) override;
    LONG GetPageNo() override;
    HRESULT GetTextBlocks(IBlockList** ppList, ULONG nPart) override;
    HRESULT GetPicBlocks(IBlockList** ppList) override;
    HRESULT GetHtml(BSTR* pHtml) override;
    HRESULT GetRect(RECT* pRect) override;
    HRESULT SaveImage(const OLECHAR* szPath) override;
    HRESULT GetName(BSTR* pName) override;
    LONG GetImageWidth() override;
    LONG GetImageHeight() override;
    LONG GetImageBpp() override;
    void* GetImageDIB() override;
    HRESULT GetRegionCount(LONG* pCount) override;
    HRESULT GetRegion(LONG nIndex, IRegn** ppRegion) override;
    HRESULT GetImagePath(BSTR* pPath) override;

    // Right and bottom rounded up by 0.99 toward zero, as GetRect.
    HRESULT GetRegionRect(RECT* out) const;

    int32_t m_nID = 0;
    int32_t m_nArticle = 0;
    std::unique_ptr<CRegn> m_pRegion;
    Rect m_rect;                        // page units
    int32_t m_nKind = 4;                // always 4 (picture)
    std::string m_strName;              // name as the page file gives it
    std::string m_strImagePath;         // image file found; empty when none
    CPageInfo* m_pPageInfo = nullptr;   // owner page, not owned
    std::unique_ptr<CxImage> m_pImage;  // the loaded image, may be null
    CTextBlock* m_pCaption = nullptr;   // owned caption (or caption container while attaching)
};

}  // namespace kestrum
