#include "link/PacketFraming.h"

#include <algorithm>

namespace kvl {

void TPacketFraming::Store(std::uint8_t byte) {
    if (Idx < kMaxPacketData)
        P.Data[Idx++] = byte; // bytes beyond 8192 are dropped
}

bool TPacketFraming::Feed(std::uint8_t byte) {
    switch (State) {
    case TRxState::stIdle:
        if (byte == kFrameStart) {
            Idx = 0;
            State = TRxState::stRead;
        }
        return false;
    case TRxState::stRead:
        if (byte < kFrameEnd) {
            Store(byte);
        } else if (byte == kFrameEnd) {
            if (Idx == 0) {
                State = TRxState::stIdle;
                return false;
            }
            P.Length = Idx;
            State = TRxState::stReady;
            return true;
        } else if (byte == kFrameStart) {
            Idx = 0;
        } else {
            State = TRxState::stEsc;
        }
        return false;
    case TRxState::stEsc:
        Store(byte);
        State = TRxState::stRead;
        return false;
    default: // stReady keeps its packet; stEnd and stTimeOut ignore bytes
        return false;
    }
}

std::vector<std::uint8_t> EncodeFrame(const std::uint8_t* data, std::size_t length) {
    length = std::min(length, kMaxPacketData);
    std::vector<std::uint8_t> frame;
    frame.reserve(2 * length + 2);
    frame.push_back(kFrameStart);
    for (std::size_t i = 0; i < length; ++i) {
        if (data[i] >= kFrameEnd)
            frame.push_back(kFrameEscape);
        frame.push_back(data[i]);
    }
    frame.push_back(kFrameEnd);
    return frame;
}

std::vector<std::uint8_t> EncodeFrame(const TPacket& packet) {
    return EncodeFrame(packet.Data.data(), packet.Length);
}

} // namespace kvl
