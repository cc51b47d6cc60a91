// The number readers keep to the limit a handler gives, also for a single digit
// above it (a limit below 9, or below 15 for hex, once let such a digit through).
#include "sentence/NmeaError.h"
#include "sentence/NmeaText.h"
#include "sentence/Sentence.h"

#include <gtest/gtest.h>

using namespace kvl;

TEST(NumberLimit, ADigitAboveTheLimitIsRejected) {
    EXPECT_FALSE(ParseDecimal("7", 3));
    EXPECT_FALSE(ParseDecimal("1", 0));
    EXPECT_FALSE(ParseDecimal("10", 9));
    EXPECT_EQ(ParseDecimal("3", 3), 3u);
    EXPECT_EQ(ParseDecimal("0", 0), 0u);
    EXPECT_EQ(ParseDecimal("09", 9), 9u);
    EXPECT_FALSE(ParseHex("C", 4));
    EXPECT_FALSE(ParseHex("1C", 4));
    EXPECT_FALSE(ParseHex("10", 15));
    EXPECT_EQ(ParseHex("f", 15), 15u);
    EXPECT_EQ(ParseHex("4", 4), 4u);
}

TEST(NumberLimit, FieldReadersThrowAboveTheLimit) {
    const TSentence s("$PQZXCF,R,7,C", "");
    EXPECT_THROW(s.FieldDec(2, 5), ENumberError);
    EXPECT_EQ(s.FieldDec(2, 7), 7u);
    EXPECT_THROW(s.FieldHex(3, 9), ENumberError);
    EXPECT_EQ(s.FieldHex(3, 12), 12u);
}
