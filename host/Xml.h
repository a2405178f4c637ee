// A small streaming XML writer for the archive exports: UTF-8, every text escaped so
// that the file stays well-formed whatever the page holds ("&", "<", "]]>", characters
// XML 1.0 does not allow are dropped).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class XmlWriter {
public:
    // Starts the document with the XML declaration.
    explicit XmlWriter(std::string& out);

    XmlWriter& Open(std::string_view name);
    XmlWriter& Attr(std::string_view name, std::string_view value);
    XmlWriter& Attr(std::string_view name, int64_t value);
    // Written with up to two decimals, enough for pixels and points.
    XmlWriter& AttrNumber(std::string_view name, double value);
    XmlWriter& Text(std::string_view utf8);
    // Closes the innermost open element.
    XmlWriter& Close();
    // An element holding only text.
    XmlWriter& Element(std::string_view name, std::string_view text) { return Open(name).Text(text).Close(); }

private:
    void EndStartTag();

    std::string& out_;
    std::vector<std::string> open_;
    bool inStartTag_ = false;
};

// Escapes UTF-8 for element text (line breaks as "\n") or an attribute value.
std::string XmlEscaped(std::string_view utf8, bool attribute);
// Now in UTC as an XML dateTime, for the files' creation stamps.
std::string XmlNow();
