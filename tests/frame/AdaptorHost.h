// The adaptor as a host holds it, for the frame's tests.
#pragma once

#include <kestrum/kestrum.h>

#include "frame/DataAdaptor.h"

#include <memory>
#include <string>

namespace kestrum::testing {

struct ReleaseUnknown {
    void operator()(IUnknown* p) const {
        if (p) p->Release();
    }
};
template <class I>
using HostRef = std::unique_ptr<I, ReleaseUnknown>;

// A new adaptor made the way the class factory makes it.
inline HostRef<IDataAdaptor> NewAdaptor() {
    void* pv = nullptr;
    CPSDataAdaptor::Create(nullptr, IID_IDataAdaptor, &pv);
    return HostRef<IDataAdaptor>(static_cast<IDataAdaptor*>(pv));
}

inline CPSDataAdaptor& Inside(const HostRef<IDataAdaptor>& adaptor) {
    return *static_cast<CPSDataAdaptor*>(adaptor.get());
}

// Test paths are ASCII.
inline std::u16string Wide(const std::string& osPath) { return std::u16string(osPath.begin(), osPath.end()); }

}  // namespace kestrum::testing
