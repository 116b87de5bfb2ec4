#include "ZipExtraFields.h"

#include <gtest/gtest.h>

using namespace ZipExtraFields;

namespace {

ZipAttributeList SampleAttributes(size_t rawSize)
{
    if (rawSize == 0)
        return {{"x", B_INT32_TYPE, {1, 2, 3, 4}}};
    return {{"BEOS:TYPE", B_MIME_TYPE, {'t', 'e', 'x', 't'}}, {"long", B_INT32_TYPE, {1, 0, 0, 0}},
        {"empty", B_RAW_TYPE, {}}, {"raw", B_RAW_TYPE, std::vector<uint8>(rawSize, 0x41)}};
}

// The local "Be" block's data, found the way a reader finds it.
std::vector<uint8> LocalAttributeBlock(const Blocks& blocks)
{
    const uint8* data = nullptr;
    size_t length = 0;
    EXPECT_TRUE(Find(blocks.local.data(), blocks.local.size(), kAttributesTag, &data, &length));
    return std::vector<uint8>(data, data + length);
}

} // namespace

TEST(ZipFields, AttributesRoundTripStoredAndDeflated)
{
    for (size_t rawSize : {size_t(0), size_t(4000)}) {
        SCOPED_TRACE(rawSize);
        Blocks blocks;
        AddAttributes(blocks, SampleAttributes(rawSize));
        std::vector<uint8> block = LocalAttributeBlock(blocks);
        bool stored = (block[4] & 0x01) != 0;
        EXPECT_EQ(stored, rawSize == 0); // deflated only when that is smaller
        ZipAttributeList back;
        ASSERT_EQ(ParseAttributes(block.data(), block.size(), back), B_OK);
        EXPECT_EQ(back, SampleAttributes(rawSize));
        // The central form is the size and flags alone.
        const uint8* central = nullptr;
        size_t centralLength = 0;
        ASSERT_TRUE(Find(blocks.central.data(), blocks.central.size(), kAttributesTag, &central,
            &centralLength));
        EXPECT_EQ(std::vector<uint8>(central, central + centralLength),
            std::vector<uint8>(block.begin(), block.begin() + 5));
    }
    Blocks none;
    AddAttributes(none, {});
    EXPECT_TRUE(none.local.empty());
}

TEST(ZipFields, RecordsUseBigEndianTypesAndSizes)
{
    std::vector<uint8> records = ZipAttributeRecords::Flatten({{"a", 'LONG', {7}}});
    EXPECT_EQ(
        records, (std::vector<uint8> {'a', 0, 'L', 'O', 'N', 'G', 0, 0, 0, 0, 0, 0, 0, 1, 7}));
    ZipAttributeList list;
    EXPECT_EQ(ZipAttributeRecords::Unflatten(records.data(), records.size() - 1, list), B_BAD_DATA);
    std::vector<uint8> noName {0, 'L', 'O', 'N', 'G', 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(ZipAttributeRecords::Unflatten(noName.data(), noName.size(), list), B_BAD_DATA);
    std::vector<uint8> hugeSize {
        'a', 0, 'L', 'O', 'N', 'G', 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 7};
    EXPECT_EQ(ZipAttributeRecords::Unflatten(hugeSize.data(), hugeSize.size(), list), B_BAD_DATA);
    EXPECT_TRUE(list.empty());
}

TEST(ZipFields, DamagedAttributeFieldsAreRefused)
{
    Blocks blocks;
    AddAttributes(blocks, SampleAttributes(4000));
    std::vector<uint8> good = LocalAttributeBlock(blocks);
    ZipAttributeList list;
    std::vector<uint8> badCrc = good;
    badCrc[7] ^= 0xff;
    EXPECT_EQ(ParseAttributes(badCrc.data(), badCrc.size(), list), B_BAD_DATA);
    EXPECT_EQ(ParseAttributes(good.data(), good.size() - 3, list), B_BAD_DATA);
    std::vector<uint8> wrongSize = good;
    wrongSize[0] ^= 0x01;
    EXPECT_EQ(ParseAttributes(wrongSize.data(), wrongSize.size(), list), B_BAD_DATA);
    std::vector<uint8> tooLarge = good;
    tooLarge[3] = 0x7f;
    EXPECT_EQ(ParseAttributes(tooLarge.data(), tooLarge.size(), list), B_BAD_DATA);
    EXPECT_EQ(ParseAttributes(good.data(), 4, list), B_BAD_DATA);
    EXPECT_TRUE(list.empty());
}

TEST(ZipFields, TimeStampsKeepLocalTimesAndReadLateDatesByTheDosYear)
{
    Times times;
    times.hasModified = times.hasAccessed = times.hasCreated = true;
    times.modified = 1600000000;
    times.accessed = -86400;    // before 1970
    times.created = 3000000000; // after 2038, fits unsigned
    Blocks blocks;
    AddTimeStamp(blocks, times);
    const uint8* data = nullptr;
    size_t length = 0;
    ASSERT_TRUE(Find(blocks.local.data(), blocks.local.size(), kTimeStampTag, &data, &length));
    EXPECT_EQ(length, 13u);
    Times back = ParseTimeStamp(data, length, 2065);
    EXPECT_EQ(back.modified, 1600000000);
    EXPECT_EQ(back.created, 3000000000);
    EXPECT_EQ(ParseTimeStamp(data, length, 1990).created, 3000000000 - (int64(1) << 32));
    EXPECT_EQ(back.accessed, -86400 + (int64(1) << 32)); // DOS year says late: read unsigned
    EXPECT_EQ(ParseTimeStamp(data, length, 1970).accessed, -86400);

    // The central form holds the modification time only.
    ASSERT_TRUE(Find(blocks.central.data(), blocks.central.size(), kTimeStampTag, &data, &length));
    Times central = ParseTimeStamp(data, length, 2020);
    EXPECT_TRUE(central.hasModified);
    EXPECT_FALSE(central.hasAccessed);

    Times unrepresentable;
    unrepresentable.hasModified = true;
    unrepresentable.modified = int64(1) << 40;
    Blocks none;
    AddTimeStamp(none, unrepresentable);
    EXPECT_TRUE(none.local.empty());
}

TEST(ZipFields, FindStopsAtMalformedBlockLists)
{
    std::vector<uint8> extra {0x55, 0x54, 0x05, 0x00, 1, 2, 3, 4, 5, 0x42, 0x65, 0xff, 0x00};
    const uint8* data = nullptr;
    size_t length = 0;
    EXPECT_TRUE(Find(extra.data(), extra.size(), kTimeStampTag, &data, &length));
    EXPECT_EQ(length, 5u);
    EXPECT_FALSE(Find(extra.data(), extra.size(), kAttributesTag, &data, &length));
    EXPECT_FALSE(Find(extra.data(), 3, kTimeStampTag, &data, &length));
}
