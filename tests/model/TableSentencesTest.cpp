#include "model/ConfigSentences.h"
#include "model/TableError.h"
#include "sentence/NmeaError.h"

#include "ModelSnapshot.h"

#include <gtest/gtest.h>

using namespace kvl;

namespace {

TSentence Line(const std::string& text) {
    return TSentence(text, "");
}

} // namespace

TEST(TableSentences, EntriesAreComposedAsTheMultiplexerTakesThem) {
    EXPECT_EQ(EncodeRTE(TRoute("GPRMC", 0x03, 7, 0x21, 0, 255)), "$PQZXRTE,C,GPRMC,03,7,21,0000000000000000");
    EXPECT_EQ(EncodeRTE(TRoute("IIMWV", 0x1A5, 0, 0x30, 0xC0FFEE, 17)),
              "$PQZXRTE,C,IIMWV,1A5,0,30,0000000000C0FFEE");
    EXPECT_EQ(EncodeMBEntry(TModbus(1, 100, 'H', 'F', 1, 1, 'C', 'C', "ENGINE1", 0)),
              "$PQZXMB,C,X,1,100,H,F,R,1,C,C,ENGINE1");
    // Rev stays on the wire even when the data type no longer offers it.
    EXPECT_EQ(EncodeMBEntry(TModbus(0, 0, 'H', 'I', 1, 0, 'P', 'B', "", 240)),
              "$PQZXMB,C,X,0,0,H,I,R,0,P,B,");
    EXPECT_EQ(EncodeMBEntry(TModbus(247, 65535, 'I', 'U', 0, 9, 'T', 'C', "T1", 0)),
              "$PQZXMB,C,X,247,65535,I,U,,9,T,C,T1");
    EXPECT_EQ(EncodeMOB(TMob("211234567", 'A')), "$PQZXMOB,C,211234567");
    EXPECT_EQ(EncodeMOB(TMob("", 'V')), "$PQZXMOB,C,");
}

TEST(TableSentences, TextThatWouldCutTheSentenceIsRefused) {
    EXPECT_THROW(EncodeRTE(TRoute("GP,RM", 1, 0, 1, 0, 255)), ETableEntry);
    EXPECT_THROW(EncodeRTE(TRoute("GP*RM", 1, 0, 1, 0, 255)), ETableEntry);
    EXPECT_THROW(EncodeMBEntry(TModbus(1, 1, 'H', 'I', 0, 0, 'C', 'C', "A,B", 0)), ETableEntry);
    EXPECT_THROW(EncodeMBEntry(TModbus(1, 1, 'H', 'I', 0, 0, '*', 'C', "AB", 0)), ETableEntry);
    EXPECT_THROW(EncodeMOB(TMob("2112*4567", 'V')), ETableEntry);
}

TEST(TableSentences, AModbusEntryWithoutTypeOrUnitIsNeverComposed) {
    try {
        EncodeMBEntry(TModbus(0, 0, 'H', 'I', 0, 0, 0, 0, "", 240));
        FAIL() << "composed";
    } catch (const ETableEntry& error) {
        EXPECT_STREQ(error.what(), "The Modbus entry for slave 0, register 0 has no transducer type or unit");
    }
    EXPECT_THROW(EncodeMBEntry(TModbus(0, 0, 'H', 'I', 0, 0, 'C', 0, "", 240)), ETableEntry);
}

TEST(TableSentences, RouteReportsAreAppended) {
    TMuxConfig config;
    DecodeRTE(Line("$PQZXRTE,R,GPRMC,03,,21,0000000000000000"), config);
    DecodeRTE(Line("$PQZXRTE,R,IIMWV,80,12,30,0000000000c0ffee"), config);
    DecodeRTE(Line("$PQZXRTE,R,IIHDT,80,0,30,000000000C0FFEE"), config); // fifteen digits: no NAME
    ASSERT_EQ(config.RoutingTable.size(), 3u);
    const TRoute& first = *config.RoutingTable[0];
    EXPECT_EQ(first.Address, "GPRMC");
    EXPECT_EQ(first.Inputs, 0x03);
    EXPECT_EQ(first.Divisor, 0);
    EXPECT_EQ(first.Route, 0x21);
    EXPECT_EQ(first.SA, 255);
    EXPECT_EQ(config.RoutingTable[1]->Divisor, 12);
    EXPECT_EQ(config.RoutingTable[1]->Name, TName(0xC0FFEE));
    EXPECT_EQ(config.RoutingTable[2]->Name, TName());
}

