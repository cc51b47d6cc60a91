// Test helpers: a model with a distinct value in every field, and a text image of
// every field, so a test can tell that a decoder left the model wholly unchanged.
#pragma once

#include "model/MuxConfig.h"

#include <array>
#include <cstdint>
#include <string>

namespace kvl::test {

// Every number of the model.
// clang-format off
inline constexpr std::array<std::uint32_t TMuxConfig::*, 44> kNumberFields = {
    &TMuxConfig::BaudIn1, &TMuxConfig::BaudIn2, &TMuxConfig::BaudIn3, &TMuxConfig::BaudIn4Out1,
    &TMuxConfig::BaudOut2, &TMuxConfig::PrioTimeout, &TMuxConfig::DefRouteOut1, &TMuxConfig::DefRouteOut2,
    &TMuxConfig::ModeIn1, &TMuxConfig::ModeIn2, &TMuxConfig::ModeIn3, &TMuxConfig::ModeIn4,
    &TMuxConfig::ModeOut1, &TMuxConfig::ModeOut2, &TMuxConfig::PrioIn1, &TMuxConfig::PrioIn2,
    &TMuxConfig::PrioIn3, &TMuxConfig::PrioIn4, &TMuxConfig::PrioN2K, &TMuxConfig::Options,
    &TMuxConfig::Conversions, &TMuxConfig::N2kOptions, &TMuxConfig::ModbusMode, &TMuxConfig::ModbusSlvAddr,
    &TMuxConfig::ModbusXdrInterval, &TMuxConfig::ModbusPollInterval, &TMuxConfig::DevFuncHost,
    &TMuxConfig::DevFuncIn1, &TMuxConfig::DevFuncIn2, &TMuxConfig::DevFuncIn3, &TMuxConfig::DevFuncIn4,
    &TMuxConfig::DevFuncConv, &TMuxConfig::SAHost, &TMuxConfig::SAIn1, &TMuxConfig::SAIn2,
    &TMuxConfig::SAIn3, &TMuxConfig::SAIn4, &TMuxConfig::SAConv, &TMuxConfig::DIHost, &TMuxConfig::DIIn1,
    &TMuxConfig::DIIn2, &TMuxConfig::DIIn3, &TMuxConfig::DIIn4, &TMuxConfig::DIConv};
// clang-format on

inline void FillDistinct(TMuxConfig& c) {
    std::uint32_t next = 101;
    for (const auto field : kNumberFields)
        c.*field = next++;
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
    for (const auto field : kNumberFields)
        s += std::to_string(c.*field) + ',';
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
