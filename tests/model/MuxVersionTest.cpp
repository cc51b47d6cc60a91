#include "model/MuxVersion.h"

#include <gtest/gtest.h>

using namespace kvl;

TEST(MuxVersion, ANumberCountsOnlyWhenADotFollowsIt) {
    EXPECT_EQ(ParseVersion("3.29.5"), (TMuxVersion{3, 29, 0}));
    EXPECT_EQ(ParseVersion("3.29.5.1"), (TMuxVersion{3, 29, 5}));
    EXPECT_EQ(ParseVersion("3.29"), (TMuxVersion{3, 0, 0}));
    EXPECT_EQ(ParseVersion("330"), (TMuxVersion{0, 0, 0}));
    EXPECT_EQ(ParseVersion(""), (TMuxVersion{0, 0, 0}));
}

TEST(MuxVersion, ABadNumberEndsTheParseKeepingWhatWasRead) {
    EXPECT_EQ(ParseVersion("3.x9.5.1"), (TMuxVersion{3, 0, 0}));
    EXPECT_EQ(ParseVersion("v3.30.1."), (TMuxVersion{0, 0, 0}));
    EXPECT_EQ(ParseVersion("3..1."), (TMuxVersion{3, 0, 0}));
    EXPECT_EQ(ParseVersion("99999999999.1.1."), (TMuxVersion{0, 0, 0}));
}

TEST(MuxVersion, OldestCompatibleFirmwareIs3Point29) {
    EXPECT_TRUE(IsFirmwareCompatible(ParseVersion("3.29.0")));
    EXPECT_TRUE(IsFirmwareCompatible(ParseVersion("3.30.2")));
    EXPECT_FALSE(IsFirmwareCompatible(ParseVersion("3.28.9")));
    EXPECT_TRUE(IsFirmwareCompatible(ParseVersion("4.0")));
    EXPECT_TRUE(IsFirmwareCompatible(ParseVersion("10.1")));
    EXPECT_FALSE(IsFirmwareCompatible(ParseVersion("3.29")));
    EXPECT_FALSE(IsFirmwareCompatible(ParseVersion("2.99.0")));
    EXPECT_FALSE(IsFirmwareCompatible(ParseVersion("no dots")));
}
