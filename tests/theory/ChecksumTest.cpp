#include <gtest/gtest.h>

#include <sstream>

#include "theory/Checksum.h"

TEST(Checksum, BlockAddsLengthOrSignedByteSum)
{
    EXPECT_EQ(ChecksumClass::blockSum("abc", 3), 295);
    const unsigned char ff = 0xFF;
    EXPECT_EQ(ChecksumClass::blockSum(&ff, 1), -1);
    EXPECT_EQ(ChecksumClass::blockSum("", 0), 0);
}

TEST(Checksum, AccumulatesBlockByBlockWithWrapAround)
{
    ChecksumClass sum;
    sum.checksumAdd("abc", 1, 3);
    sum.checksumAdd("abc", 3, 1);
    EXPECT_EQ(sum.checksumValue(), 590);
    sum.checksumClear();
    EXPECT_EQ(sum.checksumValue(), 0);

    // The boundaries count: one block of six bytes differs from two of three.
    sum.checksumAdd("abcabc", 6, 1);
    EXPECT_EQ(sum.checksumValue(), 6 | 588);

    std::string big(1 << 20, '\x7f');
    sum.checksumClear();
    for (int i = 0; i < 20; ++i)
        sum.checksumAdd(big.data(), big.size(), 1);
    const std::uint32_t expected = 20u * static_cast<std::uint32_t>((1 << 20) | (127 << 20));
    EXPECT_EQ(static_cast<std::uint32_t>(sum.checksumValue()), expected);
}

TEST(Checksum, ReadAndWriteFeedTheSameSum)
{
    ChecksumClass writer;
    std::stringstream stream;
    const std::int32_t value = 0x01020304;
    ASSERT_TRUE(writer.writeBlock(stream, &value, sizeof value));
    ASSERT_TRUE(writer.writeBlock(stream, "xyz", 1, 3));

    ChecksumClass reader;
    std::int32_t readValue = 0;
    char text[3];
    ASSERT_TRUE(reader.readBlock(stream, &readValue, sizeof readValue));
    ASSERT_TRUE(reader.readBlock(stream, text, 1, 3));
    EXPECT_EQ(readValue, value);
    EXPECT_EQ(reader.checksumValue(), writer.checksumValue());
    EXPECT_FALSE(reader.readBlock(stream, text, 1, 1)) << "a short read is reported";
}
