// Cuts a byte stream into NMEA 0183 lines: a start character ('$', '!' or '\'),
// at most 255 characters in all, then CR LF. One byte at a time, no allocation
// until a line completes.
#pragma once

#include "link/FramingState.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace kvl {

class TLineFraming {
public:
    static constexpr std::size_t kMaxLine = 255;

    TLineFraming() { Sent.reserve(kMaxLine); }

    // Feeds one byte; true when it completed a line, which Line() then holds
    // (without CR LF) until the next byte is fed.
    bool Feed(std::uint8_t byte);
    const std::string& Line() const { return Sent; }

    // Feeds a block, calling onLine(const std::string&) for each completed line.
    template <typename OnLine>
    void FeedAll(const std::uint8_t* data, std::size_t size, OnLine&& onLine) {
        for (std::size_t i = 0; i < size; ++i)
            if (Feed(data[i]))
                onLine(Sent);
    }

    // Drops a partial line and waits for the next start character.
    void Reset() { State = TRxState::stIdle; }
    TRxState CurrentState() const { return State; }

private:
    std::string Sent;
    TRxState State = TRxState::stIdle;
};

} // namespace kvl
