// TDeviceInfo: one device of the NMEA 2000 bus as the scanner found it, the
// comparison that tells whether two NAMEs denote the same device, and the
// readers of the product information fields.
#pragma once

#include "model/Name.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kvl {

enum class TScanState : std::uint8_t { scIdle, scAddrClm, scProdInfo, scNext, scNew };

struct TDeviceInfo {
    static constexpr std::uint8_t kUnused = 255;
    static constexpr std::uint16_t kUnknownProduct = 0xFFFF;
    static constexpr std::uint8_t kUnknown = 255;
    static constexpr std::size_t kVersionLength = 5;
    static constexpr std::size_t kTextLength = 32;

    std::uint8_t SA = kUnused; // 0..254; 255 marks an unused table entry
    TName Name;
    std::string N2KVersion;
    std::uint16_t ProductCode = 0;
    std::string ModelID;
    std::string SwVersion;
    std::string ModelVersion;
    std::string SerialNo;
    std::uint8_t CertLvl = 0;
    std::uint8_t LEN = 0;
};

// Two NAMEs denote the same device when the unique number and manufacturer agree
// and the rest agrees apart from the device and system instances, which the
// user may change.
constexpr bool SameDevice(TName a, TName b) {
    constexpr std::uint64_t kIgnoreInstances = 0xF0FFFF00FFFFFFFFull;
    return (a.N & kIgnoreInstances) == (b.N & kIgnoreInstances);
}

inline constexpr std::uint16_t kMfgRaymarine = 1851;
inline constexpr std::uint16_t kProductSTNGConverter = 16763;

// Raymarine devices report a bare part number ("E22158") as their model ID; the
// model version then names the device better.
bool IsBarePartNumber(const TDeviceInfo& device);

// Spaces trimmed at both ends, cut to at most max characters.
std::string TrimmedField(std::string_view text, std::size_t max);
// A field cut to at most max characters.
std::string CutField(std::string_view text, std::size_t max);
// A decimal number up to max, or unknown when the field is not one.
std::uint32_t NumberOr(std::string_view text, std::uint32_t max, std::uint32_t unknown);

} // namespace kvl
