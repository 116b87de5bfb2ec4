#include "MessageJson.h"

#include "Base64.h"
#include "JsonValue.h"
#include "MessageFormat.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

// Type codes of four printable characters read as text ("CSTR"); any other
// code is written as its number.
std::string TypeText(type_code type)
{
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        char c = char((type >> shift) & 0xff);
        if (c < 0x20 || c > 0x7e)
            return std::to_string(type);
        text.push_back(c);
    }
    return JsonValue::Quote(text);
}

std::string Base64Object(const std::string& bytes)
{
    return "{\"base64\": \"" + Base64::Encode(bytes) + "\"}";
}

// Text as a JSON string, or bytes that are not UTF-8 as a base64 object.
std::string BytesText(const std::string& bytes)
{
    return JsonValue::IsUtf8(bytes) ? JsonValue::Quote(bytes) : Base64Object(bytes);
}

template<typename Float> using Bits = std::conditional_t<sizeof(Float) == 4, uint32, uint64>;

// The shortest text that reads back as the same value at the float's own
// width. JSON has no infinities or NaN, so those are the strings "Infinity",
// "-Infinity" and "NaN"; a NaN other than the usual quiet one has no text.
template<typename Float> bool FloatText(Float value, std::string& text)
{
    if (std::isnan(value)) {
        Float quiet = std::numeric_limits<Float>::quiet_NaN();
        if (std::bit_cast<Bits<Float>>(value) != std::bit_cast<Bits<Float>>(quiet))
            return false;
        text = "\"NaN\"";
        return true;
    }
    if (std::isinf(value)) {
        text = value > 0 ? "\"Infinity\"" : "\"-Infinity\"";
        return true;
    }
    if (value == 0 && std::signbit(value)) {
        text = "-0.0"; // "-0" would read back as the integer 0
        return true;
    }
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    text.assign(buffer, result.ptr);
    return true;
}

template<typename Float> Float FloatAt(const std::string& item, size_t index)
{
    Float value;
    memcpy(&value, item.data() + index * sizeof(Float), sizeof(Float));
    return value;
}

// Floats in a list ("[left, top, right, bottom]"); false when one has no text.
bool FloatListText(const std::string& item, std::string& text)
{
    text = "[";
    for (size_t i = 0; i < item.size() / 4; ++i) {
        std::string one;
        if (!FloatText(FloatAt<float>(item, i), one))
            return false;
        text += (i == 0 ? "" : ", ") + one;
    }
    text += "]";
    return true;
}

template<typename Integer> std::string IntegerText(const std::string& item)
{
    return std::to_string(FloatAt<Integer>(item, 0));
}

} // namespace

std::string MessageJson::ValueText(type_code type, const std::string& item, RawData raw)
{
    std::string text;
    switch (type) {
    case B_STRING_TYPE:
        return BytesText(item.substr(0, item.size() - 1));
    case B_BOOL_TYPE:
        if (item[0] == 0 || item[0] == 1)
            return item[0] ? "true" : "false";
        break;
    case B_INT8_TYPE:
        return std::to_string(int(int8(item[0])));
    case B_INT16_TYPE:
        return IntegerText<int16>(item);
    case B_INT32_TYPE:
        return IntegerText<int32>(item);
    case B_INT64_TYPE:
        return IntegerText<int64>(item);
    case B_FLOAT_TYPE:
        if (FloatText(FloatAt<float>(item, 0), text))
            return text;
        break;
    case B_DOUBLE_TYPE:
        if (FloatText(FloatAt<double>(item, 0), text))
            return text;
        break;
    case B_RECT_TYPE:
    case B_POINT_TYPE:
        if (FloatListText(item, text))
            return text;
        break;
    default:
        if (raw == RawData::Counted && item.size() > 64)
            return "{\"bytes\": " + std::to_string(item.size()) + "}";
        return "\"" + Base64::Encode(item) + "\"";
    }
    // A value its natural form cannot carry exactly: the item's bytes.
    return Base64Object(item);
}

