#include "Xml.h"

#include <cmath>
#include <cstdio>
#include <ctime>

XmlWriter::XmlWriter(std::string& out) : out_(out) { out_ += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"; }

void XmlWriter::EndStartTag() {
    if (inStartTag_) out_ += '>';
    inStartTag_ = false;
}

XmlWriter& XmlWriter::Open(std::string_view name) {
    EndStartTag();
    out_ += '<';
    out_ += name;
    open_.emplace_back(name);
    inStartTag_ = true;
    return *this;
}

XmlWriter& XmlWriter::Attr(std::string_view name, std::string_view value) {
    out_ += ' ';
    out_ += name;
    out_ += "=\"";
    out_ += XmlEscaped(value, true);
    out_ += '"';
    return *this;
}

XmlWriter& XmlWriter::Attr(std::string_view name, int64_t value) { return Attr(name, std::to_string(value)); }

XmlWriter& XmlWriter::AttrNumber(std::string_view name, double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.2f", std::isfinite(value) ? value : 0.0);
    std::string_view number = text;  // always holds the point: the zeros stop there
    while (number.back() == '0') number.remove_suffix(1);
    if (number.back() == '.') number.remove_suffix(1);
    if (number == "-0") number = "0";
    return Attr(name, number);
}

XmlWriter& XmlWriter::Text(std::string_view utf8) {
    EndStartTag();
    out_ += XmlEscaped(utf8, false);
    return *this;
}

XmlWriter& XmlWriter::Close() {
    if (inStartTag_) {
        out_ += "/>";
        inStartTag_ = false;
    } else {
        out_ += "</";
        out_ += open_.back();
        out_ += '>';
    }
    open_.pop_back();
    // Line breaks between elements keep the files readable without changing any text.
    if (open_.size() <= 3) out_ += '\n';
    return *this;
}

std::string XmlEscaped(std::string_view utf8, bool attribute) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += attribute ? "&quot;" : "\""; break;
        case '\r':
            if (i + 1 < utf8.size() && utf8[i + 1] == '\n') break;  // "\r\n" is one line break
            [[fallthrough]];
        case '\n': out += attribute ? "&#10;" : "\n"; break;
        case '\t': out += attribute ? "&#9;" : "\t"; break;
        default:
            if (c < 0x20) break;
            // U+FFFE and U+FFFF are not XML characters either.
            if (c == 0xEF && i + 2 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) == 0xBF &&
                static_cast<unsigned char>(utf8[i + 2]) >= 0xBE) {
                i += 2;
                break;
            }
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::string XmlNow() {
    std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}
