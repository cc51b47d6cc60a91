#include "sentence/NmeaText.h"

#include <gtest/gtest.h>

using namespace kvl;

TEST(Decode6Bit, WholeBytesOnlyMostSignificantBitFirst) {
    std::vector<std::uint8_t> out{0xAA};
    EXPECT_EQ(Decode6Bit("0", out), 0u);
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(Decode6Bit("w7", out), 1u);
    EXPECT_EQ(out, std::vector<std::uint8_t>{0xFC});
    // "1" = 1, "P" = 32, "`" = 40, "w" = 63: 000001 100000 101000 111111
    EXPECT_EQ(Decode6Bit("1P`w", out), 3u);
    EXPECT_EQ(out, (std::vector<std::uint8_t>{0x06, 0x0A, 0x3F}));
}

TEST(Decode6Bit, CharactersOutsideTheAlphabetStayInTheirSixBits) {
    std::vector<std::uint8_t> out;
    // '~' (126) gives 78 - 8 = 70, which must be masked to 6 bits (6) rather than
    // spilling its seventh bit into the previous character's bits.
    ASSERT_EQ(Decode6Bit("0~", out), 1u);
    EXPECT_EQ(out, std::vector<std::uint8_t>{0x00});
    // 0x01 -> 9 and 0xFF -> 7 after masking: 001001 000111 000000 000000
    ASSERT_EQ(Decode6Bit(std::string("\x01\xFF", 2) + "00", out), 3u);
    EXPECT_EQ(out, (std::vector<std::uint8_t>{0x24, 0x70, 0x00}));
}

TEST(NmeaText, CharacterTest) {
    EXPECT_TRUE(IsNmeaText("Boat 12 abc"));
    EXPECT_TRUE(IsNmeaText(""));
    for (const char* bad : {"a,b", "a*b", "a~b", "a!b", "a$b", "a\\b", "a^b", "a\x7F", "a\tb", "\xE9"})
        EXPECT_FALSE(IsNmeaText(bad)) << bad;
    EXPECT_TRUE(IsNmeaChar('}'));
    EXPECT_TRUE(IsNmeaChar(' '));
}

TEST(NmeaText, TalkerIdCheck) {
    EXPECT_EQ(CheckTalkerID(""), TTalkerIDCheck::tcEmpty);
    EXPECT_EQ(CheckTalkerID("GP"), TTalkerIDCheck::tcValid);
    EXPECT_EQ(CheckTalkerID("PG"), TTalkerIDCheck::tcProprietary);
    EXPECT_EQ(CheckTalkerID("pG"), TTalkerIDCheck::tcValid);
    EXPECT_EQ(CheckTalkerID(" G"), TTalkerIDCheck::tcIllegal);
    EXPECT_EQ(CheckTalkerID("G"), TTalkerIDCheck::tcIllegal);
    EXPECT_EQ(CheckTalkerID("GPS"), TTalkerIDCheck::tcIllegal);
}

TEST(NmeaText, BitsWrapModulo32) {
    std::uint32_t word = 0;
    SetBit(word, 5, true);
    SetBit(word, 31, true);
    EXPECT_EQ(word, 0x80000020u);
    EXPECT_TRUE(TestBit(word, 37)); // 37 mod 32 = 5
    SetBit(word, 37, false);
    EXPECT_EQ(word, 0x80000000u);
    EXPECT_FALSE(TestBit(word, 0));
}

TEST(NmeaText, ChecksumCheckReadsAtMostTwoHexDigits) {
    const std::string body = "$PQZXVER";
    EXPECT_TRUE(CheckNmeaChecksum(body + "*42", 8));
    EXPECT_TRUE(CheckNmeaChecksum(body + "*42\r\n", 8));
    EXPECT_FALSE(CheckNmeaChecksum(body + "*", 8));
    EXPECT_FALSE(CheckNmeaChecksum(body + "*4", 8));
    EXPECT_TRUE(CheckNmeaChecksum("$\x05*5", 2)); // a single digit is read as it stands
    EXPECT_EQ(ChecksumHex(0x0A), "0A");
}

TEST(NmeaText, StrictNumberReaders) {
    EXPECT_EQ(ParseDecimal("0"), 0u);
    EXPECT_EQ(ParseDecimal("4294967295", UINT32_MAX), 4294967295u);
    EXPECT_FALSE(ParseDecimal("4294967296", UINT32_MAX));
    EXPECT_FALSE(ParseDecimal(""));
    EXPECT_FALSE(ParseDecimal(" 1"));
    EXPECT_FALSE(ParseDecimal("-1"));
    EXPECT_FALSE(ParseDecimal("18446744073709551616"));
    EXPECT_EQ(ParseHex("ffFF"), 0xFFFFu);
    EXPECT_FALSE(ParseHex("0x1"));
    EXPECT_FALSE(ParseHex("1FF", 0xFF));
    EXPECT_EQ(ParseHex("FFFFFFFFFFFFFFFF"), UINT64_MAX);
    EXPECT_FALSE(ParseHex("10000000000000000"));
}
