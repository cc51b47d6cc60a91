#include "model/ConfigSentences.h"
#include "sentence/NmeaText.h"

#include <gtest/gtest.h>

using namespace kvl;

namespace {

// A traffic line with a TAG block naming its source, as the multiplexer sends it.
TSentence Tagged(const std::string& source, const std::string& sentence) {
    const std::string tag = "s:" + source;
    const std::string block = "\\" + tag + "*" + ChecksumHex(NmeaChecksum(tag, tag.size())) + "\\";
    return TSentence(block + sentence + "*" + ChecksumHex(NmeaChecksum(sentence, sentence.size())), "KV3SIM");
}

} // namespace

TEST(CaptureRoute, InputsJoinOneEntryRoutedToHostAndWiFi) {
    TMuxConfig config;
    CaptureRoute(Tagged("KV3SIM-1", "$GPRMC,1"), config);
    CaptureRoute(Tagged("KV3SIM-3", "$GPRMC,2"), config);
    CaptureRoute(Tagged("KV3SIM-5", "$IIMWV,3"), config);
    ASSERT_EQ(config.RoutingTable.size(), 2u);
    EXPECT_EQ(config.RoutingTable[0]->Address, "GPRMC");
    EXPECT_EQ(config.RoutingTable[0]->Inputs, 0x05);
    EXPECT_EQ(config.RoutingTable[0]->Route, 0x30);
    EXPECT_EQ(config.RoutingTable[0]->SA, 255);
    EXPECT_EQ(config.RoutingTable[1]->Inputs, 0x10); // the conversions
}

TEST(CaptureRoute, NmeaTwoThousandDevicesGetAnEntryEach) {
    TMuxConfig config;
    config.NameForSourceAddress = [](std::uint8_t sa) { return 0xC0FFEE00u + sa; };
    CaptureRoute(Tagged("KV3SIM#11", "$GPRMC,1"), config);
    CaptureRoute(Tagged("KV3SIM=18", "$GPRMC,1"), config);
    ASSERT_EQ(config.RoutingTable.size(), 2u);
    EXPECT_EQ(config.RoutingTable[0]->SA, 0x11);
    EXPECT_EQ(config.RoutingTable[0]->Inputs, 0x80);
    EXPECT_EQ(config.RoutingTable[0]->Name, TName(0xC0FFEE11u));
    EXPECT_EQ(config.RoutingTable[1]->SA, 18);
}

TEST(CaptureRoute, TheMultiplexerItselfAndAddress255GiveNoSourceBit) {
    TMuxConfig config;
    bool asked = false;
    config.NameForSourceAddress = [&](std::uint8_t) {
        asked = true;
        return std::uint64_t{1};
    };
    CaptureRoute(Tagged("KV3SIM-0", "$GPRMC,1"), config);
    CaptureRoute(Tagged("KV3SIM=255", "$GPGGA,1"), config);
    CaptureRoute(TSentence("$GPVTG,1", "KV3SIM"), config); // no source tag
    ASSERT_EQ(config.RoutingTable.size(), 3u);
    for (const auto& route : config.RoutingTable) {
        EXPECT_EQ(route->Inputs, 0);
        EXPECT_EQ(route->SA, 255);
        EXPECT_EQ(route->Name, TName());
    }
    EXPECT_FALSE(asked);
}

TEST(CaptureRoute, AddressesThatCouldNotBeStoredAreNotRecorded) {
    TMuxConfig config;
    CaptureRoute(TSentence("$GP RM,1", ""), config);
    CaptureRoute(TSentence("$,1", ""), config);
    EXPECT_TRUE(config.RoutingTable.empty());
}