void MessageJson::WriteMessage(
    std::string& out, const BMessage& message, size_t indent, RawData raw)
{
    std::string pad(indent, ' ');
    out += "{\n" + pad + "  \"what\": " + std::to_string(message.what) + ",\n";
    out += pad + "  \"fields\": [";
    const auto& fields = message.Fields();
    if (fields.empty()) {
        out += "]\n" + pad + "}";
        return;
    }
    out += "\n";
    for (size_t i = 0; i < fields.size(); ++i) {
        const auto& field = fields[i];
        out += pad + "    {\"name\": " + BytesText(field.name)
            + ", \"type\": " + TypeText(field.type) + ", \"values\": [";
        if (field.type == B_MESSAGE_TYPE) {
            out += "\n";
            for (size_t j = 0; j < field.items.size(); ++j) {
                BMessage nested;
                nested.Unflatten(field.items[j]); // kept canonical, so it reads
                out += pad + "      ";
                WriteMessage(out, nested, indent + 6, raw);
                out += j + 1 < field.items.size() ? ",\n" : "\n";
            }
            out += pad + "    ]}";
        } else {
            for (size_t j = 0; j < field.items.size(); ++j)
                out += (j == 0 ? "" : ", ") + ValueText(field.type, field.items[j], raw);
            out += "]}";
        }
        out += i + 1 < fields.size() ? ",\n" : "\n";
    }
    out += pad + "  ]\n" + pad + "}";
}

std::string MessageJson::Write(const BMessage& message, RawData raw)
{
    std::string out;
    WriteMessage(out, message, 0, raw);
    out += "\n";
    return out;
}

namespace {

bool Fail(std::string& error, const std::string& where, const std::string& problem)
{
    error = where.empty() ? problem : where + ": " + problem;
    return false;
}

// The members of an object that holds exactly `keys`, each once.
bool TakeMembers(const JsonValue& object, const std::vector<const char*>& keys,
    std::vector<const JsonValue*>& found, std::string& problem)
{
    if (object.kind != JsonValue::Kind::Object) {
        problem = std::string("expected an object, found ") + object.KindName();
        return false;
    }
    found.assign(keys.size(), nullptr);
    for (size_t member = 0; member < object.keys.size(); ++member) {
        const std::string& key = object.keys[member];
        size_t i = 0;
        while (i < keys.size() && key != keys[i])
            ++i;
        if (i == keys.size()) {
            problem = "unknown key " + JsonValue::Quote(key);
            return false;
        }
        if (found[i] != nullptr) {
            problem = "duplicate key " + JsonValue::Quote(key);
            return false;
        }
        found[i] = &object.items[member];
    }
    for (size_t i = 0; i < keys.size(); ++i) {
        if (found[i] == nullptr) {
            problem = std::string("missing key \"") + keys[i] + "\"";
            return false;
        }
    }
    return true;
}

// A string, or {"base64": "..."} for bytes that are not UTF-8.
bool BytesFrom(const JsonValue& value, std::string& bytes, std::string& problem)
{
    if (value.kind == JsonValue::Kind::String) {
        bytes = value.text;
        return true;
    }
    std::vector<const JsonValue*> found;
    if (!TakeMembers(value, {"base64"}, found, problem))
        return false;
    if (found[0]->kind != JsonValue::Kind::String || !Base64::Decode(found[0]->text, bytes)) {
        problem = "\"base64\" is not a base64 string";
        return false;
    }
    return true;
}

bool IntegerFrom(const JsonValue& value, int64 low, int64 high, int64& result)
{
    if (value.kind != JsonValue::Kind::Integer || value.integer < low || value.integer > high)
        return false;
    result = value.integer;
    return true;
}

template<typename Float> bool FloatFrom(const JsonValue& value, Float& result)
{
    switch (value.kind) {
    case JsonValue::Kind::Integer:
        result = Float(value.integer);
        return true;
    case JsonValue::Kind::Unsigned:
        result = Float(value.unsignedValue);
        return true;
    case JsonValue::Kind::Number: {
        // Read from the text at the float's own width: no double rounding.
        const char* end = value.text.data() + value.text.size();
        auto parsed = std::from_chars(value.text.data(), end, result);
        return parsed.ec == std::errc() && parsed.ptr == end;
    }
    case JsonValue::Kind::String:
        if (value.text == "NaN")
            result = std::numeric_limits<Float>::quiet_NaN();
        else if (value.text == "Infinity" || value.text == "-Infinity")
            result = value.text[0] == '-' ? -std::numeric_limits<Float>::infinity()
                                          : std::numeric_limits<Float>::infinity();
        else
            return false;
        return true;
    default:
        return false;
    }
}

template<typename T> std::string BytesOf(T value)
{
    return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}

bool FloatsFrom(const JsonValue& value, size_t count, std::string& item)
{
    if (value.kind != JsonValue::Kind::Array || value.items.size() != count)
        return false;
    item.clear();
    for (const auto& element : value.items) {
        float f;
        if (!FloatFrom(element, f))
            return false;
        item += BytesOf(f);
    }
    return true;
}

bool TypeFrom(const JsonValue& value, type_code& type)
{
    int64 number;
    if (IntegerFrom(value, 0, UINT32_MAX, number)) {
        type = type_code(number);
        return true;
    }
    if (value.kind != JsonValue::Kind::String || value.text.size() != 4)
        return false;
    for (char c : value.text) {
        if (c < 0x20 || c > 0x7e)
            return false;
    }
    const std::string& t = value.text;
    type = FourCC(t[0], t[1], t[2], t[3]);
    return true;
}

} // namespace

