#include "firmware/BootloaderPackets.h"
#include "link/CommError.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kvl;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes DataOf(const TPacket& packet) {
    return {packet.Data.begin(), packet.Data.begin() + packet.Length};
}

TPacket PacketOf(const Bytes& bytes) {
    TPacket packet;
    std::copy(bytes.begin(), bytes.end(), packet.Data.begin());
    packet.Length = static_cast<std::uint16_t>(bytes.size());
    return packet;
}

std::string Judged(int code, const Bytes& answer) {
    try {
        CheckBootloaderAnswer(code, PacketOf(answer));
        return "passed";
    } catch (const ECommError& e) {
        return e.what();
    }
}

} // namespace

TEST(BootloaderPackets, CommandsAsTheBootloaderReadsThem) {
    EXPECT_EQ(DataOf(StartPatternPacket()), (Bytes{0xF0, 0xF1, 0xF2, 0xF3}));
    EXPECT_EQ(DataOf(EraseApplicationPacket()), (Bytes{0x01}));
    EXPECT_EQ(DataOf(CalculateCrcPacket()), (Bytes{0x05}));
    EXPECT_EQ(DataOf(CalculateCrcPacket(381)), (Bytes{0x05, 0x7D, 0x01}));
    const Bytes iv = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    Bytes avr = {0x06, 0x02};
    avr.insert(avr.end(), iv.begin(), iv.end());
    EXPECT_EQ(DataOf(EncryptionPacket(2, iv.data(), 16)), avr);
    EXPECT_EQ(DataOf(EncryptionPacket(3, iv.data(), 4)), (Bytes{0x06, 0x03, 0, 1, 2, 3}));
}

TEST(BootloaderPackets, PageCommandsCarryTheNumberAndTheWholePage) {
    Bytes page(2048);
    for (std::size_t i = 0; i < page.size(); ++i)
        page[i] = static_cast<std::uint8_t>(i * 13);
    const TPacket avr = ProgramPagePacket(0x0123, page.data(), 512);
    ASSERT_EQ(avr.Length, 515);
    EXPECT_EQ((Bytes{avr.Data[0], avr.Data[1], avr.Data[2]}), (Bytes{0x03, 0x23, 0x01}));
    EXPECT_TRUE(std::equal(page.begin(), page.begin() + 512, avr.Data.begin() + 3));
    const TPacket arm = EraseProgramPagePacket(0x0102, page.data(), 2048);
    ASSERT_EQ(arm.Length, 2052);
    EXPECT_EQ((Bytes{arm.Data[0], arm.Data[1], arm.Data[2], arm.Data[3]}), (Bytes{0x04, 0x02, 0x01, 0x00}));
    EXPECT_TRUE(std::equal(page.begin(), page.end(), arm.Data.begin() + 4));
}

TEST(BootloaderPackets, AnswersAreJudgedWithTheCommandsNameLine) {
    struct Case {
        int code;
        Bytes answer;
        std::string expected;
    };
    const Case cases[] = {
        {1, {0xC0}, "passed"},
        {1, {0xE1}, "Erase application command:\rUnknown command"},
        {2, {0xE0}, "Erase application page command:\rFrame size error"},
        {3, {0xE0}, "Programm application page command:\rFrame size error"},
        {4, {0x00}, "Erase/program application page command:\rUnknown response"},
        {5, {0xC0, 0x00}, "Calculate CRC command:\rResponse has wrong size"},
        {6, {0xE2}, "Encryption command:\rUnknown decryption method"},
        {7, {0xE1}, "Program USR command:\rUnknown command"},
        {8, {}, "Read USR command:\rResponse has wrong size"},
        {9, {0xE1}, "Unknown command"},
        {1, {0xC0, 0xC0, 0xC0, 0xC0, 0xC0}, "Erase application command:\rResponse has wrong size"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Judged(c.code, c.answer), c.expected) << c.code;
}

TEST(BootloaderPackets, TheChecksumAnswerIsLittleEndianAfter05Or85) {
    EXPECT_EQ(CrcAnswerValue(PacketOf({0x05, 0x78, 0x56, 0x34, 0x12})), 0x12345678u);
    EXPECT_EQ(CrcAnswerValue(PacketOf({0x85, 0xFF, 0x00, 0x00, 0x80})), 0x800000FFu);
    EXPECT_FALSE(CrcAnswerValue(PacketOf({0x06, 0x78, 0x56, 0x34, 0x12})));
    EXPECT_FALSE(CrcAnswerValue(PacketOf({0x05, 0x78, 0x56, 0x34})));
    EXPECT_FALSE(CrcAnswerValue(PacketOf({0xC0})));
}
