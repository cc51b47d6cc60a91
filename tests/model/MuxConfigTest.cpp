#include "model/MuxConfig.h"

#include "ModelSnapshot.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kvl;

namespace {

// Counts the notifications of the three tables.
struct Listener {
    int Routing = 0;
    int Modbus = 0;
    int Mob = 0;
    void Attach(TMuxConfig& config) {
        config.OnRoutingChange = [this] { ++Routing; };
        config.OnModbusChange = [this] { ++Modbus; };
        config.OnMobChange = [this] { ++Mob; };
    }
};

void FillRoutes(TMuxConfig& config, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        ASSERT_EQ(config.RouteAdd("R" + std::to_string(i), 1, 0, 1, 0, 255), 0);
}

} // namespace

TEST(MuxConfig, StartsEmpty) {
    TMuxConfig config;
    TMuxConfig reference;
    EXPECT_EQ(config.BaudIn1, 0u);
    EXPECT_EQ(config.DIConv, 0u);
    EXPECT_TRUE(config.UID.empty());
    EXPECT_TRUE(config.RoutingTable.empty());
    EXPECT_TRUE(config.ModbusTable.empty());
    EXPECT_TRUE(config.MOBTable.empty());
    for (const TDataSource& source : config.DataSrcTable) {
        EXPECT_EQ(source.Input, 0);
        EXPECT_EQ(source.Name, TName(0));
    }
    EXPECT_FALSE(config.OnRoutingChange);
    EXPECT_FALSE(config.OnModbusChange);
    EXPECT_FALSE(config.OnMobChange);
    ASSERT_TRUE(config.NameForSourceAddress);
    EXPECT_EQ(config.NameForSourceAddress(17), 0u);
}

TEST(MuxConfig, EntryConstructorsCutTextsToTheirLength) {
    TMuxConfig config;
    config.RouteAdd("GPRMCX", 0x81, 3, 0x21, 0x55, 9);
    config.ModbusAdd(1, 2, 'I', 'U', 0, 3, 'C', 'D', "ABCDEFGHIJKLMNOPQRST", 240);
    config.MobAdd("1234567890", 'A');
    const TRoute& route = *config.RoutingTable.at(0);
    EXPECT_EQ(route.Address, "GPRMC");
    EXPECT_EQ(route.Inputs, 0x81);
    EXPECT_EQ(route.Divisor, 3);
    EXPECT_EQ(route.Route, 0x21);
    EXPECT_EQ(route.Name, TName(0x55));
    EXPECT_EQ(route.SA, 9);
    const TModbus& modbus = *config.ModbusTable.at(0);
    EXPECT_EQ(modbus.XdrID, "ABCDEFGHIJKLMNO");
    EXPECT_EQ(modbus.Status, 240);
    EXPECT_EQ(modbus.XdrUnit, 'D');
    EXPECT_EQ(config.MOBTable.at(0)->MMSI, "123456789");
    EXPECT_EQ(config.MOBTable.at(0)->Status, 'A');
}

TEST(MuxConfig, FullTablesRefuseWithTheirCodeAndStayQuiet) {
    TMuxConfig config;
    Listener listener;
    listener.Attach(config);
    FillRoutes(config, 50);
    EXPECT_EQ(config.RouteAdd("GPGGA", 1, 0, 1, 0, 255), TMuxConfig::kRoutingFull);
    EXPECT_EQ(config.RoutingTable.size(), 50u);
    EXPECT_EQ(listener.Routing, 50);

    for (int i = 0; i < 30; ++i)
        ASSERT_EQ(config.ModbusAdd(1, static_cast<std::uint16_t>(i), 'H', 'I', 0, 0, 0, 0, "", 0), 0);
    EXPECT_EQ(config.ModbusAdd(1, 99, 'H', 'I', 0, 0, 0, 0, "", 0), -2);
    EXPECT_EQ(config.ModbusTable.size(), 30u);
    EXPECT_EQ(listener.Modbus, 30);

    for (int i = 0; i < 8; ++i)
        ASSERT_EQ(config.MobAdd(std::to_string(211000000 + i), 'V'), 0);
    EXPECT_EQ(config.MobAdd("211999999", 'V'), -3);
    EXPECT_EQ(config.MOBTable.size(), 8u);
    EXPECT_EQ(listener.Mob, 8);
}

