// The device side of the configuration protocol, seen from a host on TCP.
#include "SimFixture.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace simtest;
using kvl::sim::DeviceConfig;
using kvl::sim::FactoryConfig;

namespace {

bool IsHex(const std::string& text) {
    if (text.empty())
        return false;
    for (const char c : text)
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
    return true;
}

} // namespace

TEST(Version, AnswersWithFourFieldsAndTheCapabilityWord) {
    TcpDevice device;
    ASSERT_TRUE(device.Settled);
    EXPECT_EQ(device.Ask("$PQZXVER"), OnWire("$PQZXVER,3.30.2,Korvelan-3N (simulator),K3N-20417,A010"));
    const auto fields = FieldsOf(device.Host->Seen().back());
    ASSERT_EQ(fields.size(), 5u);
    EXPECT_EQ(fields[4].size(), 4u);
    EXPECT_TRUE(IsHex(fields[4]));
}

TEST(Version, IdentityComesFromTheOptionsAsGiven) {
    auto options = Quiet();
    options.identity.version = "3.28.9";
    options.identity.device = "Korvelan-3E";
    options.identity.serial = "E-0001";
    options.identity.caps = "A01"; // three characters: a malformed word on purpose
    TcpDevice device(options);
    EXPECT_EQ(device.Ask("$PQZXVER"), OnWire("$PQZXVER,3.28.9,Korvelan-3E (simulator),E-0001,A01"));
}

TEST(Dump, HoldsEverySettingInItsLayoutAndEndsWithReady) {
    TcpDevice device;
    device.Host->Send("$PQZXCFQ");
    const auto dump = device.Host->ReadDump();
    EXPECT_EQ(dump, AllOnWire(FactoryDump()));

    // Field counts including the address, as the host's decoders expect them.
    const std::map<std::string, std::set<std::size_t>> counts{
        {"$PQZXCF", {4}},  {"$PQZXSP", {7}},    {"$PQZXID", {7}}, {"$PQZXUI", {3}},
        {"$PQZXDR", {6}},  {"$PQZXIN", {6}},    {"$PQZXPR", {7}}, {"$PQZXOP", {3}},
        {"$PQZXCNV", {3}}, {"$PQZXNO", {3}},    {"$PQZXNF", {8}}, {"$PQZXNA", {8}},
        {"$PQZXND", {8}},  {"$PQZXDS", {4, 5}}, {"$PQZXMB", {5}}, {"$PQZXRDY", {1}}};
    std::set<std::string> seen;
    for (const auto& line : dump) {
        EXPECT_TRUE(ChecksumsRight(line)) << line;
        const auto fields = FieldsOf(line);
        ASSERT_TRUE(counts.contains(fields[0])) << line;
        EXPECT_TRUE(counts.at(fields[0]).contains(fields.size())) << line;
        if (fields.size() > 1 && fields[0] != "$PQZXRDY") {
            EXPECT_EQ(fields[1], "R") << line;
        }
        seen.insert(fields[0]);
    }
    EXPECT_EQ(seen.size(), counts.size());
    ASSERT_FALSE(dump.empty());
    EXPECT_EQ(dump.back(), OnWire("$PQZXRDY"));
    EXPECT_EQ(device.Host->BadLineEnds(), 0u);
}

TEST(Dump, WithoutNmea2000LeavesOutItsDeviceSettings) {
    auto options = Quiet();
    options.identity.caps = "A000";
    TcpDevice device(options);
    device.Host->Send("$PQZXCFQ");
    std::vector<std::string> expected;
    for (const auto& body : FactoryDump())
        if (!StartsWith(body, "$PQZXNF") && !StartsWith(body, "$PQZXNA") && !StartsWith(body, "$PQZXND"))
            expected.push_back(body);
    EXPECT_EQ(device.Host->ReadDump(), AllOnWire(expected));
}

