#include "model/ConfigSentences.h"
#include "sentence/NmeaError.h"
#include "sentence/NmeaText.h"

#include "ModelSnapshot.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace kvl;

namespace {

TSentence Line(const std::string& text) {
    return TSentence(text, "");
}

// The line as the multiplexer sends it, with its checksum.
TSentence WithChecksum(const std::string& text) {
    return TSentence(text + '*' + ChecksumHex(NmeaChecksum(text, text.size())), "");
}

using TDecoder = void (*)(const TSentence&, TMuxConfig&);

} // namespace

TEST(DecodeReports, NumbersGoIntoTheirFields) {
    TMuxConfig config;
    DecodeCF(Line("$PQZXCF,R,,5"), config);
    EXPECT_EQ(config.PrioTimeout, 5u);

    DecodeSP(WithChecksum("$PQZXSP,R,0,1,2,3,5"), config);
    EXPECT_EQ(config.BaudIn1, 0u);
    EXPECT_EQ(config.BaudIn2, 1u);
    EXPECT_EQ(config.BaudIn3, 2u);
    EXPECT_EQ(config.BaudIn4Out1, 3u);
    EXPECT_EQ(config.BaudOut2, 5u);

    DecodeIN(Line("$PQZXIN,R,6,1,2,5"), config);
    EXPECT_EQ(config.ModeIn1, 6u);
    EXPECT_EQ(config.ModeIn2, 1u);
    EXPECT_EQ(config.ModeIn3, 2u);
    EXPECT_EQ(config.ModeIn4, 5u);

    DecodePR(Line("$PQZXPR,R,10,0,1,4,6"), config);
    EXPECT_EQ(config.PrioIn1, 10u);
    EXPECT_EQ(config.PrioIn2, 0u);
    EXPECT_EQ(config.PrioIn3, 1u);
    EXPECT_EQ(config.PrioIn4, 4u);
    EXPECT_EQ(config.PrioN2K, 6u);

    DecodeNF(Line("$PQZXNF,R,1,21,0,40,4,18"), config);
    EXPECT_EQ(config.DevFuncHost, 1u);
    EXPECT_EQ(config.DevFuncIn1, 21u);
    EXPECT_EQ(config.DevFuncIn2, 0u);
    EXPECT_EQ(config.DevFuncIn3, 40u); // kept although the selector has no such item
    EXPECT_EQ(config.DevFuncIn4, 4u);
    EXPECT_EQ(config.DevFuncConv, 18u);

    DecodeND(Line("$PQZXND,R,0,1,2,3,4,255"), config);
    EXPECT_EQ(config.DIHost, 0u);
    EXPECT_EQ(config.DIIn1, 1u);
    EXPECT_EQ(config.DIIn4, 4u);
    EXPECT_EQ(config.DIConv, 255u);
}

TEST(DecodeNA, DashMeansNoAddress) {
    TMuxConfig config;
    DecodeNA(Line("$PQZXNA,R,-,12,13,-,15,16"), config);
    EXPECT_EQ(config.SAHost, 255u);
    EXPECT_EQ(config.SAIn1, 12u);
    EXPECT_EQ(config.SAIn2, 13u);
    EXPECT_EQ(config.SAIn3, 255u);
    EXPECT_EQ(config.SAIn4, 15u);
    EXPECT_EQ(config.SAConv, 16u);
}

TEST(DecodeWords, HexInEitherCase) {
    TMuxConfig config;
    DecodeOP(Line("$PQZXOP,R,00000224"), config);
    EXPECT_EQ(config.Options, 0x224u);
    DecodeOP(Line("$PQZXOP,R,8000abCD"), config);
    EXPECT_EQ(config.Options, 0x8000ABCDu);
    DecodeCNV(Line("$PQZXCNV,R,1fff"), config);
    EXPECT_EQ(config.Conversions, 0x1FFFu);
    DecodeNO(WithChecksum("$PQZXNO,R,C0000001"), config);
    EXPECT_EQ(config.N2kOptions, 0xC0000001u);
}

