#include "model/BlockLists.h"

#include "model/Article.h"
#include "model/PicBlock.h"
#include "model/TextBlock.h"

namespace kestrum {

IUnknown* CBlockListBase::FindInterface(REFIID riid) {
    if (riid == IID_IUnknown || riid == IID_IBlockList) return static_cast<IBlockList*>(this);
    return nullptr;
}

template <class Interface, class T>
HRESULT CBlockListBase::ItemAt(const CPtrArray<T>& items, INT nIndex, void** ppItem) {
    if (!ppItem) return E_POINTER;
    if (nIndex < 0 || nIndex >= items.GetSize()) return E_INVALIDARG;
    // The host casts the item to the list's interface, so hand out exactly that pointer.
    *ppItem = static_cast<Interface*>(items.GetAt(nIndex));
    return S_OK;
}

namespace {

template <class T>
HRESULT CountOf(const CPtrArray<T>& items, LONG* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = items.GetSize();
    return S_OK;
}

}  // namespace

HRESULT CTextBlockArray::GetCount(LONG* pVal) { return CountOf(*this, pVal); }
HRESULT CTextBlockArray::GetItemAt(INT nIndex, void** ppItem) { return ItemAt<ITextBlock>(*this, nIndex, ppItem); }

void CTextBlockArray::DeleteAll() {
    for (CTextBlock* block : *this) {
        if (!block) continue;
        block->m_arrParts.DeleteAll();
        delete block;
    }
    RemoveAll();
}

HRESULT CPicBlockArray::GetCount(LONG* pVal) { return CountOf(*this, pVal); }
HRESULT CPicBlockArray::GetItemAt(INT nIndex, void** ppItem) { return ItemAt<IPicBlock>(*this, nIndex, ppItem); }

void CPicBlockArray::DeleteAll() {
    for (CPicBlock* pic : *this) delete pic;
    RemoveAll();
}

HRESULT CArticleArray::GetCount(LONG* pVal) { return CountOf(*this, pVal); }
HRESULT CArticleArray::GetItemAt(INT nIndex, void** ppItem) { return ItemAt<IArticle>(*this, nIndex, ppItem); }

void CArticleArray::DeleteAll() {
    for (CArticle* article : *this) delete article;
    RemoveAll();
}

}  // namespace kestrum
