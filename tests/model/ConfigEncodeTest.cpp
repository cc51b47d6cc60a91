#include "model/ConfigError.h"
#include "model/ConfigSentences.h"
#include "model/OptionBits.h"
#include "sentence/NmeaText.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

using namespace kvl;

TEST(EncodeWords, OptionWordsTakeEightUpperCaseDigits) {
    TMuxConfig config;
    SetBit(config.Options, kOptRawST, true);
    SetBit(config.Options, kOptTagBlocks, true);
    SetBit(config.Options, kOptAISMobAlarm, true);
    EXPECT_EQ(EncodeOP(config), "$PQZXOP,C,00000224");

    config.Conversions = 0x1ABC;
    EXPECT_EQ(EncodeCNV(config), "$PQZXCNV,C,00001ABC");

    SetBit(config.N2kOptions, kN2kConvUnknownPGNs, true);
    SetBit(config.N2kOptions, kN2kConvAllPGNs, true);
    SetBit(config.N2kOptions, kN2kTxRMC, true);
    EXPECT_EQ(EncodeNO(config), "$PQZXNO,C,C0000001");

    config.N2kOptions = 0;
    EXPECT_EQ(EncodeNO(config), "$PQZXNO,C,00000000");
}

TEST(EncodeDR, RouteWordsInHexAndHostDataModes) {
    TMuxConfig config;
    SetBit(config.DefRouteOut1, kDefRouteIn1, true);
    SetBit(config.DefRouteOut1, kDefRouteIn3, true);
    SetBit(config.DefRouteOut1, kDefRouteN2K, true);
    config.ModeOut1 = 1; // "Yes"
    config.ModeOut2 = 0; // "No"
    EXPECT_EQ(EncodeDR(config), "$PQZXDR,C,85,1,00,0");

    config.DefRouteOut1 = 0x1F;
    config.DefRouteOut2 = 0xAB;
    config.ModeOut2 = 2;
    EXPECT_EQ(EncodeDR(config), "$PQZXDR,C,1F,1,AB,2");
}

TEST(EncodeDecimals, ValuesInTheOrderOfTheSentence) {
    TMuxConfig config;
    config.PrioTimeout = 4; // "10 sec."
    EXPECT_EQ(EncodeCF(config), "$PQZXCF,C,3,4");

    config.BaudIn1 = 0;
    config.BaudIn2 = 1;
    config.BaudIn3 = 2;
    config.BaudIn4Out1 = 3;
    config.BaudOut2 = 5;
    EXPECT_EQ(EncodeSP(config), "$PQZXSP,C,0,1,2,3,5");

    config.ModeIn1 = 7;
    config.ModeIn2 = 5;
    config.ModeIn3 = 0;
    config.ModeIn4 = 2;
    EXPECT_EQ(EncodeIN(config), "$PQZXIN,C,7,5,0,2");

    config.PrioIn1 = 10;
    config.PrioIn2 = 0;
    config.PrioIn3 = 1;
    config.PrioIn4 = 4;
    config.PrioN2K = 6;
    EXPECT_EQ(EncodePR(config), "$PQZXPR,C,10,0,1,4,6");

    config.DevFuncHost = 1;
    config.DevFuncIn1 = 21;
    config.DevFuncIn2 = 0;
    config.DevFuncIn3 = 33;
    config.DevFuncIn4 = 4;
    config.DevFuncConv = 18;
    EXPECT_EQ(EncodeNF(config), "$PQZXNF,C,1,21,0,33,4,18");

    config.SAHost = 255;
    config.SAIn1 = 0;
    config.SAIn2 = 12;
    config.SAIn3 = 251;
    config.SAIn4 = 100;
    config.SAConv = 7;
    EXPECT_EQ(EncodeNA(config), "$PQZXNA,C,255,0,12,251,100,7");

    config.DIHost = 0;
    config.DIIn1 = 1;
    config.DIIn2 = 2;
    config.DIIn3 = 3;
    config.DIIn4 = 4;
    config.DIConv = 255;
    EXPECT_EQ(EncodeND(config), "$PQZXND,C,0,1,2,3,4,255");
}

