// The flattened form, byte by byte: messages written out by hand from the
// layout decode to the right content and our writer reproduces them exactly;
// malformed input of every kind is refused with an empty message.
#include "BMessage.h"
#include "MessageFormat.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <memory>

namespace {

enum class Order { Little, Big };

// Bytes written by hand, numbers in the chosen byte order.
class Bytes {
public:
    explicit Bytes(Order order = Order::Little)
        : fOrder(order)
    { }

    Bytes& U8(uint8 value)
    {
        fText.push_back(char(value));
        return *this;
    }
    Bytes& U16(uint16 value) { return Put(value, 2); }
    Bytes& U32(uint32 value) { return Put(value, 4); }
    Bytes& U64(uint64 value) { return Put(value, 8); }
    Bytes& F32(float value) { return U32(std::bit_cast<uint32>(value)); }
    Bytes& F64(double value) { return U64(std::bit_cast<uint64>(value)); }
    // A type code: its four characters as a 32-bit value.
    Bytes& Type(const char (&code)[5]) { return U32(FourCC(code[0], code[1], code[2], code[3])); }
    Bytes& Text(const std::string& text)
    {
        fText += text;
        return *this;
    }
    // A name: one length byte, then the characters.
    Bytes& Name(const std::string& name) { return U8(uint8(name.size())).Text(name); }
    Bytes& Zeros(size_t count) { return Text(std::string(count, '\0')); }
    const std::string& Str() const { return fText; }

private:
    Bytes& Put(uint64 value, int width)
    {
        for (int i = 0; i < width; ++i) {
            int shift = fOrder == Order::Little ? 8 * i : 8 * (width - 1 - i);
            fText.push_back(char((value >> shift) & 0xff));
        }
        return *this;
    }

