// The link-mode packet framing. Two properties:
// - any byte stream: every packet it yields holds 1..8192 bytes, and framing that
//   packet again with EncodeFrame and feeding the frame back gives the same packet;
// - the input taken as packet data: EncodeFrame gives start, escaped data, end, and
//   the framing reads exactly that packet back from it.
#include "FuzzCheck.h"

#include "link/PacketFraming.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

using namespace kvl;

namespace {

bool SamePacket(const TPacket& a, const TPacket& b) {
    return a.Length == b.Length && std::equal(a.Data.begin(), a.Data.begin() + a.Length, b.Data.begin());
}

// Feeds a whole frame; the packet must complete exactly on its last byte.
void CheckRoundTrip(const TPacket& packet) {
    const std::vector<std::uint8_t> frame = EncodeFrame(packet);
    TPacketFraming again;
    for (std::size_t i = 0; i < frame.size(); ++i)
        KVL_FUZZ_CHECK(again.Feed(frame[i]) == (i + 1 == frame.size()));
    KVL_FUZZ_CHECK(again.CurrentState() == TRxState::stReady);
    KVL_FUZZ_CHECK(SamePacket(again.Packet(), packet));
}

void CheckStream(const std::uint8_t* data, std::size_t size) {
    TPacketFraming framing;
    for (std::size_t i = 0; i < size; ++i) {
        if (!framing.Feed(data[i]))
            continue;
        const TPacket& packet = framing.Packet();
        KVL_FUZZ_CHECK(framing.CurrentState() == TRxState::stReady);
        KVL_FUZZ_CHECK(packet.Length >= 1 && packet.Length <= kMaxPacketData);
        CheckRoundTrip(packet);
        // A completed packet waits for its reader: a further byte, even a frame
        // start, neither completes another packet nor touches this one.
        const std::uint16_t length = packet.Length;
        KVL_FUZZ_CHECK(!framing.Feed(kFrameStart));
        KVL_FUZZ_CHECK(framing.CurrentState() == TRxState::stReady && packet.Length == length);
        framing.Reset();
    }
}

void CheckEncoding(const std::uint8_t* data, std::size_t size) {
    TPacket packet;
    packet.Length = static_cast<std::uint16_t>(std::min(size, kMaxPacketData));
    std::copy(data, data + packet.Length, packet.Data.begin());

    const std::vector<std::uint8_t> frame = EncodeFrame(packet);
    const auto escaped =
        std::count_if(data, data + packet.Length, [](std::uint8_t b) { return b >= kFrameEnd; });
    KVL_FUZZ_CHECK(frame.size() == 2 + packet.Length + static_cast<std::size_t>(escaped));
    KVL_FUZZ_CHECK(frame.size() <= kMaxFrameSize);
    KVL_FUZZ_CHECK(frame.front() == kFrameStart && frame.back() == kFrameEnd);
    // Longer data is cut at 8192 bytes, the same frame as the packet's.
    KVL_FUZZ_CHECK(EncodeFrame(data, size) == frame);

    if (packet.Length > 0) {
        CheckRoundTrip(packet);
        return;
    }
    // An empty frame carries no packet.
    TPacketFraming framing;
    for (const std::uint8_t b : frame)
        KVL_FUZZ_CHECK(!framing.Feed(b));
    KVL_FUZZ_CHECK(framing.CurrentState() == TRxState::stIdle);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckStream(data, size);
    CheckEncoding(data, size);
    return 0;
}
