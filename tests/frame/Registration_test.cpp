// The class registry file, registration of the module and creation by name.
#include "frame/Guid.h"
#include "frame/Registration.h"
#include "frame/Registry.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kestrum {
namespace {

using testing::TempDir;

// Sets (or, with null, removes) an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) setenv(name, value, 1);
        else unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_) setenv(name_, old_->c_str(), 1);
        else unsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

const std::string kClassKey = "HKCR\\CLSID\\{01EDC397-47A5-44A5-831C-AB5743323FEF}";

std::string ValueOf(const CRegistryFile& r, const std::string& key, const std::string& name = "") {
    std::string value;
    return r.GetValue(key, name, value) ? value : "<none>";
}

TEST(FrameGuid, TextRoundTrip) {
    EXPECT_EQ(GuidToString(CLSID_PSDataAdaptor), "{01EDC397-47A5-44A5-831C-AB5743323FEF}");
    GUID parsed{};
    ASSERT_TRUE(ParseGuid("{b516461f-7a88-4a22-bd83-f032e8299f93}", parsed));
    EXPECT_EQ(parsed, LIBID_KESTRUMLib);
    for (const char* bad : {"", "01EDC397-47A5-44A5-831C-AB5743323FEF", "{01EDC397-47A5-44A5-831C-AB5743323FEG}",
                            "{01EDC397+47A5-44A5-831C-AB5743323FEF}", "{01EDC397-47A5-44A5-831C-AB5743323FE}"}) {
        GUID untouched = IID_IUnknown;
        EXPECT_FALSE(ParseGuid(bad, untouched)) << bad;
        EXPECT_EQ(untouched, IID_IUnknown);
    }
}

TEST(FrameRegistry, TextKeepsKeysValuesAndQuoting) {
    CRegistryFile r;
    r.SetValue("HKCR\\A", "", "plain");
    r.SetValue("HKCR\\A", "Path", "C:\\dir\\\"q\"");
    r.CreateKey("HKCR\\Empty");
    CRegistryFile back;
    back.Parse(r.Text());
    EXPECT_EQ(back.Text(), r.Text());
    EXPECT_EQ(ValueOf(back, "hkcr\\a"), "plain");  // names without regard to case
    EXPECT_EQ(ValueOf(back, "HKCR\\A", "path"), "C:\\dir\\\"q\"");
    EXPECT_TRUE(back.HasKey("HKCR\\Empty"));

    // Written by hand: CR LF, comments, stray lines, values before any key.
    CRegistryFile hand;
    hand.Parse("@=\"lost\"\r\n; note\r\n[HKCR\\B\\C]\r\nnonsense\r\n\"x\"=\"1\"\r\n@=\"d\"\r\n\"broken\"=\"\r\n");
    EXPECT_EQ(ValueOf(hand, "HKCR\\B\\C", "x"), "1");
    EXPECT_EQ(ValueOf(hand, "HKCR\\B\\C"), "d");
    EXPECT_EQ(ValueOf(hand, "HKCR\\B\\C", "broken"), "<none>");
    EXPECT_TRUE(hand.HasKey("HKCR\\B"));  // a key below makes it exist
}

TEST(FrameRegistry, PathFollowsTheEnvironment) {
    ScopedEnv home("HOME", "/home/someone");
    {
        ScopedEnv file("KESTRUM_REGISTRY", "/tmp/reg-file");
        ScopedEnv config("XDG_CONFIG_HOME", "/cfg");
        EXPECT_EQ(RegistryPath(), "/tmp/reg-file");
    }
    {
        ScopedEnv file("KESTRUM_REGISTRY", nullptr);
        ScopedEnv config("XDG_CONFIG_HOME", "/cfg");
        EXPECT_EQ(RegistryPath(), "/cfg/kestrum/registry");
    }
    ScopedEnv file("KESTRUM_REGISTRY", nullptr);
    ScopedEnv config("XDG_CONFIG_HOME", "");
    EXPECT_EQ(RegistryPath(), "/home/someone/.config/kestrum/registry");
}

