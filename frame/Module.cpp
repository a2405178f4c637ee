// The module's entry points for the host's class loading.
#include <kestrum/kestrum.h>

#include "frame/ClassFactory.h"
#include "model/Boundary.h"
#include "model/ComObject.h"

using namespace kestrum;

KESTRUM_API HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (rclsid != CLSID_PSDataAdaptor) return CLASS_E_CLASSNOTAVAILABLE;
    return Guarded([&] { return CClassFactory::Instance().QueryInterface(riid, ppv); });
}

KESTRUM_API HRESULT DllCanUnloadNow(void) { return ModuleUsage::Count() == 0 ? S_OK : S_FALSE; }
