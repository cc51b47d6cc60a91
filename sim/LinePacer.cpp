#include "LinePacer.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kvl::sim {

namespace {
constexpr double kBitsPerByte = 10.0; // 8N1
}

LinePacer::LinePacer(unsigned baud) {
    if (baud > 0)
        ByteTime = std::chrono::nanoseconds(std::llround(kBitsPerByte * 1e9 / baud));
}

std::size_t LinePacer::Allowed(Clock::time_point now) const {
    if (!Paced())
        return std::numeric_limits<std::size_t>::max();
    const Clock::time_point start = std::max(now, FreeAt);
    const auto window = now + Lookahead() - start;
    if (window.count() <= 0)
        return 0;
    return static_cast<std::size_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(window) / ByteTime);
}

void LinePacer::Used(std::size_t bytes, Clock::time_point now) {
    if (!Paced() || bytes == 0)
        return;
    FreeAt = std::max(now, FreeAt) + ByteTime * static_cast<std::int64_t>(bytes);
}

LinePacer::Clock::time_point LinePacer::NextDue() const {
    return FreeAt - Lookahead() + ByteTime;
}

} // namespace kvl::sim
