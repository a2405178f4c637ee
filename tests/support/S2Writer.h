// Writes S2 pages word by word: a test states the header and the stream in a few calls,
//   S2Writer page; page.ShortHeader(4000, 12000).Op(0x8001, 500).Glyph(100, 0x3021);
#pragma once

#include <cstdint>
#include <string>

namespace kestrum::testing {

class S2Writer {
public:
    // 0x8003 width 0x8003 height.
    S2Writer& ShortHeader(uint16_t width, uint16_t height);
    // 16 words: signature pair, origin offsets at 12/14, page size at 16/18.
    S2Writer& LongHeader(uint16_t sig1, uint16_t sig2, uint16_t width, uint16_t height, uint16_t xOffset = 0,
                         uint16_t yOffset = 0);
    S2Writer& Word(uint32_t word);
    // A 32-bit word of two 16-bit halves: lo in bytes 0-1, hi in bytes 2-3.
    S2Writer& Halves(uint16_t lo, uint16_t hi) { return Word(static_cast<uint32_t>(lo) | (static_cast<uint32_t>(hi) << 16)); }
    S2Writer& Glyph(uint16_t position, uint16_t code) { return Halves(position, code); }
    S2Writer& Op(uint16_t code, uint16_t parameter = 0) { return Halves(code, parameter); }
    // Raw bytes, for files that end inside a word.
    S2Writer& Bytes(const std::string& bytes);

    const std::string& Data() const { return data_; }

private:
    void U16(uint16_t v);
    std::string data_;
};

}  // namespace kestrum::testing
