// The multiplexer's firmware version, as its version answer gives it, and the
// test of whether the tool can work with that firmware.
#pragma once

#include <cstdint>
#include <string_view>

namespace kvl {

struct TMuxVersion {
    std::uint32_t Major = 0;
    std::uint32_t Minor = 0;
    std::uint32_t Patchlevel = 0;

    bool operator==(const TMuxVersion&) const = default;
};

// Bit 4 of the capability word of the version answer: the multiplexer has an
// NMEA 2000 interface, and with it the NMEA 2000 settings.
inline constexpr std::uint16_t kCapsNmea2000 = 0x0010;

// Splits "major.minor.patch." style text: a number counts only when a "."
// follows it, so "3.29.5" gives 3.29.0 and "3.29" gives 3.0.0. A number that does
// not convert ends the parse; the numbers read so far keep their values.
TMuxVersion ParseVersion(std::string_view text);

// The oldest firmware the tool works with is 3.29.
bool IsFirmwareCompatible(const TMuxVersion& version);

} // namespace kvl
