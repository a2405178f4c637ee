// Rectangles and integer arithmetic with the semantics of the page files' home
// platform: y grows downwards, a rectangle with right <= left or bottom <= top is
// empty, every conversion of a computed number to an integer truncates toward zero.
#pragma once

#include <kestrum/kestrum.h>

#include <cstdint>
#include <climits>

// Beside the structs themselves, so that argument lookup finds them from any namespace.
inline bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline bool operator!=(const RECT& a, const RECT& b) { return !(a == b); }
inline bool operator==(const POINT& a, const POINT& b) { return a.x == b.x && a.y == b.y; }
inline bool operator!=(const POINT& a, const POINT& b) { return !(a == b); }

namespace kestrum {

using Rect = RECT;
using Point = POINT;

inline Rect MakeRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    Rect r;
    r.left = left;
    r.top = top;
    r.right = right;
    r.bottom = bottom;
    return r;
}

inline Point MakePoint(int32_t x, int32_t y) {
    Point p;
    p.x = x;
    p.y = y;
    return p;
}

// Inline: the article reader calls these for every character of a page.
inline bool IsRectEmpty(const Rect& r) { return r.right <= r.left || r.bottom <= r.top; }
// Plain minimum/maximum of the four sides; empty rectangles count like any other.
inline Rect BoundingUnion(const Rect& a, const Rect& b) {
    return MakeRect(a.left < b.left ? a.left : b.left, a.top < b.top ? a.top : b.top,
                    a.right > b.right ? a.right : b.right, a.bottom > b.bottom ? a.bottom : b.bottom);
}
// Smallest rectangle holding both; an empty rectangle adds nothing, two empty
// rectangles give (0, 0, 0, 0).
inline Rect UnionRect(const Rect& a, const Rect& b) {
    const bool aEmpty = IsRectEmpty(a);
    const bool bEmpty = IsRectEmpty(b);
    if (aEmpty && bEmpty) return Rect{};
    if (aEmpty) return b;
    if (bEmpty) return a;
    return BoundingUnion(a, b);
}
// The common part; false and (0, 0, 0, 0) when it is empty.
bool IntersectRect(Rect& out, const Rect& a, const Rect& b);
void OffsetRect(Rect& r, int32_t dx, int32_t dy);
void InflateRect(Rect& r, int32_t dx, int32_t dy);

// Truncation toward zero to 32 bits. Values beyond the 32-bit range saturate,
// NaN gives 0: atof may hand us anything, and the cast alone would be undefined.
inline int32_t trunc32(double v) {
    // Every value strictly between these truncates into range; NaN fails both tests.
    if (v > -2147483649.0 && v < 2147483648.0) return static_cast<int32_t>(v);
    if (v != v) return 0;
    return v > 0 ? INT32_MAX : INT32_MIN;
}

// A 64-bit integer saturated to 32 bits: what trunc32 gives for the same value.
inline int32_t Saturate32(int64_t v) { return v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : static_cast<int32_t>(v); }

// v * mul / div in 64-bit integer arithmetic, truncated toward zero, saturated to
// 32 bits; div 0 gives 0.
int32_t MulDiv32(int64_t v, int64_t mul, int64_t div);

// Page units (1/7420 inch) to whole points, truncated toward zero. The product of an
// int32 and 72 fits in 64 bits and the quotient in 32.
inline int32_t PageUnitsToPoints(int32_t v) { return static_cast<int32_t>(int64_t{v} * 72 / 7420); }

inline Rect PageUnitsToPoints(const Rect& r) {
    return MakeRect(PageUnitsToPoints(r.left), PageUnitsToPoints(r.top), PageUnitsToPoints(r.right),
                    PageUnitsToPoints(r.bottom));
}

}  // namespace kestrum