TEST(Dump, StartsFromTheGivenConfiguration) {
    auto options = Quiet();
    DeviceConfig config = FactoryConfig("BOAT42");
    config.talkerId = {"GP", "", "II", "", "XY"};
    config.sourceAddress = {10, kvl::sim::kNoAddress, 12, 13, 14, 251};
    config.dataSource[1] = {'N', 0x00A1B2C3D4E5F607ull};
    config.dataSource[2] = {'4', 0};
    options.initialConfig = config;
    TcpDevice device(options);
    device.Host->Send("$PQZXCFQ");
    const auto dump = device.Host->ReadDump();
    auto has = [&](const std::string& body) {
        return std::find(dump.begin(), dump.end(), OnWire(body)) != dump.end();
    };
    EXPECT_TRUE(has("$PQZXID,R,GP,,II,,XY"));
    EXPECT_TRUE(has("$PQZXUI,R,BOAT42"));
    EXPECT_TRUE(has("$PQZXNA,R,10,-,12,13,14,251"));
    EXPECT_TRUE(has("$PQZXDS,R,1,N,00A1B2C3D4E5F607"));
    EXPECT_TRUE(has("$PQZXDS,R,2,4"));
    EXPECT_EQ(device.Sim.Config(), config);
}

TEST(Commands, EachValidChangeIsAnsweredWithItsReportAndKept) {
    TcpDevice device;
    ASSERT_TRUE(device.Settled);
    // In order: later answers include the earlier changes of the same sentence.
    const std::vector<std::pair<std::string, std::string>> cases{
        {"$PQZXCF,C,3,4", "$PQZXCF,R,3,4"},
        {"$PQZXSP,C,1,2,3,4,5", "$PQZXSP,R,1,2,3,4,5"},
        {"$PQZXID,C,GP,II,,AB,X9", "$PQZXID,R,GP,II,,AB,X9"},
        {"$PQZXUI,C,Boat12", "$PQZXUI,R,Boat12"},
        {"$PQZXDR,C,85,1,00,0", "$PQZXDR,R,85,1,00,0"},
        {"$PQZXDR,C,9f,2,1a,1", "$PQZXDR,R,9F,2,1A,1"},
        {"$PQZXIN,C,7,5,4,3", "$PQZXIN,R,7,5,4,3"},
        {"$PQZXPR,C,10,6,1,0,6", "$PQZXPR,R,10,6,1,0,6"},
        {"$PQZXOP,C,00000204", "$PQZXOP,R,00000204"},
        {"$PQZXCNV,C,00001FFF", "$PQZXCNV,R,00001FFF"},
        {"$PQZXNO,C,c0020000", "$PQZXNO,R,C0020000"},
        {"$PQZXNF,C,33,0,1,2,3,4", "$PQZXNF,R,33,0,1,2,3,4"},
        {"$PQZXNA,C,0,251,255,12,13,14", "$PQZXNA,R,0,251,-,12,13,14"},
        {"$PQZXND,C,255,0,1,2,3,4", "$PQZXND,R,255,0,1,2,3,4"},
        {"$PQZXDS,C,1,N,00A1B2C3D4E5F607", "$PQZXDS,R,1,N,00A1B2C3D4E5F607"},
        {"$PQZXDS,C,0,3", "$PQZXDS,R,0,3"},
        {"$PQZXDS,C,2,N,0000000000000000", "$PQZXDS,R,2,N,0000000000000000"},
        {"$PQZXDS,C,2", "$PQZXDS,R,2,0"},
        {"$PQZXMB,C,M,2", "$PQZXMB,R,M,2,1"},
        {"$PQZXMB,C,S,247", "$PQZXMB,R,M,2,247"},
        {"$PQZXMB,C,R,65535,255", "$PQZXMB,R,R,65535,255"},
    };
    for (const auto& [command, answer] : cases)
        EXPECT_EQ(device.Ask(command), OnWire(answer)) << command;

    device.Host->Send("$PQZXCFQ");
    EXPECT_EQ(device.Host->ReadDump(),
              AllOnWire({"$PQZXCF,R,3,4", "$PQZXSP,R,1,2,3,4,5", "$PQZXID,R,GP,II,,AB,X9", "$PQZXUI,R,Boat12",
                         "$PQZXDR,R,9F,2,1A,1", "$PQZXIN,R,7,5,4,3", "$PQZXPR,R,10,6,1,0,6",
                         "$PQZXOP,R,00000204", "$PQZXCNV,R,00001FFF", "$PQZXNO,R,C0020000",
                         "$PQZXNF,R,33,0,1,2,3,4", "$PQZXNA,R,0,251,-,12,13,14", "$PQZXND,R,255,0,1,2,3,4",
                         "$PQZXDS,R,0,3", "$PQZXDS,R,1,N,00A1B2C3D4E5F607", "$PQZXDS,R,2,0",
                         "$PQZXMB,R,M,2,247", "$PQZXMB,R,R,65535,255", "$PQZXRDY"}));

    const DeviceConfig config = device.Sim.Config();
    EXPECT_EQ(config.prioTimeout, 4);
    EXPECT_EQ(config.baud, (std::array<std::uint8_t, 5>{1, 2, 3, 4, 5}));
    EXPECT_EQ(config.talkerId, (std::array<std::string, 5>{"GP", "II", "", "AB", "X9"}));
    EXPECT_EQ(config.uid, "Boat12");
    EXPECT_EQ(config.defRouteOut1, 0x9F);
    EXPECT_EQ(config.modeOut1, 2);
    EXPECT_EQ(config.defRouteOut2, 0x1A);
    EXPECT_EQ(config.modeOut2, 1);
    EXPECT_EQ(config.options, 0x204u);
    EXPECT_EQ(config.n2kOptions, 0xC0020000u);
    EXPECT_EQ(config.sourceAddress, (std::array<std::uint8_t, 6>{0, 251, kvl::sim::kNoAddress, 12, 13, 14}));
    EXPECT_EQ(config.dataSource[1], (kvl::sim::DataSource{'N', 0x00A1B2C3D4E5F607ull}));
    EXPECT_EQ(config.dataSource[0].type, '3');
    EXPECT_EQ(config.dataSource[2].type, '0');
    EXPECT_EQ(config.modbusMode, 2);
    EXPECT_EQ(config.modbusSlaveAddress, 247);
    EXPECT_EQ(config.modbusXdrInterval, 65535);
    EXPECT_EQ(config.modbusPollInterval, 255);
}

