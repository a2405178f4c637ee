// The font names of the character records. A page draws hundreds of thousands of
// characters in a handful of fonts, so a name is kept once, in a pool that lives as
// long as the process, and each record holds a pointer to it: copying a record copies
// no text, and two names are equal exactly when they point to the same text.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

namespace kestrum {

class FontName {
public:
    FontName() : FontName(std::string_view{}) {}
    explicit FontName(std::string_view text) : text_(&Pooled(text)) {}
    FontName& operator=(std::string_view text) {
        text_ = &Pooled(text);
        return *this;
    }

    const std::string& str() const { return *text_; }
    operator const std::string&() const { return *text_; }
    operator std::string_view() const { return *text_; }
    size_t size() const { return text_->size(); }
    bool empty() const { return text_->empty(); }
    std::string substr(size_t pos, size_t count = std::string::npos) const { return text_->substr(pos, count); }

    friend bool operator==(const FontName& a, const FontName& b) { return a.text_ == b.text_; }
    friend bool operator==(const FontName& a, std::string_view b) { return *a.text_ == b; }

private:
    // The pool's copy of `text`, added on first use. Safe to call from any thread.
    static const std::string& Pooled(std::string_view text);

    const std::string* text_;
};

std::ostream& operator<<(std::ostream& out, const FontName& name);

}  // namespace kestrum
