#include "model/Boundary.h"

#include "platform/Bstr.h"

namespace kestrum {

HRESULT StoreBstr(BSTR* out, std::string_view narrow) {
    if (!out) return E_POINTER;
    BSTR made = MakeBstr(narrow);
    if (!made) return E_FAIL;
    *out = made;
    return S_OK;
}

}  // namespace kestrum
