// The page's object lists. Each is a growable array of object pointers and a small
// COM object (IBlockList) at once. Owner lists (embedded in the reader, an article,
// a composite block) delete their objects with DeleteAll and are never handed out;
// result lists are made on the heap for one host request, hold borrowed pointers
// and delete themselves, never their objects, at the last Release.
#pragma once

#include <kestrum/kestrum.h>

#include "model/ComObject.h"
#include "platform/PtrArray.h"

namespace kestrum {

class CTextBlock;
class CPicBlock;
class CArticle;

class CBlockListBase : public CComObject<IBlockList> {
protected:
    CBlockListBase() = default;
    IUnknown* FindInterface(REFIID riid) override;

    // GetItemAt over an array of objects whose host interface is `Interface`.
    template <class Interface, class T>
    static HRESULT ItemAt(const CPtrArray<T>& items, INT nIndex, void** ppItem);
};

class CTextBlockArray : public CPtrArray<CTextBlock>, public CBlockListBase {
public:
    HRESULT GetCount(LONG* pVal) override;
    HRESULT GetItemAt(INT nIndex, void** ppItem) override;
    // Deletes every block, the parts of each first (innermost first), then empties the list.
    void DeleteAll();
};

class CPicBlockArray : public CPtrArray<CPicBlock>, public CBlockListBase {
public:
    HRESULT GetCount(LONG* pVal) override;
    HRESULT GetItemAt(INT nIndex, void** ppItem) override;
    void DeleteAll();
};

class CArticleArray : public CPtrArray<CArticle>, public CBlockListBase {
public:
    HRESULT GetCount(LONG* pVal) override;
    HRESULT GetItemAt(INT nIndex, void** ppItem) override;
    void DeleteAll();
};

// Hands a new result list to the host: query for IBlockList into *ppList (the first
// reference). On failure the list is deleted.
template <class List>
HRESULT HandOutList(List* list, IBlockList** ppList) {
    HRESULT hr = list->QueryInterface(IID_IBlockList, reinterpret_cast<void**>(ppList));
    if (FAILED(hr)) delete list;
    return hr;
}

}  // namespace kestrum
