#include "platform/Rect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

// Found by argument lookup, which ignores unnamed namespaces: hence static.
static void PrintTo(const tagRECT& r, std::ostream* os) {
    *os << '(' << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom << ')';
}

namespace kestrum {
namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

TEST(PlatformRect, Emptiness) {
    EXPECT_FALSE(IsRectEmpty(MakeRect(0, 0, 1, 1)));
    EXPECT_TRUE(IsRectEmpty(MakeRect(0, 0, 0, 5)));
    EXPECT_TRUE(IsRectEmpty(MakeRect(0, 0, 5, 0)));
    EXPECT_TRUE(IsRectEmpty(MakeRect(5, 5, 1, 9)));
}

TEST(PlatformRect, UnionAndIntersection) {
    struct Case {
        Rect a;
        Rect b;
        Rect unionRect;
        Rect bounding;
        Rect common;  // (0,0,0,0) when they do not meet
    };
    const Case cases[] = {
        {MakeRect(0, 0, 10, 10), MakeRect(5, 5, 20, 20), MakeRect(0, 0, 20, 20), MakeRect(0, 0, 20, 20), MakeRect(5, 5, 10, 10)},
        {MakeRect(0, 0, 10, 10), MakeRect(20, 20, 30, 30), MakeRect(0, 0, 30, 30), MakeRect(0, 0, 30, 30), Rect{}},
        {MakeRect(0, 0, 10, 10), MakeRect(10, 0, 20, 10), MakeRect(0, 0, 20, 10), MakeRect(0, 0, 20, 10), Rect{}},  // touching
        {MakeRect(0, 0, 10, 10), MakeRect(50, 50, 50, 60), MakeRect(0, 0, 10, 10), MakeRect(0, 0, 50, 60), Rect{}},  // b empty
        {MakeRect(-5, -5, -5, -5), MakeRect(2, 2, 4, 4), MakeRect(2, 2, 4, 4), MakeRect(-5, -5, 4, 4), Rect{}},      // a empty
        {MakeRect(3, 3, 1, 1), MakeRect(7, 7, 7, 9), Rect{}, MakeRect(3, 3, 7, 9), Rect{}},                       // both empty
        {MakeRect(2, 2, 8, 8), MakeRect(0, 0, 10, 10), MakeRect(0, 0, 10, 10), MakeRect(0, 0, 10, 10), MakeRect(2, 2, 8, 8)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.a) + " " + ::testing::PrintToString(c.b));
        EXPECT_EQ(UnionRect(c.a, c.b), c.unionRect);
        EXPECT_EQ(UnionRect(c.b, c.a), c.unionRect);
        EXPECT_EQ(BoundingUnion(c.a, c.b), c.bounding);
        Rect out = MakeRect(1, 2, 3, 4);
        EXPECT_EQ(IntersectRect(out, c.a, c.b), !IsRectEmpty(c.common));
        EXPECT_EQ(out, c.common);
    }
}

TEST(PlatformRect, IntersectionIntoOneOfItsInputs) {
    Rect a = MakeRect(0, 0, 10, 10);
    EXPECT_TRUE(IntersectRect(a, a, MakeRect(5, -5, 15, 5)));
    EXPECT_EQ(a, MakeRect(5, 0, 10, 5));
}

TEST(PlatformRect, OffsetAndInflateSaturate) {
    Rect r = MakeRect(1, 2, 3, 4);
    OffsetRect(r, 10, -10);
    EXPECT_EQ(r, MakeRect(11, -8, 13, -6));
    InflateRect(r, 1, 2);
    EXPECT_EQ(r, MakeRect(10, -10, 14, -4));
    InflateRect(r, -2, -3);
    EXPECT_EQ(r, MakeRect(12, -7, 12, -7));

    Rect edge = MakeRect(kMin + 1, kMin, kMax - 1, kMax);
    OffsetRect(edge, 5, kMin);
    EXPECT_EQ(edge, MakeRect(kMin + 6, kMin, kMax, -1));
    InflateRect(edge, kMax, kMax);
    EXPECT_EQ(edge, MakeRect(kMin, kMin, kMax, kMax - 1));
}

TEST(PlatformRect, Trunc32) {
    struct Case {
        double v;
        int32_t expected;
    };
    const Case cases[] = {
        {-3.7, -3},
        {3.7, 3},
        {-0.5, 0},
        {2147483647.9, kMax},
        {-2147483648.9, kMin},
        {1e300, kMax},
        {-1e300, kMin},
        {HUGE_VAL, kMax},
        {-HUGE_VAL, kMin},
        {std::nan(""), 0},
    };
    for (const auto& c : cases) EXPECT_EQ(trunc32(c.v), c.expected) << c.v;
}

TEST(PlatformRect, MulDiv32) {
    struct Case {
        int64_t v, mul, div;
        int32_t expected;
    };
    const Case cases[] = {
        {7420, 72, 7420, 72},
        {7419, 72, 7420, 71},                  // truncated, not rounded
        {-7419, 72, 7420, -71},                // toward zero
        {kMax, kMax, kMax, kMax},              // the product needs 62 bits
        {INT64_MAX, INT64_MAX, INT64_MAX, kMax},  // and here more than 64
        {INT64_MIN, 1, -1, kMax},
        {kMax, 4, 2, kMax},
        {kMin, 4, 2, kMin},
        {5, 5, 0, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(MulDiv32(c.v, c.mul, c.div), c.expected) << c.v << '*' << c.mul << '/' << c.div;
    EXPECT_EQ(PageUnitsToPoints(74200), 720);
}

}  // namespace
}  // namespace kestrum