TEST(Commands, InvalidOnesAreIgnoredWithoutAnswer) {
    TcpDevice device;
    ASSERT_TRUE(device.Settled);
    const std::vector<std::string> invalid{"$PQZXCF,C,3,6",
                                           "$PQZXCF,C,2,1",
                                           "$PQZXCF,C,3",
                                           "$PQZXCF,C,3,1,1",
                                           "$PQZXCF,R,3,1",
                                           "$PQZXCF,C,3,x",
                                           "$PQZXSP,C,1,2,3,4,6",
                                           "$PQZXSP,C,1,2,3,4",
                                           "$PQZXSP,C,1,2,3,4,5,0",
                                           "$PQZXSP,C,-1,2,3,4,5",
                                           "$PQZXSP,C, 1,2,3,4,5",
                                           "$PQZXSP,C,,2,3,4,5",
                                           "$PQZXSP,X,1,2,3,4,5",
                                           "$PQZXID,C,GPS,,,,",
                                           "$PQZXID,C,GP,,,",
                                           "$PQZXUI,C,ABCDEFGHIJKLM",
                                           "$PQZXUI,C,A,B",
                                           "$PQZXDR,C,9F,3,1F,0",
                                           "$PQZXDR,C,9F,1,1F",
                                           "$PQZXDR,C,G0,1,1F,0",
                                           "$PQZXDR,C,9,1,1F,0",
                                           "$PQZXDR,C,100,1,1F,0",
                                           "$PQZXDR,C,9F,01,1F,0",
                                           "$PQZXIN,C,8,0,0,0",
                                           "$PQZXIN,C,0,6,0,0",
                                           "$PQZXIN,C,0,0,0",
                                           "$PQZXPR,C,11,0,0,0,0",
                                           "$PQZXPR,C,0,0,0,0,7",
                                           "$PQZXOP,C,0000002",
                                           "$PQZXOP,C,000000020",
                                           "$PQZXOP,C,0000002G",
                                           "$PQZXOP,C,",
                                           "$PQZXCNV,C,1234567",
                                           "$PQZXNO,C,XYZ00000",
                                           "$PQZXNF,C,34,0,0,0,0,0",
                                           "$PQZXNF,C,0,0,0,0,0",
                                           "$PQZXNA,C,252,0,0,0,0,0",
                                           "$PQZXNA,C,-,0,0,0,0,0",
                                           "$PQZXNA,C,256,0,0,0,0,0",
                                           "$PQZXND,C,256,0,0,0,0,0",
                                           "$PQZXND,C,0,0,0,0,0,0,0",
                                           "$PQZXDS,C,3,1",
                                           "$PQZXDS,C,0,5",
                                           "$PQZXDS,C,0,N",
                                           "$PQZXDS,C,0,N,123",
                                           "$PQZXDS,C,0,N,00A1B2C3D4E5F6071",
                                           "$PQZXDS,C,0,1,00A1B2C3D4E5F607",
                                           "$PQZXDS,C,0,X,00A1B2C3D4E5F607",
                                           "$PQZXDS,C,0,",
                                           "$PQZXDS,C",
                                           "$PQZXMB,C,M,3",
                                           "$PQZXMB,C,S,0",
                                           "$PQZXMB,C,S,248",
                                           "$PQZXMB,C,R,0,10",
                                           "$PQZXMB,C,R,65536,10",
                                           "$PQZXMB,C,R,100,256",
                                           "$PQZXMB,C,R,100",
                                           "$PQZXMB,C,Z,1",
                                           "$PQZXMB,C",
                                           "$PQZXVER,1",
                                           "$PQZXCFQ,1",
                                           "$PQZXXY,C,1",
                                           "$PQZX",
                                           "$GPGLL,1"};
    for (const auto& command : invalid) {
        const DeviceConfig before = device.Sim.Config();
        EXPECT_TRUE(device.Unanswered(command)) << command;
        DeviceConfig after = device.Sim.Config();
        after.uid = before.uid; // the probe's own change
        EXPECT_EQ(after, before) << command;
    }
}

