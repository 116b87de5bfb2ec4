// The canonical JSON form of a message: its exact text, exact round trips of
// every kind of value, and clear refusals of malformed documents.
#include "Base64.h"
#include "MessageFormat.h"
#include "MessageJson.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

namespace {

// Write, read back, write again: the text and the flattened bytes must hold.
void ExpectRoundTrip(const BMessage& message)
{
    std::string text = MessageJson::Write(message);
    BMessage read;
    std::string error;
    ASSERT_TRUE(MessageJson::Read(text, read, error)) << error << "\n" << text;
    EXPECT_EQ(read.Flatten(), message.Flatten()) << text;
    EXPECT_EQ(MessageJson::Write(read), text);
}

std::string ReadError(const std::string& document)
{
    BMessage message;
    message.AddBool("stale", true);
    std::string error;
    if (MessageJson::Read(document, message, error))
        return "<accepted>";
    EXPECT_TRUE(message.IsEmpty()) << document;
    return error;
}

std::string OneField(const std::string& type, const std::string& values)
{
    return R"({"what": 0, "fields": [{"name": "n", "type": ")" + type + R"(", "values": )" + values
        + "}]}";
}

template<typename Float> Float NaNWithPayload()
{
    using Bits = std::conditional_t<sizeof(Float) == 4, uint32, uint64>;
    return std::bit_cast<Float>(std::bit_cast<Bits>(std::numeric_limits<Float>::quiet_NaN()) | 1);
}

} // namespace

TEST(MessageJson, WritesTheCanonicalText)
{
    BMessage inner;
    inner.AddString("group_name", "Typical");
    inner.AddString("group_name", "Docs \"1\"\n");
    BMessage empty('emty');
    BMessage message;
    message.AddString("app_name", "Stowsmith");
    message.AddMessage("groups", &inner);
    message.AddMessage("groups", &empty);
    message.AddBool("opt_log", true);
    message.AddInt32("opt_compression", 6);
    message.AddFloat("ratio", 0.1f);
    message.AddDouble("value", -0.0);
    message.AddRect("frame", BRect(0, 0, 149.5f, 199));
    message.AddData("raw", B_RAW_TYPE, "\x00\x01\x02", 3);
    EXPECT_EQ(MessageJson::Write(message), R"({
  "what": 0,
  "fields": [
    {"name": "app_name", "type": "CSTR", "values": ["Stowsmith"]},
    {"name": "groups", "type": "MSGG", "values": [
      {
        "what": 0,
        "fields": [
          {"name": "group_name", "type": "CSTR", "values": ["Typical", "Docs \"1\"\n"]}
        ]
      },
      {
        "what": 1701672057,
        "fields": []
      }
    ]},
    {"name": "opt_log", "type": "BOOL", "values": [true]},
    {"name": "opt_compression", "type": "LONG", "values": [6]},
    {"name": "ratio", "type": "FLOT", "values": [0.1]},
    {"name": "value", "type": "DBLE", "values": [-0.0]},
    {"name": "frame", "type": "RECT", "values": [[0, 0, 149.5, 199]]},
    {"name": "raw", "type": "RAWT", "values": ["AAEC"]}
  ]
}
)");
    ExpectRoundTrip(message);
}

