#include "platform/CodePage.h"

#include "platform/Mbcs.h"

#include <kestrum/kestrum.h>

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <type_traits>

namespace kestrum {

namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr char kUnmappable = '?';
constexpr char kWideCharset[] = "UTF-16LE";  // char16_t as x86-64 stores it, no byte order mark
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The user-defined areas of code page 936, which iconv leaves out, sit in the
// private use area as the page files' home platform puts them; typesetting systems
// keep their own symbols there, so they must survive a round trip.
struct UserArea {
    unsigned char firstLead, lastLead;
    unsigned char firstTrail, lastTrail;  // 0x7F is never a trail
    char16_t firstPua;
};
constexpr UserArea kUserAreas[] = {
    {0xAA, 0xAF, 0xA1, 0xFE, 0xE000},
    {0xF8, 0xFE, 0xA1, 0xFE, 0xE234},
    {0xA1, 0xA7, 0x40, 0xA0, 0xE4C6},
};

unsigned TrailsPerRow(const UserArea& a) {
    const unsigned span = a.lastTrail - a.firstTrail + 1u;
    return a.firstTrail < 0x7F && a.lastTrail > 0x7F ? span - 1 : span;
}

bool IsGbkTrail(unsigned char c) { return c >= 0x40 && c <= 0xFE && c != 0x7F; }

// 0 when the pair lies in no user-defined area.
char16_t UserAreaToPua(unsigned char lead, unsigned char trail) {
    for (const UserArea& a : kUserAreas) {
        if (lead < a.firstLead || lead > a.lastLead || trail < a.firstTrail || trail > a.lastTrail || trail == 0x7F)
            continue;
        const unsigned column = trail - a.firstTrail - (a.firstTrail < 0x7F && trail > 0x7F ? 1u : 0u);
        return static_cast<char16_t>(a.firstPua + (lead - a.firstLead) * TrailsPerRow(a) + column);
    }
    return 0;
}

// False when `c` is no user-defined character.
bool PuaToUserArea(char16_t c, unsigned char bytes[2]) {
    for (const UserArea& a : kUserAreas) {
        const unsigned perRow = TrailsPerRow(a);
        const unsigned count = (a.lastLead - a.firstLead + 1u) * perRow;
        if (c < a.firstPua || c >= a.firstPua + count) continue;
        const unsigned index = c - a.firstPua;
        unsigned trail = a.firstTrail + index % perRow;
        if (a.firstTrail < 0x7F && trail >= 0x7F) ++trail;
        bytes[0] = static_cast<unsigned char>(a.firstLead + index / perRow);
        bytes[1] = static_cast<unsigned char>(trail);
        return true;
    }
    return false;
}

std::string CharsetOf(unsigned codePage) {
    switch (codePage) {
    case 936: return "CP936";
    case 65001: return "UTF-8";
    default: {
        // iconv writes the EBCDIC pages with three digits: code page 37 is "CP037".
        std::string digits = std::to_string(codePage);
        if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
        return "CP" + digits;
    }
    }
}

// The two descriptors of one code page. Conversions run once per BSTR, so they
// are opened once per thread and kept.
class Converter {
public:
    Converter() = default;
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    ~Converter() { Reset(); }

    bool Open(unsigned codePage) {
        const std::string charset = CharsetOf(codePage);
        iconv_t toWide = iconv_open(kWideCharset, charset.c_str());
        if (toWide == kNoConverter) return false;
        iconv_t toNarrow = iconv_open(charset.c_str(), kWideCharset);
        if (toNarrow == kNoConverter) {
            iconv_close(toWide);
            return false;
        }
        Reset();
        toWide_ = toWide;
        toNarrow_ = toNarrow;
        codePage_ = codePage;
        // ASCII text skips iconv where the code page keeps the ASCII bytes as they are.
        asciiCompatible_ = false;
        const std::string ascii = AsciiBytes();
        asciiCompatible_ = ToWide(ascii) == std::u16string(ascii.begin(), ascii.end());
        return true;
    }

    unsigned CodePage() const { return codePage_; }

