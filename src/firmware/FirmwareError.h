// Errors of firmware containers and of Intel HEX files: each carries the
// message shown to the user.
#pragma once

#include "model/InOutError.h"

namespace kvl {

// The container faults, by the index the messages are chosen with.
enum class TFirmwareFault : int {
    NotKorvelan = 0,
    UnsupportedVersion = 1,
    Corrupt = 2,
    WrongChecksum = 3,
    WrongMultiplexer = 4,
    UnsupportedMultiplexer = 5,
    NoMatchingImage = 6,
};

const char* FirmwareErrorText(TFirmwareFault fault);
[[noreturn]] void RaiseFirmwareError(TFirmwareFault fault);

} // namespace kvl
