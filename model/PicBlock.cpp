#include "model/PicBlock.h"

#include "model/Boundary.h"
#include "model/PageInfo.h"
#include "model/TextBlock.h"
#include "parser/Image.h"
#include "platform/CodePage.h"

namespace kestrum {

// Right and bottom of a picture's rectangle are pushed up by this before truncation.
constexpr double kPicRectRoundUp = 0.99;
// Images of this depth or less are raised to 24 bits before a JPEG is written.
constexpr uint16_t kMaxPaletteBpp = 8;
constexpr uint32_t kJpegBpp = 24;
constexpr uint8_t kJpegQuality = 100;

CPicBlock::CPicBlock(CPageInfo* pPageInfo) : m_pRegion(std::make_unique<CRegn>()), m_pPageInfo(pPageInfo) {}

CPicBlock::~CPicBlock() {
    m_pImage.reset();
    if (m_pCaption) {
        CTextBlockArray caption;
        caption.Add(m_pCaption);
        caption.DeleteAll();
        m_pCaption = nullptr;
    }
}

HRESULT CPicBlock::ReservedProp1(void*) { return E_FAIL; }
HRESULT CPicBlock::ReservedProp2(LONG, LONG) { return E_FAIL; }

LONG CPicBlock::GetPageNo() { return m_pPageInfo ? m_pPageInfo->GetPageNo() : 0; }

HRESULT CPicBlock::GetTextBlocks(IBlockList** ppList, ULONG) {
    if (!ppList) return E_POINTER;
    if (!m_pCaption) return E_FAIL;
    return Guarded([&] {
        auto list = std::make_unique<CTextBlockArray>();
        list->Add(m_pCaption);
        return HandOutList(list.release(), ppList);
    });
}

HRESULT CPicBlock::GetPicBlocks(IBlockList**) { return E_FAIL; }

HRESULT CPicBlock::GetHtml(BSTR* pHtml) {
    if (!pHtml) return E_POINTER;
    if (!m_pCaption || m_pCaption->m_strHtml.empty()) return E_FAIL;
    return Guarded([&] { return StoreBstr(pHtml, m_pCaption->m_strHtml); });
}

HRESULT CPicBlock::GetRect(RECT* pRect) { return GetRegionRect(pRect); }

HRESULT CPicBlock::SaveImage(const OLECHAR* szPath) {
    if (!szPath) return E_POINTER;
    if (!m_pImage) return E_FAIL;
    return Guarded([&] {
        const std::string path = WideToNarrow(szPath);
        const uint32_t type = CxImage::FindType(path);
        if (type == CXIMAGE_FORMAT_UNKNOWN || type == CXIMAGE_FORMAT_JPG) {
            m_pImage->SetJpegQuality(kJpegQuality);
            if (m_pImage->GetBpp() <= kMaxPaletteBpp && !m_pImage->IncreaseBpp(kJpegBpp)) return S_FALSE;
        }
        // Whatever the name says, the host gets a JPEG.
        return m_pImage->Save(path, CXIMAGE_FORMAT_JPG) ? S_OK : S_FALSE;
    });
}

HRESULT CPicBlock::GetName(BSTR* pName) {
    if (!pName) return E_POINTER;
    if (m_strName.empty()) return E_FAIL;
    return Guarded([&] { return StoreBstr(pName, m_strName); });
}

LONG CPicBlock::GetImageWidth() { return m_pImage ? static_cast<LONG>(m_pImage->GetWidth()) : 0; }
LONG CPicBlock::GetImageHeight() { return m_pImage ? static_cast<LONG>(m_pImage->GetHeight()) : 0; }
LONG CPicBlock::GetImageBpp() { return m_pImage ? m_pImage->GetBpp() : 0; }
void* CPicBlock::GetImageDIB() { return m_pImage ? m_pImage->GetDIB() : nullptr; }

HRESULT CPicBlock::GetRegionCount(LONG* pCount) {
    if (!pCount) return E_POINTER;
    *pCount = 1;
    return S_OK;
}

HRESULT CPicBlock::GetRegion(LONG nIndex, IRegn** ppRegion) {
    return LendRegion(*m_pRegion, m_rect, GetPageNo(), nIndex, ppRegion);
}

HRESULT CPicBlock::GetImagePath(BSTR* pPath) {
    if (!pPath) return E_POINTER;
    if (m_strImagePath.empty()) return E_FAIL;
    return Guarded([&] { return StoreBstr(pPath, m_strImagePath); });
}

HRESULT CPicBlock::GetRegionRect(RECT* out) const {
    if (!out) return E_POINTER;
    *out = RoundUpRect(m_rect, kPicRectRoundUp);
    return S_OK;
}

}  // namespace kestrum
