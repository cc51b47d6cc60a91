#include "network/records/XPortRecords.h"

#include <gtest/gtest.h>

#include <numeric>

namespace kvl {
namespace {

// A record whose every byte differs from its neighbours, so that any byte moved,
// dropped or zeroed shows.
TXPortBytes Filled(std::size_t size, std::uint8_t code) {
    TXPortBytes bytes(size);
    std::iota(bytes.begin(), bytes.end(), std::uint8_t{0x40});
    bytes[0] = bytes[1] = bytes[2] = 0;
    bytes[3] = code;
    return bytes;
}

TEST(XPortRecordsTest, RequestsAreThreeZerosAndTheCode) {
    EXPECT_EQ(XPortRequest(xport::kSearchRequest), (TXPortBytes{0, 0, 0, 0xF6}));
    EXPECT_EQ(XPortRequest(xport::kSetupRequest), (TXPortBytes{0, 0, 0, 0xF8}));
    EXPECT_EQ(XPortRequest(xport::kExtendedRequest), (TXPortBytes{0, 0, 0, 0xE3}));
}

TEST(XPortRecordsTest, SearchAnswersByLengthAndCode) {
    TXPortBytes reply = Filled(30, 0xF7);
    const TSearchAnswer module = DecodeSearchAnswer(reply);
    EXPECT_EQ(module.Kind, TSearchAnswer::TKind::Module);
    EXPECT_EQ(module.Mac, (TMacAddress{reply[24], reply[25], reply[26], reply[27], reply[28], reply[29]}));
    reply[3] = 0xF9;
    EXPECT_EQ(DecodeSearchAnswer(reply).Kind, TSearchAnswer::TKind::Skipped);
    for (std::size_t size : {4u, 29u, 31u})
        EXPECT_EQ(DecodeSearchAnswer(Filled(size, 0xF7)).Kind, TSearchAnswer::TKind::EndOfSearch) << size;
    EXPECT_EQ(DecodeSearchAnswer({}).Kind, TSearchAnswer::TKind::EndOfSearch);
}

TEST(XPortRecordsTest, SetupReplyNeedsItsLengthAndCode) {
    EXPECT_TRUE(DecodeSetupReply(Filled(124, 0xF9)));
    EXPECT_FALSE(DecodeSetupReply(Filled(124, 0xFB)));
    EXPECT_FALSE(DecodeSetupReply(Filled(123, 0xF9)));
    EXPECT_FALSE(DecodeSetupReply(Filled(125, 0xF9)));
}

TEST(XPortRecordsTest, SetupFieldsReadFromTheirOffsets) {
    TXPortBytes bytes(124, 0);
    bytes[3] = 0xF9;
    const std::uint8_t ip[] = {192, 168, 1, 20};
    std::copy(ip, ip + 4, bytes.begin() + 4);
    bytes[10] = 8;
    const std::uint8_t gw[] = {192, 168, 1, 1};
    std::copy(gw, gw + 4, bytes.begin() + 16);
    bytes[24] = 0x7E; // 10110 little-endian
    bytes[25] = 0x27;
    bytes[28] = bytes[29] = bytes[30] = bytes[31] = 0xFF;
    bytes[32] = 0xCC;
    const auto record = DecodeSetupReply(bytes);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->IPAddress(), 0xC0A80114u);
    EXPECT_EQ(record->HostBits(), 8);
    EXPECT_EQ(record->Gateway(), 0xC0A80101u);
    EXPECT_EQ(record->Port(), 10110);
    EXPECT_EQ(record->RemoteIP(), xport::kBroadcast);
    EXPECT_TRUE(record->IsUdp());
}

TEST(XPortRecordsTest, UdpNeedsBothModeBits) {
    struct Case {
        std::uint8_t Mode;
        bool Udp;
    };
    for (const Case c :
         {Case{0xCC, true}, Case{0x0C, true}, Case{0xC0, false}, Case{0xC4, false}, Case{0xC8, false}}) {
        TXPortBytes bytes = Filled(124, 0xF9);
        bytes[32] = c.Mode;
        EXPECT_EQ(DecodeSetupReply(bytes)->IsUdp(), c.Udp) << int(c.Mode);
    }
}

TEST(XPortRecordsTest, WrittenRecordKeepsEveryByteButTheCode) {
    const TXPortBytes bytes = Filled(124, 0xF9);
    const auto record = DecodeSetupReply(bytes);
    for (bool changeIP : {false, true}) {
        TXPortBytes expected = bytes;
        expected[3] = changeIP ? 0xFD : 0xFA;
        EXPECT_EQ(EncodeSetupWrite(*record, changeIP), expected);
    }
}

TEST(XPortRecordsTest, EditedFieldsChangeOnlyTheirBytes) {
    const TXPortBytes bytes = Filled(124, 0xF9);
    auto record = *DecodeSetupReply(bytes);
    record.SetIPAddress(0x0A000102);
    record.SetHostBits(16);
    record.SetGateway(0x0A000001);
    record.SetPort(2000);
    record.SetTcp();
    TXPortBytes expected = bytes;
    expected[3] = 0xFA;
    const std::uint8_t fields[][2] = {{4, 10},    {5, 0},     {6, 1},     {7, 2},  {10, 16},
                                      {16, 10},   {17, 0},    {18, 0},    {19, 1}, {24, 0xD0},
                                      {25, 0x07}, {26, 0xD0}, {27, 0x07}, {28, 0}, {29, 0},
                                      {30, 0},    {31, 0},    {32, 0xC0}, {33, 0}, {39, 0}};
    for (const auto& field : fields)
        expected[field[0]] = field[1];
    EXPECT_EQ(EncodeSetupWrite(record, false), expected);

    record.SetUdp(0xC0A80164);
    const std::uint8_t udp[][2] = {{28, 192}, {29, 168}, {30, 1}, {31, 100}, {32, 0xCC}, {33, 1}, {39, 0x30}};
    for (const auto& field : udp)
        expected[field[0]] = field[1];
    EXPECT_EQ(EncodeSetupWrite(record, false), expected);
}

TEST(XPortRecordsTest, SetIPDatagram) {
    const TXPortSetIP setIP{{0xAB, 0xCD}, 0x7F000105};
    EXPECT_EQ(setIP.Encode(), (TXPortBytes{0,   0,   0, 0xFC, 'I',  'P',  '-', 'S', 'E', 'T',
                                           'U', 'P', 0, 0,    0xAB, 0xCD, 127, 0,   1,   5}));
}

TEST(XPortRecordsTest, ExtendedWriteSetsBytesOneThreeAndTheDefaultsBit) {
    TXPortBytes reply = Filled(130, 0xD3);
    reply[120] = 0x25;
    TXPortBytes expected = reply;
    expected[1] = 0x01;
    expected[3] = 0xC3;
    expected[120] = 0x85;
    EXPECT_EQ(ExtendedWriteFromReply(reply), expected);
    reply[3] = 0xD4;
    EXPECT_FALSE(ExtendedWriteFromReply(reply));
    EXPECT_FALSE(ExtendedWriteFromReply(Filled(129, 0xD3)));
}

TEST(XPortRecordsTest, ResetCommand) {
    TXPortBytes expected(130, 0);
    expected[1] = 0x01;
    expected[3] = 0xC7;
    expected[5] = 0x06;
    expected[6] = 0x01;
    EXPECT_EQ(XPortResetCommand(), expected);
}

TEST(XPortRecordsTest, FactorySetupIsUdpBroadcastOn10110WithoutAddress) {
    TXPortBytes expected(124, 0);
    const std::uint8_t set[][2] = {{3, 0xFD},  {11, 0x2D}, {20, 0x4C}, {21, 0x0B}, {22, 0x02},
                                   {24, 0x7E}, {25, 0x27}, {26, 0x7E}, {27, 0x27}, {28, 0xFF},
                                   {29, 0xFF}, {30, 0xFF}, {31, 0xFF}, {32, 0xCC}, {33, 0x01},
                                   {36, 0x0D}, {37, 0x0A}, {38, 0xF7}, {39, 0x30}};
    for (const auto& byte : set)
        expected[byte[0]] = byte[1];
    const TXPortSetup0 factory = FactorySetup();
    const auto& bytes = factory.Bytes();
    EXPECT_EQ(TXPortBytes(bytes.begin(), bytes.end()), expected);
}

TEST(XPortRecordsTest, AcknowledgementsByCode) {
    EXPECT_TRUE(IsXPortAck({0, 0, 0, 0xFB}, 0xFB));
    EXPECT_FALSE(IsXPortAck({0, 0, 0, 0xFA}, 0xFB));
    EXPECT_FALSE(IsXPortAck({0, 0, 0}, 0xFB));
}

TEST(XPortRecordsTest, FoundLineHasTwoSpacesAndUpperCaseMac) {
    EXPECT_EQ(FoundLine("127.0.0.5", {0x00, 0x20, 0x4a, 0x0b, 0xfe, 0x01}), "127.0.0.5  (00-20-4A-0B-FE-01)");
}

} // namespace
} // namespace kvl
