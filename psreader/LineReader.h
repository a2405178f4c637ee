// Line input over a page file held in memory, as the reader has always read its pages:
// fgets into a 1024-byte buffer. A line is read up to and including its line feed but
// at most 1023 bytes, so a longer physical line arrives as several chunks. Positions are
// byte offsets; seeking past the end is allowed (reads then find the end of the file),
// seeking before the start fails and leaves the position where it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kestrum {

class LineReader {
public:
    static constexpr size_t kBufferSize = 1024;         // the reader's line buffer
    static constexpr size_t kMaxChunk = kBufferSize - 1;  // bytes one read can take

    LineReader(const unsigned char* data, size_t size)
        : data_(reinterpret_cast<const char*>(data)), size_(size) {}
    explicit LineReader(std::string_view bytes) : data_(bytes.data()), size_(bytes.size()) {}

    // The next chunk, line feed included. Like the C string fgets fills, the text ends at
    // a zero byte, while the position moves past the whole chunk. False at the end.
    bool ReadLine(std::string_view& line);

    size_t Tell() const { return pos_; }
    bool Seek(size_t pos) {
        pos_ = pos;
        return true;
    }
    bool SeekRelative(int64_t delta);

    size_t Size() const { return size_; }
    std::string_view Bytes() const { return {data_, size_}; }

private:
    const char* data_;
    size_t size_;
    size_t pos_ = 0;
};

// The line without its line feed (a chunk holds at most one, at its end).
inline std::string_view StripLineFeed(std::string_view line) {
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    return line;
}

}  // namespace kestrum
