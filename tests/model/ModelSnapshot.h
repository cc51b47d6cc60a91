// Test helpers: a model with a distinct value in every field, and a text image of
// every field, so a test can tell that a decoder left the model wholly unchanged.
#pragma once

#include "model/MuxConfig.h"

#include <string>

namespace kvl::test {

inline void FillDistinct(TMuxConfig& c) {
    std::uint32_t next = 101;
    for (std::uint32_t* field : {&c.BaudIn1,
                                 &c.BaudIn2,
                                 &c.BaudIn3,
                                 &c.BaudIn4Out1,
                                 &c.BaudOut2,
                                 &c.PrioTimeout,
                                 &c.DefRouteOut1,
                                 &c.DefRouteOut2,
                                 &c.ModeIn1,
                                 &c.ModeIn2,
                                 &c.ModeIn3,
                                 &c.ModeIn4,
                                 &c.ModeOut1,
                                 &c.ModeOut2,
                                 &c.PrioIn1,
                                 &c.PrioIn2,
                                 &c.PrioIn3,
                                 &c.PrioIn4,
                                 &c.PrioN2K,
                                 &c.Options,
                                 &c.Conversions,
                                 &c.N2kOptions,
                                 &c.ModbusMode,
                                 &c.ModbusSlvAddr,
                                 &c.ModbusXdrInterval,
                                 &c.ModbusPollInterval,
                                 &c.DevFuncHost,
                                 &c.DevFuncIn1,
                                 &c.DevFuncIn2,
                                 &c.DevFuncIn3,
                                 &c.DevFuncIn4,
                                 &c.DevFuncConv,
                                 &c.SAHost,
                                 &c.SAIn1,
                                 &c.SAIn2,
                                 &c.SAIn3,
                                 &c.SAIn4,
                                 &c.SAConv,
                                 &c.DIHost,
                                 &c.DIIn1,
                                 &c.DIIn2,
                                 &c.DIIn3,
                                 &c.DIIn4,
                                 &c.DIConv})
        *field = next++;
    c.TalkID1 = "A1";
    c.TalkID2 = "B2";
    c.TalkID3 = "C3";
    c.TalkID4 = "D4";
    c.TalkIDConv = "E5";
    c.UID = "OLDUID";
    c.DataSrcTable[0] = {'1', 0};
    c.DataSrcTable[1] = {'N', 0x1122334455667788};
    c.DataSrcTable[2] = {'4', 0x99};
    c.RouteAdd("GPRMC", 0x81, 2, 0x21, 0x1234, 17);
    c.ModbusAdd(3, 4000, 'H', 'F', 1, 2, 'P', 'B', "PRESS", 0);
    c.MobAdd("211234567", 'V');
}

inline std::string Snapshot(const TMuxConfig& c) {
    std::string s;
    for (std::uint32_t value : {c.BaudIn1,
                                c.BaudIn2,
                                c.BaudIn3,
                                c.BaudIn4Out1,
                                c.BaudOut2,
                                c.PrioTimeout,
                                c.DefRouteOut1,
                                c.DefRouteOut2,
                                c.ModeIn1,
                                c.ModeIn2,
                                c.ModeIn3,
                                c.ModeIn4,
                                c.ModeOut1,
                                c.ModeOut2,
                                c.PrioIn1,
                                c.PrioIn2,
                                c.PrioIn3,
                                c.PrioIn4,
                                c.PrioN2K,
                                c.Options,
                                c.Conversions,
                                c.N2kOptions,
                                c.ModbusMode,
                                c.ModbusSlvAddr,
                                c.ModbusXdrInterval,
                                c.ModbusPollInterval,
                                c.DevFuncHost,
                                c.DevFuncIn1,
                                c.DevFuncIn2,
                                c.DevFuncIn3,
                                c.DevFuncIn4,
                                c.DevFuncConv,
                                c.SAHost,
                                c.SAIn1,
                                c.SAIn2,
                                c.SAIn3,
                                c.SAIn4,
                                c.SAConv,
                                c.DIHost,
                                c.DIIn1,
                                c.DIIn2,
                                c.DIIn3,
                                c.DIIn4,
                                c.DIConv})
        s += std::to_string(value) + ',';
    for (const std::string* text : {&c.TalkID1, &c.TalkID2, &c.TalkID3, &c.TalkID4, &c.TalkIDConv, &c.UID})
        s += '"' + *text + "\",";
    for (const TDataSource& source : c.DataSrcTable)
        s += "DS(" + std::to_string(static_cast<int>(source.Input)) + ',' + source.Name.ToHex() + "),";
    for (const auto& r : c.RoutingTable)
        s += "RT(" + r->Address + ',' + std::to_string(r->Inputs) + ',' + std::to_string(r->Divisor) + ',' +
             std::to_string(r->Route) + ',' + r->Name.ToHex() + ',' + std::to_string(r->SA) + "),";
    for (const auto& m : c.ModbusTable)
        s += "MB(" + std::to_string(m->Slave) + ',' + std::to_string(m->Reg) + ',' + m->RType + ',' +
             m->DType + ',' + std::to_string(m->Rev) + ',' + std::to_string(m->Prec) + ',' +
             std::to_string(static_cast<int>(m->XdrType)) + ',' +
             std::to_string(static_cast<int>(m->XdrUnit)) + ',' + m->XdrID + ',' + std::to_string(m->Status) +
             "),";
    for (const auto& m : c.MOBTable)
        s += "MOB(" + m->MMSI + ',' + m->Status + "),";
    return s;
}

} // namespace kvl::test
