// The sentences the device reports with, as text without checksum
// (FrameSentence adds it): the R report of each setting, the VER answer, the
// configuration dump and the spontaneous reports.
#pragma once

#include "DeviceConfig.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kvl::sim {

std::string ReportCF(const DeviceConfig& config);
std::string ReportSP(const DeviceConfig& config);
std::string ReportID(const DeviceConfig& config);
std::string ReportUI(const DeviceConfig& config);
std::string ReportDR(const DeviceConfig& config);
std::string ReportIN(const DeviceConfig& config);
std::string ReportPR(const DeviceConfig& config);
std::string ReportOP(const DeviceConfig& config);
std::string ReportCNV(const DeviceConfig& config);
std::string ReportNO(const DeviceConfig& config);
std::string ReportNF(const DeviceConfig& config);
std::string ReportNA(const DeviceConfig& config);
std::string ReportND(const DeviceConfig& config);
std::string ReportDS(const DeviceConfig& config, std::size_t source);
std::string ReportMBMode(const DeviceConfig& config);      // "$PQZXMB,R,M,mode,slave"
std::string ReportMBIntervals(const DeviceConfig& config); // "$PQZXMB,R,R,xdr,poll"

// The report of a one-sentence setting by its name after "$PQZX" (CF, SP, ID, UI,
// DR, IN, PR, OP, CNV, NO, NF, NA, ND); nothing for other names.
std::optional<std::string> SettingReport(std::string_view name, const DeviceConfig& config);

std::string VersionAnswer(const DeviceIdentity& identity);

// Everything "$PQZXCFQ" is answered with, "$PQZXRDY" last. NF, NA and ND only
// exist on models with NMEA 2000.
std::vector<std::string> ConfigurationDump(const DeviceConfig& config, bool hasN2K);

struct LoadFigures {
    unsigned processTime = 0; // the device's own units, 20736 = 50 ms
    unsigned dbUse = 0;       // percent
    unsigned canRx = 0;       // percent
    unsigned canTx = 0;       // percent
    unsigned queueOut1 = 0;   // percent
    unsigned queueOut2 = 0;   // percent
};
std::string StatReport(const LoadFigures& load);

// bits: bit 0 output 1, bit 1 output 2.
std::string OverflowReport(std::uint32_t bits);

inline constexpr std::string_view kReady = "$PQZXRDY";

} // namespace kvl::sim
