#include "platform/Rect.h"

#include <cmath>
#include <limits>

namespace kestrum {

namespace {

constexpr int64_t kMin32 = std::numeric_limits<int32_t>::min();
constexpr int64_t kMax32 = std::numeric_limits<int32_t>::max();

int32_t Saturate(int64_t v) {
    if (v < kMin32) return static_cast<int32_t>(kMin32);
    if (v > kMax32) return static_cast<int32_t>(kMax32);
    return static_cast<int32_t>(v);
}

}  // namespace

bool IntersectRect(Rect& out, const Rect& a, const Rect& b) {
    // Built aside first: `out` may be one of the inputs.
    const Rect common = MakeRect(a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
                                 a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom);
    if (IsRectEmpty(common)) {
        out = Rect{};
        return false;
    }
    out = common;
    return true;
}

void OffsetRect(Rect& r, int32_t dx, int32_t dy) {
    r.left = Saturate(int64_t{r.left} + dx);
    r.right = Saturate(int64_t{r.right} + dx);
    r.top = Saturate(int64_t{r.top} + dy);
    r.bottom = Saturate(int64_t{r.bottom} + dy);
}

void InflateRect(Rect& r, int32_t dx, int32_t dy) {
    r.left = Saturate(int64_t{r.left} - dx);
    r.right = Saturate(int64_t{r.right} + dx);
    r.top = Saturate(int64_t{r.top} - dy);
    r.bottom = Saturate(int64_t{r.bottom} + dy);
}

int32_t MulDiv32(int64_t v, int64_t mul, int64_t div) {
    if (div == 0) return 0;
    // 128 bits: the product of two 64-bit values, and INT64_MIN / -1, stay defined.
    const __int128 q = static_cast<__int128>(v) * mul / div;
    if (q < kMin32) return static_cast<int32_t>(kMin32);
    if (q > kMax32) return static_cast<int32_t>(kMax32);
    return static_cast<int32_t>(q);
}

}  // namespace kestrum
