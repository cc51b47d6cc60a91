#include "link/PacketFraming.h"

#include <gtest/gtest.h>

#include <vector>

using namespace kvl;

namespace {

using Bytes = std::vector<std::uint8_t>;

// Feeds the bytes and returns the data of the packet completed, if any.
std::optional<Bytes> Receive(TPacketFraming& framing, const Bytes& bytes) {
    for (const std::uint8_t b : bytes)
        framing.Feed(b);
    if (framing.CurrentState() != TRxState::stReady)
        return std::nullopt;
    const TPacket& p = framing.Packet();
    return Bytes(p.Data.begin(), p.Data.begin() + p.Length);
}

std::optional<Bytes> Receive(const Bytes& bytes) {
    TPacketFraming framing;
    return Receive(framing, bytes);
}

TPacket MakePacket(const Bytes& data) {
    TPacket p;
    p.Length = static_cast<std::uint16_t>(data.size());
    std::copy(data.begin(), data.end(), p.Data.begin());
    return p;
}

} // namespace

TEST(PacketFraming, EmptyFrameCarriesNoPacket) {
    TPacketFraming framing;
    EXPECT_FALSE(Receive(framing, {0xFE, 0xFD}));
    EXPECT_EQ(framing.CurrentState(), TRxState::stIdle);
}

TEST(PacketFraming, StartInsideAFrameRestartsIt) {
    EXPECT_EQ(Receive({0xFE, 0x01, 0xFE, 0x02, 0xFD}), Bytes{0x02});
}

TEST(PacketFraming, EscapedBytesAreData) {
    EXPECT_EQ(Receive({0xFE, 0xFF, 0xFD, 0x05, 0xFD}), (Bytes{0xFD, 0x05}));
    EXPECT_EQ(Receive({0x00, 0x33, 0xFE, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFD, 0xFD}),
              (Bytes{0xFF, 0xFE, 0xFD}));
}

TEST(PacketFraming, OversizedFrameKeepsItsFirst8192Bytes) {
    Bytes frame{0xFE};
    for (int i = 0; i < 8193; ++i)
        frame.push_back(static_cast<std::uint8_t>(i % 200));
    frame.push_back(0xFD);
    const auto data = Receive(frame);
    ASSERT_TRUE(data);
    ASSERT_EQ(data->size(), 8192u);
    EXPECT_EQ((*data)[8191], 8191 % 200);
}

TEST(PacketFraming, CompletedPacketWaitsUntilReset) {
    TPacketFraming framing;
    ASSERT_EQ(Receive(framing, {0xFE, 0x07, 0xFD}), Bytes{0x07});
    EXPECT_EQ(Receive(framing, {0xFE, 0x08, 0xFD}), Bytes{0x07}); // later bytes are lost
    framing.Reset();
    EXPECT_EQ(Receive(framing, {0xFE, 0x09, 0xFD}), Bytes{0x09});
}

TEST(EncodeFrame, EscapesTheThreeReservedValues) {
    EXPECT_EQ(EncodeFrame(MakePacket({0xFD, 0x05})), (Bytes{0xFE, 0xFF, 0xFD, 0x05, 0xFD}));
    EXPECT_EQ(EncodeFrame(MakePacket({0xFF, 0xFE, 0xFD})),
              (Bytes{0xFE, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFD, 0xFD}));
    EXPECT_EQ(EncodeFrame(MakePacket({0x00, 0xFC})), (Bytes{0xFE, 0x00, 0xFC, 0xFD}));
}

TEST(EncodeFrame, WorstCaseFrameRoundTrips) {
    const Bytes data(kMaxPacketData, 0xFF);
    const Bytes frame = EncodeFrame(MakePacket(data));
    EXPECT_EQ(frame.size(), kMaxFrameSize);
    EXPECT_EQ(Receive(frame), data);
}
