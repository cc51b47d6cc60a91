#include "model/TableStore.h"
#include "model/TableError.h"

#include <gtest/gtest.h>

using namespace kvl;
using TKind = TStoreStep::TKind;

TEST(TableStore, ARouteStoreDeletesSendsEachEntry5msApartAndWaitsForReadyOnce) {
    TMuxConfig config;
    config.RouteAdd("GPRMC", 0x03, 7, 0x21, 0, 255);
    config.RouteAdd("IIMWV", 0x80, 0, 0x30, 0xC0FFEE, 17);
    const TStorePlan expected = {{TKind::SendAndWaitReady, "$PQZXRTE,C,DELETE", 0},
                                 {TKind::Send, "$PQZXRTE,C,GPRMC,03,7,21,0000000000000000", 0},
                                 {TKind::Pause, "", 5},
                                 {TKind::Send, "$PQZXRTE,C,IIMWV,80,0,30,0000000000C0FFEE", 0},
                                 {TKind::Pause, "", 5},
                                 {TKind::WaitReady, "", 0}};
    EXPECT_EQ(RouteStorePlan(config), expected);
}

TEST(TableStore, AnEmptyStoreWaitsForTheEndOfTheStoreWithoutRequiringIt) {
    TMuxConfig config;
    EXPECT_EQ(RouteStorePlan(config), (TStorePlan{{TKind::SendAndWaitReady, "$PQZXRTE,C,DELETE", 0},
                                                  {TKind::WaitReadyIfAny, "", 0}}));
    EXPECT_EQ(ModbusStorePlan(config),
              (TStorePlan{{TKind::SendAndWaitReady, "$PQZXMB,C,DELETE", 0}, {TKind::WaitReadyIfAny, "", 0}}));
}

TEST(TableStore, AModbusStoreSendsEveryEntry) {
    TMuxConfig config;
    config.ModbusAdd(1, 100, 'H', 'F', 1, 1, 'C', 'C', "ENGINE1", 0);
    const TStorePlan expected = {{TKind::SendAndWaitReady, "$PQZXMB,C,DELETE", 0},
                                 {TKind::Send, "$PQZXMB,C,X,1,100,H,F,R,1,C,C,ENGINE1", 0},
                                 {TKind::Pause, "", 5},
                                 {TKind::WaitReady, "", 0}};
    EXPECT_EQ(ModbusStorePlan(config), expected);
}

TEST(TableStore, AMobStoreWaitsForNothing) {
    TMuxConfig config;
    for (const char* mmsi : {"211234567", "972000001", "972000002"})
        config.MobAdd(mmsi, 'V');
    const TStorePlan expected = {{TKind::Send, "$PQZXMOB,C,DELETE", 0},    {TKind::Pause, "", 100},
                                 {TKind::Send, "$PQZXMOB,C,211234567", 0}, {TKind::Pause, "", 5},
                                 {TKind::Send, "$PQZXMOB,C,972000001", 0}, {TKind::Pause, "", 5},
                                 {TKind::Send, "$PQZXMOB,C,972000002", 0}, {TKind::Pause, "", 5}};
    EXPECT_EQ(MobStorePlan(config), expected);
}

TEST(TableStore, AnEntryThatCannotBeSentStopsTheStoreBeforeItStarts) {
    TMuxConfig config;
    config.ModbusAdd(1, 100, 'H', 'F', 1, 1, 'C', 'C', "ENGINE1", 0);
    config.ModbusAdd(0, 0, 'H', 'I', 0, 0, 0, 0, "", 240); // a fresh entry: no type, no unit
    try {
        ModbusStorePlan(config);
        FAIL() << "the fresh entry was accepted";
    } catch (const ETableEntry& e) {
        EXPECT_EQ(e.Row, 1);
        EXPECT_STREQ(e.what(),
                     "Row 2: The Modbus entry for slave 0, register 0 has no transducer type or unit");
    }
}
