// Link mode, used while the bootloader runs: byte packets framed by 0xFE (start)
// and 0xFD (end), with 0xFF escaping a data byte of value 0xFD or above.
#pragma once

#include "link/FramingState.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kvl {

inline constexpr std::size_t kMaxPacketData = 8192;
inline constexpr std::uint8_t kFrameStart = 0xFE;
inline constexpr std::uint8_t kFrameEnd = 0xFD;
inline constexpr std::uint8_t kFrameEscape = 0xFF;

struct TPacket {
    std::uint16_t Length = 0; // valid bytes in Data (1..8192 for a received packet)
    std::array<std::uint8_t, kMaxPacketData> Data{};
};

// Assembles one packet at a time. Once a packet is complete the framing stays
// stReady and ignores further bytes until Reset() (the packet waits for Recv).
class TPacketFraming {
public:
    // Feeds one byte; true when it completed a packet (state stReady).
    bool Feed(std::uint8_t byte);
    const TPacket& Packet() const { return P; }
    TRxState CurrentState() const { return State; }
    void Reset() { State = TRxState::stIdle; }

private:
    void Store(std::uint8_t byte);

    TPacket P;
    std::uint16_t Idx = 0;
    TRxState State = TRxState::stIdle;
};

// The largest frame a packet can give: every byte escaped, plus start and end.
inline constexpr std::size_t kMaxFrameSize = 2 * kMaxPacketData + 2;

// Frames the first Length bytes of a packet (at most 8192) for the wire.
std::vector<std::uint8_t> EncodeFrame(const TPacket& packet);
std::vector<std::uint8_t> EncodeFrame(const std::uint8_t* data, std::size_t length);

} // namespace kvl
