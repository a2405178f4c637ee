#include "frame/BlockArticles.h"

#include "model/Article.h"
#include "model/PicBlock.h"
#include "model/TextBlock.h"
#include "parser/ParserFile.h"

namespace kestrum {

namespace {

template <class Interface>
HRESULT ArticleOf(const std::unordered_map<const Interface*, int32_t>& index, const Interface* block, LONG* pArticle) {
    if (!block || !pArticle) return E_POINTER;
    const auto found = index.find(block);
    if (found == index.end()) return E_INVALIDARG;
    *pArticle = found->second;
    return S_OK;
}

}  // namespace

HRESULT CBlockArticles::QueryInterface(REFIID riid, void** ppv) { return m_pControlling->QueryInterface(riid, ppv); }
ULONG CBlockArticles::AddRef() { return m_pControlling->AddRef(); }
ULONG CBlockArticles::Release() { return m_pControlling->Release(); }

HRESULT CBlockArticles::GetTextBlockArticle(ITextBlock* pBlock, LONG* pArticle) {
    return ArticleOf<ITextBlock>(m_textArticles, pBlock, pArticle);
}

HRESULT CBlockArticles::GetPicBlockArticle(IPicBlock* pBlock, LONG* pArticle) {
    return ArticleOf<IPicBlock>(m_picArticles, pBlock, pArticle);
}

void CBlockArticles::IndexPage(const CParserFile& reader) {
    ForgetPage();
    // A walk cut short (out of memory) leaves no half index behind.
    struct ForgetUnlessDone {
        CBlockArticles& self;
        bool done = false;
        ~ForgetUnlessDone() {
            if (!done) self.ForgetPage();
        }
    } guard{*this};
    IndexLists(reader);
    guard.done = true;
}

void CBlockArticles::IndexLists(const CParserFile& reader) {
    IndexTexts(reader.m_arrTextBlocks);
    for (const CPicBlock* picture : reader.m_arrPicBlocks) IndexPicture(picture);
    if (!reader.m_pArticles) return;
    for (const CArticle* article : *reader.m_pArticles) {
        if (!article) continue;
        for (const CTextBlock* role : {article->m_pLeadTitle, article->m_pMainTitle, article->m_pSubTitle, article->m_pBody})
            IndexText(role);
        for (const CPicBlock* picture : article->m_arrPics) IndexPicture(picture);
    }
}

void CBlockArticles::ForgetPage() {
    m_textArticles.clear();
    m_picArticles.clear();
}

void CBlockArticles::IndexText(const CTextBlock* block) {
    if (!block) return;
    m_textArticles[block] = block->m_nArticle;
    IndexTexts(block->m_arrParts);
}

void CBlockArticles::IndexTexts(const CTextBlockArray& blocks) {
    for (const CTextBlock* block : blocks) IndexText(block);
}

void CBlockArticles::IndexPicture(const CPicBlock* picture) {
    if (!picture) return;
    m_picArticles[picture] = picture->m_nArticle;
    IndexText(picture->m_pCaption);
}

}  // namespace kestrum
