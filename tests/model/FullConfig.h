// Test helper: a configuration with a distinct, valid value in every field the
// configuration file keeps and every table full, in the states a loaded file
// gives (source address 255, Modbus state unknown, MOB alarm off), so that a saved
// and reloaded copy must equal it field by field.
//
// For a write-all into the simulator the same model comes without its tables and
// with the two values that only a file keeps (a one-letter talker ID, a unique ID
// with a hyphen) replaced by ones a multiplexer takes.
#pragma once

#include "model/MuxConfig.h"
#include "model/WireFormat.h"

#include <string>

namespace kvl::test {

inline std::string Digits(unsigned value, std::size_t width) {
    std::string text = FormatDec(value);
    return std::string(width - text.size(), '0') + text;
}

enum class TFill {
    FileEdges, // every table full, file-only values included
    Writable   // tables empty, every value one a multiplexer accepts
};

inline void FillFullConfig(TMuxConfig& c, TFill fill = TFill::FileEdges) {
    c.BaudIn1 = 1;
    c.BaudIn2 = 2;
    c.BaudIn3 = 4;
    c.BaudIn4Out1 = 5;
    c.BaudOut2 = 0;
    c.PrioTimeout = 4;
    c.TalkID1 = "GP";
    c.TalkID2 = "";
    c.TalkID3 = "s";
    c.TalkID4 = "II";
    c.TalkIDConv = "YX";
    c.UID = "BOAT-12";
    c.DefRouteOut1 = 0x85;
    c.DefRouteOut2 = 0x1F;
    c.ModeIn1 = 7;
    c.ModeIn2 = 1;
    c.ModeIn3 = 3;
    c.ModeIn4 = 5;
    c.ModeOut1 = 2;
    c.ModeOut2 = 1;
    c.PrioIn1 = 10;
    c.PrioIn2 = 0;
    c.PrioIn3 = 3;
    c.PrioIn4 = 2;
    c.PrioN2K = 6;
    c.Options = 0x8004A225;
    c.Conversions = 0x00001FFF;
    c.N2kOptions = 0xC0020A0F;
    c.ModbusMode = 1;
    c.ModbusSlvAddr = 247;
    c.ModbusXdrInterval = 65535;
    c.ModbusPollInterval = 255;
    c.DevFuncHost = 1;
    c.DevFuncIn1 = 33;
    c.DevFuncIn2 = 21;
    c.DevFuncIn3 = 0;
    c.DevFuncIn4 = 2;
    c.DevFuncConv = 18;
    c.DIHost = 255;
    c.DIIn1 = 1;
    c.DIIn2 = 2;
    c.DIIn3 = 3;
    c.DIIn4 = 4;
    c.DIConv = 5;
    c.DataSrcTable[0] = {'1', 0};
    c.DataSrcTable[1] = {'N', 0x1122334455667788};
    c.DataSrcTable[2] = {TDataSource::kNone, 0};
    if (fill == TFill::Writable) {
        c.TalkID3 = "S3";
        c.UID = "BOAT12";
        return;
    }
    for (unsigned i = 0; i < TMuxConfig::kMaxRoutes; ++i)
        c.RouteAdd("GP" + Digits(i, 3), static_cast<std::uint16_t>(0x81 + i),
                   static_cast<std::uint8_t>(i % 100), static_cast<std::uint16_t>(0x33 ^ i),
                   i % 3 == 0 ? TName(0xC0FFEE0000000000 + i) : TName(), 255);
    for (unsigned i = 0; i < TMuxConfig::kMaxModbus; ++i)
        c.ModbusAdd(static_cast<std::uint8_t>(1 + i), static_cast<std::uint16_t>(40000 + i),
                    i % 2 ? 'I' : 'H', "IULF"[i % 4], static_cast<std::uint8_t>(i % 2),
                    static_cast<std::uint8_t>(i % 10), "CPTU"[i % 4], "CBVP"[i % 4], "ENG" + Digits(i, 2),
                    TModbus::kStatusUnknown);
    for (unsigned i = 0; i < TMuxConfig::kMaxMob; ++i)
        c.MobAdd("97200000" + FormatDec(i), 'V');
}

} // namespace kvl::test
