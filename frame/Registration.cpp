#include "frame/Registration.h"

#include <kestrum/kestrum.h>

#include "frame/Guid.h"
#include "model/Boundary.h"

#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <pwd.h>
#include <unistd.h>

namespace kestrum {

namespace {

constexpr HRESULT REGDB_E_CLASSNOTREG = KESTRUM_HR(0x80040154u);
constexpr HRESULT CO_E_CLASSSTRING = KESTRUM_HR(0x800401F3u);
constexpr HRESULT CO_E_DLLNOTFOUND = KESTRUM_HR(0x800401F8u);
constexpr HRESULT CO_E_ERRORINDLL = KESTRUM_HR(0x800401F9u);

constexpr const char* kClassName = "PSDataAdaptor Class";
constexpr const char* kTypeLibName = "Kestrum 1.0 Type Library";
constexpr const char* kThreadingModel = "Apartment";
// The platform subkey of a type library's locale-neutral entry.
constexpr const char* kTypeLibPlatform = "linux64";
// CurVer chains longer than this are taken as a loop.
constexpr int kMaxCurVerHops = 8;

const std::string kRoot = "HKCR\\";

std::string ClassKey() { return kRoot + "CLSID\\" + GuidToString(CLSID_PSDataAdaptor); }
std::string TypeLibKey() { return kRoot + "TypeLib\\" + GuidToString(LIBID_KESTRUMLib); }
std::string TypeLibVersionKey() { return TypeLibKey() + "\\1.0"; }

std::string Home() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    const passwd* pw = getpwuid(getuid());
    return pw && pw->pw_dir ? pw->pw_dir : "";
}

// The full path of this module, as the host loaded it.
std::string ModulePath() {
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(&DllRegisterServer), &info) || !info.dli_fname || !*info.dli_fname) return {};
    std::error_code ec;
    auto full = std::filesystem::canonical(info.dli_fname, ec);
    return ec ? std::string(info.dli_fname) : full.string();
}

// Loads the registry, lets `change` edit it and writes it back.
HRESULT EditRegistry(void (*change)(CRegistryFile&, const std::string&), const std::string& modulePath) {
    const std::string path = RegistryPath();
    if (path.empty()) return SELFREG_E_CLASS;
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    CRegistryFile registry;
    if (!registry.Load(path)) return SELFREG_E_CLASS;
    change(registry, modulePath);
    return registry.Save(path) ? S_OK : SELFREG_E_CLASS;
}

}  // namespace

std::string RegistryPath() {
    if (const char* file = std::getenv("KESTRUM_REGISTRY"); file && *file) return file;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config)
        return std::string(config) + "/kestrum/registry";
    const std::string home = Home();
    return home.empty() ? std::string() : home + "/.config/kestrum/registry";
}

void RegisterModule(CRegistryFile& registry, const std::string& modulePath) {
    const std::string clsid = GuidToString(CLSID_PSDataAdaptor);
    for (const std::string progId : {KESTRUM_PROGID, KESTRUM_VERSION_INDEPENDENT_PROGID}) {
        registry.SetValue(kRoot + progId, "", kClassName);
        registry.SetValue(kRoot + progId + "\\CLSID", "", clsid);
    }
    registry.SetValue(kRoot + KESTRUM_VERSION_INDEPENDENT_PROGID + "\\CurVer", "", KESTRUM_PROGID);

    registry.CreateKey(kRoot + "CLSID");
    // What an earlier registration left below the class key goes first.
    const std::string cls = ClassKey();
    registry.DeleteTree(cls);
    registry.SetValue(cls, "", kClassName);
    registry.SetValue(cls + "\\ProgID", "", KESTRUM_PROGID);
    registry.SetValue(cls + "\\VersionIndependentProgID", "", KESTRUM_VERSION_INDEPENDENT_PROGID);
    registry.CreateKey(cls + "\\Programmable");
    registry.SetValue(cls + "\\InprocServer32", "", modulePath);
    registry.SetValue(cls + "\\InprocServer32", "ThreadingModel", kThreadingModel);
    registry.SetValue(cls + "\\TypeLib", "", GuidToString(LIBID_KESTRUMLib));

    registry.CreateKey(kRoot + "TypeLib");
    const std::string lib = TypeLibVersionKey();
    registry.DeleteTree(lib);
    registry.SetValue(lib, "", kTypeLibName);
    registry.SetValue(lib + "\\0\\" + kTypeLibPlatform, "", modulePath);
    registry.SetValue(lib + "\\FLAGS", "", "0");
    registry.SetValue(lib + "\\HELPDIR", "", std::filesystem::path(modulePath).parent_path().string());
}

