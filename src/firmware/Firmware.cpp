#include "firmware/Firmware.h"

#include "firmware/FirmwareError.h"
#include "firmware/ImageChecksum.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <iterator>
#include <system_error>

namespace kvl {

namespace {

// No container of a few images comes near this; a larger file is not read whole.
constexpr std::uint64_t kMaxContainerFile = 64u * 1024 * 1024;

std::vector<std::uint8_t> ReadWholeFile(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        throw std::system_error(errno, std::generic_category(), "Cannot open file \"" + fileName + "\"");
    in.seekg(0, std::ios::end);
    const auto size = static_cast<std::uint64_t>(in.tellg());
    if (size > kMaxContainerFile)
        RaiseFirmwareError(TFirmwareFault::Corrupt);
    in.seekg(0);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size)))
        throw std::system_error(errno, std::generic_category(), "Read error in \"" + fileName + "\"");
    return bytes;
}

} // namespace

TFirmware::TFirmware(const std::string& fileName, TResourceReader resources)
    : Code(kCodeAreaSize, 0xFF), Resources(std::move(resources)) {
    if (fileName == kEmbeddedFirmware)
        LoadFromResource();
    else
        LoadFromFile(fileName);
}

TFirmware::TFirmware(std::vector<std::uint8_t> container)
    : Code(kCodeAreaSize, 0xFF), S(std::move(container)) {
    FwSource = TFwSource::FwSrcFile;
    ReadCommonHeader();
}

void TFirmware::LoadFromResource() {
    FwSource = TFwSource::FwSrcRES;
    S = Resources(kResourceAvr);
    ReadCommonHeader();
    S.clear(); // the image is opened again once the multiplexer's family is known
}

void TFirmware::LoadFromFile(const std::string& fileName) {
    FwSource = TFwSource::FwSrcFile;
    S = ReadWholeFile(fileName);
    ReadCommonHeader();
}

void TFirmware::ReadCommonHeader() {
    Position = 0;
    std::uint8_t bytes[kHeaderSize];
    if (!ReadBytes(bytes, kHeaderSize))
        RaiseFirmwareError(TFirmwareFault::NotKorvelan);
    Header = DecodeHeader(bytes);
    if (!HasKorvelanSignature(Header))
        RaiseFirmwareError(TFirmwareFault::NotKorvelan);
    SetVersionFromHeader();
}

void TFirmware::SetVersionFromHeader() {
    Version = {Header.VerMaj, Header.VerMin, Header.VerPatch};
}

bool TFirmware::ReadBytes(std::uint8_t* to, std::uint64_t count) {
    if (count > Remaining())
        return false;
    std::copy_n(S.begin() + static_cast<std::ptrdiff_t>(Position), count, to);
    Position += count;
    return true;
}

TUploadProcedure TFirmware::SelectImage(std::uint16_t hardwareId) {
    HardwareID = hardwareId;
    if (FwSource == TFwSource::FwSrcRES) {
        const std::uint16_t family = hardwareId & kFamilyMask;
        if (family == kFamilyAvr)
            S = Resources(kResourceAvr);
        else if (family == kFamilyArm)
            S = Resources(kResourceArm);
        else
            RaiseFirmwareError(TFirmwareFault::UnsupportedMultiplexer);
        ReadCommonHeader();
    }
    Position = kHeaderSize;
    switch (Header.Version) {
    case 1:
        ReadImageV1();
        return TUploadProcedure::upAvr;
    case 2: {
        FindImageV2();
        const std::uint16_t masked = HardwareID & HeaderV2.HardwareIDMask;
        if (masked == kFamilyAvr)
            return TUploadProcedure::upAvr;
        if (masked == kFamilyArm)
            return TUploadProcedure::upArm;
        return TUploadProcedure::upNone;
    }
    default:
        RaiseFirmwareError(TFirmwareFault::UnsupportedVersion);
    }
}