TEST(MuxConfig, EntriesStayInPlaceWhileTheTableGrows) {
    TMuxConfig config;
    config.RouteAdd("GPRMC", 1, 0, 1, 0, 255);
    const TRoute* first = config.RoutingTable[0].get();
    FillRoutes(config, 49);
    EXPECT_EQ(config.RoutingTable[0].get(), first);
}

TEST(MuxConfig, ClearsEmptyTheirTableAndNotifyOnce) {
    TMuxConfig config;
    test::FillDistinct(config);
    Listener listener;
    listener.Attach(config);
    config.RouteClear();
    config.ModbusClear();
    config.MobClear();
    EXPECT_TRUE(config.RoutingTable.empty());
    EXPECT_TRUE(config.ModbusTable.empty());
    EXPECT_TRUE(config.MOBTable.empty());
    EXPECT_EQ(listener.Routing, 1);
    EXPECT_EQ(listener.Modbus, 1);
    EXPECT_EQ(listener.Mob, 1);
}

TEST(MuxConfig, ModbusClearStatusMarksEveryEntryUnknown) {
    TMuxConfig config;
    config.ModbusAdd(1, 2, 'H', 'I', 0, 0, 0, 0, "T", 0);
    Listener listener;
    listener.Attach(config);
    config.ModbusClearStatus();
    EXPECT_EQ(config.ModbusTable[0]->Status, 240);
    EXPECT_EQ(listener.Modbus, 1);

    config.ModbusAdd(1, 3, 'H', 'I', 0, 0, 0, 0, "T", 7);
    config.ModbusAdd(1, 4, 'H', 'I', 0, 0, 0, 0, "T", 255);
    config.ModbusClearStatus();
    for (const auto& entry : config.ModbusTable)
        EXPECT_EQ(entry->Status, 240);
}

TEST(RouteCapture, SameAddressOnSeveralInputsGivesOneEntry) {
    TMuxConfig config;
    std::vector<int> asked;
    config.NameForSourceAddress = [&asked](std::uint8_t sa) -> std::uint64_t {
        asked.push_back(sa);
        return 0xDEAD;
    };
    Listener listener;
    listener.Attach(config);
    EXPECT_EQ(config.RouteCapture("GPRMC", 0x01, 255), 0);
    EXPECT_EQ(config.RouteCapture("GPRMC", 0x04, 255), 0);
    ASSERT_EQ(config.RoutingTable.size(), 1u);
    const TRoute& route = *config.RoutingTable[0];
    EXPECT_EQ(route.Address, "GPRMC");
    EXPECT_EQ(route.Inputs, 0x05);
    EXPECT_EQ(route.Divisor, 0);
    EXPECT_EQ(route.Route, 0x30);
    EXPECT_EQ(route.Name, TName(0));
    EXPECT_EQ(route.SA, 255);
    EXPECT_EQ(listener.Routing, 2);
    EXPECT_TRUE(asked.empty()) << "address 255 names no device and is never looked up";
}

TEST(RouteCapture, SameAddressFromTwoDevicesGivesTwoEntriesWithTheirNames) {
    TMuxConfig config;
    config.NameForSourceAddress = [](std::uint8_t sa) -> std::uint64_t { return 0xA000 + sa; };
    EXPECT_EQ(config.RouteCapture("GPRMC", 0x80, 17), 0);
    EXPECT_EQ(config.RouteCapture("GPRMC", 0x80, 18), 0);
    EXPECT_EQ(config.RouteCapture("GPRMC", 0x80, 17), 0);
    ASSERT_EQ(config.RoutingTable.size(), 2u);
    EXPECT_EQ(config.RoutingTable[0]->SA, 17);
    EXPECT_EQ(config.RoutingTable[0]->Name, TName(0xA011));
    EXPECT_EQ(config.RoutingTable[0]->Inputs, 0x80);
    EXPECT_EQ(config.RoutingTable[1]->SA, 18);
    EXPECT_EQ(config.RoutingTable[1]->Name, TName(0xA012));
}

