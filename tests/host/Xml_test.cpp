// The XML writer keeps every file well-formed whatever text the page holds.
#include "host/Xml.h"

#include "tests/cli/CliRun.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrum {
namespace {

struct EscapeCase {
    const char* name;
    std::string text;
    std::string element;    // as element text
    std::string attribute;  // as attribute value
};

TEST(XmlEscaped, TextAndAttributes) {
    const EscapeCase cases[] = {
        {"markup characters", "a&b<c>\"d", "a&amp;b&lt;c&gt;\"d", "a&amp;b&lt;c&gt;&quot;d"},
        {"end of a CDATA section", "x]]>y", "x]]&gt;y", "x]]&gt;y"},
        {"outside the BMP", "\xF0\x9D\x84\x9E", "\xF0\x9D\x84\x9E", "\xF0\x9D\x84\x9E"},
        {"line breaks", "a\r\nb\rc\nd", "a\nb\nc\nd", "a&#10;b&#10;c&#10;d"},
        {"characters XML does not allow", std::string("a\x01\x1F", 3) + "b\xEF\xBF\xBF" + "c\xEF\xBF\xBE", "abc", "abc"},
        {"characters next to them that it does", "\xEF\xBF\xBD\xEF\xBC\x81", "\xEF\xBF\xBD\xEF\xBC\x81", "\xEF\xBF\xBD\xEF\xBC\x81"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(XmlEscaped(c.text, false), c.element) << c.name;
        EXPECT_EQ(XmlEscaped(c.text, true), c.attribute) << c.name;
    }
}

// A document of all of them, read back by an XML parser that knows nothing of ours.
TEST(XmlWriter, DocumentOfAwkwardTextParses) {
    std::string out;
    XmlWriter xml(out);
    const std::string awkward = std::string("&<]]>\x02\xF0\x9F\x93\xB0\"'", 12);
    xml.Open("root").Attr("a", awkward).Open("empty").Close().Element("text", awkward).Close();
    testing::TempDir dir;
    std::string file = dir.Write("doc.xml", out);
    testing::RunResult r = testing::RunShell("xmllint --xpath 'string(/root/text)' '" + file + "'");
    EXPECT_EQ(r.exitCode, 0) << out;
    EXPECT_EQ(r.out, "&<]]>\xF0\x9F\x93\xB0\"'\n") << out;
    EXPECT_EQ(testing::RunShell("xmllint --xpath 'string(/root/@a)' '" + file + "'").out, "&<]]>\xF0\x9F\x93\xB0\"'\n");
}

}  // namespace
}  // namespace kestrum
