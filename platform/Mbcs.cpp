#include "platform/Mbcs.h"

#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace kestrum {

namespace {

constexpr size_t npos = std::string_view::npos;

size_t CharLength(std::string_view text, size_t pos) {
    return IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

unsigned char FoldAscii(unsigned char c) { return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + ('a' - 'A')) : c; }

// End of the leading run of single-byte characters matching `keep`.
template <class Pred>
size_t LeadingRunEnd(std::string_view text, Pred keep) {
    size_t i = 0;
    while (i < text.size() && CharLength(text, i) == 1 && keep(text[i])) ++i;
    return i;
}

// Start of the trailing run of single-byte characters matching `keep`. A byte that
// is the trail of a two-byte character is not a character of its own, so the run
// is found on a forward walk.
template <class Pred>
size_t TrailingRunStart(std::string_view text, Pred keep) {
    size_t runStart = npos;
    for (size_t i = 0; i < text.size();) {
        const size_t len = CharLength(text, i);
        if (len == 1 && keep(text[i])) {
            if (runStart == npos) runStart = i;
        } else {
            runStart = npos;
        }
        i += len;
    }
    return runStart == npos ? text.size() : runStart;
}

// The number of lead-range bytes just before `pos`, counted back to `stop` at most.
// The run before a marker can be a whole shown string: sixteen bytes are judged at once.
size_t LeadRunBefore(const char* text, size_t pos, size_t stop) {
    size_t run = 0;
#ifdef __SSE2__
    const __m128i flip = _mm_set1_epi8(static_cast<char>(0x80));
    const __m128i zero = _mm_setzero_si128();
    const __m128i beyond = _mm_set1_epi8(0x7F);
    while (pos - run >= stop + 16) {
        // b ^ 0x80 lies in 0x01 ... 0x7E, as a signed byte, exactly for a lead byte b.
        const __m128i x = _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(text + pos - run - 16)), flip);
        const __m128i lead = _mm_and_si128(_mm_cmpgt_epi8(x, zero), _mm_cmpgt_epi8(beyond, x));
        const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(lead));
        if (mask == 0xFFFF) {
            run += 16;
            continue;
        }
        const int lastOther = 31 - __builtin_clz(~mask & 0xFFFF);  // bit 15 is the byte just before
        return run + static_cast<size_t>(15 - lastOther);
    }
#endif
    while (pos - run > stop && IsLeadByte(static_cast<unsigned char>(text[pos - run - 1]))) ++run;
    return run;
}

bool IsNumberByte(char c) { return (c >= '0' && c <= '9') || c == ' ' || c == '.' || c == '-'; }

}  // namespace

size_t FindBytes(std::string_view text, std::string_view what) {
    if (what.empty()) return 0;
    if (what.size() == 1) {
        const void* hit = std::memchr(text.data(), what[0], text.size());
        return hit ? static_cast<size_t>(static_cast<const char*>(hit) - text.data()) : npos;
    }
    if (text.size() < what.size()) return npos;
    size_t pivot = 0;
    while (pivot + 1 < what.size() && IsNumberByte(what[pivot])) ++pivot;
    const size_t lastStart = text.size() - what.size();
    for (size_t from = pivot; from <= lastStart + pivot;) {
        const void* hit = std::memchr(text.data() + from, what[pivot], lastStart + pivot - from + 1);
        if (!hit) return npos;
        const size_t at = static_cast<size_t>(static_cast<const char*>(hit) - text.data());
        if (std::memcmp(text.data() + at - pivot, what.data(), what.size()) == 0) return at - pivot;
        from = at + 1;
    }
    return npos;
}

