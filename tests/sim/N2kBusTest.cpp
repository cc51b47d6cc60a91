// The simulated NMEA 2000 bus: what the multiplexer forwards from its devices.
#include "N2kBus.h"
#include "SentenceFrame.h"
#include "SimFields.h"
#include "SimOptions.h"

#include <gtest/gtest.h>

using kvl::sim::DemoBus;
using kvl::sim::FrameSentence;
using kvl::sim::MakeName;
using kvl::sim::N2kBus;
using kvl::sim::N2kDevice;
using kvl::sim::TagBlock;

namespace {

std::vector<std::string> Ask(N2kBus& bus, const std::string& body) {
    const auto fields = kvl::sim::SplitFields(body);
    const std::string_view address = fields[0];
    return bus.Handle(address.substr(5), fields, "KV3SIM");
}

N2kDevice Device(std::uint8_t address, std::uint64_t name) {
    N2kDevice device;
    device.address = address;
    device.name = name;
    device.productCode = "16763";
    device.modelId = "E22158";
    device.serialCode = "S1";
    device.softwareVersion = "2.04";
    device.modelVersion = "Converter";
    return device;
}

constexpr std::uint64_t kName = 0xC0820032E3A1B2C3ull;

TEST(N2kBus, EveryDeviceClaimsItsAddressWhenAllAreAsked) {
    N2kBus bus({Device(35, kName), Device(12, kName + 1)});
    EXPECT_EQ(Ask(bus, "$PQZXNR,60928,255"),
              (std::vector<std::string>{FrameSentence("$PQZXNC,R,C0820032E3A1B2C3,35"),
                                        FrameSentence("$PQZXNC,R,C0820032E3A1B2C4,12")}));
}

TEST(N2kBus, ProductInformationComesInThreePartsTaggedWithTheAddress) {
    N2kBus bus({Device(35, kName), Device(12, kName + 1)});
    const std::string tag = TagBlock("s:KV3SIM#23");
    EXPECT_EQ(Ask(bus, "$PQZXNR,126996,35"),
              (std::vector<std::string>{tag + FrameSentence("$PQZXNP,A,0,2.100,16763,1,2"),
                                        tag + FrameSentence("$PQZXNP,B,E22158,S1"),
                                        tag + FrameSentence("$PQZXNP,C,2.04,Converter")}));
    EXPECT_TRUE(Ask(bus, "$PQZXNR,126996,99").empty());
}

TEST(N2kBus, ADeviceWithoutPartCAnswersOnlyAAndB) {
    N2kDevice device = Device(20, kName);
    device.answersPartC = false;
    N2kBus bus({device});
    EXPECT_EQ(Ask(bus, "$PQZXNR,126996,20").size(), 2u);
}

TEST(N2kBus, AMovingDeviceClaimsItsNewAddressWhenFirstAsked) {
    N2kDevice device = Device(50, kName);
    device.movesTo = 60;
    N2kBus bus({device});
    EXPECT_EQ(Ask(bus, "$PQZXNR,126996,50"),
              std::vector<std::string>{FrameSentence("$PQZXNC,R,C0820032E3A1B2C3,60")});
    EXPECT_TRUE(Ask(bus, "$PQZXNR,126996,50").empty());
    EXPECT_EQ(Ask(bus, "$PQZXNR,126996,60").size(), 3u);
}

TEST(N2kBus, AddressAndInstanceChangesAreClaimedAgain) {
    N2kBus bus({Device(40, kName)});
    EXPECT_EQ(Ask(bus, "$PQZXNI,40,4,3"),
              std::vector<std::string>{FrameSentence("$PQZXNC,R,C3820004E3A1B2C3,40")});
    EXPECT_TRUE(Ask(bus, "$PQZXNC,C,C0820032E3A1B2C3,60").empty()); // no longer its NAME
    EXPECT_EQ(Ask(bus, "$PQZXNC,C,c3820004e3a1b2c3,60"),
              std::vector<std::string>{FrameSentence("$PQZXNC,R,C3820004E3A1B2C3,60")});
    EXPECT_EQ(bus.GetDevices()[0].address, 60);
}

TEST(N2kBus, ALateDeviceClaimsItsNewInstancesOnlyWhenTheirTimeHasCome) {
    N2kDevice device = Device(40, kName);
    device.instanceChange = N2kDevice::InstanceChange::Delayed;
    N2kBus bus({device});
    const auto asked = N2kBus::Clock::now();
    EXPECT_EQ(Ask(bus, "$PQZXNI,40,4,3"),
              std::vector<std::string>{FrameSentence("$PQZXNC,R,C0820032E3A1B2C3,40")});
    EXPECT_TRUE(bus.TakeDue(asked).empty());
    EXPECT_GE(bus.NextDue(), asked + device.instanceDelay);
    EXPECT_EQ(bus.TakeDue(bus.NextDue()),
              std::vector<std::string>{FrameSentence("$PQZXNC,R,C3820004E3A1B2C3,40")});
    EXPECT_EQ(bus.NextDue(), N2kBus::Clock::time_point::max());
}

TEST(N2kBus, AStubbornDeviceKeepsItsInstances) {
    N2kDevice device = Device(40, kName);
    device.instanceChange = N2kDevice::InstanceChange::Refused;
    N2kBus bus({device});
    EXPECT_EQ(Ask(bus, "$PQZXNI,40,4,3"),
              std::vector<std::string>{FrameSentence("$PQZXNC,R,C0820032E3A1B2C3,40")});
    EXPECT_EQ(bus.NextDue(), N2kBus::Clock::time_point::max());
    EXPECT_EQ(bus.GetDevices()[0].name, kName);
}

TEST(N2kBus, BadChangesAreIgnored) {
    N2kBus bus({Device(40, kName)});
    for (const char* body :
         {"$PQZXNI,40,256,0", "$PQZXNI,40,1,16", "$PQZXNI,41,1,1", "$PQZXNC,C,C0820032E3A1B2C3,252",
          "$PQZXNC,R,C0820032E3A1B2C3,12", "$PQZXNR,126996", "$PQZXNR,x,255"})
        EXPECT_TRUE(Ask(bus, body).empty()) << body;
    EXPECT_EQ(bus.GetDevices()[0].name, kName);
}

TEST(N2kBus, NamesAreBuiltFromTheirParts) {
    const std::uint64_t name = MakeName(0x054321, 229, 1, 130, 120, 2);
    EXPECT_EQ(name & 0x1FFFFF, 0x054321u);
    EXPECT_EQ((name >> 21) & 0x7FF, 229u);
    EXPECT_EQ((name >> 32) & 0xFF, 1u);
    EXPECT_EQ((name >> 40) & 0xFF, 130u);
    EXPECT_EQ((name >> 56) & 0x0F, 2u);
}

TEST(N2kOptions, TheDemoBusAndSingleDevicesAreChosenOnTheCommandLine) {
    auto line = kvl::sim::ParseCommandLine({"--n2k-bus", "demo"});
    EXPECT_EQ(line.error, "");
    EXPECT_EQ(line.options.n2kBus.size(), DemoBus().size());
    line = kvl::sim::ParseCommandLine({"--n2k-device", "12:C0820032E3A1B2C3:1769:DST810:Sensor:ab"});
    ASSERT_EQ(line.error, "");
    ASSERT_EQ(line.options.n2kBus.size(), 1u);
    EXPECT_EQ(line.options.n2kBus[0].address, 12);
    EXPECT_EQ(line.options.n2kBus[0].name, kName);
    EXPECT_FALSE(line.options.n2kBus[0].answersPartC);
    line = kvl::sim::ParseCommandLine({"--n2k-device", "12:C0820032E3A1B2C3:1:M:V:late", "--n2k-device",
                                       "13:C0820032E3A1B2C4:1:M:V:ab:fixed"});
    ASSERT_EQ(line.error, "");
    EXPECT_EQ(line.options.n2kBus[0].instanceChange, N2kDevice::InstanceChange::Delayed);
    EXPECT_EQ(line.options.n2kBus[1].instanceChange, N2kDevice::InstanceChange::Refused);
    EXPECT_FALSE(line.options.n2kBus[1].answersPartC);
    for (const char* bad : {"252:C0820032E3A1B2C3:1:M:V", "12:C08200:1:M:V", "12:C0820032E3A1B2C3:1:M",
                            "12:C0820032E3A1B2C3:1:M,X:V", "12:C0820032E3A1B2C3:1:M:V:slow"})
        EXPECT_NE(kvl::sim::ParseCommandLine({"--n2k-device", bad}).error, "") << bad;
    EXPECT_NE(kvl::sim::ParseCommandLine({"--n2k-bus", "big"}).error, "");
}

TEST(N2kBus, TheDemoBusHoldsTheConverterAndTheAwkwardDevices) {
    const auto bus = DemoBus();
    const auto has = [&](auto predicate) { return std::any_of(bus.begin(), bus.end(), predicate); };
    EXPECT_TRUE(
        has([](const N2kDevice& d) { return ((d.name >> 21) & 0x7FF) == 1851 && d.productCode == "16763"; }));
    EXPECT_TRUE(has([](const N2kDevice& d) { return !d.answersPartC; }));
    EXPECT_TRUE(has([](const N2kDevice& d) { return d.movesTo.has_value(); }));
    EXPECT_TRUE(
        has([](const N2kDevice& d) { return d.instanceChange == N2kDevice::InstanceChange::Delayed; }));
    EXPECT_TRUE(
        has([](const N2kDevice& d) { return d.instanceChange == N2kDevice::InstanceChange::Refused; }));
}

} // namespace
