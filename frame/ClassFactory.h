// The module's one class factory. It lives as long as the module: its reference
// count only tells how many holders it has, and LockServer keeps the module loaded.
#pragma once

#include <kestrum/kestrum.h>

#include <atomic>

namespace kestrum {

class CClassFactory final : public IClassFactory {
public:
    static CClassFactory& Instance();

    HRESULT QueryInterface(REFIID riid, void** ppv) override;
    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) override;
    HRESULT LockServer(BOOL fLock) override;

private:
    CClassFactory() = default;
    ~CClassFactory() = default;

    // Holders may sit on other threads than the objects the factory makes.
    std::atomic<ULONG> m_nRef{1};
    std::atomic<long> m_nLocks{0};  // LockServer locks still held
};

}  // namespace kestrum
