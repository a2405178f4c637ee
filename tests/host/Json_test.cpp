// The JSON strings of the dump: the page's UTF-16 text turned into UTF-8 and escaped,
// so that any text reads back as it was.
#include "host/Json.h"
#include "host/Utf.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrum {
namespace {

struct Utf8Case {
    const char* name;
    std::u16string utf16;
    std::string utf8;
};

TEST(ToUtf8, EveryLengthAndBrokenSurrogates) {
    const Utf8Case cases[] = {
        {"ASCII", u"Page A01", "Page A01"},
        {"two and three bytes", u"\u00E9\u4E2D\u6587\uFF01", "\xC3\xA9\xE4\xB8\xAD\xE6\x96\x87\xEF\xBC\x81"},
        {"a surrogate pair", u"a\U0001D11Eb", "a\xF0\x9D\x84\x9E" "b"},
        {"a low surrogate alone", std::u16string{u'a', 0xDC00, u'b'}, "a\xEF\xBF\xBD" "b"},
        {"a high surrogate before a character", std::u16string{0xD800, u'b'}, "\xEF\xBF\xBD" "b"},
        {"a high surrogate at the end", std::u16string{u'a', 0xDBFF}, "a\xEF\xBF\xBD"},
        {"two high surrogates before a low one", std::u16string{0xD834, 0xD834, 0xDD1E}, "\xEF\xBF\xBD\xF0\x9D\x84\x9E"},
        {"empty", u"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(ToUtf8(c.utf16), c.utf8) << c.name;
}

struct EscapeCase {
    const char* name;
    std::string text;
    std::string json;
};

TEST(JsonWriterString, EscapesOnlyWhatJsonNeeds) {
    const EscapeCase cases[] = {
        {"plain text", "Page 1", "\"Page 1\""},
        {"quote and backslash", "a\"b\\c", "\"a\\\"b\\\\c\""},
        {"line breaks and tab", "a\r\nb\tc", "\"a\\r\\nb\\tc\""},
        {"other control characters", std::string("\x01x\x1F", 3), "\"\\u0001x\\u001f\""},
        {"escapes at both ends", "\"middle\"", "\"\\\"middle\\\"\""},
        {"multibyte text untouched", "\xE4\xB8\xAD\xF0\x9D\x84\x9E\x7F", "\"\xE4\xB8\xAD\xF0\x9D\x84\x9E\x7F\""},
        {"NUL inside", std::string("a\0b", 3), "\"a\\u0000b\""},
    };
    for (const auto& c : cases) {
        std::string out;
        JsonWriter(out).String(c.text);
        EXPECT_EQ(out, c.json) << c.name;
    }
}

TEST(JsonWriter, SeparatesItemsAndWritesIntegersWhole) {
    std::string out;
    JsonWriter json(out);
    json.BeginObject().Key("a").Integer(-2147483648LL).Key("b").BeginArray().Integer(0).Number(0.5).Null().EndArray();
    json.Key("c").BeginObject().EndObject().EndObject();
    EXPECT_EQ(out, "{\"a\":-2147483648,\"b\":[0,0.5,null],\"c\":{}}");
}

}  // namespace
}  // namespace kestrum
