// A small streaming JSON writer: UTF-8 strings, numbers that read back
// to the same double (NaN and infinities as null).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class JsonWriter {
public:
    explicit JsonWriter(std::string& out) : out_(out) {}

    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    JsonWriter& Key(std::string_view name);
    JsonWriter& String(std::string_view utf8);
    JsonWriter& Number(double value);
    JsonWriter& Integer(int64_t value);
    JsonWriter& Null();

private:
    void BeforeValue();

    std::string& out_;
    std::vector<bool> hasItems_;  // one entry per open container
    bool afterKey_ = false;
};