TEST(Commands, ModelWithoutNmea2000RefusesWhatOnlyThatModelHas) {
    auto options = Quiet();
    options.identity.caps = "A001";
    TcpDevice device(options);
    for (const std::string command : {"$PQZXIN,C,7,0,0,0", "$PQZXPR,C,5,0,0,0,0", "$PQZXNF,C,0,0,0,0,0,0",
                                      "$PQZXNA,C,1,2,3,4,5,6", "$PQZXND,C,1,2,3,4,5,6", "$PQZXNA,Q"})
        EXPECT_TRUE(device.Unanswered(command)) << command;
    EXPECT_EQ(device.Ask("$PQZXIN,C,6,0,0,0"), OnWire("$PQZXIN,R,6,0,0,0"));
    EXPECT_EQ(device.Ask("$PQZXPR,C,4,3,2,1,0"), OnWire("$PQZXPR,R,4,3,2,1,0"));
    EXPECT_EQ(device.Ask("$PQZXNO,C,00000001"), OnWire("$PQZXNO,R,00000001"));
}

TEST(Commands, QueriesReportOneSetting) {
    TcpDevice device;
    EXPECT_EQ(device.Ask("$PQZXSP,Q"), OnWire("$PQZXSP,R,0,0,0,3,0"));
    EXPECT_EQ(device.Ask("$PQZXNA,Q"), OnWire("$PQZXNA,R,34,35,36,37,38,39"));
    EXPECT_EQ(device.Ask("$PQZXDS,Q,2"), OnWire("$PQZXDS,R,2,0"));
    EXPECT_EQ(device.Ask("$PQZXMB,Q,R"), OnWire("$PQZXMB,R,R,100,10"));
}

TEST(Commands, KeepAliveAndFactoryResetAreNotAnswered) {
    TcpDevice device;
    EXPECT_TRUE(device.Unanswered("$PQZXCF,A"));
    EXPECT_EQ(device.Ask("$PQZXSP,C,5,5,5,5,5"), OnWire("$PQZXSP,R,5,5,5,5,5"));
    EXPECT_EQ(device.Ask("$PQZXOP,C,00000004"), OnWire("$PQZXOP,R,00000004"));
    EXPECT_TRUE(device.Unanswered("$PQZXRESET,1"));
    EXPECT_EQ(device.Sim.Config().baud, FactoryConfig("KV3SIM").baud);

    device.Host->Send("$PQZXSP,C,5,5,5,5,5");
    EXPECT_TRUE(device.Host->WaitForPrefix("$PQZXSP,R,5"));
    device.Host->Send("$PQZXCF,A");
    device.Host->Send("$PQZXRESET,1");
    device.Host->Send("$PQZXCFQ");
    // Nothing before the dump: neither the keep-alive nor the reset is answered,
    // and the reset brought back every factory setting, the unique ID included.
    EXPECT_EQ(device.Host->ReadDump(), AllOnWire(FactoryDump()));
    EXPECT_EQ(device.Sim.Config(), FactoryConfig("KV3SIM"));
}