TEST(DecodeDR, RouteWordsHexModesDecimal) {
    TMuxConfig config;
    DecodeDR(Line("$PQZXDR,R,85,1,00,0"), config);
    EXPECT_EQ(config.DefRouteOut1, 0x85u);
    EXPECT_EQ(config.ModeOut1, 1u);
    EXPECT_EQ(config.DefRouteOut2, 0u);
    EXPECT_EQ(config.ModeOut2, 0u);
    DecodeDR(Line("$PQZXDR,R,8f,2,A0,10"), config);
    EXPECT_EQ(config.DefRouteOut1, 0x8Fu);
    EXPECT_EQ(config.ModeOut1, 2u);
    EXPECT_EQ(config.DefRouteOut2, 0xA0u);
    EXPECT_EQ(config.ModeOut2, 10u);
}

TEST(DecodeID, OverLongTalkerIDsKeepTheOldValue) {
    TMuxConfig config;
    test::FillDistinct(config); // A1 B2 C3 D4 E5
    DecodeID(Line("$PQZXID,R,GP,,II,GPS,X"), config);
    EXPECT_EQ(config.TalkID1, "GP");
    EXPECT_EQ(config.TalkID2, "");
    EXPECT_EQ(config.TalkID3, "II");
    EXPECT_EQ(config.TalkID4, "D4");
    EXPECT_EQ(config.TalkIDConv, "X");
}

TEST(DecodeUI, AtMostTwelveCharacters) {
    TMuxConfig config;
    DecodeUI(Line("$PQZXUI,R,ABCDEF123456"), config);
    EXPECT_EQ(config.UID, "ABCDEF123456");
    DecodeUI(Line("$PQZXUI,R,ABCDEF1234567"), config);
    EXPECT_EQ(config.UID, "ABCDEF123456");
    DecodeUI(Line("$PQZXUI,R,"), config);
    EXPECT_EQ(config.UID, "");
}

TEST(DecodeDS, SourcesInputsAndNames) {
    TMuxConfig config;
    config.DataSrcTable[1] = {'2', 0x55};
    DecodeDS(Line("$PQZXDS,R,1,N,123"), config);
    EXPECT_EQ(config.DataSrcTable[1], (TDataSource{'N', 0}));

    DecodeDS(Line("$PQZXDS,R,0,N,00a1B2c3D4e5F607"), config);
    EXPECT_EQ(config.DataSrcTable[0], (TDataSource{'N', 0x00A1B2C3D4E5F607ull}));

    DecodeDS(Line("$PQZXDS,R,2,4,0123456789ABCDEF"), config);
    EXPECT_EQ(config.DataSrcTable[2], (TDataSource{'4', 0}));

    // Unset, however the device words it, is the one "none".
    DecodeDS(Line("$PQZXDS,R,2,0"), config);
    EXPECT_EQ(config.DataSrcTable[2], (TDataSource{TDataSource::kNone, 0}));
}

TEST(DecodeDS, NumbersAboveTwoChangeNothing) {
    TMuxConfig config;
    test::FillDistinct(config);
    const std::string before = test::Snapshot(config);
    DecodeDS(Line("$PQZXDS,R,3,1"), config);
    DecodeDS(Line("$PQZXDS,R,256,1"), config); // not source 0
    DecodeDS(Line("$PQZXDS,R,4294967295,2"), config);
    EXPECT_EQ(test::Snapshot(config), before);
}

TEST(DecodeMB, ModeAndIntervalsWithOptionalLastField) {
    TMuxConfig config;
    config.ModbusSlvAddr = 17;
    config.ModbusPollInterval = 33;
    DecodeMB(Line("$PQZXMB,R,M,2"), config);
    EXPECT_EQ(config.ModbusMode, 2u);
    EXPECT_EQ(config.ModbusSlvAddr, 0u);
    DecodeMB(Line("$PQZXMB,R,R,100"), config);
    EXPECT_EQ(config.ModbusXdrInterval, 100u);
    EXPECT_EQ(config.ModbusPollInterval, 10u);
    DecodeMB(Line("$PQZXMB,R,M,1,247"), config);
    EXPECT_EQ(config.ModbusMode, 1u);
    EXPECT_EQ(config.ModbusSlvAddr, 247u);
    DecodeMB(Line("$PQZXMB,R,R,65535,25"), config);
    EXPECT_EQ(config.ModbusXdrInterval, 65535u);
    EXPECT_EQ(config.ModbusPollInterval, 25u);
}