    Order fOrder;
    std::string fText;
};

// The header rule: groups of four bytes from offset 8 read big-endian, then
// the flags byte as it stands.
uint32 ChecksumOf(const std::string& header)
{
    uint32 sum = 0;
    for (size_t at = 8; at + 4 <= 16; at += 4) {
        sum += uint32(uint8(header[at])) << 24 | uint32(uint8(header[at + 1])) << 16
            | uint32(uint8(header[at + 2])) << 8 | uint32(uint8(header[at + 3]));
    }
    return sum + uint8(header[16]);
}

// A whole message around hand-written field records: header, fields, end byte.
std::string MessageOf(uint32 what, const std::string& fields, Order order = Order::Little)
{
    uint32 total = uint32(17 + fields.size() + 1);
    std::string header = Bytes(order).Zeros(8).U32(total).U32(what).U8(1).Str();
    std::string magic = order == Order::Little ? "1BOF" : "FOB1";
    std::string checksum = Bytes(order).U32(ChecksumOf(header)).Str();
    return magic + checksum + header.substr(8) + fields + std::string(1, '\0');
}

// Reads `bytes` from a buffer of exactly their size, so that the sanitizers
// catch any read beyond the input.
status_t UnflattenExact(const std::string& bytes, BMessage& message)
{
    std::unique_ptr<char[]> buffer(new char[bytes.size() + 1]);
    memcpy(buffer.get(), bytes.data(), bytes.size());
    return message.Unflatten(buffer.get(), bytes.size());
}

std::string LongText()
{
    std::string text;
    for (int i = 0; i < 300; ++i)
        text.push_back(char('a' + i % 26));
    return text;
}

// The nested message of the golden message: "leaf", the string "x".
std::string GoldenInner()
{
    Bytes fields;
    fields.U8(0x0b).Type("CSTR").U8(8).Name("leaf").U32(2).Text("x").Zeros(1).Zeros(2);
    return MessageOf(0, fields.Str());
}

std::string GoldenBytes()
{
    std::string inner = GoldenInner();
    EXPECT_EQ(inner.size(), 37u);
    Bytes f;
    // Four strings in one field, mini sizes, each item padded to 8.
    f.U8(0x03).Type("CSTR").U8(4).U8(48).Name("names");
    f.U32(1).Zeros(1).Zeros(3);
    f.U32(4).Text("abc").Zeros(1);
    f.U32(5).Text("abcd").Zeros(1).Zeros(7);
    f.U32(12).Text("hello world").Zeros(1);
    f.U8(0x0f).Type("BOOL").U8(1).Name("flag").U8(1);
    f.U8(0x07).Type("LONG").U8(2).U8(8).Name("sizes").U32(1).U32(uint32(-2));
    f.U8(0x0b).Type("MSGG").U8(48).Name("inner").U32(37).Text(inner).Zeros(7);
    // More than 255 items: four-byte count and size.
    f.U8(0x05).Type("BYTE").U32(300).U32(300).Name("bytes");
    for (int i = 0; i < 300; ++i)
        f.U8(uint8(i));
    // A string longer than 255 bytes: a single item with a four-byte size.
    f.U8(0x09).Type("CSTR").U32(312).Name("long_text").U32(301).Text(LongText()).Zeros(1).Zeros(7);
    f.U8(0x0f).Type("FLOT").U8(4).Name("ratio").F32(1.5f);
    f.U8(0x0f).Type("DBLE").U8(8).Name("precise").F64(0.1);
    f.U8(0x0f).Type("RECT").U8(16).Name("frame").F32(1).F32(2).F32(149).F32(199);
    f.U8(0x0f).Type("BPNT").U8(8).Name("where").F32(-3.5f).F32(4);
    f.U8(0x0f).Type("SHRT").U8(2).Name("small").U16(uint16(-300));
    f.U8(0x0f).Type("LLNG").U8(8).Name("stamp").U64(uint64(-1234567890123LL));
    // Raw items of one size lie back to back; of differing sizes, they do not.
    f.U8(0x07).Type("RAWT").U8(2).U8(6).Name("pixels").Text("RGBrgb");
    f.U8(0x03).Type("RAWT").U8(2).U8(16).Name("chunks");
    f.U32(2).Text("ab").Zeros(2).U32(3).Text("cde").Zeros(1);
    f.U8(0x0f).Type("ANYT").U8(2).Name("data").Text("zz");
    // 256 empty raw items: the count alone rules out the mini form.
    f.U8(0x05).Type("RAWT").U32(256).U32(0).Name("empty");
    return MessageOf('gold', f.Str());
}

BMessage GoldenMessage()
{
    BMessage inner;
    inner.AddString("leaf", "x");
    BMessage message('gold');
    for (const char* text : {"", "abc", "abcd", "hello world"})
        message.AddString("names", text);
    message.AddBool("flag", true);
    message.AddInt32("sizes", 1);
    message.AddInt32("sizes", -2);
    message.AddMessage("inner", &inner);
    for (int i = 0; i < 300; ++i)
        message.AddInt8("bytes", int8(i));
    message.AddString("long_text", LongText());
    message.AddFloat("ratio", 1.5f);
    message.AddDouble("precise", 0.1);
    message.AddRect("frame", BRect(1, 2, 149, 199));
    message.AddPoint("where", BPoint(-3.5f, 4));
    message.AddInt16("small", -300);
    message.AddInt64("stamp", -1234567890123LL);
    message.AddData("pixels", B_RAW_TYPE, "RGB", 3, false);
    message.AddData("pixels", B_RAW_TYPE, "rgb", 3, false);
    message.AddData("chunks", B_RAW_TYPE, "ab", 2);
    message.AddData("chunks", B_RAW_TYPE, "cde", 3);
    message.AddData("data", B_ANY_TYPE, "zz", 2);
    for (int i = 0; i < 256; ++i)
        message.AddData("empty", B_RAW_TYPE, nullptr, 0);
    return message;
}

std::string RawItem(const BMessage& message, const char* name, int32 index)
{
    const void* data = nullptr;
    ssize_t size = 0;
    if (message.FindData(name, B_ANY_TYPE, index, &data, &size) != B_OK)
        return "<missing>";
    return std::string(static_cast<const char*>(data), size_t(size));
}

} // namespace

