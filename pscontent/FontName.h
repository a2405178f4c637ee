// The font names of the character records. A page draws hundreds of thousands of
// characters in a handful of fonts, so a name is kept once, in a pool that lives as
// long as the process, and each record holds its 32-bit number there: copying a
// record copies no text, and two names are equal exactly when their numbers are.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

namespace kestrum {

// "段落", the font name that marks a paragraph break. The pool holds it before any other
// name, at a number known in advance, so that the test for a marker, made for every
// character, compares numbers only.
inline constexpr const char* kParagraphFont = "\xB6\xCE\xC2\xE4";

class FontName {
public:
    FontName() : FontName(std::string_view{}) {}
    static FontName ParagraphMark() { return FontName(Number{kParagraphMarkNumber}); }
    explicit FontName(std::string_view text) : id_(Pooled(text)) {}
    FontName& operator=(std::string_view text) {
        id_ = Pooled(text);
        return *this;
    }

    const std::string& str() const { return Text(id_); }
    operator const std::string&() const { return str(); }
    operator std::string_view() const { return str(); }
    size_t size() const { return str().size(); }
    bool empty() const { return str().empty(); }
    std::string substr(size_t pos, size_t count = std::string::npos) const { return str().substr(pos, count); }

    friend bool operator==(const FontName& a, const FontName& b) { return a.id_ == b.id_; }
    friend bool operator==(const FontName& a, std::string_view b) { return a.str() == b; }

private:
    static constexpr uint32_t kParagraphMarkNumber = 0;
    struct Number {
        uint32_t value;
    };
    explicit FontName(Number number) : id_(number.value) {}

    // The number of `text` in the pool, added on first use; the text of a number the
    // pool gave. Both are safe to call from any thread.
    static uint32_t Pooled(std::string_view text);
    static const std::string& Text(uint32_t id);

    uint32_t id_;
};

std::ostream& operator<<(std::ostream& out, const FontName& name);

}  // namespace kestrum
