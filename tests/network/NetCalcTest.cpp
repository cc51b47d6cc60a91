#include "network/records/NetCalc.h"
#include "network/records/DiscoveryTargets.h"

#include <gtest/gtest.h>

namespace kvl {
namespace {

TEST(NetCalcTest, Addresses) {
    struct Case {
        const char* Text;
        std::optional<TIPv4> Address;
    };
    const Case cases[] = {{"0.0.0.0", 0u},
                          {"192.168.1.20", 0xC0A80114u},
                          {"255.255.255.255", 0xFFFFFFFFu},
                          {"010.1.1.1", 0x0A010101u},
                          {"256.1.1.1", std::nullopt},
                          {"1.2.3", std::nullopt},
                          {"1.2.3.4.5", std::nullopt},
                          {"1..3.4", std::nullopt},
                          {"1.2.3.4 ", std::nullopt},
                          {"1.2.3.1000", std::nullopt},
                          {"-1.2.3.4", std::nullopt},
                          {"", std::nullopt}};
    for (const auto& c : cases)
        EXPECT_EQ(TNetCalc::ParseAddress(c.Text), c.Address) << c.Text;
    EXPECT_EQ(TNetCalc::FormatAddress(0xC0A80114u), "192.168.1.20");
}

TEST(NetCalcTest, MasksMustBeContiguous) {
    EXPECT_EQ(TNetCalc::PrefixLength(0xFFFFFF00u), 24u);
    EXPECT_EQ(TNetCalc::PrefixLength(0xFFFFFFFFu), 32u);
    EXPECT_EQ(TNetCalc::PrefixLength(0u), 0u);
    EXPECT_EQ(TNetCalc::PrefixLength(0xFF00FF00u), std::nullopt);
    EXPECT_EQ(TNetCalc::PrefixLength(0x7FFFFF00u), std::nullopt);
    for (unsigned prefix = 0; prefix <= 32; ++prefix)
        EXPECT_EQ(TNetCalc::PrefixLength(TNetCalc::MaskOfPrefix(prefix)), prefix);
}

TEST(DiscoveryTargetsTest, DiscoveryAddressOption) {
    EXPECT_EQ(ParseDiscoveryAddress("127.255.255.255"), (TXPortEndpoint{"127.255.255.255", 30718}));
    EXPECT_EQ(ParseDiscoveryAddress("127.255.255.255:40001"), (TXPortEndpoint{"127.255.255.255", 40001}));
    for (const char* bad : {"", "localhost", "127.0.0.1:", "127.0.0.1:0", "127.0.0.1:65536", "127.0.0.1:12a",
                            "127.0.0.1:123456", "127.0.0.1:-5"})
        EXPECT_EQ(ParseDiscoveryAddress(bad), std::nullopt) << bad;
}

TEST(DiscoveryTargetsTest, OptionValueSetsTheAddressOnlyWhenValid) {
    SetDiscoveryAddress(std::nullopt);
    EXPECT_FALSE(SetDiscoveryAddressOption("127.255.255.255:0"));
    EXPECT_FALSE(DiscoveryAddress());
    EXPECT_TRUE(SetDiscoveryAddressOption("127.255.255.255:30800"));
    EXPECT_EQ(DiscoveryAddress(), (TXPortEndpoint{"127.255.255.255", 30800}));
    SetDiscoveryAddress(std::nullopt);
}

TEST(DiscoveryTargetsTest, EveryUpBroadcastInterfaceOnceAfterTheGlobalBroadcast) {
    const std::vector<TInterfaceFacts> interfaces = {
        {true, false, {}},               // loopback: no broadcast
        {true, true, {"192.168.1.255"}}, // wired
        {false, true, {"10.0.0.255"}},   // down
        {true,
         true,
         {"172.16.255.255", "192.168.1.255", ""}}, // two entries, one shared, one without broadcast
        {true, true, {"255.255.255.255"}},
    };
    EXPECT_EQ(BroadcastTargetList(interfaces),
              (std::vector<std::string>{"255.255.255.255", "192.168.1.255", "172.16.255.255"}));
    EXPECT_EQ(BroadcastTargetList({}), (std::vector<std::string>{"255.255.255.255"}));
}

} // namespace
} // namespace kvl
