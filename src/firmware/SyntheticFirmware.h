// The program's embedded firmware containers. No real firmware exists for this
// project, so these are synthetic: format 2, one image each, version 3.29.0,
// pseudo-random contents stored unencrypted, every checksum correct. They only
// exercise the update procedure and must never be sent to real hardware.
#pragma once

#include <cstdint>
#include <vector>

namespace kvl {

enum class TSyntheticFamily { Avr, Arm };

inline constexpr std::uint16_t kSyntheticAvrPages = 381;
inline constexpr std::uint16_t kSyntheticArmPages = 100;

std::vector<std::uint8_t> MakeSyntheticContainer(TSyntheticFamily family);

} // namespace kvl
