#include "SampleTables.h"

#include <array>
#include <string>

namespace kvl::sim {

namespace {

constexpr std::array<const char*, 10> kFormatters = {"RMC", "GGA", "VTG", "HDG", "MWV",
                                                     "DBT", "VHW", "XDR", "ZDA", "GLL"};
constexpr std::array<const char*, 5> kTalkers = {"GP", "II", "HC", "WI", "SD"};

} // namespace

void FillSampleTables(DeviceConfig& config) {
    config.routes.clear();
    for (unsigned i = 0; i < kMaxRoutes; ++i) {
        const std::string address =
            std::string(kTalkers[i / kFormatters.size()]) + kFormatters[i % kFormatters.size()];
        const bool n2k = i % 7 == 3;
        config.routes.push_back({address, static_cast<std::uint16_t>(n2k ? 0x80 : (1u << (i % 6))),
                                 static_cast<std::uint8_t>(i % 4 == 0 ? 0 : i % 20),
                                 static_cast<std::uint16_t>(0x21 | (i % 3)),
                                 n2k ? 0xC0FFEE0000000000ULL + i : 0});
    }
    config.modbus.clear();
    for (unsigned i = 0; i < kMaxModbusEntries; ++i) {
        const char dataType = "IULF"[i % 4];
        config.modbus.push_back({static_cast<std::uint8_t>(1 + i % 10), static_cast<std::uint16_t>(40001 + i),
                                 i % 2 ? 'I' : 'H', dataType, dataType == 'F' && i % 3 == 0,
                                 static_cast<std::uint8_t>(i % 4), std::string(1, "CPTU"[i % 4]),
                                 std::string(1, "CBVP"[i % 4]), "SENS" + std::to_string(i),
                                 static_cast<std::uint8_t>(i % 5 == 4 ? 0xFC : 0)});
    }
    config.mob.clear();
    for (unsigned i = 0; i < kMaxMobEntries; ++i)
        config.mob.push_back({"97200000" + std::to_string(i), i == 2 ? 'A' : 'V'});
}

} // namespace kvl::sim