TEST(RouteCapture, TheRedrawAlreadySeesTheName) {
    TMuxConfig config;
    config.NameForSourceAddress = [](std::uint8_t) -> std::uint64_t { return 0x77; };
    std::uint64_t seen = 0;
    config.OnRoutingChange = [&] { seen = config.RoutingTable.back()->Name.N; };
    config.RouteCapture("WIMWV", 0x80, 5);
    EXPECT_EQ(seen, 0x77u);
}

TEST(RouteCapture, FullTableChangesNothingEvenForAMatch) {
    TMuxConfig config;
    FillRoutes(config, 50); // "R0" ... "R49", inputs 1, SA 255
    Listener listener;
    listener.Attach(config);
    EXPECT_EQ(config.RouteCapture("R0", 0x06, 255), TMuxConfig::kRoutingFull);
    EXPECT_EQ(config.RoutingTable[0]->Inputs, 0x01);
    EXPECT_EQ(config.RoutingTable.size(), 50u);
    EXPECT_EQ(listener.Routing, 0);
}

TEST(RouteCapture, NoSourceBitsStillAddsOrNotifies) {
    TMuxConfig config;
    Listener listener;
    listener.Attach(config);
    EXPECT_EQ(config.RouteCapture("GPGGA", 0, 255), 0);
    ASSERT_EQ(config.RoutingTable.size(), 1u);
    EXPECT_EQ(config.RoutingTable[0]->Inputs, 0);
    config.RoutingTable[0]->Inputs = 0x08;
    EXPECT_EQ(config.RouteCapture("GPGGA", 0, 255), 0);
    EXPECT_EQ(config.RoutingTable.size(), 1u);
    EXPECT_EQ(config.RoutingTable[0]->Inputs, 0x08);
    EXPECT_EQ(listener.Routing, 2);
}

TEST(RouteCapture, ComparesTheFirstFiveCharactersExactly) {
    TMuxConfig config;
    config.RouteCapture("GPRMCX", 0x01, 255);
    config.RouteCapture("GPRMCY", 0x02, 255);
    config.RouteCapture("gprmc", 0x04, 255);
    ASSERT_EQ(config.RoutingTable.size(), 2u);
    EXPECT_EQ(config.RoutingTable[0]->Address, "GPRMC");
    EXPECT_EQ(config.RoutingTable[0]->Inputs, 0x03);
    EXPECT_EQ(config.RoutingTable[1]->Address, "gprmc");
}

TEST(RouteCapture, AnEmptyLookUpCountsAsNoDevice) {
    TMuxConfig config;
    config.NameForSourceAddress = nullptr;
    EXPECT_EQ(config.RouteCapture("GPRMC", 0x80, 3), 0);
    EXPECT_EQ(config.RoutingTable[0]->Name, TName(0));
}

TEST(DataSources, AddOverwritesOneEntryAndRefusesLargeNumbers) {
    TMuxConfig config;
    Listener listener;
    listener.Attach(config);
    EXPECT_EQ(config.DataSrcAdd(2, 'N', 0x1234), 0);
    EXPECT_EQ(config.DataSrcTable[2], (TDataSource{'N', 0x1234}));
    EXPECT_EQ(config.DataSrcTable[0], TDataSource{});

    const std::string before = test::Snapshot(config);
    EXPECT_EQ(config.DataSrcAdd(3, '1', 0), TMuxConfig::kDataSrcRange);
    EXPECT_EQ(config.DataSrcAdd(256, '1', 0), TMuxConfig::kDataSrcRange); // not entry 0
    EXPECT_EQ(test::Snapshot(config), before);

    config.DataSrcAdd(0, '3', 0);
    config.DataSrcClear();
    for (const TDataSource& source : config.DataSrcTable)
        EXPECT_EQ(source, TDataSource{});
    EXPECT_EQ(listener.Routing + listener.Modbus + listener.Mob, 0);
}

TEST(MuxConfig, DestructionCallsNoNotification) {
    Listener listener;
    {
        TMuxConfig config;
        test::FillDistinct(config);
        listener.Attach(config);
    }
    EXPECT_EQ(listener.Routing, 0);
    EXPECT_EQ(listener.Modbus, 0);
    EXPECT_EQ(listener.Mob, 0);
}
