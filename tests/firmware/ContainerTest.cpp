#include "ContainerBuilder.h"

#include "firmware/Firmware.h"
#include "firmware/FirmwareError.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <system_error>

using namespace kvl;
using namespace fwtest;

namespace {

// The message a selection raises, "" when it passes.
std::string SelectFault(const Bytes& container, std::uint16_t hardwareId) {
    try {
        TFirmware firmware(container);
        firmware.SelectImage(hardwareId);
        return "";
    } catch (const EInOutError& e) {
        return e.what();
    }
}

void PutLE16(Bytes& bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

constexpr std::size_t kRecord = kHeaderSize; // the first format-2 record

TResourceReader Embedded(std::map<std::string, Bytes> resources) {
    return [resources](std::string_view name) {
        const auto it = resources.find(std::string(name));
        if (it == resources.end())
            throw EInOutError("missing resource");
        return it->second;
    };
}

} // namespace

TEST(Container, AWrongSignatureFailsAtOnce) {
    Bytes bytes = FormatV2({Record{}});
    bytes[3] = ' ';
    EXPECT_THROW(
        {
            try {
                TFirmware firmware(bytes);
            } catch (const EInOutError& e) {
                EXPECT_STREQ(e.what(), "Not a Korvelan firmware file");
                throw;
            }
        },
        EInOutError);
    EXPECT_THROW(TFirmware(Bytes{'K', 'V', 'L'}), EInOutError);
}

// Everything that does not depend on the multiplexer is found when the file is
// opened, before the multiplexer is asked to restart into its bootloader.
TEST(Container, EveryFaultOfTheFileItselfIsFoundWhenItIsOpened) {
    Bytes unknownFormat = FormatV2({Record{}});
    unknownFormat[4] = 3;
    Bytes secondImageChanged = FormatV2({Record{0x10, 0x70, 512, 2, 1}, Record{0x20, 0x70, 2048, 2, 2}});
    secondImageChanged.back() ^= 1;
    Bytes secondRecordCut = FormatV2({Record{0x10, 0x70, 512, 1, 1}, Record{0x20, 0x70, 2048, 1, 2}});
    secondRecordCut.resize(secondRecordCut.size() - 2048 - 10);
    Bytes partPage = FormatV1(Pattern(1536, 1));
    partPage.pop_back();
    const struct {
        const char* what;
        Bytes bytes;
        const char* message;
    } cases[] = {
        {"format 3", unknownFormat, "Unsupported firmware file version"},
        {"the image that would not be chosen changed", secondImageChanged, "Firmware has wrong checksum)"},
        {"a record cut short", secondRecordCut, "Firmware file is corrupt"},
        {"format 1 with a part page", partPage, "Firmware file is corrupt"},
        {"format 2 AVR image beyond the checksummed flash", FormatV2({Record{0x10, 0x70, 512, 513, 1}}),
         "Firmware file is corrupt"},
        {"format 2 ARM image of part words", FormatV2({Record{0x20, 0x70, 6, 1, 1}}),
         "Firmware file is corrupt"},
    };
    for (const auto& c : cases) {
        try {
            TFirmware firmware(c.bytes);
            ADD_FAILURE() << c.what << ": accepted";
        } catch (const EInOutError& e) {
            EXPECT_STREQ(e.what(), c.message) << c.what;
        }
    }
}

TEST(Container, FormatOneFitsEveryAvrButNoArmMultiplexer) {
    const Bytes image = Pattern(1024, 3);
    EXPECT_EQ(SelectFault(FormatV1(image), 0x13), "");
    EXPECT_EQ(SelectFault(FormatV1(image), 0x21), "Firmware file does not match with connected multiplexer");
    EXPECT_EQ(SelectFault(FormatV1(image, 0x11), 0x12),
              "Firmware file does not match with connected multiplexer");
    EXPECT_EQ(SelectFault(FormatV1(image, 0x11), 0x11), "");
}

TEST(Container, FormatOneImageSizeLimits) {
    EXPECT_EQ(SelectFault(FormatV1(Pattern(262144, 1)), 0x10), "");
    EXPECT_EQ(SelectFault(FormatV1(Pattern(262144 + 512, 1)), 0x10), "Firmware file is corrupt");
    EXPECT_EQ(SelectFault(FormatV1(Pattern(511, 1)), 0x10), "Firmware file is corrupt");
    Bytes shortHeader = FormatV1(Pattern(512, 1));
    shortHeader.resize(kHeaderSize + 27);
    EXPECT_EQ(SelectFault(shortHeader, 0x10), "Firmware file is corrupt");
}

TEST(Container, FormatOneImageIsReadWithItsPages) {
    const Bytes image = Pattern(1536, 9);
    TFirmware firmware(FormatV1(image));
    ASSERT_EQ(firmware.SelectImage(0x10), TUploadProcedure::upAvr);
    EXPECT_EQ(firmware.CodeSize, 1536u);
    EXPECT_EQ(firmware.PageSize, 512);
    EXPECT_EQ(firmware.PageCount, 3);
    EXPECT_EQ(firmware.CodeCRC, 0x11223344u);
    EXPECT_EQ(firmware.IV[15], 0x5A);
    EXPECT_TRUE(std::equal(image.begin() + 1024, image.end(), firmware.PageData(2)));
}

TEST(Container, TheArmRecordAfterAnAvrRecordIsFound) {
    const Bytes bytes = FormatV2({Record{0x10, 0x70, 512, 3, 1}, Record{0x20, 0x70, 2048, 2, 2}});
    TFirmware firmware(bytes);
    ASSERT_EQ(firmware.SelectImage(0x21), TUploadProcedure::upArm);
    EXPECT_EQ(firmware.PageSize, 2048);
    EXPECT_EQ(firmware.PageCount, 2);
    EXPECT_EQ(firmware.CodeCRC, 0xC0DE0002u);
    const Bytes image = Pattern(4096, 2);
    EXPECT_TRUE(std::equal(image.begin(), image.begin() + 2048, firmware.PageData(0)));
    EXPECT_TRUE(std::equal(image.begin() + 2048, image.end(), firmware.PageData(1)));
    EXPECT_EQ(firmware.IV[0], 2);
}

TEST(Container, FormatTwoFaults) {
    EXPECT_EQ(SelectFault(FormatV2({Record{}}), 0x20), "No matching firmware image found in file");
    Bytes cut = FormatV2({Record{}});
    cut.resize(kRecord + 20);
    EXPECT_EQ(SelectFault(cut, 0x10), "Firmware file is corrupt");
    Bytes shortImage = FormatV2({Record{}});
    shortImage.pop_back();
    EXPECT_EQ(SelectFault(shortImage, 0x10), "Firmware file is corrupt");
    Bytes changed = FormatV2({Record{0x20, 0x70, 2048, 2, 4}});
    changed[kRecord + kHeaderV2Size + 100] ^= 1;
    EXPECT_EQ(SelectFault(changed, 0x20), "Firmware has wrong checksum)");
}

// Sizes come from the file: they are refused before anything is read or sent.
TEST(Container, FormatTwoSizesBeyondTheCodeAreaOrAPacketAreRefused) {
    struct Case {
        std::uint16_t pageSize;
        std::uint16_t pageCount;
    };
    for (const Case c : {Case{8189, 1}, Case{0, 4}, Case{512, 0}, Case{8188, 129}, Case{65535, 65535}}) {
        Bytes bytes = FormatV2({Record{}});
        PutLE16(bytes, kRecord + 4, c.pageSize);
        PutLE16(bytes, kRecord + 6, c.pageCount);
        EXPECT_EQ(SelectFault(bytes, 0x10), "Firmware file is corrupt") << c.pageSize << " x " << c.pageCount;
    }
}

TEST(Container, ARecordWithHugeSizesIsRefusedEvenWhenAnotherWouldBeChosen) {
    Bytes bytes = FormatV2({Record{0x10, 0x70, 512, 1, 1}, Record{0x20, 0x70, 512, 1, 2}});
    PutLE16(bytes, kRecord + 4, 65535);
    PutLE16(bytes, kRecord + 6, 65535);
    EXPECT_EQ(SelectFault(bytes, 0x20), "Firmware file is corrupt");
}

TEST(Container, AnImageOfAnotherFamilyIsReadWithoutChecksumAndNotUploaded) {
    Bytes bytes = FormatV2({Record{0x30, 0x70, 512, 2, 5}});
    bytes[kRecord + 12] ^= 0xFF; // no checksum is checked for this family
    TFirmware firmware(bytes);
    EXPECT_EQ(firmware.SelectImage(0x31), TUploadProcedure::upNone);
    EXPECT_EQ(firmware.CodeSize, 1024u);
}

TEST(Container, AContainerFileIsReadAndAMissingOneGivesTheSystemError) {
    const std::string path = ::testing::TempDir() + "container.kvl";
    const Bytes bytes = FormatV2({Record{}});
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    TFirmware firmware(path, nullptr);
    EXPECT_EQ(firmware.FwSource, TFwSource::FwSrcFile);
    EXPECT_EQ(firmware.SelectImage(0x10), TUploadProcedure::upAvr);
    std::remove(path.c_str());
    EXPECT_THROW(TFirmware(path, nullptr), std::system_error);
}

TEST(Container, EmbeddedContainersAreChosenByFamily) {
    const auto resources = Embedded({{"FIRMWARE_AVR", FormatV2({Record{0x10, 0x70, 512, 2, 1}})},
                                     {"FIRMWARE_ARM", FormatV2({Record{0x20, 0x70, 2048, 3, 2}})}});
    TFirmware avr("RCDATA", resources);
    EXPECT_EQ(avr.FwSource, TFwSource::FwSrcRES);
    EXPECT_EQ(avr.SelectImage(0x12), TUploadProcedure::upAvr);
    EXPECT_EQ(avr.PageCount, 2);
    TFirmware arm("RCDATA", resources);
    EXPECT_EQ(arm.SelectImage(0x25), TUploadProcedure::upArm);
    EXPECT_EQ(arm.PageCount, 3);
    TFirmware other("RCDATA", resources);
    EXPECT_THROW(
        {
            try {
                other.SelectImage(0x30);
            } catch (const EInOutError& e) {
                EXPECT_STREQ(e.what(), "Unsupported multiplexer");
                throw;
            }
        },
        EInOutError);
    EXPECT_EQ(EnclosedFirmwareVersion(resources), "3.29.4");
    EXPECT_EQ(other.FamilyText(), "AVR and ARM");
    EXPECT_EQ(arm.FamilyText(), "ARM") << "once chosen, the image's own";
    EXPECT_EQ(other.LargestImage(), 3u * 2048);
}
