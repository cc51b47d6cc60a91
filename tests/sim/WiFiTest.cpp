// The WiFi access point of the Korvelan-3Wi, seen from a host on TCP.
#include "SimFixture.h"

#include <gtest/gtest.h>

using namespace simtest;

namespace {

kvl::sim::SimOptions WiFiModel() {
    auto options = Quiet();
    options.identity.caps = "A003";
    options.identity.serial = "K3W-00815";
    return options;
}

} // namespace

TEST(WiFi, QueryReportsTheFactoryAccessPoint) {
    TcpDevice device(WiFiModel());
    EXPECT_EQ(device.Ask("$PQZXWI,Q"), OnWire("$PQZXWI,AP,Korvelan-K3W-00815,Tarnwick,6"));
}

TEST(WiFi, WriteIsAnsweredWithTheNewSettings) {
    TcpDevice device(WiFiModel());
    EXPECT_EQ(device.Ask("$PQZXWI,W,Harbour#1,longenough,11"), OnWire("$PQZXWI,AP,Harbour#1,longenough,11"));
    EXPECT_EQ(device.Ask("$PQZXWI,W,Harbour,longenough,0"), OnWire("$PQZXWI,AP,Harbour,longenough,11"));
    EXPECT_EQ(device.Ask("$PQZXWI,A"), OnWire("$PQZXWI,AP,Korvelan-K3W-00815,Tarnwick,6"));
}

TEST(WiFi, RefusesWhatTheAccessPointCannotTake) {
    TcpDevice device(WiFiModel());
    for (const char* bad :
         {"$PQZXWI,W,,longenough,1", "$PQZXWI,W,Harbour,short,1", "$PQZXWI,W,Harbour,longenough,12",
          "$PQZXWI,W,Harbour,longenough", "$PQZXWI,W,123456789012345678901234567890123,longenough,1"})
        EXPECT_TRUE(device.Unanswered(bad)) << bad;
}

TEST(WiFi, OtherModelsDoNotKnowTheSentence) {
    TcpDevice device;
    EXPECT_TRUE(device.Unanswered("$PQZXWI,Q"));
}
