// TFirmware: one firmware container for one update attempt. The container is
// checked in full when it is opened (signature, format, every record's
// structure and sizes, every image's stored checksum), so that a damaged or
// foreign file is refused while the multiplexer still runs its firmware; only
// the choice of the image by the multiplexer's hardware ID waits until the
// bootloader has announced itself. The image is never decrypted here: the
// bootloader does that itself.
#pragma once

#include "firmware/Container.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kvl {

class TPacketLink;
class TUploadProgress;

enum class TFwSource { FwSrcFile, FwSrcRES };

// Which bootloader procedure an image needs; upNone uploads nothing.
enum class TUploadProcedure { upNone, upAvr, upArm };

struct TVersion {
    std::uint16_t Major = 0;
    std::uint16_t Minor = 0;
    std::uint16_t Patch = 0;
};

// Gives the bytes of an embedded container ("FIRMWARE_AVR", "FIRMWARE_ARM");
// throws EInOutError when it is missing.
using TResourceReader = std::function<std::vector<std::uint8_t>(std::string_view name)>;

inline constexpr std::string_view kEmbeddedFirmware = "RCDATA";
inline constexpr std::string_view kResourceAvr = "FIRMWARE_AVR";
inline constexpr std::string_view kResourceArm = "FIRMWARE_ARM";

// One image of a container as checked: its record (a format-1 header is given
// as a record for the AVR family) and where its bytes lie in the container.
struct TContainerImage {
    THeaderV2 Record;
    std::size_t Offset = 0;
    std::uint32_t CodeSize = 0;
};

// A container whose every fault that does not depend on the multiplexer has
// been checked (the faults raise EInOutError with the container messages).
struct TCheckedContainer {
    explicit TCheckedContainer(std::vector<std::uint8_t> bytes);

    std::vector<std::uint8_t> Bytes;
    THeader Header;
    THeaderV1 HeaderV1;                  // format 1
    std::vector<TContainerImage> Images; // one for format 1, the records of format 2
};

class TFirmware {
public:
    // The embedded containers when fileName is "RCDATA", else the container file.
    // A file that cannot be opened throws std::system_error; any container fault
    // EInOutError with its message.
    TFirmware(const std::string& fileName, TResourceReader resources);
    // A container given as bytes, as if read from a file.
    explicit TFirmware(std::vector<std::uint8_t> container);

    // Selects the image for the multiplexer (a mismatch raises EInOutError) and
    // tells which procedure uploads it.
    TUploadProcedure SelectImage(std::uint16_t hardwareId);
    // Selects the image, then runs its upload procedure (which raises ECommError
    // on a bootloader fault). Nothing is sent when the selection fails.
    void Upload(std::uint16_t AHardwareID, TPacketLink& link, TUploadProgress& progress);

    // The families of the images the attempt may send ("AVR", "ARM", "AVR and
    // ARM", or "hardware ID 0030"); after a selection the chosen image's only.
    std::string FamilyText() const;
    // The largest number of bytes the attempt may send, for the expected duration.
    std::uint32_t LargestImage() const;
    bool ImageSelected() const { return Selected; }

    TVersion Version;
    TFwSource FwSource = TFwSource::FwSrcFile;
    std::uint16_t HardwareID = 0;
    THeader Header;
    THeaderV1 HeaderV1;
    THeaderV2 HeaderV2;
    std::uint32_t CodeSize = 0;
    std::uint32_t CodeCRC = 0;
    std::uint16_t PageSize = 0;
    std::uint16_t PageCount = 0;
    TIV IV{};

    // The image bytes of page n (PageSize of them) of the chosen image.
    const std::uint8_t* PageData(std::uint16_t page) const;

private:
    void SetVersionFromHeader();
    const TCheckedContainer& Chosen() const { return Containers[ChosenContainer]; }

    // One container from a file, or the two embedded ones (AVR, then ARM).
    std::vector<TCheckedContainer> Containers;
    std::size_t ChosenContainer = 0;
    std::size_t ImageOffset = 0;
    bool Selected = false;
};

// The version of the embedded firmware ("3.29.0"), from "FIRMWARE_AVR".
std::string EnclosedFirmwareVersion(const TResourceReader& resources);

} // namespace kvl
