#include "link/LineFraming.h"

namespace kvl {

bool TLineFraming::Feed(std::uint8_t byte) {
    constexpr std::uint8_t kCR = 0x0D;
    constexpr std::uint8_t kLF = 0x0A;
    switch (State) {
    case TRxState::stIdle:
        if (byte == '$' || byte == '!' || byte == '\\') {
            Sent.assign(1, static_cast<char>(byte));
            State = TRxState::stRead;
        }
        return false;
    case TRxState::stRead:
        if (byte == kCR) {
            State = TRxState::stEnd;
        } else if (byte == kLF) {
            // A line ended by LF alone is broken; keeping the LF would glue it to the
            // next line and put a line break inside a queued line.
            State = TRxState::stIdle;
        } else if (Sent.size() < kMaxLine) {
            Sent.push_back(static_cast<char>(byte));
        } else {
            State = TRxState::stIdle; // over-long: the line and this byte are dropped
        }
        return false;
    case TRxState::stEnd:
        // Anything but LF after CR drops the line; the byte is consumed either way.
        State = TRxState::stIdle;
        return byte == kLF;
    default:
        State = TRxState::stIdle;
        return false;
    }
}

} // namespace kvl
