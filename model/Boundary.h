// The edge between the component and its host: nothing throws across an interface
// method, and strings leave as new BSTRs.
#pragma once

#include <kestrum/kestrum.h>

#include <new>
#include <string_view>

namespace kestrum {

// Runs `body` and turns whatever it throws into a result code: memory exhaustion
// into `onNoMemory`, anything else into E_FAIL.
template <class Body>
HRESULT Guarded(Body&& body, HRESULT onNoMemory = E_FAIL) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return onNoMemory;
    } catch (...) {
        return E_FAIL;
    }
}

// Stores `narrow` as a new BSTR in *out: E_POINTER for a null out argument,
// E_FAIL (and *out untouched) when no string could be made.
HRESULT StoreBstr(BSTR* out, std::string_view narrow);

}  // namespace kestrum