// `from` is taken as a character boundary: callers hand back offsets they got from
// here, and scanning from the start on every call would make line reading quadratic.
size_t MbFind(std::string_view text, std::string_view what, size_t from) {
    if (from > text.size()) return npos;
    if (what.empty()) return from;
    size_t boundary = from;
    size_t start = from;
    while (start + what.size() <= text.size()) {
        const size_t hit = FindBytes(text.substr(start), what);
        if (hit == npos) return npos;
        const size_t pos = start + hit;
        // A byte outside the lead range always ends a character, so only the run of
        // lead-range bytes just before the hit decides: an even run ends on a boundary.
        if (LeadRunBefore(text.data(), pos, boundary) % 2 == 0) return pos;
        boundary = start = pos + 1;  // pos was a trail byte; the next character starts just after it
    }
    return npos;
}

size_t MbFindLast(std::string_view text, std::string_view what) {
    if (what.empty()) return text.size();
    if (what.size() == 1 && !IsLeadByte(static_cast<unsigned char>(what[0]))) {
        // From the end: a byte outside the lead range ends every run of lead bytes, so
        // the run before each candidate is walked once at most.
        for (size_t end = text.size(); end > 0;) {
            const void* hit = memrchr(text.data(), what[0], end);
            if (!hit) return npos;
            const size_t pos = static_cast<size_t>(static_cast<const char*>(hit) - text.data());
            if (LeadRunBefore(text.data(), pos, 0) % 2 == 0) return pos;
            end = pos;
        }
        return npos;
    }
    size_t last = npos;
    size_t pos = MbFind(text, what, 0);
    while (pos != npos) {
        last = pos;
        pos = MbFind(text, what, pos + CharLength(text, pos));
    }
    return last;
}

size_t MbReplaceAll(std::string& text, std::string_view from, std::string_view to) {
    if (from.empty()) return 0;
    std::string out;
    size_t count = 0;
    size_t done = 0;
    for (size_t pos = MbFind(text, from, 0); pos != npos; pos = MbFind(text, from, done)) {
        out.append(text, done, pos - done);
        out.append(to);
        done = pos + from.size();
        ++count;
    }
    if (count == 0) return 0;
    out.append(text, done, npos);
    text = std::move(out);
    return count;
}

int MbCompareNoCase(std::string_view a, std::string_view b) {
    size_t i = 0;
    while (i < a.size() && i < b.size()) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[i]);
        if (IsLeadByte(ca)) {
            // Equal so far, so both texts have a character boundary here; a two-byte
            // character compares byte for byte, its trail is never folded.
            if (ca != cb) return ca < cb ? -1 : 1;
            if (i + 1 >= a.size() || i + 1 >= b.size()) break;
            const auto ta = static_cast<unsigned char>(a[i + 1]);
            const auto tb = static_cast<unsigned char>(b[i + 1]);
            if (ta != tb) return ta < tb ? -1 : 1;
            i += 2;
            continue;
        }
        const unsigned char fa = FoldAscii(ca);
        const unsigned char fb = FoldAscii(cb);
        if (fa != fb) return fa < fb ? -1 : 1;
        ++i;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

std::string Mid(std::string_view text, size_t pos, size_t count) {
    if (pos >= text.size()) return std::string();
    return std::string(text.substr(pos, count));
}

std::string Left(std::string_view text, size_t count) { return std::string(text.substr(0, count)); }

std::string Before(std::string_view text, std::string_view marker) {
    return std::string(text.substr(0, MbFind(text, marker)));
}

std::string After(std::string_view text, std::string_view marker) {
    const size_t pos = MbFind(text, marker);
    if (pos == npos) return std::string();
    return std::string(text.substr(pos + marker.size()));
}

std::string TrimLeft(std::string_view text) { return std::string(text.substr(LeadingRunEnd(text, IsSpace))); }

std::string TrimRight(std::string_view text) { return std::string(text.substr(0, TrailingRunStart(text, IsSpace))); }

std::string Trim(std::string_view text) { return TrimRight(TrimLeft(text)); }

std::string TrimLeftChar(std::string_view text, char c) {
    return std::string(text.substr(LeadingRunEnd(text, [c](char x) { return x == c; })));
}

std::string TrimRightChar(std::string_view text, char c) {
    return std::string(text.substr(0, TrailingRunStart(text, [c](char x) { return x == c; })));
}

}  // namespace kestrum
