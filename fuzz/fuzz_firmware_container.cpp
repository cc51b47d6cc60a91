// The firmware container reader on any file. The first two bytes choose the
// connected multiplexer's hardware ID; the rest is the container. Properties:
// - a container fault is an EInOutError with one of the seven messages, nothing else;
// - an image chosen for upload fits the code area and every page fits a packet,
//   so the upload can never read or send beyond them.
#include "FuzzCheck.h"

#include "firmware/Firmware.h"
#include "firmware/FirmwareError.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using namespace kvl;

namespace {

bool KnownMessage(const std::string& message) {
    for (int i = 0; i <= 6; ++i)
        if (message == FirmwareErrorText(static_cast<TFirmwareFault>(i)))
            return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const auto hardwareId = static_cast<std::uint16_t>(data[0] | data[1] << 8);
    try {
        TFirmware firmware(std::vector<std::uint8_t>(data + 2, data + size));
        const TUploadProcedure procedure = firmware.SelectImage(hardwareId);
        if (procedure == TUploadProcedure::upNone)
            return 0;
        KVL_FUZZ_CHECK(firmware.PageSize >= 1 && firmware.PageSize <= kMaxPageSize);
        KVL_FUZZ_CHECK(firmware.PageCount >= 1);
        KVL_FUZZ_CHECK(std::size_t{firmware.PageSize} * firmware.PageCount <= kCodeAreaSize);
        KVL_FUZZ_CHECK(firmware.Code.size() == kCodeAreaSize);
        KVL_FUZZ_CHECK(firmware.CodeSize <= kCodeAreaSize);
    } catch (const EInOutError& e) {
        KVL_FUZZ_CHECK(KnownMessage(e.what()));
    }
    return 0;
}
