#include "firmware/FirmwareError.h"

namespace kvl {

const char* FirmwareErrorText(TFirmwareFault fault) {
    switch (fault) {
    case TFirmwareFault::NotKorvelan:
        return "Not a Korvelan firmware file";
    case TFirmwareFault::UnsupportedVersion:
        return "Unsupported firmware file version";
    case TFirmwareFault::Corrupt:
        return "Firmware file is corrupt";
    case TFirmwareFault::WrongChecksum:
        return "Firmware has wrong checksum)";
    case TFirmwareFault::WrongMultiplexer:
        return "Firmware file does not match with connected multiplexer";
    case TFirmwareFault::UnsupportedMultiplexer:
        return "Unsupported multiplexer";
    case TFirmwareFault::NoMatchingImage:
        return "No matching firmware image found in file";
    }
    return "Firmware file is corrupt";
}

void RaiseFirmwareError(TFirmwareFault fault) {
    throw EInOutError(FirmwareErrorText(fault));
}

} // namespace kvl
