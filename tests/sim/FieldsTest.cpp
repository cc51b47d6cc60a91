// The simulator's own field and number readers, and its framing of sentences.
#include "SentenceFrame.h"
#include "SimFields.h"
#include "WireClient.h"

#include <gtest/gtest.h>

using namespace kvl::sim;

TEST(SimFields, SplitKeepsEmptyPieces) {
    EXPECT_EQ(SplitFields("$PQZXCF,R,,5"), (Fields{"$PQZXCF", "R", "", "5"}));
    EXPECT_EQ(SplitFields("$PQZXRDY"), (Fields{"$PQZXRDY"}));
    EXPECT_EQ(SplitFields(","), (Fields{"", ""}));
}

TEST(SimFields, DecimalsAreDigitsWithinTheLimit) {
    EXPECT_EQ(ReadDecimal("0", 5), 0u);
    EXPECT_EQ(ReadDecimal("5", 5), 5u);
    EXPECT_EQ(ReadDecimal("65535", 65535), 65535u);
    EXPECT_EQ(ReadDecimal("4294967295", 4294967295u), 4294967295u);
    for (const char* bad : {"", "6", "-1", "+1", " 1", "1 ", "1a", "99999999999", "4294967296"})
        EXPECT_FALSE(ReadDecimal(bad, bad[0] == '4' ? 4294967295u : 5)) << bad;
}

TEST(SimFields, HexHasItsDigitCountAndEitherCase) {
    EXPECT_EQ(ReadHex("9f", 2, 2), 0x9Fu);
    EXPECT_EQ(ReadHex("00A1B2C3D4E5F607", 16, 16), 0x00A1B2C3D4E5F607u);
    EXPECT_EQ(ReadHex("FFFFFFFFFFFFFFFF", 16, 16), UINT64_MAX);
    EXPECT_FALSE(ReadHex("9", 2, 2));
    EXPECT_FALSE(ReadHex("09F", 2, 2));
    EXPECT_FALSE(ReadHex("G0", 2, 2));
    EXPECT_FALSE(ReadHex("", 0, 2));
    EXPECT_EQ(WriteHex(0x224, 8), "00000224");
    EXPECT_EQ(WriteHex(0xC0020000, 1), "C0020000");
    EXPECT_EQ(WriteHex(0, 1), "0");
}

TEST(SentenceFrame, ChecksumAndLineEndAsTheHostComputesThem) {
    EXPECT_EQ(FrameSentence("$PQZXVER"), "$PQZXVER*42\r\n");
    EXPECT_EQ(FrameSentence("$PQZXSP,R,0,0,0,3,0"), simtest::Framed("$PQZXSP,R,0,0,0,3,0"));
    const std::string bad = FrameSentence("$PQZXVER", true);
    EXPECT_NE(bad, "$PQZXVER*42\r\n");
    EXPECT_EQ(bad.size(), 13u);
    EXPECT_EQ(TagBlock("s:AB12-1"), "\\s:AB12-1*" + simtest::Checksum("\\s:AB12-1") + "\\");
}

TEST(SentenceFrame, OnlyCheckedSentencesHaveABody) {
    EXPECT_EQ(CheckedBody("$PQZXVER*42"), "$PQZXVER");
    EXPECT_EQ(CheckedBody("$PQZXVER*42"),
              CheckedBody("\\s:X*" + simtest::Checksum("\\s:X") + "\\$PQZXVER*42"));
    EXPECT_EQ(CheckedBody("!PQZXNP*" + simtest::Checksum("!PQZXNP")), "!PQZXNP");
    for (const char* bad : {"$PQZXVER", "$PQZXVER*", "$PQZXVER*4", "$PQZXVER*43", "$PQZXVER*42 ",
                            "PQZXVER*42", "\\s:X*00$PQZXVER*42", ""})
        EXPECT_FALSE(CheckedBody(bad)) << bad;
}