TEST(DecodeMB, OtherKindsAreLeftAlone) {
    TMuxConfig config;
    test::FillDistinct(config);
    const std::string before = test::Snapshot(config);
    DecodeMB(Line("$PQZXMB,R,X,1,1,100,H,F,0,2,P,B,PRESS,0"), config);
    DecodeMB(Line("$PQZXMB,R,S,5"), config);
    DecodeMB(Line("$PQZXMB,R,,5"), config);
    DecodeMB(Line("$PQZXMB,R,m,5"), config);
    EXPECT_EQ(test::Snapshot(config), before);
}

TEST(DecodeReports, OnlyKindRIsRead) {
    const TDecoder decoders[] = {DecodeCF, DecodeSP, DecodeID, DecodeUI,  DecodeDR,
                                 DecodeIN, DecodePR, DecodeOP, DecodeCNV, DecodeNO,
                                 DecodeNF, DecodeNA, DecodeND, DecodeDS,  DecodeMB};
    // Fields that every decoder could read, were the kind right.
    for (const char* kind : {"C", "Q", "A", "r", "", "RR"}) {
        const TSentence sentence = Line(std::string("$PQZXXX,") + kind + ",1,1,1,1,1,1");
        for (const TDecoder decode : decoders) {
            TMuxConfig config;
            test::FillDistinct(config);
            const std::string before = test::Snapshot(config);
            EXPECT_NO_THROW(decode(sentence, config));
            EXPECT_EQ(test::Snapshot(config), before) << "kind " << kind;
        }
    }
    // A report without its kind field lacks a field like any short report.
    for (const TDecoder decode : decoders) {
        TMuxConfig config;
        const std::string before = test::Snapshot(config);
        EXPECT_THROW(decode(Line("$PQZXSP"), config), EMissingField);
        EXPECT_EQ(test::Snapshot(config), before);
    }
}

namespace {

enum class TFault { Missing, Number, Size };

struct TBadReport {
    TDecoder Decode;
    const char* Line;
    TFault Fault;
};

void ExpectFault(const TBadReport& bad, TMuxConfig& config) {
    const TSentence sentence = Line(bad.Line);
    switch (bad.Fault) {
    case TFault::Missing:
        EXPECT_THROW(bad.Decode(sentence, config), EMissingField) << bad.Line;
        break;
    case TFault::Number:
        EXPECT_THROW(bad.Decode(sentence, config), ENumberError) << bad.Line;
        break;
    case TFault::Size:
        EXPECT_THROW(bad.Decode(sentence, config), EFieldSize) << bad.Line;
        break;
    }
}

} // namespace

