// The firmware container reader on any file. The first two bytes choose the
// connected multiplexer's hardware ID; the rest is the container. Properties:
// - a container fault is an EInOutError with one of the seven messages, nothing else;
// - an image chosen for upload fits the code area and every page fits a packet,
//   and every page lies inside the container (the sanitizer sees each page's
//   first and last byte read), so the upload can never read or send beyond them;
// - an AVR image never outgrows the flash its checksum covers.
// The container is checked without building the 1 MiB code area, so the target
// runs thousands of inputs a second.
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
        KVL_FUZZ_CHECK(firmware.CodeSize == std::uint32_t{firmware.PageSize} * firmware.PageCount);
        KVL_FUZZ_CHECK(firmware.CodeSize <= kCodeAreaSize);
        KVL_FUZZ_CHECK(procedure != TUploadProcedure::upAvr || firmware.CodeSize <= kAvrFlashSize);
        unsigned touched = 0;
        for (unsigned page = 0; page < firmware.PageCount; ++page) {
            const std::uint8_t* bytes = firmware.PageData(static_cast<std::uint16_t>(page));
            touched += bytes[0] + bytes[firmware.PageSize - 1];
        }
        // Every page's first and last byte read, so that a bad page bound shows under the sanitizer.
        KVL_FUZZ_CHECK(touched <= 510u * firmware.PageCount);
    } catch (const EInOutError& e) {
        KVL_FUZZ_CHECK(KnownMessage(e.what()));
    }
    return 0;
}
