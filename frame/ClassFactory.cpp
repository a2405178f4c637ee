#include "frame/ClassFactory.h"

#include "frame/DataAdaptor.h"
#include "model/ComObject.h"

namespace kestrum {

CClassFactory& CClassFactory::Instance() {
    static CClassFactory factory;
    return factory;
}

HRESULT CClassFactory::QueryInterface(REFIID riid, void** ppv) {
    const bool known = riid == IID_IUnknown || riid == IID_IClassFactory;
    return AnswerQuery(known ? this : nullptr, ppv);
}

ULONG CClassFactory::AddRef() { return ++m_nRef; }

namespace {

// Decrements `count` unless that would take it below `floor`; true when it did.
template <class T>
bool DecrementAbove(std::atomic<T>& count, T floor, T& after) {
    T now = count.load();
    while (now > floor && !count.compare_exchange_weak(now, now - 1)) {
    }
    after = now > floor ? now - 1 : now;
    return now > floor;
}

}  // namespace

ULONG CClassFactory::Release() {
    // The module's own reference keeps the count at 1 or above: the factory is never deleted.
    ULONG after = 0;
    DecrementAbove<ULONG>(m_nRef, 1, after);
    return after;
}

HRESULT CClassFactory::CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) {
    return CPSDataAdaptor::Create(pUnkOuter, riid, ppvObject);
}

HRESULT CClassFactory::LockServer(BOOL fLock) {
    if (fLock) {
        ++m_nLocks;
        ModuleUsage::Acquire();
        return S_OK;
    }
    // An unlock without a lock must not let the module go while objects live.
    long after = 0;
    if (DecrementAbove<long>(m_nLocks, 0, after)) ModuleUsage::Release();
    return S_OK;
}

}  // namespace kestrum
