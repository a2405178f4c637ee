#include "parser/Image.h"
#include "parser/ImageCodecs.h"

#include <cstring>

namespace kestrum::codec {

uint32_t SniffFormat(FILE* file) {
    unsigned char head[8] = {};
    const size_t got = std::fread(head, 1, sizeof head, file);
    std::rewind(file);
    auto starts = [&](const char* magic, size_t n) { return got >= n && std::memcmp(head, magic, n) == 0; };
    if (starts("\xFF\xD8\xFF", 3)) return CXIMAGE_FORMAT_JPG;
    if (starts("\x89PNG\r\n\x1A\n", 8)) return CXIMAGE_FORMAT_PNG;
    if (starts("II*\0", 4) || starts("MM\0*", 4) || starts("II+\0", 4) || starts("MM\0+", 4)) return CXIMAGE_FORMAT_TIF;
    if (starts("GIF87a", 6) || starts("GIF89a", 6)) return CXIMAGE_FORMAT_GIF;
    if (starts("BM", 2)) return CXIMAGE_FORMAT_BMP;
    return CXIMAGE_FORMAT_UNKNOWN;
}

}  // namespace kestrum::codec
