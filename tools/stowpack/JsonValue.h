// A parsed JSON document that keeps what the message form needs exactly:
// integers as integers, and the text of every other number so that a float
// can be read at its own width. Also the string quoting of our JSON output.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class JsonValue {
public:
    enum class Kind { Null, Bool, Integer, Unsigned, Number, String, Array, Object };

    Kind kind = Kind::Null;
    bool boolean = false;
    int64_t integer = 0;        // Kind::Integer
    uint64_t unsignedValue = 0; // Kind::Unsigned: above INT64_MAX
    std::string text;           // Kind::String: the UTF-8 text; Kind::Number: the number as written
    // Kind::Array: the elements. Kind::Object: the member values, in document
    // order, each named by the key at the same index of `keys`.
    std::vector<JsonValue> items;
    std::vector<std::string> keys;

    // Parses a whole document (RFC 8259, nothing after it). Containers may
    // nest at most kMaxDepth deep. On failure `error` says where and why.
    static bool Parse(const std::string& document, JsonValue& result, std::string& error);

    // `text` as a JSON string literal, quotes included; `text` must be UTF-8.
    static std::string Quote(const std::string& text);

    // Whether `text` is well-formed UTF-8 (no overlong forms, no surrogates).
    static bool IsUtf8(const std::string& text);

    // A short name of the kind, for error messages ("a string", "an array").
    const char* KindName() const;

    static constexpr size_t kMaxDepth = 1000;
};
