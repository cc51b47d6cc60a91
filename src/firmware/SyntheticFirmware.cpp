#include "firmware/SyntheticFirmware.h"

#include "firmware/Container.h"
#include "firmware/ImageChecksum.h"

#include <algorithm>

namespace kvl {

namespace {

// A fixed seed per family: the build makes the same bytes every time.
class TXorShift {
public:
    explicit TXorShift(std::uint32_t seed) : State(seed) {}
    std::uint8_t NextByte() {
        State ^= State << 13;
        State ^= State >> 17;
        State ^= State << 5;
        return static_cast<std::uint8_t>(State >> 11);
    }

private:
    std::uint32_t State;
};

} // namespace

std::vector<std::uint8_t> MakeSyntheticContainer(TSyntheticFamily family) {
    const bool arm = family == TSyntheticFamily::Arm;
    TXorShift random(arm ? 0x2A2A0020u : 0x1B1B0010u);
    THeaderV2 header;
    header.HardwareID = arm ? kFamilyArm : kFamilyAvr;
    header.HardwareIDMask = kFamilyMask;
    header.PageSize = arm ? 2048 : kAvrPageSize;
    header.PageCount = arm ? kSyntheticArmPages : kSyntheticAvrPages;
    for (auto& b : header.IV)
        b = random.NextByte();

    const std::size_t imageSize = std::size_t{header.PageSize} * header.PageCount;
    // The flash as the bootloader sees it after programming: image, then erased bytes.
    std::vector<std::uint8_t> flash(std::max(imageSize, kAvrFlashSize), 0xFF);
    std::generate_n(flash.begin(), imageSize, [&] { return random.NextByte(); });
    // Unencrypted: the checksum of the stored image is the programmed one.
    header.ImageCRC = arm ? ImageCrc32(flash.data(), imageSize) : ImageCrc24(flash.data(), kAvrFlashSize);
    header.EncImageCRC = header.ImageCRC;

    std::vector<std::uint8_t> container;
    AppendHeader(container, 2, 3, 29, 0);
    AppendHeaderV2(container, header);
    container.insert(container.end(), flash.begin(), flash.begin() + static_cast<std::ptrdiff_t>(imageSize));
    return container;
}

} // namespace kvl
