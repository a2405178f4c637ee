// The S2 page's words as the stream walk reads them: whole little-endian 32-bit words
// and the 16-bit units of a record, every read checked against the last whole word.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kestrum {

class WordCursor {
public:
    WordCursor(const unsigned char* data, int32_t wordCount) : data_(data), words_(wordCount > 0 ? wordCount : 0) {}

    int32_t WordCount() const { return words_; }
    // Word `index`, which the caller has checked is below WordCount().
    uint32_t Word(int32_t index) const {
        const unsigned char* p = data_ + size_t(index) * 4;
        return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    }
    // Unit `unit` of the record that starts at word `start`; false past the last whole word.
    bool Unit(int32_t start, int64_t unit, uint16_t& out) const {
        const int64_t at = int64_t(start) * 2 + unit;
        if (unit < 0 || at >= int64_t(words_) * 2) return false;
        const unsigned char* p = data_ + size_t(at) * 2;
        out = uint16_t(p[0] | p[1] << 8);
        return true;
    }
    // Whether `count` words from `start` on all lie in the file.
    bool Holds(int32_t start, int64_t count) const { return count >= 0 && int64_t(start) + count <= words_; }

private:
    const unsigned char* data_;
    int32_t words_;
};

}  // namespace kestrum