TEST(DecodeReports, ABadFieldLeavesTheModelWhollyUnchanged) {
    const TBadReport reports[] = {
        {DecodeCF, "$PQZXCF,R,3", TFault::Missing},
        {DecodeCF, "$PQZXCF,R,3,x", TFault::Number},
        {DecodeSP, "$PQZXSP,R,0,1,2,3", TFault::Missing},
        {DecodeSP, "$PQZXSP,R,0,1,x,3,4", TFault::Number},
        {DecodeSP, "$PQZXSP,R,0,1,2,3,-1", TFault::Number},
        {DecodeSP, "$PQZXSP,R,0,1,2,3,+1", TFault::Number},
        {DecodeSP, "$PQZXSP,R,0,1,2, 3,4", TFault::Number},
        {DecodeSP, "$PQZXSP,R,0,1,2,3,4294967296", TFault::Number},
        {DecodeID, "$PQZXID,R,GP,II,SD,YX", TFault::Missing},
        {DecodeUI, "$PQZXUI,R", TFault::Missing},
        {DecodeDR, "$PQZXDR,R,85,1,00", TFault::Missing},
        {DecodeDR, "$PQZXDR,R,85,1,0G,0", TFault::Number},
        {DecodeDR, "$PQZXDR,R,85,A,00,0", TFault::Number}, // modes are read as decimal
        {DecodeIN, "$PQZXIN,R,0,1,2", TFault::Missing},
        {DecodeIN, "$PQZXIN,R,0,1,2,", TFault::Number},
        {DecodePR, "$PQZXPR,R,0,1,2,3", TFault::Missing},
        {DecodePR, "$PQZXPR,R,0,1,2,3,DI", TFault::Number},
        {DecodeOP, "$PQZXOP,R", TFault::Missing},
        {DecodeOP, "$PQZXOP,R,0000022G", TFault::Number},
        {DecodeOP, "$PQZXOP,R,", TFault::Number},
        {DecodeOP, "$PQZXOP,R,0x10", TFault::Number},
        {DecodeOP, "$PQZXOP,R,100000000", TFault::Number},
        {DecodeCNV, "$PQZXCNV,R,ZZ", TFault::Number},
        {DecodeNO, "$PQZXNO,R", TFault::Missing},
        {DecodeNF, "$PQZXNF,R,1,2,3,4,5", TFault::Missing},
        {DecodeNF, "$PQZXNF,R,1,2,3,4,5,-", TFault::Number},
        {DecodeNA, "$PQZXNA,R,-,12,13,-,15", TFault::Missing},
        {DecodeNA, "$PQZXNA,R,-,12,13,-,15,300", TFault::Number},
        {DecodeNA, "$PQZXNA,R,-,12,13,--,15,16", TFault::Number},
        {DecodeNA, "$PQZXNA,R,-,12,13,,15,16", TFault::Number},
        {DecodeND, "$PQZXND,R,0,1,2,3,4", TFault::Missing},
        {DecodeND, "$PQZXND,R,0,1,2,3,4,256", TFault::Number},
        {DecodeDS, "$PQZXDS,R,1", TFault::Missing},
        {DecodeDS, "$PQZXDS,R,1,N", TFault::Missing},
        {DecodeDS, "$PQZXDS,R,1,,0123456789ABCDEF", TFault::Size},
        {DecodeDS, "$PQZXDS,R,x,1", TFault::Number},
        {DecodeDS, "$PQZXDS,R,1,N,0123456789ABCDEG", TFault::Number},
        {DecodeMB, "$PQZXMB,R", TFault::Missing},
        {DecodeMB, "$PQZXMB,R,M", TFault::Missing},
        {DecodeMB, "$PQZXMB,R,M,2,x", TFault::Number},
        {DecodeMB, "$PQZXMB,R,R,x,10", TFault::Number},
        {DecodeMB, "$PQZXMB,R,R,100,", TFault::Number},
    };
    for (const TBadReport& bad : reports) {
        TMuxConfig config;
        test::FillDistinct(config);
        const std::string before = test::Snapshot(config);
        ExpectFault(bad, config);
        EXPECT_EQ(test::Snapshot(config), before) << bad.Line;
    }
}

TEST(DecodeReports, WhatTheEncodersComposeReadsBackUnchanged) {
    TMuxConfig sent;
    test::FillDistinct(sent);
    sent.TalkID1 = "GP";
    sent.TalkID2 = "";
    sent.TalkID3 = "II";
    sent.TalkID4 = "A9";
    sent.TalkIDConv = "YX";
    sent.UID = "KVL3abc";
    sent.ModeOut1 = 2; // host data modes go out as one hex digit and come back decimal
    sent.ModeOut2 = 1;
    sent.SAIn2 = 255;
    sent.DIConv = 200;
    sent.DataSrcTable[0] = {'N', 0x00A1B2C3D4E5F607ull};
    sent.DataSrcTable[1] = {'3', 0};
    sent.DataSrcTable[2] = {'4', 0};
    sent.RouteClear();
    sent.ModbusClear();
    sent.MobClear();

    TMuxConfig read;
    const auto report = [](std::string text) {
        text.replace(text.find(",C,"), 3, ",R,");
        return TSentence(text, "");
    };
    DecodeCF(report(EncodeCF(sent)), read);
    DecodeSP(report(EncodeSP(sent)), read);
    DecodeID(report(EncodeID(sent)), read);
    DecodeUI(report(EncodeUI(sent)), read);
    DecodeDR(report(EncodeDR(sent)), read);
    DecodeIN(report(EncodeIN(sent)), read);
    DecodePR(report(EncodePR(sent)), read);
    DecodeOP(report(EncodeOP(sent)), read);
    DecodeCNV(report(EncodeCNV(sent)), read);
    DecodeNO(report(EncodeNO(sent)), read);
    DecodeNF(report(EncodeNF(sent)), read);
    DecodeNA(report(EncodeNA(sent)), read);
    DecodeND(report(EncodeND(sent)), read);
    for (unsigned n = 0; n < 3; ++n)
        DecodeDS(report(EncodeDS(sent, n)), read);
    DecodeMB(report(EncodeMBMode(sent)), read);
    DecodeMB(report(EncodeMBIntervals(sent)), read);
    read.ModbusSlvAddr = sent.ModbusSlvAddr; // the M report of a mode change carries no address
    EXPECT_EQ(test::Snapshot(read), test::Snapshot(sent));
}