    std::u16string ToWide(std::string_view narrow) {
        std::u16string out;
        if (asciiCompatible_ && IsAscii(narrow)) {
            out.assign(narrow.begin(), narrow.end());
            return out;
        }
        out.resize(narrow.size());  // one unit per byte at most for the usual pages; grown below if not
        iconv(toWide_, nullptr, nullptr, nullptr, nullptr);
        char* in = const_cast<char*>(narrow.data());
        size_t inLeft = narrow.size();
        char* dst = reinterpret_cast<char*>(out.data());
        size_t dstLeft = out.size() * sizeof(char16_t);
        while (inLeft > 0) {
            if (iconv(toWide_, &in, &inLeft, &dst, &dstLeft) != static_cast<size_t>(-1)) break;
            if (errno == E2BIG) {
                const size_t done = out.size() - dstLeft / sizeof(char16_t);
                out.resize(out.size() * 2 + 4);
                dst = reinterpret_cast<char*>(out.data() + done);
                dstLeft = (out.size() - done) * sizeof(char16_t);
                continue;
            }
            // An invalid byte, or a character cut off at the end: mark it and go on
            // with the next byte so that the rest of the text survives. A well-formed
            // pair of code page 936 goes as one, so that its trail is not read as a
            // character of its own.
            if (dstLeft < sizeof(char16_t)) {
                const size_t done = out.size();
                out.resize(out.size() + 4);
                dst = reinterpret_cast<char*>(out.data() + done);
                dstLeft = 4 * sizeof(char16_t);
            }
            char16_t mark = kReplacement;
            size_t used = 1;
            const auto lead = static_cast<unsigned char>(in[0]);
            if (codePage_ == 936 && inLeft >= 2 && IsLeadByte(lead) &&
                IsGbkTrail(static_cast<unsigned char>(in[1]))) {
                const char16_t pua = UserAreaToPua(lead, static_cast<unsigned char>(in[1]));
                if (pua) mark = pua;
                used = 2;
            }
            std::memcpy(dst, &mark, sizeof mark);
            dst += sizeof mark;
            dstLeft -= sizeof mark;
            in += used;
            inLeft -= used;
            iconv(toWide_, nullptr, nullptr, nullptr, nullptr);
        }
        out.resize(out.size() - dstLeft / sizeof(char16_t));
        return out;
    }

    std::string ToNarrow(std::u16string_view wide) {
        std::string out;
        if (asciiCompatible_ && IsAscii(wide)) {
            out.assign(wide.begin(), wide.end());
            return out;
        }
        out.resize(wide.size() * 2 + 4);
        iconv(toNarrow_, nullptr, nullptr, nullptr, nullptr);
        char* in = reinterpret_cast<char*>(const_cast<char16_t*>(wide.data()));
        size_t inLeft = wide.size() * sizeof(char16_t);
        char* dst = out.data();
        size_t dstLeft = out.size();
        while (inLeft > 0) {
            if (iconv(toNarrow_, &in, &inLeft, &dst, &dstLeft) != static_cast<size_t>(-1)) break;
            const bool full = errno == E2BIG;
            if (full || dstLeft < 2) {
                const size_t done = out.size() - dstLeft;
                out.resize(out.size() * 2 + 8);
                dst = out.data() + done;
                dstLeft = out.size() - done;
                if (full) continue;
            }
            // A character the code page lacks, or a lone surrogate: one '?' for the
            // character, then on with the rest.
            char16_t unit;
            std::memcpy(&unit, in, sizeof unit);
            unsigned char pair[2];
            if (codePage_ == 936 && PuaToUserArea(unit, pair)) {
                *dst++ = static_cast<char>(pair[0]);
                *dst++ = static_cast<char>(pair[1]);
                dstLeft -= 2;
            } else {
                *dst++ = kUnmappable;
                --dstLeft;
            }
            size_t skip = sizeof(char16_t);
            if (IsHighSurrogate(unit) && inLeft >= 2 * sizeof(char16_t)) {
                char16_t next;
                std::memcpy(&next, in + sizeof unit, sizeof next);
                if (IsLowSurrogate(next)) skip = 2 * sizeof(char16_t);
            }
            in += skip;
            inLeft -= skip;
            iconv(toNarrow_, nullptr, nullptr, nullptr, nullptr);
        }
        // Flush a stateful code page's closing shift sequence.
        for (;;) {
            if (iconv(toNarrow_, nullptr, nullptr, &dst, &dstLeft) != static_cast<size_t>(-1) || errno != E2BIG) break;
            const size_t done = out.size() - dstLeft;
            out.resize(out.size() + 16);
            dst = out.data() + done;
            dstLeft = out.size() - done;
        }
        out.resize(out.size() - dstLeft);
        return out;
    }

private:
    static std::string AsciiBytes() {
        std::string s(128, '\0');
        for (size_t i = 0; i < 128; ++i) s[i] = static_cast<char>(i);
        return s;
    }
    template <class Text>
    static bool IsAscii(const Text& text) {
        for (auto c : text)
            if (static_cast<uint32_t>(static_cast<std::make_unsigned_t<decltype(c)>>(c)) >= 0x80) return false;
        return true;
    }

