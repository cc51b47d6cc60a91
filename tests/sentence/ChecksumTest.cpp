#include "sentence/NmeaText.h"

#include <gtest/gtest.h>

using namespace kvl;

TEST(NmeaChecksum, XorsEverythingAfterTheStartCharacter) {
    // P^Q^Z^X^V^E^R = 0x50^0x51^0x5A^0x58^0x56^0x45^0x52 = 0x42
    EXPECT_EQ(NmeaChecksum("$PQZXVER", 8), 0x42);
    EXPECT_EQ(NmeaChecksum("$A", 1), 0);
    EXPECT_EQ(NmeaChecksum("$A", 0), 0);
}
