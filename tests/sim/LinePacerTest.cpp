// The serial line's timing of the pseudo-terminal: 10 bit times a byte, a FIFO's
// worth of bytes at once, the rest when the line is through with them.
#include "LinePacer.h"

#include <gtest/gtest.h>

namespace kvl::sim {
namespace {

using namespace std::chrono_literals;

TEST(LinePacerTest, BytesPassAtTheByteTimeOfTheLine) {
    struct Case {
        unsigned baud;
        long long byteNs;
        std::size_t burst; // what may go at once after a quiet line: the lookahead's worth
    };
    for (const Case c : {Case{460800, 21701, 230}, Case{115200, 86806, 57}, Case{4800, 2083333, 2}}) {
        SCOPED_TRACE(c.baud);
        LinePacer pacer(c.baud);
        const auto t0 = LinePacer::Clock::now();
        EXPECT_EQ(pacer.ByteTimeNs().count(), c.byteNs);
        EXPECT_EQ(pacer.Allowed(t0), c.burst);
        pacer.Used(1000, t0); // the line is busy for 1000 byte times
        EXPECT_EQ(pacer.Allowed(t0), 0u);
        const auto through = t0 + pacer.ByteTimeNs() * 1000;
        EXPECT_EQ(pacer.NextDue(), through - pacer.Lookahead() + pacer.ByteTimeNs());
        EXPECT_EQ(pacer.Allowed(through), c.burst);
        EXPECT_EQ(pacer.Allowed(through + 10 * pacer.ByteTimeNs()),
                  c.burst); // a quiet line banks nothing more
    }
}

TEST(LinePacerTest, RateZeroIsUnpaced) {
    LinePacer pacer(0);
    const auto now = LinePacer::Clock::now();
    pacer.Used(1'000'000, now);
    EXPECT_FALSE(pacer.Paced());
    EXPECT_GT(pacer.Allowed(now), 1'000'000u);
}

} // namespace
} // namespace kvl::sim
