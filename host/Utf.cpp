#include "Utf.h"

#include <cerrno>
#include <iconv.h>

namespace {

// Converts with iconv; a sequence it cannot take is replaced and skipped, so the
// rest of the text always comes through.
template <class From, class To>
To Convert(const char* toCode, const char* fromCode, const From& input, size_t unit, std::string_view replacement) {
    To output;
    iconv_t cd = iconv_open(toCode, fromCode);
    if (cd == reinterpret_cast<iconv_t>(-1)) return output;
    std::string bytes;
    char* in = const_cast<char*>(reinterpret_cast<const char*>(input.data()));
    size_t inLeft = input.size() * sizeof(typename From::value_type);
    char buffer[4096];
    while (inLeft > 0) {
        char* out = buffer;
        size_t outLeft = sizeof buffer;
        size_t done = iconv(cd, &in, &inLeft, &out, &outLeft);
        bytes.append(buffer, static_cast<size_t>(out - buffer));
        if (done == static_cast<size_t>(-1) && errno != E2BIG) {
            bytes.append(replacement);
            size_t skip = inLeft < unit ? inLeft : unit;
            in += skip;
            inLeft -= skip;
        }
    }
    iconv_close(cd);
    output.assign(reinterpret_cast<const typename To::value_type*>(bytes.data()),
                  bytes.size() / sizeof(typename To::value_type));
    return output;
}

}  // namespace

std::u16string ToUtf16(std::string_view utf8) {
    return Convert<std::string_view, std::u16string>("UTF-16LE", "UTF-8", utf8, 1, std::string_view("\xFD\xFF", 2));
}

std::string ToUtf8(std::u16string_view utf16) {
    return Convert<std::u16string_view, std::string>("UTF-8", "UTF-16LE", utf16, 2, "\xEF\xBF\xBD");
}
