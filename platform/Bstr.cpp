#include "platform/Bstr.h"

#include "platform/CodePage.h"

#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

// The prefix holds the length in bytes, as a 32-bit count.
constexpr size_t kPrefixUnits = sizeof(uint32_t) / sizeof(OLECHAR);
constexpr UINT kMaxUnits = (std::numeric_limits<uint32_t>::max() - sizeof(uint32_t) - sizeof(OLECHAR)) / sizeof(OLECHAR);

}  // namespace

KESTRUM_API BSTR SysAllocStringLen(const OLECHAR* strIn, UINT ui) {
    if (ui > kMaxUnits) return nullptr;
    const size_t bytes = sizeof(uint32_t) + (size_t{ui} + 1) * sizeof(OLECHAR);
    auto* block = static_cast<unsigned char*>(std::malloc(bytes));
    if (!block) return nullptr;
    const uint32_t byteLength = ui * static_cast<uint32_t>(sizeof(OLECHAR));
    std::memcpy(block, &byteLength, sizeof byteLength);
    BSTR text = reinterpret_cast<BSTR>(block + sizeof(uint32_t));
    if (strIn)
        std::memcpy(text, strIn, size_t{ui} * sizeof(OLECHAR));
    else
        std::memset(text, 0, size_t{ui} * sizeof(OLECHAR));
    text[ui] = 0;
    return text;
}

KESTRUM_API BSTR SysAllocString(const OLECHAR* psz) {
    if (!psz) return nullptr;
    size_t n = 0;
    while (psz[n]) ++n;
    if (n > kMaxUnits) return nullptr;
    return SysAllocStringLen(psz, static_cast<UINT>(n));
}

KESTRUM_API UINT SysStringLen(BSTR bstr) {
    if (!bstr) return 0;
    uint32_t byteLength;
    std::memcpy(&byteLength, bstr - kPrefixUnits, sizeof byteLength);
    return byteLength / sizeof(OLECHAR);
}

KESTRUM_API void SysFreeString(BSTR bstr) {
    if (bstr) std::free(bstr - kPrefixUnits);
}

namespace kestrum {

BSTR MakeBstr(std::string_view narrow) {
    const std::u16string wide = NarrowToWide(narrow);
    if (wide.size() > kMaxUnits) return nullptr;
    return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

}  // namespace kestrum
