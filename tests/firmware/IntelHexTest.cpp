#include "firmware/IntelHex.h"
#include "firmware/FirmwareError.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

using namespace kvl;

namespace {

std::string Zeros(std::size_t bytes) {
    return std::string(bytes * 2, '0');
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

TEST(IntelHex, FortyZeroBytesAtAddress1000) {
    const std::string expected = ":020000040000FA\r\n"
                                 ":10100000" +
                                 Zeros(16) +
                                 "E0\r\n"
                                 ":10101000" +
                                 Zeros(16) +
                                 "D0\r\n"
                                 ":08102000" +
                                 Zeros(8) +
                                 "C8\r\n"
                                 ":00000001FF\r\n";
    EXPECT_EQ(IntelHexText(std::vector<std::uint8_t>(40, 0), 0x1000), expected);
}

TEST(IntelHex, ThirtyTwoBytesGiveTwoRecordsAndNoEmptyOne) {
    std::vector<std::uint8_t> data(32);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<std::uint8_t>(0xF0 + i);
    const std::string text = IntelHexText(data, 0);
    EXPECT_EQ(text, ":020000040000FA\r\n"
                    ":10000000F0F1F2F3F4F5F6F7F8F9FAFBFCFDFEFF78\r\n"
                    ":1000100000010203040506070809"
                    "0A0B0C0D0E0F68\r\n"
                    ":00000001FF\r\n");
}

// Each 64 KiB block gets its extended linear address record, and no record
// crosses a block boundary, so every byte loads at the address it came from.
TEST(IntelHex, DataAbove64KiBCarriesItsUpperAddress) {
    const std::vector<std::uint8_t> data(24, 0x11);
    const std::string text = IntelHexText(data, 0x1FFF8);
    EXPECT_EQ(text, ":020000040001F9\r\n"
                    ":08FFF800111111111111111179\r\n"
                    ":020000040002F8\r\n"
                    ":1000000011111111111111111111111111111111E0\r\n"
                    ":00000001FF\r\n");
}

TEST(IntelHex, TheFileIsWrittenWholeAndAFailureKeepsThePreviousOne) {
    const std::string path = ::testing::TempDir() + "readout.hex";
    TBinaryData data;
    data.Append({1, 2, 3});
    data.SaveToHexFile(path, 0x20000);
    EXPECT_EQ(ReadFile(path), ":020000040002F8\r\n:03000000010203F7\r\n:00000001FF\r\n");
    EXPECT_THROW(data.SaveToHexFile(::testing::TempDir() + "no/such/folder/x.hex", 0), EInOutError);
    std::remove(path.c_str());
}
