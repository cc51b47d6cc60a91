#include "model/TableCells.h"

#include <gtest/gtest.h>

using namespace kvl;

TEST(TableCells, RouteCellsCommitTheirFields) {
    TRoute route("GPRMC", 1, 5, 1, 0, 255);
    EXPECT_EQ(RouteCellText(route, kRouteColDivisor), "5");
    EXPECT_EQ(CommitRouteCell(route, kRouteColSentence, "IIMWV"), "");
    EXPECT_EQ(route.Address, "IIMWV");
    EXPECT_EQ(CommitRouteCell(route, kRouteColDivisor, ""), ""); // no number: none
    EXPECT_EQ(route.Divisor, 0);
    EXPECT_EQ(RouteCellText(route, kRouteColDivisor), "");
    EXPECT_EQ(CommitRouteCell(route, kRouteColDivisor, "42"), "");
    EXPECT_EQ(route.Divisor, 42);
}

TEST(TableCells, TextThatCannotBeSentIsRefusedAndTheFieldKept) {
    TRoute route("GPRMC", 1, 0, 1, 0, 255);
    for (const char* bad : {"GP,RM", "GP*RM", "GP RM", "GPRM"})
        EXPECT_NE(CommitRouteCell(route, kRouteColSentence, bad), "") << bad;
    EXPECT_EQ(route.Address, "GPRMC");

    TModbus entry(1, 100, 'H', 'I', 0, 0, 'C', 'C', "ENGINE1", 0);
    for (const char* bad : {"A,B", "A*B"})
        EXPECT_NE(CommitModbusCell(entry, kModbusColXdrID, bad), "") << bad;
    EXPECT_EQ(entry.XdrID, "ENGINE1");

    TMob mob("211234567", 'V');
    for (const char* bad : {"21123456", "21123456 ", "2112345*7"})
        EXPECT_NE(CommitMobCell(mob, kMobColMMSI, bad), "") << bad;
    EXPECT_EQ(mob.MMSI, "211234567");
    EXPECT_EQ(CommitMobCell(mob, kMobColMMSI, "972000001"), "");
    EXPECT_EQ(mob.MMSI, "972000001");
}

TEST(TableCells, ModbusNumbersAreCheckedBeforeTheyAreNarrowed) {
    TModbus entry(1, 100, 'H', 'I', 0, 0, 'C', 'C', "ENGINE1", 0);
    EXPECT_EQ(CommitModbusCell(entry, kModbusColSlave, ""), "'' is not a valid integer value");
    EXPECT_EQ(CommitModbusCell(entry, kModbusColSlave, "300"), "'300' is out of range (0-247)");
    EXPECT_EQ(CommitModbusCell(entry, kModbusColReg, "70000"), "'70000' is out of range (0-65535)");
    EXPECT_EQ(entry.Slave, 1);
    EXPECT_EQ(entry.Reg, 100);
    EXPECT_EQ(CommitModbusCell(entry, kModbusColSlave, "247"), "");
    EXPECT_EQ(CommitModbusCell(entry, kModbusColReg, "65535"), "");
    EXPECT_EQ(CommitModbusCell(entry, kModbusColPrec, "9"), "");
    EXPECT_EQ(entry.Slave, 247);
    EXPECT_EQ(entry.Reg, 65535);
    EXPECT_EQ(entry.Prec, 9);
}

TEST(TableCells, TypeAndUnitTakeOneLetterAndEmptyTextKeepsThem) {
    TModbus entry(1, 100, 'H', 'I', 0, 0, 'C', 'C', "ENGINE1", 0);
    EXPECT_EQ(CommitModbusCell(entry, kModbusColXdrType, "P"), "");
    EXPECT_EQ(CommitModbusCell(entry, kModbusColXdrUnit, "b"), "");
    EXPECT_EQ(CommitModbusCell(entry, kModbusColXdrType, ""), "");
    EXPECT_NE(CommitModbusCell(entry, kModbusColXdrUnit, "*"), "");
    EXPECT_EQ(entry.XdrType, 'P');
    EXPECT_EQ(entry.XdrUnit, 'b');
    EXPECT_EQ(ModbusCellText(entry, kModbusColXdrUnit), "b");
}