TEST(Checksums, OnlyLinesWithTheRightChecksumAreActedOn) {
    TcpDevice device;
    const std::string body = "$PQZXSP,C,4,4,4,4,4";
    device.Host->SendRaw("$PQZXSP,C,1,1,1,1,1*00\r\n");              // wrong
    device.Host->SendRaw("$PQZXSP,C,2,2,2,2,2\r\n");                 // none
    device.Host->SendRaw("$PQZXSP,C,3,3,3,3,3*\r\n");                // empty
    device.Host->SendRaw(Framed(body).insert(body.size() + 3, "X")); // text after the digits
    EXPECT_TRUE(device.Unanswered("$GPGLL,1"));
    EXPECT_EQ(device.Sim.Config().baud, (std::array<std::uint8_t, 5>{0, 0, 0, 3, 0}));

    // Lower-case digits are as good as upper-case ones.
    std::string uid;
    for (int i = 0; uid.empty(); ++i)
        if (Checksum("$PQZXUI,C,LOW" + std::to_string(i)).find_first_of("ABCDEF") != std::string::npos)
            uid = "LOW" + std::to_string(i);
    std::string lower = Framed("$PQZXUI,C," + uid);
    for (std::size_t i = lower.find('*'); i < lower.size(); ++i)
        lower[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(lower[i])));
    device.Host->SendRaw(lower);
    EXPECT_EQ(device.Host->WaitForPrefix("$PQZX"), OnWire("$PQZXUI,R," + uid));

    // A command behind a TAG block of the host's own.
    const std::string tag = "\\s:HOST*" + Checksum("\\s:HOST") + "\\";
    device.Host->SendRaw(tag + Framed("$PQZXVER"));
    EXPECT_EQ(device.Host->WaitForPrefix("$PQZX"),
              OnWire("$PQZXVER,3.30.2,Korvelan-3N (simulator),K3N-20417,A010"));
}

TEST(Reports, Nmea2000AddressesComeAfterEachConnection) {
    TcpDevice device;
    ASSERT_TRUE(device.Settled);
    EXPECT_EQ(device.Host->Seen(), AllOnWire({"$PQZXNA,R,34,35,36,37,38,39", "$PQZXND,R,0,0,0,0,0,0"}));

    auto second = WireClient::Tcp(device.Sim.TcpPort());
    EXPECT_EQ(second->WaitForPrefix("$PQZX"), OnWire("$PQZXNA,R,34,35,36,37,38,39"));
    EXPECT_EQ(second->WaitForPrefix("$PQZX"), OnWire("$PQZXND,R,0,0,0,0,0,0"));
}

TEST(Reports, OwnLinesCarryTheDeviceTagWhileTagBlocksAreOnAndAddressesFollowAReset) {
    TcpDevice device;
    ASSERT_TRUE(device.Settled);
    device.Host->Send("$PQZXOP,C,00000020");
    const std::string tag = "\\s:KV3SIM-0*" + Checksum("\\s:KV3SIM-0") + "\\";
    EXPECT_EQ(
        device.Host->WaitFor([](const std::string& l) { return l.find("$PQZXOP") != std::string::npos; }),
        tag + OnWire("$PQZXOP,R,00000020"));
    device.Host->Send("$PQZXSP,C,1,1,1,1,1");
    EXPECT_EQ(
        device.Host->WaitFor([](const std::string& l) { return l.find("$PQZXSP") != std::string::npos; }),
        tag + OnWire("$PQZXSP,R,1,1,1,1,1"));
    // The factory settings bring the factory addresses back, and the device says so
    // (without a TAG block now: the option is off at the factory).
    device.Host->Send("$PQZXNA,C,1,2,3,4,5,6");
    EXPECT_TRUE(device.Host->WaitFor(
        [](const std::string& l) { return l.find("$PQZXNA,R,1,2") != std::string::npos; }));
    device.Host->Send("$PQZXRESET,1");
    EXPECT_EQ(device.Host->WaitForPrefix("$PQZXNA"), OnWire("$PQZXNA,R,34,35,36,37,38,39"));
    EXPECT_EQ(device.Host->WaitForPrefix("$PQZXND"), OnWire("$PQZXND,R,0,0,0,0,0,0"));
}

