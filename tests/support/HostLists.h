// What a host does to reach the component: a new adaptor from the class factory, and
// the result lists it is handed: their length and their items.
#pragma once

#include <kestrum/kestrum.h>

#include <gtest/gtest.h>

#include <vector>

namespace kestrum::testing {

// A new adaptor made through the module's class object, as any host makes it.
inline IDataAdaptor* NewAdaptorFromFactory() {
    void* pv = nullptr;
    EXPECT_EQ(DllGetClassObject(CLSID_PSDataAdaptor, IID_IClassFactory, &pv), S_OK);
    auto* factory = static_cast<IClassFactory*>(pv);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IDataAdaptor, &pv), S_OK);
    factory->Release();
    return static_cast<IDataAdaptor*>(pv);
}

// The list's count, -1 for no list.
inline LONG ListCount(IBlockList* list) {
    LONG n = -1;
    if (list) list->GetCount(&n);
    return n;
}

inline void* ListItem(IBlockList* list, INT i) {
    void* item = nullptr;
    EXPECT_EQ(list->GetItemAt(i, &item), S_OK);
    return item;
}

// Every item of the list a getter hands out, as `Item`; the list is released. Empty
// when the getter fails.
template <class Item, class Get>
std::vector<Item*> TakeItems(Get get) {
    std::vector<Item*> items;
    IBlockList* list = nullptr;
    if (FAILED(get(&list)) || !list) return items;
    for (INT i = 0; i < ListCount(list); ++i) items.push_back(static_cast<Item*>(ListItem(list, i)));
    list->Release();
    return items;
}

}  // namespace kestrum::testing
