#include "psreader/LineScanner.h"

#include "platform/Mbcs.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace kestrum {

namespace {

// The number parsers need a terminated string; page tokens are short, hostile ones
// may not be.
template <typename Parse>
auto WithTerminated(std::string_view text, Parse parse) {
    char small[64];
    if (text.size() < sizeof small) {
        std::memcpy(small, text.data(), text.size());
        small[text.size()] = '\0';
        return parse(small);
    }
    std::string copy(text);
    return parse(copy.c_str());
}

// Every "00" removed, then each pair of digits (a last single one alone) as one byte.
std::string HexBytes(std::string digits) {
    MbReplaceAll(digits, "00", "");
    std::string out;
    out.reserve(digits.size() / 2 + 1);
    for (size_t i = 0; i < digits.size(); i += 2) {
        std::string_view pair = std::string_view(digits).substr(i, 2);
        long value = WithTerminated(pair, [](const char* s) { return std::strtol(s, nullptr, 16); });
        out += static_cast<char>(static_cast<unsigned char>(value));
    }
    return out;
}

// The literal's text before `close`, after the first " (", else all but the first byte,
// with its escapes undone, into `out`.
void LiteralBefore(std::string_view line, size_t close, std::string& out) {
    std::string_view head = line.substr(0, close);
    const size_t open = MbFind(head, " (");
    const size_t from = open != std::string_view::npos ? open + 2 : 1;
    out.assign(from < head.size() ? head.substr(from) : std::string_view());
    // Every escape starts with a backslash; most shown strings hold none.
    if (out.find('\\') == std::string::npos) return;
    MbReplaceAll(out, "\\(", "(");
    MbReplaceAll(out, "\\)", ")");
    MbReplaceAll(out, "\\\\", "\\");
}

bool IsCSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A plain integer, the common operand, read without the C library; false for anything
// strtod might read differently (fractions, exponents, hexadecimal, long digit runs).
bool ReadPlainInteger(std::string_view text, double& out) {
    constexpr size_t kMaxDigits = 15;  // exact in a double
    size_t i = 0;
    while (i < text.size() && IsCSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    const size_t start = i;
    int64_t value = 0;
    while (i < text.size() && IsDigit(text[i]) && i - start < kMaxDigits) value = value * 10 + (text[i++] - '0');
    if (i == start) return false;
    if (i < text.size()) {
        const char c = text[i];
        if (IsDigit(c) || c == '.' || c == 'e' || c == 'E' || c == 'x' || c == 'X') return false;
    }
    out = negative ? -static_cast<double>(value) : static_cast<double>(value);
    return true;
}

}  // namespace

ByteSet::ByteSet(std::string_view text) {
    // Eight bytes to a load: the stores into the set cannot then change what is read.
    const char* p = text.data();
    size_t left = text.size();
    for (; left >= 8; p += 8, left -= 8) {
        uint64_t word;
        std::memcpy(&word, p, sizeof word);
        held_[word & 0xFF] = 1;
        held_[(word >> 8) & 0xFF] = 1;
        held_[(word >> 16) & 0xFF] = 1;
        held_[(word >> 24) & 0xFF] = 1;
        held_[(word >> 32) & 0xFF] = 1;
        held_[(word >> 40) & 0xFF] = 1;
        held_[(word >> 48) & 0xFF] = 1;
        held_[word >> 56] = 1;
    }
    for (; left > 0; ++p, --left) held_[static_cast<unsigned char>(*p)] = 1;
}

bool ByteSet::MayHold(std::string_view marker) const {
    for (unsigned char c : marker)
        if (!held_[c]) return false;
    return true;
}

double Atof(std::string_view text) {
    double value;
    if (ReadPlainInteger(text, value)) return value;
    return WithTerminated(text, [](const char* s) { return std::strtod(s, nullptr); });
}

int32_t Atoi(std::string_view text) {
    long v = WithTerminated(text, [](const char* s) { return std::strtol(s, nullptr, 10); });
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(v);
}

namespace {

// The number of digits the eight bytes of `word` start with (the first in the lowest
// byte). A digit turns into 0 ... 9 here, which neither has its top bit set nor gets
// it from adding 0x76; a carry out of a byte only reaches bytes after a non-digit.
unsigned LeadingDigits(uint64_t word) {
    const uint64_t x = word ^ 0x3030303030303030;
    const uint64_t nonDigit = ((x + 0x7676767676767676) | x) & 0x8080808080808080;
    return nonDigit ? static_cast<unsigned>(__builtin_ctzll(nonDigit)) / 8 : 8;
}

// The value of the first `count` (1 to 7) digits of `word`: moved to the top, as if
// led by zeros, and combined in pairs, then fours, then eights. The bytes after the
// digits may borrow from one another; the shift drops them all.
uint64_t DigitsValue(uint64_t word, unsigned count) {
    uint64_t v = (word - 0x3030303030303030) << (8 * (8 - count));
    v = v * 10 + (v >> 8);
    constexpr uint64_t kPairs = 0x000000FF000000FF;
    return ((v & kPairs) * (100 + (1000000ULL << 32)) + ((v >> 16) & kPairs) * (1 + (10000ULL << 32))) >> 32;
}

// A token that is a plain integer of at most 15 digits, ending at `end` or at the
// separator: its value, and `p` moved past its digits. False for anything else, which
// Atof then reads. Advances and positions are nearly always such tokens.
bool TakePlainToken(const char*& p, const char* end, char sep, double& value) {
    constexpr ptrdiff_t kMaxDigits = 15;  // exact in a double
    const char* q = p;
    const bool negative = q < end && *q == '-';
    if (negative) ++q;
    const char* const digits = q;
    uint64_t v = 0;
    unsigned count = 0;
    if (end - q >= 8) {
        uint64_t word;
        std::memcpy(&word, q, sizeof word);
        count = LeadingDigits(word);
        if (count < 8) {
            v = count > 0 ? DigitsValue(word, count) : 0;
            q += count;
        }
    }
    if (count == 0 || count == 8) {
        // Near the end of the text, or a long number: a digit at a time.
        v = 0;
        q = digits;
        const char* const limit = end - q > kMaxDigits ? q + kMaxDigits : end;
        for (; q < limit; ++q) {
            const unsigned digit = static_cast<unsigned char>(*q) - unsigned{'0'};
            if (digit > 9) break;
            v = v * 10 + digit;
        }
    }
    if (q == digits || (q < end && *q != sep)) return false;
    const double magnitude = static_cast<double>(static_cast<int64_t>(v));  // below 10^15
    value = negative ? -magnitude : magnitude;
    p = q;
    return true;
}

// The last token read and its separator, when both fit in eight bytes. Advance lists
// repeat their numbers: a token with the same bytes and separator has the same value.
class LastToken {
public:
    bool Matches(const char* p, const char* end) const {
        if (mask_ == 0 || end - p < 8) return false;
        uint64_t word;
        std::memcpy(&word, p, sizeof word);
        return (word & mask_) == bytes_;
    }
    size_t Length() const { return length_; }
    float Value() const { return value_; }

