#include "Utf.h"

#include <cerrno>
#include <cstdint>
#include <iconv.h>

// Over iconv: only paths come this way. A sequence iconv cannot take becomes U+FFFD
// and is skipped a byte at a time, so the rest of the text always comes through.
std::u16string ToUtf16(std::string_view utf8) {
    std::u16string output;
    iconv_t cd = iconv_open("UTF-16LE", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return output;
    std::string bytes;
    char* in = const_cast<char*>(utf8.data());
    size_t inLeft = utf8.size();
    char buffer[4096];
    while (inLeft > 0) {
        char* out = buffer;
        size_t outLeft = sizeof buffer;
        size_t done = iconv(cd, &in, &inLeft, &out, &outLeft);
        bytes.append(buffer, static_cast<size_t>(out - buffer));
        if (done == static_cast<size_t>(-1) && errno != E2BIG) {
            bytes.append("\xFD\xFF", 2);
            ++in;
            --inLeft;
        }
    }
    iconv_close(cd);
    output.assign(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / sizeof(char16_t));
    return output;
}

// By hand rather than over iconv: every text and HTML string of a page comes this way,
// and a conversion descriptor per string costs more than the conversion. A surrogate
// without its partner becomes U+FFFD and the next unit is read afresh.
std::string ToUtf8(std::u16string_view utf16) {
    std::string out;
    out.resize(utf16.size() * 3);
    char* o = out.data();
    const size_t n = utf16.size();
    for (size_t i = 0; i < n; ++i) {
        uint32_t c = utf16[i];
        if (c < 0x80) {
            *o++ = static_cast<char>(c);
            continue;
        }
        if (c >= 0xD800 && c <= 0xDFFF) {
            const bool paired = c <= 0xDBFF && i + 1 < n && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF;
            if (!paired) {
                c = 0xFFFD;
            } else {
                c = 0x10000 + ((c - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
                ++i;
            }
        }
        if (c < 0x800) {
            *o++ = static_cast<char>(0xC0 | (c >> 6));
        } else if (c < 0x10000) {
            *o++ = static_cast<char>(0xE0 | (c >> 12));
            *o++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        } else {
            *o++ = static_cast<char>(0xF0 | (c >> 18));
            *o++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            *o++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        }
        *o++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    out.resize(static_cast<size_t>(o - out.data()));
    return out;
}
