#include "platform/Bstr.h"

#include <gtest/gtest.h>

#include <cstring>

namespace kestrum {
namespace {

uint32_t PrefixOf(BSTR b) {
    uint32_t bytes;
    std::memcpy(&bytes, reinterpret_cast<const unsigned char*>(b) - 4, 4);
    return bytes;
}

TEST(PlatformBstr, LengthPrefixAndTerminator) {
    BSTR b = SysAllocString(u"宋体 A");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(SysStringLen(b), 4u);
    EXPECT_EQ(PrefixOf(b), 8u);
    EXPECT_EQ(b[4], u'\0');
    EXPECT_EQ(std::u16string(b), u"宋体 A");
    SysFreeString(b);

    // Embedded zeros count: the prefix, not the terminator, gives the length.
    const char16_t withZero[] = {u'a', 0, u'b'};
    BSTR z = SysAllocStringLen(withZero, 3);
    EXPECT_EQ(SysStringLen(z), 3u);
    EXPECT_EQ(z[2], u'b');
    EXPECT_EQ(z[3], u'\0');
    SysFreeString(z);
}

TEST(PlatformBstr, NullArguments) {
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    SysFreeString(nullptr);

    BSTR zeroed = SysAllocStringLen(nullptr, 3);
    ASSERT_NE(zeroed, nullptr);
    EXPECT_EQ(SysStringLen(zeroed), 3u);
    for (int i = 0; i <= 3; ++i) EXPECT_EQ(zeroed[i], u'\0');
    SysFreeString(zeroed);

    EXPECT_EQ(SysAllocStringLen(nullptr, 0x80000000u), nullptr);  // byte length beyond the prefix
}

TEST(PlatformBstr, MakeBstrConvertsNarrowText) {
    BSTR name = MakeBstr("\xC7\xE0\xC4\xF1\xBB\xAA\xB9\xE2\xBC\xF2\xB1\xA8\xCB\xCE");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(std::u16string(name, SysStringLen(name)), u"青鸟华光简报宋");
    SysFreeString(name);

    BSTR empty = MakeBstr("");
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(SysStringLen(empty), 0u);
    EXPECT_EQ(empty[0], u'\0');
    SysFreeString(empty);
}

}  // namespace
}  // namespace kestrum