    void Reset() {
        if (toWide_ != kNoConverter) iconv_close(toWide_);
        if (toNarrow_ != kNoConverter) iconv_close(toNarrow_);
        toWide_ = kNoConverter;
        toNarrow_ = kNoConverter;
    }

    iconv_t toWide_ = kNoConverter;
    iconv_t toNarrow_ = kNoConverter;
    unsigned codePage_ = 0;
    bool asciiCompatible_ = false;
};

Converter& ThreadConverter() {
    thread_local Converter converter;
    if (converter.CodePage() == 0) converter.Open(kDefaultCodePage);
    return converter;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendUtf16(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
    } else {
        c -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (c >> 10));
        out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    }
}

}  // namespace

unsigned ThreadCodePage() { return ThreadConverter().CodePage(); }

bool SetThreadCodePage(unsigned codePage) {
    Converter& converter = ThreadConverter();
    return codePage == converter.CodePage() || converter.Open(codePage);
}

std::u16string NarrowToWide(std::string_view narrow) { return ThreadConverter().ToWide(narrow); }

std::string WideToNarrow(std::u16string_view wide) { return ThreadConverter().ToNarrow(wide); }

std::string WideToNarrow(const char16_t* wide) {
    return wide ? WideToNarrow(std::u16string_view(wide)) : std::string();
}

std::string Utf16ToUtf8(std::u16string_view wide) {
    std::string out;
    out.reserve(wide.size());
    for (size_t i = 0; i < wide.size(); ++i) {
        char32_t c = wide[i];
        if (IsHighSurrogate(wide[i]) && i + 1 < wide.size() && IsLowSurrogate(wide[i + 1])) {
            c = 0x10000 + ((c - 0xD800) << 10) + (wide[i + 1] - 0xDC00);
            ++i;
        } else if (IsHighSurrogate(wide[i]) || IsLowSurrogate(wide[i])) {
            c = kReplacement;
        }
        AppendUtf8(out, c);
    }
    return out;
}

namespace {

// The code point of the UTF-8 sequence at `i` and its length; 0 when it is no text.
size_t DecodeUtf8(std::string_view utf8, size_t i, char32_t& c) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    size_t length = 0;
    char32_t least = 0;
    c = 0;
    if (b < 0x80) { length = 1; c = b; }
    else if (b >= 0xC2 && b <= 0xDF) { length = 2; c = b & 0x1F; least = 0x80; }
    else if (b >= 0xE0 && b <= 0xEF) { length = 3; c = b & 0x0F; least = 0x800; }
    else if (b >= 0xF0 && b <= 0xF4) { length = 4; c = b & 0x07; least = 0x10000; }
    if (length == 0 || i + length > utf8.size()) return 0;
    for (size_t k = 1; k < length; ++k) {
        const auto t = static_cast<unsigned char>(utf8[i + k]);
        if ((t & 0xC0) != 0x80) return 0;
        c = (c << 6) | (t & 0x3F);
    }
    // Overlong forms, encoded surrogates and values past U+10FFFF are not text.
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    return length;
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        char32_t c;
        const size_t length = DecodeUtf8(utf8, i, c);
        if (length == 0) {
            out += kReplacement;
            ++i;
            continue;
        }
        AppendUtf16(out, c);
        i += length;
    }
    return out;
}

bool IsUtf8(std::string_view bytes) {
    for (size_t i = 0; i < bytes.size();) {
        char32_t c;
        const size_t length = DecodeUtf8(bytes, i, c);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

}  // namespace kestrum

// Opening a converter allocates; a failure there must not leave through the C entry points.
KESTRUM_API UINT KestrumSetThreadCodePage(UINT codePage) {
    try {
        const unsigned previous = kestrum::ThreadCodePage();
        return kestrum::SetThreadCodePage(codePage) ? previous : 0;
    } catch (...) {
        return 0;
    }
}

KESTRUM_API UINT KestrumGetThreadCodePage(void) {
    try {
        return kestrum::ThreadCodePage();
    } catch (...) {
        return 0;
    }
}
