#include "model/Article.h"

#include "model/Boundary.h"
#include "model/PageInfo.h"
#include "model/PicBlock.h"
#include "model/TextBlock.h"

#include <memory>

namespace kestrum {

namespace {

constexpr ULONG kLastPart = KESTRUM_PART_BODY;

// The article's HTML document around one fragment (the template "<html> <body> %s </body> </html>").
std::string HtmlDocument(const std::string& fragment) { return "<html> <body> " + fragment + " </body> </html>"; }

// An article's lists go out only when they hold something.
template <class List>
HRESULT HandOutUnlessEmpty(std::unique_ptr<List> list, IBlockList** ppList) {
    if (list->IsEmpty()) {
        *ppList = nullptr;
        return E_FAIL;
    }
    return HandOutList(list.release(), ppList);
}

}  // namespace

CArticle::CArticle(CPageInfo* pPageInfo) : m_pPageInfo(pPageInfo) {}

CArticle::~CArticle() {
    CTextBlockArray texts;
    for (CTextBlock* block : {m_pMainTitle, m_pSubTitle, m_pLeadTitle, m_pBody})
        if (block) texts.Add(block);
    texts.DeleteAll();
    m_arrPics.DeleteAll();
}

HRESULT CArticle::ReservedProp1(void*) { return E_FAIL; }
HRESULT CArticle::ReservedProp2(LONG, LONG) { return E_FAIL; }

LONG CArticle::GetPageNo() { return m_pPageInfo ? m_pPageInfo->GetPageNo() : 0; }

HRESULT CArticle::GetTextBlocks(IBlockList** ppList, ULONG nPart) {
    if (!ppList) return E_POINTER;
    if (nPart > kLastPart) return E_FAIL;
    return Guarded([&] {
        auto list = std::make_unique<CTextBlockArray>();
        auto add = [&](CTextBlock* block) {
            if (block) list->Add(block);
        };
        switch (nPart) {
            case KESTRUM_PART_ALL:
                for (CTextBlock* block : {m_pLeadTitle, m_pMainTitle, m_pSubTitle, m_pBody}) add(block);
                break;
            case KESTRUM_PART_MAIN_TITLE: add(m_pMainTitle); break;
            case KESTRUM_PART_LEAD_TITLE: add(m_pLeadTitle); break;
            case KESTRUM_PART_SUB_TITLE: add(m_pSubTitle); break;
            case KESTRUM_PART_BODY: add(m_pBody); break;
        }
        return HandOutUnlessEmpty(std::move(list), ppList);
    });
}

HRESULT CArticle::GetPicBlocks(IBlockList** ppList) {
    if (!ppList) return E_POINTER;
    return Guarded([&] {
        auto list = std::make_unique<CPicBlockArray>();
        list->Append(m_arrPics);
        return HandOutUnlessEmpty(std::move(list), ppList);
    });
}

HRESULT CArticle::GetHtml(BSTR* pHtml) {
    if (!pHtml) return E_POINTER;
    if (m_strHtml.empty()) return E_FAIL;
    return Guarded([&] { return StoreBstr(pHtml, m_strHtml); });
}

LONG CArticle::GetID() { return m_nID; }

int CArticle::MakeHtml() {
    if (m_pBody && !m_pBody->m_strHtml.empty()) m_strHtml = HtmlDocument(m_pBody->m_strHtml);
    for (CPicBlock* pic : m_arrPics) {
        if (!pic || !pic->m_pCaption || pic->m_pCaption->m_strHtml.empty()) continue;
        pic->m_pCaption->m_strHtml = HtmlDocument(pic->m_pCaption->m_strHtml);
    }
    return 1;
}

}  // namespace kestrum
