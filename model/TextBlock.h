// One rectangular area of text: a title line, a body column, a caption; or a
// composite merged from such blocks, which owns its parts.
#pragma once

#include <kestrum/kestrum.h>

#include "model/BlockLists.h"
#include "platform/Rect.h"

#include <memory>
#include <string>

namespace kestrum {

class CPageInfo;
class CRegn;

enum TextKind : int32_t {
    kTextTitle = 2,
    kTextBody = 3,
    kTextPicturePlaceholder = 6,
};

class CTextBlock : public ITextBlock {
public:
    explicit CTextBlock(CPageInfo* pPageInfo);
    // Frees the region and the parts list's storage; the parts themselves are
    // deleted by whoever owns the composite (CTextBlockArray::DeleteAll).
    virtual ~CTextBlock();
    virtual BOOL ReservedBool(LONG lReserved1, LONG lReserved2);
    CTextBlock(const CTextBlock&) = delete;
    CTextBlock& operator=(const CTextBlock&) = delete;

    HRESULT ReservedProp1(void* pReserved) override;
    HRESULT ReservedProp2(LONG lReserved1, LONG lReserved2) override;
    LONG GetPageNo() override;
    HRESULT GetTextBlocks(IBlockList** ppList, ULONG nPart) override;
    HRESULT GetPicBlocks(IBlockList** ppList) override;
    HRESULT GetHtml(BSTR* pHtml) override;
    LONG GetLayout() override;
    HRESULT GetFontName(BSTR* pName) override;
    double GetFontSize() override;
    LONG GetTextLength() override;
    LONG ReservedLong1() override;
    HRESULT GetText(BSTR* pText) override;
    HRESULT GetRegionCount(LONG* pCount) override;
    HRESULT GetRegion(LONG nIndex, IRegn** ppRegion) override;
    LONG ReservedLong2(LONG lReserved) override;
    LONG GetKind() override;
    double ReservedDouble1() override;
    double ReservedDouble2() override;
    LONG GetID() override;
    LONG GetID2() override;
    LONG ReservedLong3() override;
    LONG GetLevel() override;
    double GetFontSize2() override;

    // Right and bottom rounded up by 0.999 toward zero.
    HRESULT GetRegionRect(RECT* out) const;
    // Copies rectangle, text, article, level and font size; the number becomes -1.
    void InitFrom(const CTextBlock& source);
    // Grows m_rect to hold `other`'s rectangle (plain min/max, empty ones included).
    void UnionWith(const CTextBlock& other);

    int32_t m_nArticle = 0;          // article number (PostScript article, S2 link)
    int32_t m_nID = 0;               // block number in reading order; -1 on a composite
    std::unique_ptr<CRegn> m_pRegion;// outline handed out by GetRegion
    Rect m_rect;                     // page units, y downwards
    double m_dFontSize = 0.0;        // composite: mean of the parts weighted by text length
    int32_t m_nLayout = 0;           // 0 undetermined, 1/2 horizontal, 3/4 vertical, 5 single column
    int32_t m_nLevel = 1;            // 1 as read, 1 + highest part level for a composite, 0 joined title
    std::string m_strText;           // plain text (GBK)
    std::string m_strFontName;       // dominant font (empty from the S2 reader)
    int32_t m_nKind = 0;             // TextKind
    CPageInfo* m_pPageInfo = nullptr;// owner page, not owned
    CTextBlockArray m_arrParts;      // parts of a composite, in merge order
    std::string m_strHtml;           // HTML fragment (empty from the S2 reader)
};

}  // namespace kestrum
