#include "model/TextBlock.h"

#include "model/Boundary.h"
#include "model/PageInfo.h"

namespace kestrum {

// Right and bottom of a text block's region rectangle are pushed up by this before truncation.
constexpr double kTextRectRoundUp = 0.999;
// The kind the host sees for every block that is neither title nor body.
constexpr LONG kHostKindOther = 7;

CTextBlock::CTextBlock(CPageInfo* pPageInfo) : m_pRegion(std::make_unique<CRegn>()), m_pPageInfo(pPageInfo) {}

CTextBlock::~CTextBlock() = default;

BOOL CTextBlock::ReservedBool(LONG, LONG) { return 1; }

HRESULT CTextBlock::ReservedProp1(void*) { return E_FAIL; }
HRESULT CTextBlock::ReservedProp2(LONG, LONG) { return E_FAIL; }

LONG CTextBlock::GetPageNo() { return m_pPageInfo ? m_pPageInfo->GetPageNo() : 0; }

HRESULT CTextBlock::GetTextBlocks(IBlockList** ppList, ULONG) {
    if (!ppList) return E_POINTER;
    if (m_nLevel <= 1) return E_FAIL;
    return Guarded([&] {
        auto list = std::make_unique<CTextBlockArray>();
        list->Append(m_arrParts);
        return HandOutList(list.release(), ppList);
    });
}

HRESULT CTextBlock::GetPicBlocks(IBlockList**) { return E_FAIL; }

HRESULT CTextBlock::GetHtml(BSTR* pHtml) {
    if (!pHtml) return E_POINTER;
    if (m_strHtml.empty()) return E_FAIL;
    return Guarded([&] { return StoreBstr(pHtml, m_strHtml); });
}

LONG CTextBlock::GetLayout() { return m_nLayout; }

HRESULT CTextBlock::GetFontName(BSTR* pName) {
    return Guarded([&] { return StoreBstr(pName, m_strFontName); });
}

double CTextBlock::GetFontSize() { return m_dFontSize; }
LONG CTextBlock::GetTextLength() { return static_cast<LONG>(m_strText.size()); }
LONG CTextBlock::ReservedLong1() { return 0; }

HRESULT CTextBlock::GetText(BSTR* pText) {
    return Guarded([&] { return StoreBstr(pText, m_strText); });
}

HRESULT CTextBlock::GetRegionCount(LONG* pCount) {
    if (!pCount) return E_POINTER;
    *pCount = 1;
    return S_OK;
}

HRESULT CTextBlock::GetRegion(LONG nIndex, IRegn** ppRegion) {
    return LendRegion(*m_pRegion, m_rect, GetPageNo(), nIndex, ppRegion);
}

LONG CTextBlock::ReservedLong2(LONG) { return 0; }

LONG CTextBlock::GetKind() {
    if (m_nKind == kTextBody || m_nKind == kTextTitle) return m_nKind;
    return kHostKindOther;
}

double CTextBlock::ReservedDouble1() { return 0.0; }
double CTextBlock::ReservedDouble2() { return 0.0; }
LONG CTextBlock::GetID() { return m_nID; }
LONG CTextBlock::GetID2() { return m_nID; }
LONG CTextBlock::ReservedLong3() { return 0; }
LONG CTextBlock::GetLevel() { return m_nLevel; }
double CTextBlock::GetFontSize2() { return m_dFontSize; }

HRESULT CTextBlock::GetRegionRect(RECT* out) const {
    if (!out) return E_POINTER;
    *out = RoundUpRect(m_rect, kTextRectRoundUp);
    return S_OK;
}

void CTextBlock::InitFrom(const CTextBlock& source) {
    m_rect = source.m_rect;
    m_strText = source.m_strText;
    m_nArticle = source.m_nArticle;
    m_nLevel = source.m_nLevel;
    m_dFontSize = source.m_dFontSize;
    m_nID = -1;
}

void CTextBlock::UnionWith(const CTextBlock& other) { m_rect = BoundingUnion(m_rect, other.m_rect); }

}  // namespace kestrum
