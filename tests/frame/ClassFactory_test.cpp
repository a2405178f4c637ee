// The class object: creation, aggregation, and what it refuses.
#include "frame/DataAdaptor.h"
#include "tests/frame/AdaptorHost.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

IClassFactory* Factory() {
    void* pv = nullptr;
    EXPECT_EQ(DllGetClassObject(CLSID_PSDataAdaptor, IID_IClassFactory, &pv), S_OK);
    return static_cast<IClassFactory*>(pv);
}

// An outer object that counts the calls its inner object passes on.
class Outer : public IUnknown {
public:
    virtual ~Outer() = default;
    HRESULT QueryInterface(REFIID, void** ppv) override {
        ++queries;
        *ppv = this;
        return S_OK;
    }
    ULONG AddRef() override { return static_cast<ULONG>(++refs); }
    ULONG Release() override { return static_cast<ULONG>(--refs); }
    int refs = 1;
    int queries = 0;
};

TEST(FrameClassFactory, ClassObjectIsCachedAndKnowsOneClass) {
    IClassFactory* a = Factory();
    IClassFactory* b = Factory();
    EXPECT_EQ(a, b);
    a->Release();
    b->Release();

    void* pv = &pv;
    EXPECT_EQ(DllGetClassObject(IID_IDataAdaptor, IID_IClassFactory, &pv), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(pv, nullptr);
    EXPECT_EQ(DllGetClassObject(CLSID_PSDataAdaptor, IID_IDataAdaptor, &pv), E_NOINTERFACE);
    EXPECT_EQ(DllGetClassObject(CLSID_PSDataAdaptor, IID_IClassFactory, nullptr), E_POINTER);
    ASSERT_EQ(DllGetClassObject(CLSID_PSDataAdaptor, IID_IUnknown, &pv), S_OK);
    static_cast<IUnknown*>(pv)->Release();
}

TEST(FrameClassFactory, CreatesAdaptorsAnsweringOnlyTheirInterfaces) {
    IClassFactory* factory = Factory();
    void* pv = nullptr;
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IDataAdaptor, nullptr), E_POINTER);
    // A refused interface: no object is left behind (the sanitizer run checks).
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IBlockList, &pv), E_NOINTERFACE);
    EXPECT_EQ(pv, nullptr);

    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, &pv), S_OK);
    auto* unknown = static_cast<IUnknown*>(pv);
    void* adaptor = nullptr;
    ASSERT_EQ(unknown->QueryInterface(IID_IDataAdaptor, &adaptor), S_OK);
    void* back = nullptr;
    ASSERT_EQ(static_cast<IDataAdaptor*>(adaptor)->QueryInterface(IID_IUnknown, &back), S_OK);
    EXPECT_EQ(back, unknown);  // one identity
    EXPECT_EQ(unknown->Release(), 2u);
    EXPECT_EQ(static_cast<IUnknown*>(back)->Release(), 1u);
    EXPECT_EQ(static_cast<IDataAdaptor*>(adaptor)->Release(), 0u);
    factory->Release();
}

TEST(FrameClassFactory, AggregatedAdaptorPassesItsIUnknownToTheOuter) {
    IClassFactory* factory = Factory();
    Outer outer;
    void* pv = &pv;
    EXPECT_EQ(factory->CreateInstance(&outer, IID_IDataAdaptor, &pv), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(pv, nullptr);

    ASSERT_EQ(factory->CreateInstance(&outer, IID_IUnknown, &pv), S_OK);
    auto* inner = static_cast<IUnknown*>(pv);
    void* adaptorPv = nullptr;
    ASSERT_EQ(inner->QueryInterface(IID_IDataAdaptor, &adaptorPv), S_OK);
    EXPECT_EQ(outer.refs, 2);  // the reference went to the outer object
    auto* adaptor = static_cast<IDataAdaptor*>(adaptorPv);

    void* viaAdaptor = nullptr;
    adaptor->QueryInterface(IID_IUnknown, &viaAdaptor);
    EXPECT_EQ(viaAdaptor, &outer);
    EXPECT_EQ(outer.queries, 1);
    adaptor->AddRef();
    EXPECT_EQ(outer.refs, 3);
    adaptor->Release();
    adaptor->Release();
    EXPECT_EQ(outer.refs, 1);

    LONG pages = 0;
    EXPECT_EQ(adaptor->get_TotalPageCount(&pages), S_OK);  // still alive: the inner reference holds it
    EXPECT_EQ(pages, 1);
    EXPECT_EQ(inner->Release(), 0u);
    factory->Release();
}

}  // namespace
}  // namespace kestrum