TEST(EncodeMB, ModeSlaveAndIntervals) {
    TMuxConfig config;
    config.ModbusMode = 2;
    config.ModbusSlvAddr = 247;
    config.ModbusXdrInterval = 65535;
    config.ModbusPollInterval = 10;
    EXPECT_EQ(EncodeMBMode(config), "$PQZXMB,C,M,2");
    EXPECT_EQ(EncodeMBSlave(config), "$PQZXMB,C,S,247");
    EXPECT_EQ(EncodeMBIntervals(config), "$PQZXMB,C,R,65535,10");
}

TEST(EncodeDS, FormFollowsTheSourceType) {
    TMuxConfig config;
    EXPECT_EQ(EncodeDS(config, 0), "$PQZXDS,C,0");
    config.DataSrcTable[0].Input = '0';
    EXPECT_EQ(EncodeDS(config, 0), "$PQZXDS,C,0");
    config.DataSrcTable[1] = {'3', 0x1234}; // the NAME stays behind, unused
    EXPECT_EQ(EncodeDS(config, 1), "$PQZXDS,C,1,3");
    config.DataSrcTable[2] = {'N', 0x00A1B2C3D4E5F607ull};
    EXPECT_EQ(EncodeDS(config, 2), "$PQZXDS,C,2,N,00A1B2C3D4E5F607");
    config.DataSrcTable[2].Name = 0;
    EXPECT_EQ(EncodeDS(config, 2), "$PQZXDS,C,2,N,0000000000000000");
    config.DataSrcTable[2].Input = '5';
    EXPECT_EQ(EncodeDS(config, 2), "$PQZXDS,C,2");
    EXPECT_THROW(EncodeDS(config, 3), std::out_of_range);
}

TEST(EncodeID, TalkerIDsIncludingEmptyOnes) {
    TMuxConfig config;
    EXPECT_EQ(EncodeID(config), "$PQZXID,C,,,,,");
    config.TalkID1 = "GP";
    config.TalkID2 = "II";
    config.TalkID4 = "A9";
    config.TalkIDConv = "YX";
    EXPECT_EQ(EncodeID(config), "$PQZXID,C,GP,II,,A9,YX");
}

TEST(EncodeID, RefusesOnlyTextThatWouldBreakTheSentence) {
    for (const char* bad : {"G,", "G*", "G$", "G!", "G\\", "G\r", "G\n", "\xC4G"}) {
        for (std::string TMuxConfig::*field : {&TMuxConfig::TalkID1, &TMuxConfig::TalkIDConv}) {
            TMuxConfig config;
            config.*field = bad;
            try {
                const std::string text = EncodeID(config);
                ADD_FAILURE() << "composed " << text << " from " << bad;
            } catch (const ETalkerID& e) {
                EXPECT_STREQ(e.what(), kMsgTalkerIDIllegal) << bad;
            }
        }
    }
    // What the device itself reported goes back unchanged, editor rules or not.
    TMuxConfig config;
    config.TalkID1 = "g";
    config.TalkID2 = "PG";
    config.TalkID3 = "GPS";
    EXPECT_EQ(EncodeID(config), "$PQZXID,C,g,PG,GPS,,");
}

TEST(EncodeUI, UniqueIDGoesBackUnlessItWouldBreakTheSentence) {
    TMuxConfig config;
    EXPECT_EQ(EncodeUI(config), "$PQZXUI,C,");
    for (const char* reported : {"AB12cd", "KVL-1", "ABCDEF1234567"}) {
        config.UID = reported;
        EXPECT_EQ(EncodeUI(config), std::string("$PQZXUI,C,") + reported);
    }
    for (const char* bad : {"AB,1", "AB*1", "AB\\1", "AB$1", "AB\r"}) {
        config.UID = bad;
        EXPECT_THROW(EncodeUI(config), EUniqueID) << bad;
    }
}

TEST(EncodeFixed, SentencesWithoutModelValues) {
    EXPECT_EQ(kConfigQuery, "$PQZXCFQ");
    EXPECT_EQ(kConfigKeepAlive, "$PQZXCF,A");
    EXPECT_EQ(kFactoryReset, "$PQZXRESET,1");
}