TEST(MessageFormat, EmptyMessageHasTheDocumentedHeader)
{
    // total 18 = 0x12: checksum 0x12000000 (big-endian group) + what 0 + flags 1.
    const char expected[] = "1BOF\x01\x00\x00\x12\x12\x00\x00\x00\x00\x00\x00\x00\x01\x00";
    std::string bytes(expected, sizeof expected - 1);
    EXPECT_EQ(BMessage().Flatten(), bytes);
    BMessage read('junk');
    read.AddBool("stale", true);
    ASSERT_EQ(UnflattenExact(bytes, read), B_OK);
    EXPECT_TRUE(read.IsEmpty());
    EXPECT_EQ(read.what, 0u);
}

TEST(MessageFormat, HandWrittenMessageDecodes)
{
    BMessage message;
    ASSERT_EQ(UnflattenExact(GoldenBytes(), message), B_OK);
    EXPECT_EQ(message.what, uint32('gold'));
    EXPECT_EQ(message.CountNames(B_ANY_TYPE), 16);
    const char* names[] = {"", "abc", "abcd", "hello world"};
    for (int32 i = 0; i < 4; ++i)
        EXPECT_STREQ(message.FindString("names", i), names[i]);
    EXPECT_FALSE(message.HasString("names", 4));
    EXPECT_TRUE(message.FindBool("flag"));
    EXPECT_EQ(message.FindInt32("sizes", 1), -2);
    BMessage inner;
    ASSERT_EQ(message.FindMessage("inner", &inner), B_OK);
    EXPECT_STREQ(inner.FindString("leaf"), "x");
    int32 count = 0;
    type_code type = 0;
    ASSERT_EQ(message.GetInfo("bytes", &type, &count), B_OK);
    EXPECT_EQ(type, B_INT8_TYPE);
    EXPECT_EQ(count, 300);
    EXPECT_EQ(message.FindInt8("bytes", 299), int8(299 % 256));
    EXPECT_EQ(message.FindString("long_text"), LongText());
    EXPECT_EQ(message.FindFloat("ratio"), 1.5f);
    EXPECT_EQ(message.FindDouble("precise"), 0.1);
    EXPECT_EQ(message.FindRect("frame"), BRect(1, 2, 149, 199));
    EXPECT_EQ(message.FindPoint("where"), BPoint(-3.5f, 4));
    EXPECT_EQ(message.FindInt16("small"), -300);
    EXPECT_EQ(message.FindInt64("stamp"), -1234567890123LL);
    EXPECT_EQ(RawItem(message, "pixels", 1), "rgb");
    EXPECT_EQ(RawItem(message, "chunks", 0), "ab");
    EXPECT_EQ(RawItem(message, "chunks", 1), "cde");
    EXPECT_EQ(RawItem(message, "data", 0), "zz");
    ASSERT_EQ(message.GetInfo("empty", &type, &count), B_OK);
    EXPECT_EQ(count, 256);
    EXPECT_EQ(RawItem(message, "empty", 255), "");
}

TEST(MessageFormat, WriterReproducesHandWrittenBytes)
{
    std::string golden = GoldenBytes();
    EXPECT_EQ(GoldenMessage().Flatten(), golden);
    EXPECT_EQ(GoldenMessage().FlattenedSize(), ssize_t(golden.size()));
    BMessage read;
    ASSERT_EQ(UnflattenExact(golden, read), B_OK);
    EXPECT_EQ(read.Flatten(), golden);

    std::string buffer(golden.size() - 1, '\0');
    EXPECT_EQ(GoldenMessage().Flatten(buffer.data(), ssize_t(buffer.size())), B_BAD_VALUE);
}

