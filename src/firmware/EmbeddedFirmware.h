// The firmware containers among the program's resources.
#pragma once

#include "firmware/Firmware.h"

namespace kvl {

// Reads "FIRMWARE_AVR" or "FIRMWARE_ARM"; a missing one throws EInOutError.
TResourceReader EmbeddedFirmware();

// The embedded firmware's version, "3.29.0" (for the About box).
std::string EnclosedFirmwareVersion();

// Whether the embedded containers are the project's synthetic test images (the
// build was not given the maker's containers). Test images go to the simulator
// only: a real multiplexer must never be sent them.
bool EmbeddedFirmwareIsSynthetic();

// What the simulator adds to its device name in its version answer; no real
// multiplexer sends it.
inline constexpr std::string_view kSimulatorMarker = " (simulator)";
bool IsSimulatorDeviceName(std::string_view device);

} // namespace kvl