bool MessageJson::ReadItem(type_code type, const JsonValue& value, std::string& item,
    const std::string& where, std::string& error)
{
    std::string typeName = type_code_text(type).text;
    std::string problem;
    if (value.kind == JsonValue::Kind::Object && type != B_MESSAGE_TYPE) {
        // The exact bytes of a value whose natural form cannot carry it.
        if (!BytesFrom(value, item, problem))
            return Fail(error, where, problem);
        if (type == B_STRING_TYPE)
            item.push_back('\0');
        return true;
    }
    int64 number = 0;
    switch (type) {
    case B_STRING_TYPE:
        if (value.kind != JsonValue::Kind::String)
            return Fail(error, where, "CSTR values are strings");
        item = value.text + '\0';
        return true;
    case B_BOOL_TYPE:
        if (value.kind != JsonValue::Kind::Bool)
            return Fail(error, where, "BOOL values are true or false");
        item = BytesOf(uint8(value.boolean ? 1 : 0));
        return true;
    case B_INT8_TYPE:
        if (!IntegerFrom(value, INT8_MIN, INT8_MAX, number))
            return Fail(error, where, "BYTE values are integers from -128 to 127");
        item = BytesOf(int8(number));
        return true;
    case B_INT16_TYPE:
        if (!IntegerFrom(value, INT16_MIN, INT16_MAX, number))
            return Fail(error, where, "SHRT values are integers from -32768 to 32767");
        item = BytesOf(int16(number));
        return true;
    case B_INT32_TYPE:
        if (!IntegerFrom(value, INT32_MIN, INT32_MAX, number))
            return Fail(error, where, "LONG values are integers from -2147483648 to 2147483647");
        item = BytesOf(int32(number));
        return true;
    case B_INT64_TYPE:
        if (!IntegerFrom(value, INT64_MIN, INT64_MAX, number))
            return Fail(error, where, "LLNG values are 64-bit integers");
        item = BytesOf(int64(number));
        return true;
    case B_FLOAT_TYPE: {
        float f;
        if (!FloatFrom(value, f))
            return Fail(error, where, "FLOT values are numbers within the range of a float");
        item = BytesOf(f);
        return true;
    }
    case B_DOUBLE_TYPE: {
        double d;
        if (!FloatFrom(value, d))
            return Fail(error, where, "DBLE values are numbers within the range of a double");
        item = BytesOf(d);
        return true;
    }
    case B_RECT_TYPE:
        if (!FloatsFrom(value, 4, item))
            return Fail(error, where, "RECT values are [left, top, right, bottom]");
        return true;
    case B_POINT_TYPE:
        if (!FloatsFrom(value, 2, item))
            return Fail(error, where, "BPNT values are [x, y]");
        return true;
    case B_MESSAGE_TYPE: {
        BMessage nested;
        if (!ReadMessage(value, nested, where, error))
            return false;
        if (MessageFormat::NestingDepth(nested) + 1 > MessageFormat::kMaxDepth)
            return Fail(error, where,
                "messages nest deeper than " + std::to_string(MessageFormat::kMaxDepth)
                    + " levels");
        item = nested.Flatten();
        return true;
    }
    default:
        if (value.kind != JsonValue::Kind::String || !Base64::Decode(value.text, item))
            return Fail(error, where, typeName + " values are base64 strings");
        return true;
    }
}

