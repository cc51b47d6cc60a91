// The keys of the "Configuration" section of a configuration file: their names,
// the model field each holds, how it is written, its default and its range.
#pragma once

#include "model/MuxConfig.h"
#include "model/WireFormat.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kvl::config_keys {

// How a "Configuration" key is written: decimal, text, or hexadecimal of at least
// two digits (group A, the default routes) or exactly eight (group B, the option words).
enum class TForm { Dec, Text, Hex2, Hex8 };

struct TKey {
    std::string_view Name;
    TForm Form;
    std::uint32_t TMuxConfig::*Number = nullptr;
    std::string TMuxConfig::*Text = nullptr;
    std::uint32_t Default = 0;
    std::uint32_t Min = 0;
    std::uint32_t Max = 0;  // also the limit of a hexadecimal key
    std::size_t Length = 0; // text keys are cut to it
};

inline constexpr TKey Dec(std::string_view name, std::uint32_t TMuxConfig::*field, std::uint32_t def,
                          std::uint32_t min, std::uint32_t max) {
    return {name, TForm::Dec, field, nullptr, def, min, max, 0};
}
inline constexpr TKey Text(std::string_view name, std::string TMuxConfig::*field, std::size_t length) {
    return {name, TForm::Text, nullptr, field, 0, 0, 0, length};
}
inline constexpr TKey Hex2(std::string_view name, std::uint32_t TMuxConfig::*field) {
    return {name, TForm::Hex2, field, nullptr, 0, 0, 0xFF, 0};
}
inline constexpr TKey Hex8(std::string_view name, std::uint32_t TMuxConfig::*field) {
    return {name, TForm::Hex8, field, nullptr, 0, 0, 0xFFFFFFFF, 0};
}

using M = TMuxConfig;
inline constexpr std::size_t kTalk = TMuxConfig::kTalkerIDLength;

// Every key after "Config Version", in the order written and read. The ranges
// are those the multiplexer accepts; the three "Mobus" keys are spelled so.
inline constexpr auto kKeys = std::to_array<TKey>({
    Dec("Baud In1", &M::BaudIn1, 0, 0, 5),
    Dec("Baud In2", &M::BaudIn2, 0, 0, 5),
    Dec("Baud In3", &M::BaudIn3, 0, 0, 5),
    Dec("Baud In4/Out1", &M::BaudIn4Out1, 0, 0, 5),
    Dec("Baud Out2", &M::BaudOut2, 3, 0, 5),
    Dec("Priority Timeout", &M::PrioTimeout, 0, 0, 5),
    Text("Talker ID1", &M::TalkID1, kTalk),
    Text("Talker ID2", &M::TalkID2, kTalk),
    Text("Talker ID3", &M::TalkID3, kTalk),
    Text("Talker ID4", &M::TalkID4, kTalk),
    Text("Talker ID Conversions", &M::TalkIDConv, kTalk),
    Text("Unique ID", &M::UID, TMuxConfig::kUIDLength),
    Hex2("Route Inputs to Out1", &M::DefRouteOut1),
    Hex2("Route Inputs to Out2", &M::DefRouteOut2),
    Dec("Mode In1", &M::ModeIn1, 0, 0, 7),
    Dec("Mode In2", &M::ModeIn2, 0, 0, 5),
    Dec("Mode In3", &M::ModeIn3, 0, 0, 5),
    Dec("Mode In4", &M::ModeIn4, 0, 0, 5),
    Dec("Mode Out1", &M::ModeOut1, 0, 0, 2),
    Dec("Mode Out2", &M::ModeOut2, 0, 0, 2),
    Dec("Priority In1", &M::PrioIn1, 1, 0, 10),
    Dec("Priority In2", &M::PrioIn2, 1, 0, 10),
    Dec("Priority In3", &M::PrioIn3, 1, 0, 10),
    Dec("Priority In4", &M::PrioIn4, 1, 0, 10),
    Dec("Priority NMEA 2000", &M::PrioN2K, 1, 0, 6),
    Dec("Modbus Mode", &M::ModbusMode, 0, 0, 2),
    // 0: the multiplexer did not report it; the write-all then leaves it alone.
    Dec("Mobus Slave Address", &M::ModbusSlvAddr, 1, 0, 247),
    Dec("Mobus XDR Interval", &M::ModbusXdrInterval, 100, 0, 65535),
    Dec("Mobus Poll Interval", &M::ModbusPollInterval, 10, 0, 255),
    Hex8("Options", &M::Options),
    Hex8("Conversions", &M::Conversions),
    Hex8("NMEA 2000 Options", &M::N2kOptions),
    Dec("Device Function Host", &M::DevFuncHost, 0, 0, 33),
    Dec("Device Function In1", &M::DevFuncIn1, 1, 0, 33),
    Dec("Device Function In2", &M::DevFuncIn2, 1, 0, 33),
    Dec("Device Function In3", &M::DevFuncIn3, 1, 0, 33),
    Dec("Device Function In4", &M::DevFuncIn4, 1, 0, 33),
    Dec("Device Function Conv", &M::DevFuncConv, 1, 0, 33),
    Dec("Device Instance Host", &M::DIHost, 0, 0, 255),
    Dec("Device Instance In1", &M::DIIn1, 0, 0, 255),
    Dec("Device Instance In2", &M::DIIn2, 0, 0, 255),
    Dec("Device Instance In3", &M::DIIn3, 0, 0, 255),
    Dec("Device Instance In4", &M::DIIn4, 0, 0, 255),
    Dec("Device Instance Conv", &M::DIConv, 0, 0, 255),
});

// The key's value as the file holds it.
inline std::string KeyText(const TMuxConfig& config, const TKey& key) {
    switch (key.Form) {
    case TForm::Dec:
        return FormatDec(config.*key.Number);
    case TForm::Text:
        return config.*key.Text;
    case TForm::Hex2:
        return FormatHex(config.*key.Number, 2);
    case TForm::Hex8:
        return FormatHex(config.*key.Number, 8);
    }
    return {};
}

} // namespace kvl::config_keys
