// The timing of a serial line: bytes pass no faster than the line carries them
// (start bit, 8 data bits, stop bit: 10 bit times a byte). A small lookahead
// stands for the UART's FIFO and lets a poll loop with millisecond timeouts keep
// the line busy.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstddef>

namespace kvl::sim {

class LinePacer {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::microseconds kLookahead{5000};

    // baud 0: no pacing at all.
    explicit LinePacer(unsigned baud);

    bool Paced() const { return ByteTime.count() > 0; }
    std::chrono::nanoseconds ByteTimeNs() const { return ByteTime; }
    // kLookahead, or one byte time on a line so slow that a byte takes longer.
    std::chrono::nanoseconds Lookahead() const {
        return std::max<std::chrono::nanoseconds>(kLookahead, ByteTime);
    }
    // How many bytes may go at now.
    std::size_t Allowed(Clock::time_point now) const;
    // The bytes went at now: the line is busy until they are through.
    void Used(std::size_t bytes, Clock::time_point now);
    // When the next byte may go (at the latest in the past when it may go now).
    Clock::time_point NextDue() const;

private:
    std::chrono::nanoseconds ByteTime{0};
    Clock::time_point FreeAt{}; // when the line has sent everything given to it
};

} // namespace kvl::sim
