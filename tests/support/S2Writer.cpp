#include "tests/support/S2Writer.h"

namespace kestrum::testing {

void S2Writer::U16(uint16_t v) {
    data_ += static_cast<char>(v & 0xFF);
    data_ += static_cast<char>(v >> 8);
}

S2Writer& S2Writer::ShortHeader(uint16_t width, uint16_t height) {
    U16(0x8003);
    U16(width);
    U16(0x8003);
    U16(height);
    return *this;
}

S2Writer& S2Writer::LongHeader(uint16_t sig1, uint16_t sig2, uint16_t width, uint16_t height, uint16_t xOffset,
                               uint16_t yOffset) {
    U16(sig1);
    U16(sig2);
    data_.append(8, '\0');
    U16(xOffset);
    U16(yOffset);
    U16(width);
    U16(height);
    data_.append(44, '\0');
    return *this;
}

S2Writer& S2Writer::Word(uint32_t word) {
    U16(static_cast<uint16_t>(word & 0xFFFF));
    U16(static_cast<uint16_t>(word >> 16));
    return *this;
}

S2Writer& S2Writer::Bytes(const std::string& bytes) {
    data_ += bytes;
    return *this;
}

}  // namespace kestrum::testing