// Registration through the module itself, so that it names its own file.
class FrameRegistration : public ::testing::Test {
protected:
    void SetUp() override {
        module = dlopen(KESTRUM_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(module, nullptr) << dlerror();
        registerServer = reinterpret_cast<HRESULT (*)()>(dlsym(module, "DllRegisterServer"));
        unregisterServer = reinterpret_cast<HRESULT (*)()>(dlsym(module, "DllUnregisterServer"));
        ASSERT_NE(registerServer, nullptr);
        ASSERT_NE(unregisterServer, nullptr);
    }
    void TearDown() override {
        if (module) dlclose(module);
    }
    CRegistryFile Read() {
        CRegistryFile r;
        EXPECT_TRUE(r.Load(registry));
        return r;
    }

    TempDir dir;
    std::string registry = dir.File("sub/registry");  // the folder is made on the way
    ScopedEnv env{"KESTRUM_REGISTRY", registry.c_str()};
    void* module = nullptr;
    HRESULT (*registerServer)() = nullptr;
    HRESULT (*unregisterServer)() = nullptr;
};

TEST_F(FrameRegistration, RegisterCreateByNameUnregister) {
    // What others keep in the file survives both ways.
    std::filesystem::create_directories(dir.File("sub"));
    CRegistryFile before;
    before.SetValue("HKCR\\.txt", "", "txtfile");
    before.SetValue("HKCR\\CLSID\\{11111111-2222-3333-4444-555555555555}\\InprocServer32", "", "/usr/lib/other.so");
    before.SetValue("HKCR\\Kestrum.PSDataAdaptor", "Note", "kept");
    ASSERT_TRUE(before.Save(registry));

    ASSERT_EQ(registerServer(), S_OK);
    ASSERT_EQ(registerServer(), S_OK);  // twice is the same as once
    CRegistryFile r = Read();
    const std::string modulePath = std::filesystem::canonical(KESTRUM_MODULE_PATH).string();
    const std::string clsid = "{01EDC397-47A5-44A5-831C-AB5743323FEF}";
    EXPECT_EQ(ValueOf(r, "HKCR\\Kestrum.PSDataAdaptor.1"), "PSDataAdaptor Class");
    EXPECT_EQ(ValueOf(r, "HKCR\\Kestrum.PSDataAdaptor.1\\CLSID"), clsid);
    EXPECT_EQ(ValueOf(r, "HKCR\\Kestrum.PSDataAdaptor"), "PSDataAdaptor Class");
    EXPECT_EQ(ValueOf(r, "HKCR\\Kestrum.PSDataAdaptor\\CLSID"), clsid);
    EXPECT_EQ(ValueOf(r, "HKCR\\Kestrum.PSDataAdaptor\\CurVer"), "Kestrum.PSDataAdaptor.1");
    EXPECT_EQ(ValueOf(r, kClassKey), "PSDataAdaptor Class");
    EXPECT_EQ(ValueOf(r, kClassKey + "\\ProgID"), "Kestrum.PSDataAdaptor.1");
    EXPECT_EQ(ValueOf(r, kClassKey + "\\VersionIndependentProgID"), "Kestrum.PSDataAdaptor");
    EXPECT_TRUE(r.HasKey(kClassKey + "\\Programmable"));
    EXPECT_EQ(ValueOf(r, kClassKey + "\\InprocServer32"), modulePath);
    EXPECT_EQ(ValueOf(r, kClassKey + "\\InprocServer32", "ThreadingModel"), "Apartment");
    EXPECT_EQ(ValueOf(r, kClassKey + "\\TypeLib"), "{B516461F-7A88-4A22-BD83-F032E8299F93}");
    const std::string lib = "HKCR\\TypeLib\\{B516461F-7A88-4A22-BD83-F032E8299F93}\\1.0";
    EXPECT_EQ(ValueOf(r, lib), "Kestrum 1.0 Type Library");
    EXPECT_EQ(ValueOf(r, lib + "\\0\\linux64"), modulePath);

    for (const char* name : {"Kestrum.PSDataAdaptor", "Kestrum.PSDataAdaptor.1", "{01EDC397-47A5-44A5-831C-AB5743323FEF}",
                             "{01edc397-47a5-44a5-831c-ab5743323fef}"}) {
        void* pv = nullptr;
        ASSERT_EQ(KestrumCreateInstance(name, IID_IDataAdaptor, &pv), S_OK) << name;
        auto* adaptor = static_cast<IDataAdaptor*>(pv);
        LONG pages = 0;
        EXPECT_EQ(adaptor->get_TotalPageCount(&pages), S_OK);
        EXPECT_EQ(pages, 1);
        EXPECT_EQ(adaptor->Release(), 0u);
    }
    for (const char* unknown : {"Other.Class", "", "{11111111-2222-3333-4444-55555555555}"}) {
        void* pv = &pv;
        EXPECT_TRUE(FAILED(KestrumCreateInstance(unknown, IID_IDataAdaptor, &pv))) << unknown;
        EXPECT_EQ(pv, nullptr);
    }
    EXPECT_EQ(KestrumCreateInstance("Kestrum.PSDataAdaptor", IID_IDataAdaptor, nullptr), E_POINTER);

    ASSERT_EQ(unregisterServer(), S_OK);
    r = Read();
    EXPECT_FALSE(r.HasKey(kClassKey));
    EXPECT_TRUE(r.HasKey("HKCR\\CLSID"));
    EXPECT_FALSE(r.HasKey("HKCR\\Kestrum.PSDataAdaptor.1"));
    EXPECT_FALSE(r.HasKey("HKCR\\Kestrum.PSDataAdaptor\\CLSID"));
    EXPECT_FALSE(r.HasKey("HKCR\\Kestrum.PSDataAdaptor\\CurVer"));
    EXPECT_EQ(ValueOf(r, "HKCR\\Kestrum.PSDataAdaptor", "Note"), "kept");
    EXPECT_FALSE(r.HasKey("HKCR\\TypeLib\\{B516461F-7A88-4A22-BD83-F032E8299F93}"));
    EXPECT_EQ(ValueOf(r, "HKCR\\.txt"), "txtfile");
    EXPECT_EQ(ValueOf(r, "HKCR\\CLSID\\{11111111-2222-3333-4444-555555555555}\\InprocServer32"), "/usr/lib/other.so");

    void* pv = &pv;
    EXPECT_TRUE(FAILED(KestrumCreateInstance("Kestrum.PSDataAdaptor", IID_IDataAdaptor, &pv)));
    EXPECT_EQ(pv, nullptr);
}

}  // namespace
}  // namespace kestrum
