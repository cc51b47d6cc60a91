// TFirmware: one firmware container for one update attempt. It reads the
// container, picks the image that fits the connected multiplexer's hardware ID,
// checks the image's stored checksum and keeps the image for the upload. The
// image is never decrypted here: the bootloader does that itself.
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

class TFirmware {
public:
    // The embedded containers when fileName is "RCDATA", else the container file.
    // A file that cannot be opened throws std::system_error; a wrong signature
    // "Not a Korvelan firmware file".
    TFirmware(const std::string& fileName, TResourceReader resources);
    // A container given as bytes, as if read from a file.
    explicit TFirmware(std::vector<std::uint8_t> container);

    // Selects and checks the image for the multiplexer (the container faults are
    // raised as EInOutError) and tells which procedure uploads it.
    TUploadProcedure SelectImage(std::uint16_t hardwareId);
    // Selects and checks the image, then runs its upload procedure (which raises
    // ECommError on a bootloader fault). Nothing is sent before the checks pass.
    void Upload(std::uint16_t AHardwareID, TPacketLink& link, TUploadProgress& progress);

    TVersion Version;
    TFwSource FwSource = TFwSource::FwSrcFile;
    std::uint16_t HardwareID = 0;
    THeader Header;
    THeaderV1 HeaderV1;
    THeaderV2 HeaderV2;
    std::vector<std::uint8_t> Code; // the 1 MiB code area, 0xFF where no image lies
    std::uint32_t CodeSize = 0;
    std::uint32_t CodeCRC = 0;
    std::uint16_t PageSize = 0;
    std::uint16_t PageCount = 0;
    TIV IV{};

    // The image bytes of page n (PageSize of them).
    const std::uint8_t* PageData(std::uint16_t page) const;

private:
    void LoadFromResource();
    void LoadFromFile(const std::string& fileName);
    void ReadCommonHeader();
    void ReadImageV1();
    void FindImageV2();
    bool ReadImageV2();
    void CheckImageV2Sizes() const;
    void SetVersionFromHeader();

    // The open container (S) and the read position in it.
    std::uint64_t Remaining() const { return S.size() - Position; }
    bool ReadBytes(std::uint8_t* to, std::uint64_t count);

    TResourceReader Resources;
    std::vector<std::uint8_t> S;
    std::uint64_t Position = 0;
};

// The version of the embedded firmware ("3.29.0"), from "FIRMWARE_AVR".
std::string EnclosedFirmwareVersion(const TResourceReader& resources);

} // namespace kvl