TEST(MessageFormat, BigEndianMessageDecodes)
{
    Order big = Order::Big;
    Bytes innerFields(big);
    innerFields.U8(0x0f).Type("LONG").U8(4).Name("leaf").U32(7);
    std::string inner = MessageOf('innr', innerFields.Str(), big);
    Bytes f(big);
    f.U8(0x0f).Type("LONG").U8(4).Name("count").U32(258);
    f.U8(0x03).Type("CSTR").U8(2).U8(16).Name("name");
    f.U32(4).Text("abc").Zeros(1).U32(1).Zeros(1).Zeros(3);
    f.U8(0x0f).Type("SHRT").U8(2).Name("small").U16(uint16(-2));
    f.U8(0x0f).Type("DBLE").U8(8).Name("precise").F64(0.1);
    f.U8(0x0f).Type("RECT").U8(16).Name("frame").F32(1).F32(2).F32(3).F32(4);
    f.U8(0x0f).Type("RAWT").U8(4).Name("raw").Text("\x01\x02\x03\x04");
    f.U8(0x0b).Type("MSGG").U8(uint8((4 + inner.size() + 7) & ~size_t(7))).Name("inner");
    f.U32(uint32(inner.size()))
        .Text(inner)
        .Zeros(((4 + inner.size() + 7) & ~size_t(7)) - 4 - inner.size());
    std::string bytes = MessageOf('BigE', f.Str(), big);
    ASSERT_EQ(bytes.substr(0, 4), "FOB1");

    BMessage message;
    ASSERT_EQ(UnflattenExact(bytes, message), B_OK);
    EXPECT_EQ(message.what, uint32('BigE'));
    EXPECT_EQ(message.FindInt32("count"), 258);
    EXPECT_STREQ(message.FindString("name", 0), "abc");
    EXPECT_STREQ(message.FindString("name", 1), "");
    EXPECT_EQ(message.FindInt16("small"), -2);
    EXPECT_EQ(message.FindDouble("precise"), 0.1);
    EXPECT_EQ(message.FindRect("frame"), BRect(1, 2, 3, 4));
    EXPECT_EQ(RawItem(message, "raw", 0), "\x01\x02\x03\x04"); // raw bytes stay as they are
    BMessage nested;
    ASSERT_EQ(message.FindMessage("inner", &nested), B_OK);
    EXPECT_EQ(nested.what, uint32('innr'));
    EXPECT_EQ(nested.FindInt32("leaf"), 7);

    // Written again, it takes our own little-endian form.
    BMessage same('BigE');
    same.AddInt32("count", 258);
    same.AddString("name", "abc");
    same.AddString("name", "");
    same.AddInt16("small", -2);
    same.AddDouble("precise", 0.1);
    same.AddRect("frame", BRect(1, 2, 3, 4));
    same.AddData("raw", B_RAW_TYPE, "\x01\x02\x03\x04", 4);
    BMessage sameInner('innr');
    sameInner.AddInt32("leaf", 7);
    same.AddMessage("inner", &sameInner);
    EXPECT_EQ(message.Flatten(), same.Flatten());
}

TEST(MessageFormat, ReaderAcceptsOtherWritersFreeChoices)
{
    // Non-zero padding, an unpadded last item, four-byte sizes for small
    // data, a count for a single item, a variable layout for a sized type,
    // raw items in the variable layout, and an end byte other than zero.
    Bytes f;
    f.U8(0x01).Type("CSTR").U32(2).U32(13).Name("names");
    f.U32(2).Text("a").Zeros(1).Text("\xAA\xBB").U32(1).Zeros(1);
    f.U8(0x03).Type("LONG").U8(1).U8(8).Name("one").U32(4).U32(99);
    f.U8(0x03).Type("RAWT").U8(2).U8(16).Name("raw");
    f.U32(1).Text("x").Text("ppp").U32(1).Text("y").Zeros(3);
    std::string bytes = MessageOf(0, f.Str());
    bytes.back() = '\x02'; // any byte without the valid bit ends the list
    BMessage message;
    ASSERT_EQ(UnflattenExact(bytes, message), B_OK);
    EXPECT_STREQ(message.FindString("names", 0), "a");
    EXPECT_STREQ(message.FindString("names", 1), "");
    EXPECT_EQ(message.FindInt32("one"), 99);
    EXPECT_EQ(RawItem(message, "raw", 1), "y");

    BMessage ours;
    ours.AddString("names", "a");
    ours.AddString("names", "");
    ours.AddInt32("one", 99);
    ours.AddData("raw", B_RAW_TYPE, "x", 1);
    ours.AddData("raw", B_RAW_TYPE, "y", 1);
    EXPECT_EQ(message.Flatten(), ours.Flatten());
}

