// The device's three tables: routing (RTE), Modbus registers (MB kind X) and AIS
// MOB alarms (MOB), as the device keeps them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kvl::sim {

inline constexpr std::size_t kMaxRoutes = 50;
inline constexpr std::size_t kMaxModbusEntries = 30;
inline constexpr std::size_t kMaxMobEntries = 8;

struct RouteEntry {
    std::string address;      // five characters, e.g. GPRMC
    std::uint16_t inputs = 0; // source bits
    std::uint8_t divisor = 0; // 0 = every sentence
    std::uint16_t route = 0;  // destination bits
    std::uint64_t name = 0;   // NMEA 2000 source device, 0 = any
    bool operator==(const RouteEntry&) const = default;
};

struct ModbusEntry {
    std::uint8_t slave = 0;
    std::uint16_t reg = 0;
    char regType = 'H';  // H holding, I input register
    char dataType = 'I'; // I, U, L, F
    bool reversed = false;
    std::uint8_t precision = 0;
    std::string xdrType; // one letter, or empty as the host sent it
    std::string xdrUnit;
    std::string xdrId;
    std::uint8_t status = 0; // 0 OK; the device's error codes otherwise
    bool operator==(const ModbusEntry&) const = default;
};

struct MobEntry {
    std::string mmsi; // nine digits
    char alarm = 'V'; // A active, V not
    bool operator==(const MobEntry&) const = default;
};

} // namespace kvl::sim
