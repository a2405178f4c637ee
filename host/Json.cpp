#include "Json.h"

#include <charconv>
#include <cmath>
#include <cstdio>

void JsonWriter::BeforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!hasItems_.empty()) {
        if (hasItems_.back()) out_ += ',';
        hasItems_.back() = true;
    }
}

JsonWriter& JsonWriter::BeginObject() {
    BeforeValue();
    out_ += '{';
    hasItems_.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::EndObject() {
    out_ += '}';
    hasItems_.pop_back();
    return *this;
}

JsonWriter& JsonWriter::BeginArray() {
    BeforeValue();
    out_ += '[';
    hasItems_.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::EndArray() {
    out_ += ']';
    hasItems_.pop_back();
    return *this;
}

JsonWriter& JsonWriter::Key(std::string_view name) {
    String(name);
    out_ += ':';
    afterKey_ = true;
    return *this;
}

// Runs of characters that need no escape are appended whole: a page's texts are
// long and almost never hold one.
JsonWriter& JsonWriter::String(std::string_view utf8) {
    BeforeValue();
    out_ += '"';
    size_t run = 0;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c >= 0x20 && c != '"' && c != '\\') continue;
        out_.append(utf8.data() + run, i - run);
        run = i + 1;
        switch (c) {
        case '"': out_ += "\\\""; break;
        case '\\': out_ += "\\\\"; break;
        case '\n': out_ += "\\n"; break;
        case '\r': out_ += "\\r"; break;
        case '\t': out_ += "\\t"; break;
        default: {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out_ += escaped;
        }
        }
    }
    out_.append(utf8.data() + run, utf8.size() - run);
    out_ += '"';
    return *this;
}

JsonWriter& JsonWriter::Number(double value) {
    if (!std::isfinite(value)) return Null();
    BeforeValue();
    char text[32];
    auto result = std::to_chars(text, text + sizeof text, value);
    out_.append(text, result.ptr);
    return *this;
}

JsonWriter& JsonWriter::Integer(int64_t value) {
    BeforeValue();
    char text[24];
    auto result = std::to_chars(text, text + sizeof text, value);
    out_.append(text, result.ptr);
    return *this;
}

JsonWriter& JsonWriter::Null() {
    BeforeValue();
    out_ += "null";
    return *this;
}