void TFirmware::ReadImageV1() {
    if ((HardwareID & kFamilyMask) == kFamilyArm)
        RaiseFirmwareError(TFirmwareFault::WrongMultiplexer);
    std::uint8_t bytes[kHeaderV1Size];
    if (!ReadBytes(bytes, kHeaderV1Size))
        RaiseFirmwareError(TFirmwareFault::Corrupt);
    HeaderV1 = DecodeHeaderV1(bytes);
    if (HeaderV1.HardwareID != 0 && HeaderV1.HardwareID != HardwareID)
        RaiseFirmwareError(TFirmwareFault::WrongMultiplexer);
    // Checked before the image is read: the size comes from the file.
    const std::uint64_t size = Remaining();
    if (size > kAvrFlashSize || size < kAvrPageSize)
        RaiseFirmwareError(TFirmwareFault::Corrupt);
    std::fill(Code.begin(), Code.end(), 0xFF);
    CodeSize = static_cast<std::uint32_t>(size);
    ReadBytes(Code.data(), size);
    SetVersionFromHeader();
    CodeCRC = HeaderV1.ImageCRC;
    IV = HeaderV1.IV;
    PageSize = kAvrPageSize;
    PageCount = static_cast<std::uint16_t>(CodeSize / kAvrPageSize);
    if (ImageCrc24(Code.data(), kAvrFlashSize) != HeaderV1.EncImageCRC)
        RaiseFirmwareError(TFirmwareFault::WrongChecksum);
}

void TFirmware::FindImageV2() {
    for (;;) {
        const std::uint64_t recordStart = Position;
        if (ReadImageV2())
            return;
        // 64-bit: the sizes come from the file and may point far beyond it.
        const std::uint64_t next = recordStart + kHeaderV2Size + std::uint64_t{CodeSize} + kRecordGap;
        if (next >= S.size())
            RaiseFirmwareError(TFirmwareFault::NoMatchingImage);
        Position = next;
    }
}

bool TFirmware::ReadImageV2() {
    std::uint8_t bytes[kHeaderV2Size];
    if (!ReadBytes(bytes, kHeaderV2Size))
        RaiseFirmwareError(TFirmwareFault::Corrupt);
    HeaderV2 = DecodeHeaderV2(bytes);
    PageSize = HeaderV2.PageSize;
    PageCount = HeaderV2.PageCount;
    CodeSize = std::uint32_t{PageSize} * PageCount;
    if ((HardwareID & HeaderV2.HardwareIDMask) != HeaderV2.HardwareID)
        return false;
    CheckImageV2Sizes();
    CodeCRC = HeaderV2.ImageCRC;
    SetVersionFromHeader();
    IV = HeaderV2.IV;
    std::fill(Code.begin(), Code.end(), 0xFF);
    if (!ReadBytes(Code.data(), CodeSize))
        RaiseFirmwareError(TFirmwareFault::Corrupt);
    std::uint32_t computed = HeaderV2.EncImageCRC;
    if (HeaderV2.HardwareID == kFamilyAvr)
        computed = ImageCrc24(Code.data(), kAvrFlashSize);
    else if (HeaderV2.HardwareID == kFamilyArm)
        computed = ImageCrc32(Code.data(), CodeSize);
    if (computed != HeaderV2.EncImageCRC)
        RaiseFirmwareError(TFirmwareFault::WrongChecksum);
    return true;
}

// Every page must fit the code area and, with its command bytes, one packet.
void TFirmware::CheckImageV2Sizes() const {
    if (PageSize == 0 || PageSize > kMaxPageSize || PageCount == 0 || CodeSize > kCodeAreaSize)
        RaiseFirmwareError(TFirmwareFault::Corrupt);
}

const std::uint8_t* TFirmware::PageData(std::uint16_t page) const {
    return Code.data() + std::size_t{page} * PageSize;
}

std::string EnclosedFirmwareVersion(const TResourceReader& resources) {
    const std::vector<std::uint8_t> bytes = resources(kResourceAvr);
    if (bytes.size() < kHeaderSize)
        RaiseFirmwareError(TFirmwareFault::NotKorvelan);
    const THeader header = DecodeHeader(bytes.data());
    return std::to_string(header.VerMaj) + "." + std::to_string(header.VerMin) + "." +
           std::to_string(header.VerPatch);
}

} // namespace kvl
