// One story on the page: up to four title and body blocks in fixed roles, its
// pictures, and its HTML document.
#pragma once

#include <kestrum/kestrum.h>

#include "model/BlockLists.h"

#include <string>

namespace kestrum {

class CPageInfo;
class CTextBlock;

class CArticle : public IArticle {
public:
    explicit CArticle(CPageInfo* pPageInfo);
    // Deletes the text blocks (main, sub, lead title, body; parts first), then the pictures.
    virtual ~CArticle();
    CArticle(const CArticle&) = delete;
    CArticle& operator=(const CArticle&) = delete;

    HRESULT ReservedProp1(void* pReserved) override;
    HRESULT ReservedProp2(LONG lReserved1, LONG lReserved2) override;
    LONG GetPageNo() override;
    HRESULT GetTextBlocks(IBlockList** ppList, ULONG nPart) override;
    HRESULT GetPicBlocks(IBlockList** ppList) override;
    HRESULT GetHtml(BSTR* pHtml) override;
    LONG GetID() override;

    // Wraps the body's HTML (and each caption's) in the document template; returns 1.
    int MakeHtml();

    CTextBlock* m_pLeadTitle = nullptr;  // owned
    CTextBlock* m_pMainTitle = nullptr;  // owned
    CTextBlock* m_pSubTitle = nullptr;   // owned
    CTextBlock* m_pBody = nullptr;       // owned
    CPicBlockArray m_arrPics;            // owned pictures
    CPageInfo* m_pPageInfo = nullptr;    // owner page, not owned
    int32_t m_nID = 0;                   // page number << 16 | index on the page
    std::string m_strHtml;
};

}  // namespace kestrum
