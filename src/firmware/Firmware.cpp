#include "firmware/Firmware.h"

#include "firmware/FirmwareError.h"
#include "firmware/ImageChecksum.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
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

// The checksum stored for an image as the multiplexer's family computes it;
// the stored value itself for a family whose checksum is not known.
std::uint32_t StoredImageChecksum(const THeaderV2& record, const std::uint8_t* image, std::uint32_t size) {
    if (record.HardwareID == kFamilyAvr)
        return ImageCrc24Padded(image, size, kAvrFlashSize);
    if (record.HardwareID == kFamilyArm)
        return ImageCrc32(image, size);
    return record.EncImageCRC;
}

// Every page must fit the code area and, with its command bytes, one packet; and
// the stored checksum must cover the whole image (the AVR one covers the
// application flash, the ARM one whole 32-bit words).
void CheckImageSizes(const THeaderV2& record, std::uint32_t codeSize) {
    if (record.PageSize == 0 || record.PageSize > kMaxPageSize || record.PageCount == 0 ||
        codeSize > kCodeAreaSize)
        RaiseFirmwareError(TFirmwareFault::Corrupt);
    if (record.HardwareID == kFamilyAvr && codeSize > kAvrFlashSize)
        RaiseFirmwareError(TFirmwareFault::Corrupt);
    if (record.HardwareID == kFamilyArm && codeSize % 4 != 0)
        RaiseFirmwareError(TFirmwareFault::Corrupt);
}

void CheckFormatOne(TCheckedContainer& c) {
    const std::size_t size = c.Bytes.size();
    if (size < kHeaderSize + kHeaderV1Size)
        RaiseFirmwareError(TFirmwareFault::Corrupt);
    c.HeaderV1 = DecodeHeaderV1(c.Bytes.data() + kHeaderSize);
    const std::size_t offset = kHeaderSize + kHeaderV1Size;
    const std::size_t imageSize = size - offset;
    // The upload sends whole pages only: a part page would be lost.
    if (imageSize < kAvrPageSize || imageSize > kAvrFlashSize || imageSize % kAvrPageSize != 0)
        RaiseFirmwareError(TFirmwareFault::Corrupt);
    const std::uint8_t* image = c.Bytes.data() + offset;
    if (ImageCrc24Padded(image, imageSize, kAvrFlashSize) != c.HeaderV1.EncImageCRC)
        RaiseFirmwareError(TFirmwareFault::WrongChecksum);
    TContainerImage entry;
    entry.Record.HardwareID = kFamilyAvr;
    entry.Record.HardwareIDMask = kFamilyMask;
    entry.Record.PageSize = kAvrPageSize;
    entry.Record.PageCount = static_cast<std::uint16_t>(imageSize / kAvrPageSize);
    entry.Record.ImageCRC = c.HeaderV1.ImageCRC;
    entry.Record.EncImageCRC = c.HeaderV1.EncImageCRC;
    entry.Record.IV = c.HeaderV1.IV;
    entry.Offset = offset;
    entry.CodeSize = static_cast<std::uint32_t>(imageSize);
    c.Images.push_back(entry);
}

void CheckFormatTwo(TCheckedContainer& c) {
    const std::size_t size = c.Bytes.size();
    std::size_t position = kHeaderSize;
    for (;;) {
        if (size - position < kHeaderV2Size)
            RaiseFirmwareError(TFirmwareFault::Corrupt);
        TContainerImage entry;
        entry.Record = DecodeHeaderV2(c.Bytes.data() + position);
        entry.Offset = position + kHeaderV2Size;
        entry.CodeSize = std::uint32_t{entry.Record.PageSize} * entry.Record.PageCount;
        CheckImageSizes(entry.Record, entry.CodeSize);
        if (size - entry.Offset < entry.CodeSize)
            RaiseFirmwareError(TFirmwareFault::Corrupt);
        if (StoredImageChecksum(entry.Record, c.Bytes.data() + entry.Offset, entry.CodeSize) !=
            entry.Record.EncImageCRC)
            RaiseFirmwareError(TFirmwareFault::WrongChecksum);
        c.Images.push_back(entry);
        // The reader's rule: past the image and the 8 skipped bytes, another
        // record follows as long as the file goes on.
        const std::size_t next = entry.Offset + entry.CodeSize + kRecordGap;
        if (next >= size)
            return;
        position = next;
    }
}

} // namespace

