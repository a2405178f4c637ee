// Nothing thrown inside reaches the host: what a method throws becomes its result code.
#include "model/Boundary.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <vector>

namespace kestrum {
namespace {

TEST(ModelBoundary, ThrownErrorsBecomeResultCodes) {
    struct Case {
        const char* name;
        std::function<HRESULT()> body;
        HRESULT onNoMemory;
        HRESULT expected;
    };
    const std::vector<Case> cases = {
        {"result passes", [] { return S_FALSE; }, E_FAIL, S_FALSE},
        {"memory, no code given", []() -> HRESULT { throw std::bad_alloc(); }, E_FAIL, E_FAIL},
        {"memory, code given", []() -> HRESULT { throw std::bad_alloc(); }, E_OUTOFMEMORY, E_OUTOFMEMORY},
        {"other exception", []() -> HRESULT { throw std::length_error("x"); }, E_OUTOFMEMORY, E_FAIL},
        {"not an exception class", []() -> HRESULT { throw 7; }, E_OUTOFMEMORY, E_FAIL},
    };
    for (const Case& c : cases) EXPECT_EQ(Guarded(c.body, c.onNoMemory), c.expected) << c.name;
}

TEST(ModelBoundary, StringsLeaveOnlyThroughAnOutArgument) {
    EXPECT_EQ(StoreBstr(nullptr, "x"), E_POINTER);
    BSTR out = nullptr;
    ASSERT_EQ(StoreBstr(&out, ""), S_OK);
    ASSERT_NE(out, nullptr);  // an empty string is still a string
    EXPECT_EQ(SysStringLen(out), 0u);
    SysFreeString(out);
}

}  // namespace
}  // namespace kestrum