TEST(MessageFormat, TruncatedOrOversizedInputIsRefused)
{
    std::string golden = GoldenBytes();
    for (size_t size = 0; size < golden.size(); ++size) {
        BMessage message('old');
        message.AddBool("stale", true);
        ASSERT_NE(UnflattenExact(golden.substr(0, size), message), B_OK) << size;
        ASSERT_TRUE(message.IsEmpty()) << size;
        ASSERT_EQ(message.what, 0u) << size;
    }
    // A total size beyond the buffer, with a good checksum.
    std::string bytes = MessageOf(0, "");
    bytes.replace(8, 4, Bytes().U32(26).Str());
    bytes.replace(4, 4, Bytes().U32(ChecksumOf(bytes)).Str());
    BMessage message;
    EXPECT_NE(UnflattenExact(bytes, message), B_OK);
    EXPECT_NE(message.Unflatten(nullptr, 100), B_OK);
}

TEST(MessageFormat, InconsistentFieldsAreRefused)
{
    struct Case {
        const char* what;
        std::string fields;
    };
    auto field = [] { return Bytes(); };
    Case cases[] = {
        {"data size beyond the message",
            field().U8(0x0f).Type("LONG").U8(40).Name("n").U32(1).Str()},
        {"negative data size",
            field().U8(0x0d).Type("RAWT").U32(0xfffffff0).Name("n").U32(1).Str()},
        {"negative count", field().U8(0x05).Type("RAWT").U32(0x80000000).U32(0).Name("n").Str()},
        {"negative item length",
            field().U8(0x09).Type("CSTR").U32(8).Name("n").U32(0xfffffffc).U32(0).Str()},
        {"item length beyond the data",
            field().U8(0x0b).Type("CSTR").U8(8).Name("n").U32(9).Text("abc").Zeros(1).Str()},
        {"sized type with a wrong size",
            field().U8(0x0f).Type("LONG").U8(3).Name("n").Text("abc").Str()},
        {"count and size disagree",
            field().U8(0x07).Type("LONG").U8(2).U8(4).Name("n").U32(1).Str()},
        {"raw size not a multiple of the count",
            field().U8(0x07).Type("RAWT").U8(3).U8(4).Name("n").U32(1).Str()},
        {"string without its zero",
            field().U8(0x0b).Type("CSTR").U8(8).Name("n").U32(3).Text("abc").Zeros(1).Str()},
        {"empty string item", field().U8(0x0b).Type("CSTR").U8(8).Name("n").U32(0).Zeros(4).Str()},
        {"data left after the last item",
            field()
                .U8(0x0b)
                .Type("CSTR")
                .U8(16)
                .Name("n")
                .U32(2)
                .Text("a")
                .Zeros(1)
                .Zeros(10)
                .Str()},
        {"strings in the fixed layout",
            field().U8(0x0f).Type("CSTR").U8(2).Name("n").Text("a").Zeros(1).Str()},
        {"zero count", field().U8(0x07).Type("LONG").U8(0).U8(0).Name("n").Str()},
        {"more items than the data holds",
            field()
                .U8(0x03)
                .Type("CSTR")
                .U8(100)
                .U8(8)
                .Name("n")
                .U32(2)
                .Text("a")
                .Zeros(1)
                .Zeros(2)
                .Str()},
        {"empty raw items beyond any sense",
            field().U8(0x05).Type("RAWT").U32(1000000).U32(0).Name("n").Str()},
        {"unknown field flag", field().U8(0x1f).Type("LONG").U8(4).Name("n").U32(1).Str()},
        {"empty name", field().U8(0x0f).Type("LONG").U8(4).Name("").U32(1).Str()},
        {"zero byte in the name",
            field().U8(0x0f).Type("LONG").U8(4).Name(std::string("a\0b", 3)).U32(1).Str()},
        {"duplicate name",
            field()
                .U8(0x0f)
                .Type("LONG")
                .U8(4)
                .Name("n")
                .U32(1)
                .U8(0x0f)
                .Type("LONG")
                .U8(4)
                .Name("n")
                .U32(2)
                .Str()},
        {"nested message that is not one",
            field().U8(0x0b).Type("MSGG").U8(8).Name("n").U32(4).Text("1BOF").Str()},
    };
    for (const auto& c : cases) {
        BMessage message('old');
        message.AddBool("stale", true);
        EXPECT_NE(UnflattenExact(MessageOf(7, c.fields), message), B_OK) << c.what;
        EXPECT_TRUE(message.IsEmpty()) << c.what;
        EXPECT_EQ(message.what, 0u) << c.what;
    }
    // Raw fields of empty items are valid in either layout.
    BMessage message;
    EXPECT_EQ(UnflattenExact(
                  MessageOf(0, field().U8(0x07).Type("RAWT").U8(3).U8(0).Name("n").Str()), message),
        B_OK);
    EXPECT_EQ(RawItem(message, "n", 2), "");
    EXPECT_EQ(
        UnflattenExact(
            MessageOf(0,
                field().U8(0x03).Type("RAWT").U8(2).U8(12).Name("n").U32(0).Zeros(4).U32(0).Str()),
            message),
        B_OK);
    EXPECT_EQ(RawItem(message, "n", 1), "");
}

