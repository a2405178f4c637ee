#include "psreader/LineReader.h"

#include <cstring>

namespace kestrum {

bool LineReader::ReadLine(std::string_view& line) {
    if (pos_ >= size_) return false;
    const char* start = data_ + pos_;
    size_t room = size_ - pos_;
    if (room > kMaxChunk) room = kMaxChunk;
    const void* feed = std::memchr(start, '\n', room);
    size_t chunk = feed ? static_cast<size_t>(static_cast<const char*>(feed) - start) + 1 : room;
    pos_ += chunk;
    const void* zero = std::memchr(start, '\0', chunk);
    line = std::string_view(start, zero ? static_cast<size_t>(static_cast<const char*>(zero) - start) : chunk);
    return true;
}

bool LineReader::SeekRelative(int64_t delta) {
    if (delta < 0 && static_cast<uint64_t>(-delta) > pos_) return false;
    pos_ = static_cast<size_t>(static_cast<int64_t>(pos_) + delta);
    return true;
}

}  // namespace kestrum
