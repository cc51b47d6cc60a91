// The device's three tables: stores, their RDY answers and the dump.
#include "SimFixture.h"
#include "TableCommands.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace simtest;
using kvl::sim::DeviceConfig;
using kvl::sim::FactoryConfig;
using kvl::sim::kStoreEndGap;

namespace {

const std::string kReadyLine = OnWire("$PQZXRDY");

bool IsDeviceLine(const std::string& line) {
    return StartsWith(line, "$PQZX");
}

// The device lines that arrive within the time given.
std::vector<std::string> LinesWithin(WireClient& host, std::chrono::milliseconds time) {
    std::vector<std::string> lines;
    const auto end = std::chrono::steady_clock::now() + time;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return lines;
        const auto line = host.Next(left);
        if (!line)
            return lines;
        if (IsDeviceLine(*line))
            lines.push_back(*line);
    }
}

kvl::sim::SimOptions WithTables() {
    auto options = Quiet();
    DeviceConfig config = FactoryConfig(options.uid);
    config.routes = {{"GPRMC", 0x03, 0, 0x21, 0}, {"IIMWV", 0x80, 12, 0x30, 0xC0FFEE}};
    config.modbus = {{1, 100, 'H', 'F', true, 1, "C", "C", "ENGINE1", 0},
                     {2, 7, 'I', 'U', false, 0, "P", "B", "OIL", 0xFC}};
    config.mob = {{"211234567", 'A'}, {"972000001", 'V'}};
    options.initialConfig = config;
    return options;
}

} // namespace

TEST(Tables, TheDumpReportsEveryEntryBeforeReady) {
    TcpDevice device(WithTables());
    device.Host->Send("$PQZXCFQ");
    const auto dump = device.Host->ReadDump();
    std::vector<std::string> expected = FactoryDump();
    expected.insert(expected.end() - 1,
                    {"$PQZXRTE,R,GPRMC,03,,21,0000000000000000", "$PQZXRTE,R,IIMWV,80,12,30,0000000000C0FFEE",
                     "$PQZXMB,R,X,1,100,H,F,R,1,C,C,ENGINE1,00", "$PQZXMB,R,X,2,7,I,U,N,0,P,B,OIL,FC",
                     "$PQZXMOB,R,211234567,A", "$PQZXMOB,R,972000001,V"});
    EXPECT_EQ(dump, AllOnWire(expected));
}

TEST(Tables, ARouteStoreIsAnsweredAfterTheDeleteAndOnceAfterTheEntries) {
    TcpDevice device(WithTables());
    device.Host->Send("$PQZXRTE,C,DELETE");
    EXPECT_EQ(device.Host->WaitFor(IsDeviceLine), kReadyLine);
    EXPECT_TRUE(device.Sim.Config().routes.empty());
    device.Host->Send("$PQZXRTE,C,GPGGA,01,7,21,0000000000000000");
    device.Host->Send("$PQZXRTE,C,HCHDG,1A5,0,30,0000000000C0FFEE");
    EXPECT_EQ(LinesWithin(*device.Host, 4 * kStoreEndGap), std::vector<std::string>{kReadyLine});
    const std::vector<kvl::sim::RouteEntry> expected = {{"GPGGA", 0x01, 7, 0x21, 0},
                                                        {"HCHDG", 0x1A5, 0, 0x30, 0xC0FFEE}};
    EXPECT_EQ(device.Sim.Config().routes, expected);
}

TEST(Tables, AnEmptyStoreGetsTheDeletesReadyAndItsEnd) {
    TcpDevice device(WithTables());
    device.Host->Send("$PQZXMB,C,DELETE");
    EXPECT_EQ(device.Host->WaitFor(IsDeviceLine), kReadyLine);
    EXPECT_EQ(LinesWithin(*device.Host, 3 * kStoreEndGap), std::vector<std::string>{kReadyLine});
    EXPECT_TRUE(device.Sim.Config().modbus.empty());
}