TCheckedContainer::TCheckedContainer(std::vector<std::uint8_t> bytes) : Bytes(std::move(bytes)) {
    if (Bytes.size() < kHeaderSize)
        RaiseFirmwareError(TFirmwareFault::NotKorvelan);
    Header = DecodeHeader(Bytes.data());
    if (!HasKorvelanSignature(Header))
        RaiseFirmwareError(TFirmwareFault::NotKorvelan);
    if (Header.Version == 1)
        CheckFormatOne(*this);
    else if (Header.Version == 2)
        CheckFormatTwo(*this);
    else
        RaiseFirmwareError(TFirmwareFault::UnsupportedVersion);
}

TFirmware::TFirmware(const std::string& fileName, TResourceReader resources) {
    if (fileName == kEmbeddedFirmware) {
        FwSource = TFwSource::FwSrcRES;
        Containers.emplace_back(resources(kResourceAvr));
        Containers.emplace_back(resources(kResourceArm));
    } else {
        FwSource = TFwSource::FwSrcFile;
        Containers.emplace_back(ReadWholeFile(fileName));
    }
    // The version of the embedded firmware is that of the AVR container.
    Header = Chosen().Header;
    SetVersionFromHeader();
}

TFirmware::TFirmware(std::vector<std::uint8_t> container) {
    Containers.emplace_back(std::move(container));
    Header = Chosen().Header;
    SetVersionFromHeader();
}

void TFirmware::SetVersionFromHeader() {
    Version = {Header.VerMaj, Header.VerMin, Header.VerPatch};
}

TUploadProcedure TFirmware::SelectImage(std::uint16_t hardwareId) {
    Selected = false;
    HardwareID = hardwareId;
    const std::uint16_t family = hardwareId & kFamilyMask;
    if (FwSource == TFwSource::FwSrcRES) {
        if (family == kFamilyAvr)
            ChosenContainer = 0;
        else if (family == kFamilyArm)
            ChosenContainer = 1;
        else
            RaiseFirmwareError(TFirmwareFault::UnsupportedMultiplexer);
    }
    const TCheckedContainer& container = Chosen();
    Header = container.Header;
    const TContainerImage* image = nullptr;
    if (Header.Version == 1) {
        HeaderV1 = container.HeaderV1;
        if (family == kFamilyArm || (HeaderV1.HardwareID != 0 && HeaderV1.HardwareID != hardwareId))
            RaiseFirmwareError(TFirmwareFault::WrongMultiplexer);
        image = &container.Images.front();
    } else {
        for (const TContainerImage& candidate : container.Images)
            if ((hardwareId & candidate.Record.HardwareIDMask) == candidate.Record.HardwareID) {
                image = &candidate;
                break;
            }
        if (image == nullptr)
            RaiseFirmwareError(TFirmwareFault::NoMatchingImage);
        HeaderV2 = image->Record;
    }
    SetVersionFromHeader();
    PageSize = image->Record.PageSize;
    PageCount = image->Record.PageCount;
    CodeSize = image->CodeSize;
    CodeCRC = image->Record.ImageCRC;
    IV = image->Record.IV;
    ImageOffset = image->Offset;
    Selected = true;
    if (Header.Version == 1 || image->Record.HardwareID == kFamilyAvr)
        return TUploadProcedure::upAvr;
    if (image->Record.HardwareID == kFamilyArm)
        return TUploadProcedure::upArm;
    return TUploadProcedure::upNone;
}

const std::uint8_t* TFirmware::PageData(std::uint16_t page) const {
    return Chosen().Bytes.data() + ImageOffset + std::size_t{page} * PageSize;
}

namespace {

std::string FamilyName(std::uint16_t hardwareId) {
    if (hardwareId == kFamilyAvr)
        return "AVR";
    if (hardwareId == kFamilyArm)
        return "ARM";
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text = "hardware ID ";
    for (int shift = 12; shift >= 0; shift -= 4)
        text += kDigits[(hardwareId >> shift) & 0xF];
    return text;
}

} // namespace

std::string TFirmware::FamilyText() const {
    if (Selected)
        return FamilyName(Header.Version == 1 ? kFamilyAvr : HeaderV2.HardwareID);
    std::vector<std::string> names;
    for (const TCheckedContainer& container : Containers)
        for (const TContainerImage& image : container.Images) {
            std::string name = FamilyName(image.Record.HardwareID);
            if (std::find(names.begin(), names.end(), name) == names.end())
                names.push_back(std::move(name));
        }
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    return text;
}

std::uint32_t TFirmware::LargestImage() const {
    if (Selected)
        return CodeSize;
    std::uint32_t largest = 0;
    for (const TCheckedContainer& container : Containers)
        for (const TContainerImage& image : container.Images)
            largest = std::max(largest, image.CodeSize);
    return largest;
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