TEST(MessageFormat, BadHeadersAreRefused)
{
    std::string good = MessageOf(0, Bytes().U8(0x0f).Type("LONG").U8(4).Name("n").U32(1).Str());
    auto withByte = [&](size_t at, char value) {
        std::string bytes = good;
        bytes[at] = value;
        return bytes;
    };
    std::string reply = good;
    reply[16] = 5; // reply information would follow
    reply.replace(4, 4, Bytes().U32(ChecksumOf(reply)).Str());
    std::string invalid = good;
    invalid[16] = 0;
    invalid.replace(4, 4, Bytes().U32(ChecksumOf(invalid)).Str());
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"wrong magic", withByte(0, 'X')},
        {"wrong checksum", withByte(4, char(good[4] ^ 1))},
        {"what changed under the checksum", withByte(12, 'x')},
        {"unsupported message flags", reply},
        {"message not marked valid", invalid},
        {"no end byte", MessageOf(0, "").substr(0, 17)},
    };
    for (const auto& c : cases) {
        BMessage message;
        message.AddBool("stale", true);
        EXPECT_NE(UnflattenExact(c.bytes, message), B_OK) << c.what;
        EXPECT_TRUE(message.IsEmpty()) << c.what;
    }
    BMessage message;
    EXPECT_EQ(UnflattenExact(good, message), B_OK);
}

TEST(MessageFormat, NestingDeeperThan64IsRefused)
{
    // Each level holds the one below under "m".
    auto nest = [](int levels) {
        std::string bytes = MessageOf(0, "");
        for (int i = 0; i < levels; ++i) {
            size_t padded = (4 + bytes.size() + 7) & ~size_t(7);
            Bytes f;
            f.U8(0x09).Type("MSGG").U32(uint32(padded)).Name("m").U32(uint32(bytes.size()));
            f.Text(bytes).Zeros(padded - 4 - bytes.size());
            bytes = MessageOf(0, f.Str());
        }
        return bytes;
    };
    BMessage message;
    ASSERT_EQ(UnflattenExact(nest(64), message), B_OK);
    EXPECT_EQ(MessageFormat::NestingDepth(message), 64);
    BMessage again;
    ASSERT_EQ(again.Unflatten(message.Flatten()), B_OK);
    EXPECT_NE(UnflattenExact(nest(65), message), B_OK);
    EXPECT_TRUE(message.IsEmpty());

    // Nor does the writer build what the reader would refuse.
    ASSERT_EQ(UnflattenExact(nest(64), message), B_OK);
    BMessage outer;
    EXPECT_EQ(outer.AddMessage("m", &message), B_BAD_VALUE);
    std::string flat = message.Flatten();
    EXPECT_EQ(outer.AddData("m", B_MESSAGE_TYPE, flat.data(), ssize_t(flat.size())), B_BAD_VALUE);
    BMessage shallow;
    outer.AddMessage("m", &shallow);
    EXPECT_EQ(outer.ReplaceMessage("m", &message), B_BAD_VALUE);
    EXPECT_FALSE(outer.IsEmpty());
}