TEST(TableSentences, RouteReportsWithOddAddressesOrKindsAreIgnored) {
    TMuxConfig config;
    DecodeRTE(Line("$PQZXRTE,R,GPRM,03,,21,0000000000000000"), config);
    DecodeRTE(Line("$PQZXRTE,R,GPRMCX,03,,21,0000000000000000"), config);
    DecodeRTE(Line("$PQZXRTE,C,GPRMC,03,,21,0000000000000000"), config);
    EXPECT_TRUE(config.RoutingTable.empty());
}

TEST(TableSentences, ModbusAndMobReportsAreAppended) {
    TMuxConfig config;
    DecodeMBEntry(Line("$PQZXMB,R,X,1,100,H,F,R,1,C,C,ENGINE1,0"), config);
    DecodeMBEntry(Line("$PQZXMB,R,X,2,7,I,L,N,0,P,B,OIL,FC"), config);
    DecodeMBEntry(Line("$PQZXMB,R,M,1,5"), config); // not a table entry
    ASSERT_EQ(config.ModbusTable.size(), 2u);
    const TModbus& first = *config.ModbusTable[0];
    EXPECT_EQ(first.Slave, 1);
    EXPECT_EQ(first.Reg, 100);
    EXPECT_EQ(first.RType, 'H');
    EXPECT_EQ(first.DType, 'F');
    EXPECT_EQ(first.Rev, 1);
    EXPECT_EQ(first.Prec, 1);
    EXPECT_EQ(first.XdrType, 'C');
    EXPECT_EQ(first.XdrUnit, 'C');
    EXPECT_EQ(first.XdrID, "ENGINE1");
    EXPECT_EQ(first.Status, 0);
    EXPECT_EQ(config.ModbusTable[1]->Rev, 0);
    EXPECT_EQ(config.ModbusTable[1]->Status, 0xFC);

    DecodeMOB(Line("$PQZXMOB,R,211234567,A"), config);
    DecodeMOB(Line("$PQZXMOB,R,21123456,A"), config); // eight digits
    ASSERT_EQ(config.MOBTable.size(), 1u);
    EXPECT_EQ(config.MOBTable[0]->Status, 'A');
}

TEST(TableSentences, FullTablesDropFurtherReports) {
    TMuxConfig config;
    for (int i = 0; i < 60; ++i) {
        DecodeRTE(Line("$PQZXRTE,R,GPRMC,03,,21,0000000000000000"), config);
        DecodeMBEntry(Line("$PQZXMB,R,X,1,100,H,F,R,1,C,C,E,0"), config);
        DecodeMOB(Line("$PQZXMOB,R,211234567,V"), config);
    }
    EXPECT_EQ(config.RoutingTable.size(), 50u);
    EXPECT_EQ(config.ModbusTable.size(), 30u);
    EXPECT_EQ(config.MOBTable.size(), 8u);
}

TEST(TableSentences, FaultyReportsRaiseTheirErrorAndStoreNothing) {
    TMuxConfig config;
    test::FillDistinct(config);
    const std::string before = test::Snapshot(config);
    EXPECT_THROW(DecodeRTE(Line("$PQZXRTE,R,GPRMC,03,,21"), config), EMissingField);
    EXPECT_THROW(DecodeRTE(Line("$PQZXRTE,R,GPRMC,0G,,21,0"), config), ENumberError);
    EXPECT_THROW(DecodeRTE(Line("$PQZXRTE,R,GPRMC,03,256,21,0"), config), ENumberError);
    EXPECT_THROW(DecodeRTE(Line("$PQZXRTE,R,GPRMC,10000,1,21,0"), config), ENumberError);
    EXPECT_THROW(DecodeMBEntry(Line("$PQZXMB,R,X,1,100,H,F,R,1,,C,ENGINE1,0"), config), EFieldSize);
    EXPECT_THROW(DecodeMBEntry(Line("$PQZXMB,R,X,256,100,H,F,R,1,C,C,ENGINE1,0"), config), ENumberError);
    EXPECT_THROW(DecodeMBEntry(Line("$PQZXMB,R,X,1,100,H,F,R,1,C,C,ENGINE1"), config), EMissingField);
    EXPECT_THROW(DecodeMBEntry(Line("$PQZXMB,R,X,1,100,H,F,R,1,C,C,ENGINE1,100"), config), ENumberError);
    EXPECT_THROW(DecodeMOB(Line("$PQZXMOB,R,211234567,"), config), EFieldSize);
    EXPECT_THROW(DecodeMOB(Line("$PQZXMOB,R,211234567"), config), EMissingField);
    EXPECT_EQ(test::Snapshot(config), before);
}
