// The containers the build embeds in the program.
#include "firmware/SyntheticFirmware.h"
#include "firmware/Firmware.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

using namespace kvl;

namespace {

std::vector<std::uint8_t> ReadBuilt(std::string_view name) {
    std::ifstream in(std::string(KVL_FIRMWARE_DIR) + "/" + std::string(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

TEST(SyntheticFirmware, TheBuiltFilesAreTheGeneratorsContainers) {
    if (!KVL_FIRMWARE_SYNTHETIC)
        GTEST_SKIP() << "built with the maker's containers";
    EXPECT_EQ(ReadBuilt("FIRMWARE_AVR"), MakeSyntheticContainer(TSyntheticFamily::Avr));
    EXPECT_EQ(ReadBuilt("FIRMWARE_ARM"), MakeSyntheticContainer(TSyntheticFamily::Arm));
}

TEST(SyntheticFirmware, BothPassTheReaderAsVersion3Point29) {
    if (!KVL_FIRMWARE_SYNTHETIC)
        GTEST_SKIP() << "built with the maker's containers";
    EXPECT_EQ(EnclosedFirmwareVersion(ReadBuilt), "3.29.0");
    TFirmware avr("RCDATA", ReadBuilt);
    ASSERT_EQ(avr.SelectImage(0x10), TUploadProcedure::upAvr);
    EXPECT_EQ(avr.HeaderV2.HardwareIDMask, 0x70);
    EXPECT_EQ(avr.PageSize, 512);
    EXPECT_EQ(avr.PageCount, kSyntheticAvrPages);
    TFirmware arm("RCDATA", ReadBuilt);
    ASSERT_EQ(arm.SelectImage(0x20), TUploadProcedure::upArm);
    EXPECT_EQ(arm.PageSize, 2048);
    EXPECT_EQ(arm.PageCount, kSyntheticArmPages);
    EXPECT_EQ(arm.Version.Minor, 29);
}