TEST(Tables, ModbusEntriesAreStoredAsSentEvenWithoutTypeOrUnit) {
    TcpDevice device;
    device.Host->Send("$PQZXMB,C,DELETE");
    device.Host->Send("$PQZXMB,C,X,1,100,H,F,R,1,C,C,ENGINE1");
    device.Host->Send("$PQZXMB,C,X,0,0,H,I,,0,,,");
    device.Host->Send("$PQZXMB,C,X,248,0,H,I,,0,C,C,X"); // no such slave: refused
    EXPECT_EQ(LinesWithin(*device.Host, 4 * kStoreEndGap),
              (std::vector<std::string>{kReadyLine, kReadyLine}));
    const std::vector<kvl::sim::ModbusEntry> expected = {{1, 100, 'H', 'F', true, 1, "C", "C", "ENGINE1", 0},
                                                         {0, 0, 'H', 'I', false, 0, "", "", "", 0}};
    EXPECT_EQ(device.Sim.Config().modbus, expected);
    device.Host->Send("$PQZXCFQ");
    const auto dump = device.Host->ReadDump();
    EXPECT_NE(std::find(dump.begin(), dump.end(), OnWire("$PQZXMB,R,X,0,0,H,I,N,0,,,,00")), dump.end());
}

TEST(Tables, MobCommandsAreNeverAnswered) {
    TcpDevice device(WithTables());
    EXPECT_TRUE(device.Unanswered("$PQZXMOB,C,DELETE"));
    EXPECT_TRUE(device.Unanswered("$PQZXMOB,C,211234567"));
    EXPECT_TRUE(device.Unanswered("$PQZXMOB,C,21123456")); // eight digits: refused
    EXPECT_TRUE(device.Unanswered("$PQZXMOB,C,"));
    const std::vector<kvl::sim::MobEntry> expected = {{"211234567", 'V'}};
    EXPECT_EQ(device.Sim.Config().mob, expected);
}

TEST(Tables, FullTablesTakeNoMoreEntries) {
    TcpDevice device;
    for (int i = 0; i < 52; ++i) {
        device.Host->Send("$PQZXRTE,C,GP" + std::to_string(100 + i) + ",01,0,21,0000000000000000");
        device.Host->Send("$PQZXMB,C,X,1," + std::to_string(i) + ",H,I,,0,C,C,T");
        device.Host->Send("$PQZXMOB,C,97200" + std::to_string(1000 + i));
    }
    EXPECT_TRUE(device.Host->WaitFor([](const std::string& l) { return StartsWith(l, "$PQZXRDY"); }));
    const DeviceConfig config = device.Sim.Config();
    EXPECT_EQ(config.routes.size(), 50u);
    EXPECT_EQ(config.routes.back().address, "GP149");
    EXPECT_EQ(config.modbus.size(), 30u);
    EXPECT_EQ(config.mob.size(), 8u);
}

TEST(Tables, FactoryResetEmptiesTheTables) {
    TcpDevice device(WithTables());
    device.Host->Send("$PQZXRESET,1");
    device.Host->Send("$PQZXCFQ");
    EXPECT_EQ(device.Host->ReadDump(), AllOnWire(FactoryDump()));
}

TEST(Tables, ASilentTableLeavesItsStoreUnanswered) {
    auto options = WithTables();
    options.silent = {"RTE"};
    TcpDevice device(options);
    device.Host->Send("$PQZXRTE,C,DELETE");
    device.Host->Send("$PQZXRTE,C,GPGGA,01,7,21,0000000000000000");
    EXPECT_TRUE(LinesWithin(*device.Host, 3 * kStoreEndGap).empty());
    EXPECT_EQ(device.Sim.Config().routes.size(), 1u);
}

TEST(Tables, FullTablesFromTheCommandLine) {
    const auto line = kvl::sim::ParseCommandLine({"--full-tables"});
    ASSERT_TRUE(line.error.empty());
    auto options = line.options;
    options.tcpPort = 0;
    options.trafficRate = 0;
    TcpDevice device(options);
    const DeviceConfig config = device.Sim.Config();
    EXPECT_EQ(config.routes.size(), kvl::sim::kMaxRoutes);
    EXPECT_EQ(config.modbus.size(), kvl::sim::kMaxModbusEntries);
    EXPECT_EQ(config.mob.size(), kvl::sim::kMaxMobEntries);
    device.Host->Send("$PQZXCFQ");
    EXPECT_EQ(device.Host->ReadDump().size(), FactoryDump().size() + 50 + 30 + 8);
}
