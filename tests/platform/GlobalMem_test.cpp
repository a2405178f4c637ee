#include <kestrum/kestrum.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

TEST(PlatformGlobalMem, RoundTrip) {
    HGLOBAL h = GlobalAlloc(GHND, 100);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(GlobalSize(h), 100u);
    auto* p = static_cast<unsigned char*>(GlobalLock(h));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % alignof(std::max_align_t), 0u);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(p[i], 0) << i;
    std::memset(p, 0xAB, 100);
    EXPECT_EQ(GlobalLock(h), p);  // a second lock, same data
    EXPECT_EQ(GlobalUnlock(h), 1);
    EXPECT_EQ(GlobalUnlock(h), 0);
    EXPECT_EQ(static_cast<unsigned char*>(GlobalLock(h))[99], 0xAB);
    GlobalUnlock(h);
    EXPECT_EQ(GlobalFree(h), nullptr);
}

TEST(PlatformGlobalMem, FailureResults) {
    EXPECT_EQ(GlobalLock(nullptr), nullptr);
    EXPECT_EQ(GlobalUnlock(nullptr), 0);
    EXPECT_EQ(GlobalSize(nullptr), 0u);
    EXPECT_EQ(GlobalFree(nullptr), nullptr);
    EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, SIZE_MAX), nullptr);
    EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, SIZE_MAX - 8), nullptr);

    HGLOBAL empty = GlobalAlloc(GMEM_FIXED, 0);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(GlobalSize(empty), 0u);
    GlobalFree(empty);
}

}  // namespace
