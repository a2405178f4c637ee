// The reference counting and interface answering that every counted object of the
// component shares (result lists, the adaptor), and the module's usage count that
// decides whether the module may be unloaded.
#pragma once

#include <kestrum/kestrum.h>

namespace kestrum {

// Live counted objects (each while its reference count is above 0) plus LockServer
// locks. The module may be unloaded only when this is 0.
namespace ModuleUsage {
void Acquire();
void Release();
long Count();
}  // namespace ModuleUsage

// What every QueryInterface answers: `found` (null when the interface is not
// supported) stored in *ppv, with a reference taken on it.
inline HRESULT AnswerQuery(IUnknown* found, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = found;
    if (!found) return E_NOINTERFACE;
    found->AddRef();
    return S_OK;
}

// A heap object with a plain (apartment) reference count that starts at 0 and
// deletes itself at the last Release.
template <class Interface>
class CComObject : public Interface {
public:
    HRESULT QueryInterface(REFIID riid, void** ppv) override { return AnswerQuery(FindInterface(riid), ppv); }
    ULONG AddRef() override {
        if (m_nRef == 0) ModuleUsage::Acquire();
        return static_cast<ULONG>(++m_nRef);
    }
    ULONG Release() override {
        // A Release without a reference (an owner list, a host's extra call) must
        // not delete what somebody else owns.
        if (m_nRef <= 0) return 0;
        if (--m_nRef > 0) return static_cast<ULONG>(m_nRef);
        ModuleUsage::Release();
        delete this;
        return 0;
    }
    virtual ~CComObject() = default;

protected:
    CComObject() = default;
    CComObject(const CComObject&) = delete;
    CComObject& operator=(const CComObject&) = delete;

    // The interface answering `riid` (IUnknown included), or null.
    virtual IUnknown* FindInterface(REFIID riid) = 0;

private:
    LONG m_nRef = 0;
};

}  // namespace kestrum
