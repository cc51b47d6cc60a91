// The firmware containers among the program's resources.
#pragma once

#include "firmware/Firmware.h"

namespace kvl {

// Reads "FIRMWARE_AVR" or "FIRMWARE_ARM"; a missing one throws EInOutError.
TResourceReader EmbeddedFirmware();

// The embedded firmware's version, "3.29.0" (for the About box).
std::string EnclosedFirmwareVersion();

} // namespace kvl