void UnregisterModule(CRegistryFile& registry) {
    // The ProgID keys lose what we wrote; what others added keeps them alive.
    for (const std::string progId : {KESTRUM_PROGID, KESTRUM_VERSION_INDEPENDENT_PROGID}) {
        const std::string key = kRoot + progId;
        registry.DeleteTree(key + "\\CLSID");
        registry.DeleteTree(key + "\\CurVer");
        registry.DeleteValue(key, "");
        registry.DeleteKeyIfEmpty(key);
    }
    registry.DeleteTree(ClassKey());
    registry.DeleteTree(TypeLibVersionKey());
    registry.DeleteKeyIfEmpty(TypeLibKey());
}

bool ClsidOfProgId(const CRegistryFile& registry, const std::string& progId, std::string& clsid) {
    std::string current = progId;
    for (int hop = 0; hop < kMaxCurVerHops; ++hop) {
        std::string next;
        if (!registry.GetValue(kRoot + current + "\\CurVer", "", next) || next.empty()) break;
        current = next;
    }
    // A CurVer that leads nowhere leaves the name's own CLSID.
    return registry.GetValue(kRoot + current + "\\CLSID", "", clsid) ||
           registry.GetValue(kRoot + progId + "\\CLSID", "", clsid);
}

}  // namespace kestrum

using namespace kestrum;

KESTRUM_API HRESULT DllRegisterServer(void) {
    return Guarded([] {
        const std::string module = ModulePath();
        if (module.empty()) return SELFREG_E_CLASS;
        return EditRegistry([](CRegistryFile& r, const std::string& m) { RegisterModule(r, m); }, module);
    });
}

KESTRUM_API HRESULT DllUnregisterServer(void) {
    return Guarded([] {
        return EditRegistry([](CRegistryFile& r, const std::string&) { UnregisterModule(r); }, std::string());
    });
}

KESTRUM_API HRESULT KestrumCreateInstance(const char* szClass, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (!szClass) return E_INVALIDARG;
    return Guarded([&] {
        CRegistryFile registry;
        const std::string path = RegistryPath();
        if (path.empty() || !registry.Load(path)) return REGDB_E_CLASSNOTREG;

        std::string clsidText = szClass;
        if (clsidText.empty()) return CO_E_CLASSSTRING;
        if (clsidText.front() != '{' && !ClsidOfProgId(registry, szClass, clsidText)) return CO_E_CLASSSTRING;
        GUID clsid;
        if (!ParseGuid(clsidText, clsid)) return CO_E_CLASSSTRING;

        std::string module;
        if (!registry.GetValue(kRoot + "CLSID\\" + clsidText + "\\InprocServer32", "", module) || module.empty())
            return REGDB_E_CLASSNOTREG;
        // The module stays loaded: the objects it makes run its code.
        void* library = dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!library) return CO_E_DLLNOTFOUND;
        using GetClassObject = HRESULT (*)(REFCLSID, REFIID, void**);
        auto getClassObject = reinterpret_cast<GetClassObject>(dlsym(library, "DllGetClassObject"));
        if (!getClassObject) {
            dlclose(library);
            return CO_E_ERRORINDLL;
        }
        IClassFactory* factory = nullptr;
        HRESULT hr = getClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory));
        if (FAILED(hr) || !factory) return FAILED(hr) ? hr : E_FAIL;
        hr = factory->CreateInstance(nullptr, riid, ppv);
        factory->Release();
        return hr;
    });
}