bool MessageJson::ReadField(
    const JsonValue& value, BMessage& message, const std::string& where, std::string& error)
{
    std::vector<const JsonValue*> found;
    std::string problem;
    if (!TakeMembers(value, {"name", "type", "values"}, found, problem))
        return Fail(error, where, problem);
    BMessage::Field field;
    if (!BytesFrom(*found[0], field.name, problem))
        return Fail(error, where, "\"name\": " + problem);
    if (field.name.empty() || field.name.size() > BMessage::kMaxNameLength
        || field.name.find('\0') != std::string::npos)
        return Fail(error, where, "names have 1 to 255 bytes, none of them zero");
    std::string here = where + " (" + JsonValue::Quote(field.name) + ")";
    if (!JsonValue::IsUtf8(field.name))
        here = where;
    if (!TypeFrom(*found[1], field.type))
        return Fail(error, here, "\"type\" is four printable characters or a number");
    const JsonValue& values = *found[2];
    if (values.kind != JsonValue::Kind::Array || values.items.empty())
        return Fail(error, here, "\"values\" is an array of at least one value");
    for (size_t i = 0; i < values.items.size(); ++i) {
        std::string item;
        if (!ReadItem(
                field.type, values.items[i], item, here + " value " + std::to_string(i), error))
            return false;
        field.items.push_back(std::move(item));
    }
    status_t status = message.AddField(std::move(field));
    if (status == B_NAME_IN_USE)
        return Fail(error, here, "a field of that name comes earlier");
    if (status != B_OK)
        return Fail(error, here, "the values do not fit the type");
    return true;
}

bool MessageJson::ReadMessage(
    const JsonValue& value, BMessage& message, const std::string& where, std::string& error)
{
    std::vector<const JsonValue*> found;
    std::string problem;
    if (!TakeMembers(value, {"what", "fields"}, found, problem))
        return Fail(error, where, problem);
    int64 what;
    if (!IntegerFrom(*found[0], 0, UINT32_MAX, what))
        return Fail(error, where, "\"what\" is an integer from 0 to 4294967295");
    message.what = uint32(what);
    const JsonValue& fields = *found[1];
    if (fields.kind != JsonValue::Kind::Array)
        return Fail(error, where, "\"fields\" is an array");
    std::string prefix = where.empty() ? "" : where + " > ";
    for (size_t i = 0; i < fields.items.size(); ++i) {
        if (!ReadField(fields.items[i], message, prefix + "field " + std::to_string(i), error))
            return false;
    }
    return true;
}

bool MessageJson::Read(const std::string& document, BMessage& message, std::string& error)
{
    message.MakeEmpty();
    message.what = 0;
    JsonValue root;
    if (!JsonValue::Parse(document, root, error)) {
        error = "invalid JSON: " + error;
        return false;
    }
    BMessage result;
    if (!ReadMessage(root, result, "", error))
        return false;
    message.what = result.what;
    for (const auto& field : result.Fields())
        message.AddField(field);
    return true;
}
