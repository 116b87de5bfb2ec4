#include "JsonValue.h"

#include <nlohmann/json.hpp>

#include <cstdio>

namespace {

// Builds the tree from the parser's events.
class TreeBuilder : public nlohmann::json_sax<nlohmann::json> {
public:
    explicit TreeBuilder(JsonValue& root)
        : fRoot(root)
    { }

    bool null() override { return Add(JsonValue()); }
    bool boolean(bool value) override
    {
        JsonValue v;
        v.kind = JsonValue::Kind::Bool;
        v.boolean = value;
        return Add(std::move(v));
    }
    bool number_integer(number_integer_t value) override
    {
        JsonValue v;
        v.kind = JsonValue::Kind::Integer;
        v.integer = value;
        return Add(std::move(v));
    }
    bool number_unsigned(number_unsigned_t value) override
    {
        JsonValue v;
        if (value <= uint64_t(INT64_MAX)) {
            v.kind = JsonValue::Kind::Integer;
            v.integer = int64_t(value);
        } else {
            v.kind = JsonValue::Kind::Unsigned;
            v.unsignedValue = value;
        }
        return Add(std::move(v));
    }
    bool number_float(number_float_t, const string_t& written) override
    {
        JsonValue v;
        v.kind = JsonValue::Kind::Number;
        v.text = written;
        return Add(std::move(v));
    }
    bool string(string_t& value) override
    {
        JsonValue v;
        v.kind = JsonValue::Kind::String;
        v.text = std::move(value);
        return Add(std::move(v));
    }
    bool binary(binary_t&) override { return false; }
    bool start_object(std::size_t) override { return Open(JsonValue::Kind::Object); }
    bool key(string_t& value) override
    {
        fKey = std::move(value);
        return true;
    }
    bool end_object() override { return Close(); }
    bool start_array(std::size_t) override { return Open(JsonValue::Kind::Array); }
    bool end_array() override { return Close(); }
    bool parse_error(
        std::size_t, const std::string&, const nlohmann::detail::exception& ex) override
    {
        // "[json.exception.parse_error.101] parse error at line 1, ..." without the tag.
        std::string text = ex.what();
        size_t tagEnd = text.find("] ");
        fError = tagEnd == std::string::npos ? text : text.substr(tagEnd + 2);
        return false;
    }

    const std::string& Error() const { return fError; }

private:
    bool Add(JsonValue value)
    {
        if (fOpen.empty()) {
            fRoot = std::move(value);
            return true;
        }
        JsonValue& parent = *fOpen.back();
        if (parent.kind == JsonValue::Kind::Object)
            parent.keys.push_back(std::move(fKey));
        parent.items.push_back(std::move(value));
        fLastAdded = &parent.items.back();
        return true;
    }

    bool Open(JsonValue::Kind kind)
    {
        if (fOpen.size() >= JsonValue::kMaxDepth) {
            fError = "nested deeper than " + std::to_string(JsonValue::kMaxDepth) + " levels";
            return false;
        }
        JsonValue v;
        v.kind = kind;
        Add(std::move(v));
        fOpen.push_back(fOpen.empty() ? &fRoot : fLastAdded);
        return true;
    }

    bool Close()
    {
        fOpen.pop_back();
        return true;
    }

    JsonValue& fRoot;
    std::vector<JsonValue*> fOpen; // the open containers, innermost last
    JsonValue* fLastAdded = nullptr;
    std::string fKey;
    std::string fError;
};

} // namespace

bool JsonValue::Parse(const std::string& document, JsonValue& result, std::string& error)
{
    result = JsonValue();
    TreeBuilder builder(result);
    bool parsed = false;
    try {
        parsed = nlohmann::json::sax_parse(document, &builder);
    } catch (const std::exception& ex) {
        error = ex.what();
        return false;
    }
    if (!parsed) {
        error = builder.Error().empty() ? "not valid JSON" : builder.Error();
        result = JsonValue();
        return false;
    }
    return true;
}

std::string JsonValue::Quote(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (uint8_t(c) < 0x20) {
                char escaped[8];
                snprintf(escaped, sizeof escaped, "\\u%04x", unsigned(uint8_t(c)));
                out += escaped;
            } else {
                out.push_back(c);
            }
        }
    }
    out.push_back('"');
    return out;
}

bool JsonValue::IsUtf8(const std::string& text)
{
    size_t at = 0;
    while (at < text.size()) {
        uint8_t lead = uint8_t(text[at]);
        size_t length;
        uint32_t point;
        if (lead < 0x80) {
            ++at;
            continue;
        } else if (lead >= 0xc2 && lead <= 0xdf) {
            length = 2;
            point = lead & 0x1f;
        } else if (lead >= 0xe0 && lead <= 0xef) {
            length = 3;
            point = lead & 0x0f;
        } else if (lead >= 0xf0 && lead <= 0xf4) {
            length = 4;
            point = lead & 0x07;
        } else {
            return false;
        }
        if (text.size() - at < length)
            return false;
        for (size_t i = 1; i < length; ++i) {
            uint8_t next = uint8_t(text[at + i]);
            if ((next & 0xc0) != 0x80)
                return false;
            point = point << 6 | (next & 0x3f);
        }
        static const uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
        if (point < kLeast[length] || point > 0x10ffff || (point >= 0xd800 && point <= 0xdfff))
            return false;
        at += length;
    }
    return true;
}

const char* JsonValue::KindName() const
{
    switch (kind) {
    case Kind::Null:
        return "null";
    case Kind::Bool:
        return "a boolean";
    case Kind::Integer:
    case Kind::Unsigned:
    case Kind::Number:
        return "a number";
    case Kind::String:
        return "a string";
    case Kind::Array:
        return "an array";
    case Kind::Object:
        return "an object";
    }
    return "a value";
}