TEST(MessageJson, EveryKindOfValueRoundTripsExactly)
{
    BMessage message(0xfffffffe);
    for (const char* text :
        {"", "abc", "tab\tquote\"back\\slash", "\x01\x1f\x7f", "h\xc3\xa9 \xf0\x9f\x98\x80"})
        message.AddString("text", text);
    message.AddString("zero", std::string("a\0b", 3));
    message.AddString("latin1", "caf\xe9"); // not UTF-8: base64 object
    message.AddInt32("\xff\xfename", 1);    // so is this name
    message.AddBool("flags", false);
    message.AddBool("flags", true);
    message.AddData("flags", B_BOOL_TYPE, "\x02", 1); // neither: base64 object
    for (int8 v : {int8(INT8_MIN), int8(0), int8(INT8_MAX)})
        message.AddInt8("i8", v);
    for (int16 v : {int16(INT16_MIN), int16(INT16_MAX)})
        message.AddInt16("i16", v);
    for (int32 v : {INT32_MIN, INT32_MAX})
        message.AddInt32("i32", v);
    for (int64 v : {INT64_MIN, INT64_MAX})
        message.AddInt64("i64", v);
    using FL = std::numeric_limits<float>;
    for (float v :
        {0.1f, -0.0f, 1e30f, 16777216.0f, FL::denorm_min(), FL::min(), FL::max(), FL::lowest(),
            FL::infinity(), -FL::infinity(), FL::quiet_NaN(), NaNWithPayload<float>()})
        message.AddFloat("floats", v);
    using DL = std::numeric_limits<double>;
    for (double v : {0.1, -0.0, 1.2345678901234567e21, 1e300, DL::denorm_min(), DL::max(),
             DL::lowest(), DL::infinity(), DL::quiet_NaN(), NaNWithPayload<double>()})
        message.AddDouble("doubles", v);
    message.AddRect("rect", BRect(-1.5f, 2, 3e10f, FL::infinity()));
    message.AddRect("odd_rect", BRect(0, NaNWithPayload<float>(), 1, 1));
    message.AddPoint("point", BPoint(0.3f, -7));
    message.AddData("raw", B_RAW_TYPE, "", 0);
    message.AddData("raw", B_RAW_TYPE, "", 0);
    message.AddData("sizes", B_RAW_TYPE, "a", 1);
    message.AddData("sizes", B_RAW_TYPE, "bcd", 3);
    message.AddData("any", B_ANY_TYPE, "\xff\x00", 2);
    message.AddData("odd_type", 0x00ff0001, "xyz", 3);
    message.AddData("mime", B_MIME_TYPE, "text/plain", 11);
    BMessage nested('nest');
    for (int i = 0; i < 63; ++i) {
        BMessage outer;
        outer.AddMessage("m", &nested);
        nested = outer;
    }
    message.AddMessage("deep", &nested);
    ASSERT_EQ(MessageFormat::NestingDepth(message), 64);
    ExpectRoundTrip(message);

    std::string text = MessageJson::Write(message);
    EXPECT_NE(text.find(R"([0.1, -0.0, 1e+30, 16777216, 1e-45,)"), std::string::npos) << text;
    EXPECT_NE(text.find(R"("Infinity", "-Infinity", "NaN", {"base64": ")"), std::string::npos);
    EXPECT_NE(text.find(R"({"name": {"base64": "//5uYW1l"}, "type": "LONG")"), std::string::npos);
    EXPECT_NE(text.find(R"("values": [{"base64": "Y2Fm6Q=="}]})"), std::string::npos);
    EXPECT_NE(text.find(R"([false, true, {"base64": "Ag=="}])"), std::string::npos);
    EXPECT_NE(text.find(R"("type": 16711681)"), std::string::npos);
    EXPECT_NE(text.find(R"(\u0001\u001f)"), std::string::npos);
}

TEST(MessageJson, ReadsAnyLayoutAndNumberSpelling)
{
    BMessage expected(5);
    expected.AddFloat("f", 1.5f);
    expected.AddFloat("f", 0.1f);
    expected.AddDouble("d", 100);
    expected.AddString("s", "x");
    std::string document
        = "  {\"fields\":[{\"values\":[1.50,1e-1],\"type\":\"FLOT\",\"name\":\"f\"},\n"
          "{\"type\": \"DBLE\", \"name\": \"d\", \"values\": [1E2]},"
          "{\"name\":\"s\",\"type\":1129534546,\"values\":[{\"base64\":\"eA==\"}]}],"
          "\"what\":5}\n";
    BMessage read;
    std::string error;
    ASSERT_TRUE(MessageJson::Read(document, read, error)) << error;
    EXPECT_EQ(read.Flatten(), expected.Flatten());
}

TEST(MessageJson, MalformedDocumentsAreRefusedClearly)
{
    std::string deepJson = std::string(5000, '[') + std::string(5000, ']');
    std::string deepMessage = R"({"what": 0, "fields": []})";
    for (int i = 0; i < 65; ++i)
        deepMessage = R"({"what": 0, "fields": [{"name": "m", "type": "MSGG", "values": [)"
            + deepMessage + "]}]}";
    struct Case {
        std::string document;
        std::string error; // a part of the message
    } cases[] = {
        {"", "invalid JSON"},
        {"{\"what\": 0, \"fields\": []} x", "invalid JSON"},
        {"{\"what\": 0, \"fields\": [], }", "invalid JSON"},
        {"{\"what\": 0, \"fields\": [\"\xff\"]}", "invalid JSON"},
        {deepJson, "nested deeper than 1000"},
        {"[]", "expected an object"},
        {R"({"fields": []})", "missing key \"what\""},
        {R"({"what": 0})", "missing key \"fields\""},
        {R"({"what": 0, "fields": [], "extra": 1})", "unknown key \"extra\""},
        {R"({"what": 0, "what": 1, "fields": []})", "duplicate key \"what\""},
        {R"({"what": -1, "fields": []})", "\"what\" is an integer"},
        {R"({"what": 4294967296, "fields": []})", "\"what\" is an integer"},
        {R"({"what": 1.0, "fields": []})", "\"what\" is an integer"},
        {R"({"what": 0, "fields": {}})", "\"fields\" is an array"},
        {R"({"what": 0, "fields": [{"name": "n", "type": "LONG"}]})",
            "field 0: missing key \"values\""},
        {R"({"what": 0, "fields": [{"name": "", "type": "LONG", "values": [1]}]})",
            "names have 1 to 255"},
        {R"({"what": 0, "fields": [{"name": ")" + std::string(256, 'n')
                + R"(", "type": "LONG", "values": [1]}]})",
            "names have 1 to 255"},
        {R"({"what": 0, "fields": [{"name": "a\u0000b", "type": "LONG", "values": [1]}]})",
            "none of them zero"},
        {R"({"what": 0, "fields": [{"name": 7, "type": "LONG", "values": [1]}]})", "\"name\""},
        {R"({"what": 0, "fields": [{"name": "a", "type": "LONG", "values": [1]}, {"name": "a", "type": "LONG", "values": [2]}]})",
            "field 1 (\"a\"): a field of that name comes earlier"},
        {OneField("LON", "[1]"), "\"type\" is four printable characters"},
        {OneField("LON\\n", "[1]"), "\"type\" is four printable characters"},
        {OneField("LONG", "[]"), "at least one value"},
        {OneField("LONG", "1"), "at least one value"},
        {OneField("CSTR", "[1]"), "field 0 (\"n\") value 0: CSTR values are strings"},
        {OneField("BOOL", "[1]"), "BOOL values are true or false"},
        {OneField("BYTE", "[128]"), "BYTE values are integers from -128 to 127"},
        {OneField("SHRT", "[-32769]"), "SHRT values"},
        {OneField("LONG", "[\"1\", 2]"), "value 0: LONG values"},
        {OneField("LONG", "[1, 2147483648]"), "value 1: LONG values"},
        {OneField("LLNG", "[9223372036854775808]"), "LLNG values"},
        {OneField("LLNG", "[1.5]"), "LLNG values"},
        {OneField("FLOT", "[1e39]"), "FLOT values are numbers within the range of a float"},
        {OneField("FLOT", "[\"nan\"]"), "FLOT values"},
        {OneField("DBLE", "[1e309]"), "number overflow"},
        {OneField("RECT", "[[1, 2, 3]]"), "RECT values are [left, top, right, bottom]"},
        {OneField("BPNT", "[[\"1\", 2]]"), "BPNT values are [x, y]"},
        {OneField("RAWT", "[\"AB=\"]"), "RAWT values are base64 strings"},
        {OneField("RAWT", "[\"AR==\"]"), "RAWT values are base64 strings"},
        {OneField("RAWT", "[\"A B=\"]"), "RAWT values are base64 strings"},
        {OneField("CSTR", "[{\"base64\": \"eA==\", \"x\": 1}]"), "unknown key \"x\""},
        {OneField("CSTR", "[{\"base64\": 1}]"), "\"base64\" is not a base64 string"},
        {OneField("LONG", "[{\"base64\": \"AAA=\"}]"), "the values do not fit the type"},
        {OneField("MSGG", "[\"x\"]"), "expected an object"},
        {OneField("MSGG",
             R"([{"what": 0, "fields": [{"name": "b", "type": "SHRT", "values": [40000]}]}])"),
            "field 0 (\"n\") value 0 > field 0 (\"b\") value 0: SHRT values"},
        {deepMessage, "messages nest deeper than 64 levels"},
    };
    for (const auto& c : cases) {
        std::string error = ReadError(c.document);
        EXPECT_NE(error.find(c.error), std::string::npos)
            << "document: " << c.document.substr(0, 200) << "\nerror: " << error;
    }
}

TEST(Base64, EncodesAndDecodesOnlyTheCanonicalForm)
{
    const char* vectors[][2] = {{"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"}, {"\xff\xfe", "//4="}};
    for (const auto& v : vectors) {
        EXPECT_EQ(Base64::Encode(v[0]), v[1]);
        std::string bytes;
        ASSERT_TRUE(Base64::Decode(v[1], bytes)) << v[1];
        EXPECT_EQ(bytes, v[0]);
    }
    std::string bytes;
    for (const char* bad :
        {"Zg", "Zg=", "Zh==", "Zm9=", "Z===", "Zm9v\n", "Zm=v", "Zm9v====", "Zm9*"})
        EXPECT_FALSE(Base64::Decode(bad, bytes)) << bad;
}