TEST(Reports, StatisticsEverySecondWhileSwitchedOn) {
    auto options = Quiet();
    options.trafficRate = 20;
    TcpDevice device(options);
    device.Host->Send("$PQZXSTAT,C,1");
    for (int report = 0; report < 2; ++report) {
        const auto line = device.Host->WaitForPrefix("$PQZXSTAT,R,");
        ASSERT_TRUE(line) << report;
        EXPECT_TRUE(ChecksumsRight(*line));
        const auto fields = FieldsOf(*line);
        ASSERT_EQ(fields.size(), 8u) << *line;
        for (std::size_t i = 2; i < 8; ++i) {
            ASSERT_FALSE(fields[i].empty());
            EXPECT_EQ(fields[i].find_first_not_of("0123456789"), std::string::npos) << *line;
            const unsigned long value = std::stoul(fields[i]);
            EXPECT_LE(value, i == 2 ? 20736ul : 100ul) << *line;
        }
    }
    EXPECT_TRUE(device.Unanswered("$PQZXSTAT,C,0"));
    // Once the switch-off is through, no report may follow.
    const auto late = device.Host->WaitForPrefix("$PQZXSTAT", 2500ms);
    EXPECT_FALSE(late) << *late;
}

TEST(Reports, OverflowOnRequestOfTheSimulatorSentence) {
    TcpDevice device;
    EXPECT_EQ(device.Ask("$PSIMOV,3"), OnWire("$PQZXOV,3"));
    EXPECT_EQ(device.Ask("$PSIMOV,2"), OnWire("$PQZXOV,2"));
    EXPECT_TRUE(device.Unanswered("$PSIMOV,XY"));
    EXPECT_TRUE(device.Unanswered("$PSIMOV"));
}

TEST(Reports, OverflowEveryFewMillisecondsCyclesThroughBothOutputs) {
    auto options = Quiet();
    options.overflowEveryMs = 50;
    TcpDevice device(options);
    std::vector<std::string> reports;
    while (reports.size() < 4) {
        const auto line = device.Host->WaitForPrefix("$PQZXOV,");
        ASSERT_TRUE(line);
        reports.push_back(*line);
    }
    // Whatever report the connection started with, the turn goes 1, 2, 3.
    const std::vector<std::string> turn = AllOnWire({"$PQZXOV,1", "$PQZXOV,2", "$PQZXOV,3"});
    const auto first = std::find(turn.begin(), turn.end(), reports[0]);
    ASSERT_NE(first, turn.end()) << reports[0];
    for (std::size_t i = 1; i < reports.size(); ++i)
        EXPECT_EQ(reports[i], turn[(static_cast<std::size_t>(first - turn.begin()) + i) % 3]);
}

TEST(ReceivedLines, AreRecordedExactlyAndCanBeAwaited) {
    TcpDevice device;
    const std::size_t from = device.Sim.ReceivedCount();
    device.Host->SendRaw("$PQZXVER*42\r\n$GPGLL,1*5B\r\nnoise\r\n$PQZXSP,C,1*7A\r\n");
    const auto line = device.Sim.WaitForReceived(
        [](const std::string& l) { return StartsWith(l, "$PQZXSP"); }, kWait, from);
    EXPECT_EQ(line, "$PQZXSP,C,1*7A");
    const auto lines = device.Sim.ReceivedLines();
    ASSERT_GE(lines.size(), from + 3);
    EXPECT_EQ(std::vector<std::string>(lines.begin() + static_cast<long>(from),
                                       lines.begin() + static_cast<long>(from) + 3),
              (std::vector<std::string>{"$PQZXVER*42", "$GPGLL,1*5B", "$PQZXSP,C,1*7A"}));
    EXPECT_EQ(device.Sim.ReceivedCount(), from + 3);
    // A line received before `from` is not found again.
    EXPECT_FALSE(
        device.Sim.WaitForReceived([](const std::string& l) { return l == "$PQZXVER*42"; }, 50ms, from + 1));
}
