// Everything the simulated multiplexer keeps: its settings and its identity.
#pragma once

#include "DeviceTables.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kvl::sim {

// Source address of an NMEA 2000 function that holds no address (reported as "-").
inline constexpr std::uint8_t kNoAddress = 255;

// Bits of the option word that change what the device itself sends.
inline constexpr std::uint32_t kOptionTagBlocks = 1u << 5;

// Capability bit: the model has an NMEA 2000 interface.
inline constexpr std::uint16_t kCapsN2K = 1u << 4;

// One data source of the rotating mast wind sensor.
struct DataSource {
    char type = '0';        // '0' unset, '1'..'4' NMEA 0183 input, 'N' NMEA 2000 device
    std::uint64_t name = 0; // the device's NAME when type is 'N'
    bool operator==(const DataSource&) const = default;
};

// The device's settings. Arrays follow the field order of their sentence.
struct DeviceConfig {
    std::uint8_t prioTimeout = 0;           // CF: 0..5 = 1, 2, 3, 5, 10, 30 s
    std::array<std::uint8_t, 5> baud{};     // SP: In1, In2, In3, In4/Out1, Out2; 0..5 = 4800..115200
    std::array<std::string, 5> talkerId;    // ID: In1..In4, conversions; empty or two characters
    std::string uid;                        // UI: up to 12 letters or digits
    std::uint8_t defRouteOut1 = 0;          // DR: route word of output 1
    std::uint8_t modeOut1 = 0;              // DR: host data mode of output 1, 0..2
    std::uint8_t defRouteOut2 = 0;          // DR: route word of output 2
    std::uint8_t modeOut2 = 0;              // DR: host data mode of output 2, 0..2
    std::array<std::uint8_t, 4> modeIn{};   // IN: In1 0..7 (7 with NMEA 2000), In2..In4 0..5
    std::array<std::uint8_t, 5> priority{}; // PR: In1..In4 0..10 (0..4 without NMEA 2000), NMEA 2000 0..6
    std::uint32_t options = 0;              // OP
    std::uint32_t conversions = 0;          // CNV
    std::uint32_t n2kOptions = 0;           // NO
    std::array<std::uint8_t, 6> deviceFunction{}; // NF: host, In1..In4, conversions; 0..33
    std::array<std::uint8_t, 6> sourceAddress{};  // NA: same order; 0..251 or kNoAddress
    std::array<std::uint8_t, 6> deviceInstance{}; // ND: same order
    std::array<DataSource, 3> dataSource{};       // DS 0..2
    std::uint8_t modbusMode = 0;                  // MB M: 0 off, 1 master, 2 slave
    std::uint8_t modbusSlaveAddress = 1;          // MB S: 1..247
    std::uint16_t modbusXdrInterval = 1;          // MB R: 1..65535, 10 ms units
    std::uint8_t modbusPollInterval = 1;          // MB R: 1..255, 10 ms units
    // The tables; the configuration dump lists them after the settings.
    std::vector<RouteEntry> routes;  // RTE, at most kMaxRoutes
    std::vector<ModbusEntry> modbus; // MB X, at most kMaxModbusEntries
    std::vector<MobEntry> mob;       // MOB, at most kMaxMobEntries

    bool operator==(const DeviceConfig&) const = default;
};

// The settings a new device (or "$PQZXRESET,1") starts with.
DeviceConfig FactoryConfig(const std::string& uid);

// What the simulator adds to its device name in the VER answer, so that the
// program can tell it from a real multiplexer (no real device calls itself
// that): only the simulator may be sent the program's test firmware.
inline constexpr std::string_view kSimulatorMarker = " (simulator)";

// What the VER answer tells about the device.
struct DeviceIdentity {
    std::string version = "3.30.2";
    std::string device = "Korvelan-3N";
    std::string serial = "K3N-20417";
    std::string caps = "A010"; // sent exactly as given, so a test can send a malformed word
    bool marked = true;        // the device name carries kSimulatorMarker

    // The capability word as the device itself understands it; 0 when caps is not
    // one to four hexadecimal digits.
    std::uint16_t CapsWord() const;
    bool HasN2K() const { return (CapsWord() & kCapsN2K) != 0; }
};

} // namespace kvl::sim