    // The token [start, stop) just read, worth `value`.
    void Note(const char* start, const char* stop, const char* end, char sep, float value) {
        const size_t length = static_cast<size_t>(stop - start);
        mask_ = 0;
        if (length == 0 || length > 7 || stop == end || *stop != sep || end - start < 8) return;
        mask_ = length == 7 ? ~uint64_t{0} : (uint64_t{1} << (8 * (length + 1))) - 1;
        std::memcpy(&bytes_, start, sizeof bytes_);
        bytes_ &= mask_;
        length_ = length;
        value_ = value;
    }

private:
    uint64_t bytes_ = 0, mask_ = 0;  // mask 0: nothing noted
    size_t length_ = 0;
    float value_ = 0.0f;
};

// The value of the token at p, which runs to the separator or to the end; p moves past it.
double ReadToken(const char*& p, const char* end, char sep) {
    double value;
    if (TakePlainToken(p, end, sep, value)) return value;
    const void* at = std::memchr(p, sep, static_cast<size_t>(end - p));
    const char* tokenEnd = at ? static_cast<const char*>(at) : end;
    value = Atof(std::string_view(p, static_cast<size_t>(tokenEnd - p)));
    p = tokenEnd;
    return value;
}

// How often the text says one token, when it is nothing but that token, two times or
// more, with one separator between; else 0. Such a text equals itself moved by one token
// and separator, which a single comparison tells. Advance lists are often of this kind.
size_t RepeatCount(std::string_view text, char sep) {
    const size_t length = text.find(sep);
    if (length == 0 || length == std::string_view::npos) return 0;
    const size_t period = length + 1;
    if ((text.size() + 1) % period != 0) return 0;
    if (std::memcmp(text.data(), text.data() + period, text.size() - period) != 0) return 0;
    return (text.size() + 1) / period;
}

}  // namespace

bool SplitNumbers(std::string_view text, char sep, size_t count, float* values) {
    // The first token runs up to the first separator and may be empty; after it, runs
    // of separators count as one and trailing ones end the list.
    const char* p = text.data();
    const char* const end = p + text.size();
    if (p == end) return true;
    if (const size_t repeats = RepeatCount(text, sep); repeats > 1) {
        std::fill_n(values, std::min(repeats, count), static_cast<float>(ReadToken(p, end, sep)));
        return true;
    }
    LastToken last;
    for (size_t i = 0; i < count;) {
        if (last.Matches(p, end)) {
            values[i++] = last.Value();
            p += last.Length();
        } else {
            const char* const start = p;
            values[i++] = static_cast<float>(ReadToken(p, end, sep));
            last.Note(start, p, end, sep, values[i - 1]);
        }
        if (p == end) return true;
        while (p < end && *p == sep) ++p;
        if (p == end) return true;
    }
    return true;
}

void ExtractShowText(std::string_view line, std::string& out) {
    size_t close = MbFind(line, ") ");
    if (close == std::string_view::npos) close = MbFind(line, ")[");
    if (close != std::string_view::npos) return LiteralBefore(line, close, out);

    out.clear();
    size_t start = MbFind(line, "m <");
    size_t markerLength = 3;
    if (start == std::string_view::npos) {
        start = MbFind(line, "mo <");
        markerLength = 4;
        if (start == std::string_view::npos) return;
    }
    size_t end = MbFindLast(line, ">");
    if (end == std::string_view::npos) return;
    start += markerLength;
    // A last '>' before the operand's start leaves no digits.
    out = HexBytes(end > start ? Mid(line, start, end - start) : std::string());
}

std::string ExtractShowText(std::string_view line) {
    std::string out;
    ExtractShowText(line, out);
    return out;
}

FontMatrix ReadFontMatrix(std::string_view line, size_t markerPos) {
    std::string_view rest = line.substr(std::min(line.size(), markerPos + kFindFont.size()));
    auto v = Numbers<6>(rest.substr(0, MbFind(rest, "]")));
    FontMatrix m;
    m.rotated = v[0] == 0;
    m.w = m.rotated ? v[1] : v[0];
    m.h = m.rotated ? v[2] : -v[3];
    return m;
}

bool ReadConcat(std::string_view line, ConcatTranslation& out) {
    size_t at = MbFind(line, "] concat");
    if (at == std::string_view::npos) return false;
    auto v = Numbers<6>(Mid(line.substr(0, at), 1));
    out.tx = v[4];
    out.ty = v[5];
    out.mirrored = v[4] < 0 || v[5] < 0;
    return true;
}

bool IsMirroredConcat(std::string_view line) {
    ConcatTranslation t;
    return ReadConcat(line, t) && t.mirrored;
}


}  // namespace kestrum
