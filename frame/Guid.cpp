#include "frame/Guid.h"

#include <cstdio>
#include <iterator>

namespace kestrum {

namespace {

// Hexadecimal digits of each dash-separated group.
constexpr size_t kGroupDigits[] = {8, 4, 4, 4, 12};
constexpr size_t kGuidTextLength = 38;  // braces, 32 digits, 4 dashes

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string GuidToString(const GUID& g) {
    char text[kGuidTextLength + 1];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.Data1, g.Data2, g.Data3,
                  g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
    return text;
}

bool ParseGuid(std::string_view text, GUID& out) {
    if (text.size() != kGuidTextLength || text.front() != '{' || text.back() != '}') return false;
    // The 16 bytes in text order; Data1..Data3 are then assembled from the first 8.
    uint8_t bytes[16];
    size_t at = 1, byte = 0;
    for (size_t group = 0; group < std::size(kGroupDigits); ++group) {
        if (group > 0 && text[at++] != '-') return false;
        for (size_t d = 0; d < kGroupDigits[group]; d += 2, at += 2) {
            const int hi = HexValue(text[at]), lo = HexValue(text[at + 1]);
            if (hi < 0 || lo < 0) return false;
            bytes[byte++] = static_cast<uint8_t>(hi << 4 | lo);
        }
    }
    GUID g;
    g.Data1 = uint32_t{bytes[0]} << 24 | uint32_t{bytes[1]} << 16 | uint32_t{bytes[2]} << 8 | bytes[3];
    g.Data2 = static_cast<uint16_t>(bytes[4] << 8 | bytes[5]);
    g.Data3 = static_cast<uint16_t>(bytes[6] << 8 | bytes[7]);
    for (size_t i = 0; i < 8; ++i) g.Data4[i] = bytes[8 + i];
    out = g;
    return true;
}

}  // namespace kestrum
