// Line framing throughput: the receive thread's work per byte on a realistic mixed
// stream (ordinary, AIS, TAG-block and proprietary lines, CR LF endings, a little
// noise between lines as after a reconnect).
#include "BenchLines.h"

#include "link/LineFraming.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kStreamSize = 1 << 20;

std::vector<std::uint8_t> MixedStream() {
    const std::vector<std::string> lines = kvl::bench::MixedLines();
    std::vector<std::uint8_t> stream;
    for (std::size_t i = 0; stream.size() < kStreamSize; ++i) {
        if (i % 50 == 49)
            stream.insert(stream.end(), {0x00, 0x7E, 0x0A, 0xFF}); // noise is skipped
        const std::string& line = lines[i % lines.size()];
        stream.insert(stream.end(), line.begin(), line.end());
        stream.insert(stream.end(), {'\r', '\n'});
    }
    return stream;
}

template <typename OnLine>
void RunFraming(benchmark::State& state, OnLine&& onLine) {
    const std::vector<std::uint8_t> stream = MixedStream();
    kvl::TLineFraming framing;
    std::size_t lines = 0;
    for (auto _ : state) {
        framing.FeedAll(stream.data(), stream.size(), [&](const std::string& line) {
            onLine(line);
            ++lines;
        });
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * stream.size()));
    state.counters["lines/s"] = benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsRate);
}

// The framing alone: every completed line is only counted.
void BM_LineFraming(benchmark::State& state) {
    RunFraming(state, [](const std::string& line) { benchmark::DoNotOptimize(line.data()); });
}
BENCHMARK(BM_LineFraming);

// With the copy of each completed line that the receive side puts on the queue.
void BM_LineFramingWithCopy(benchmark::State& state) {
    RunFraming(state, [](const std::string& line) {
        std::string copy(line);
        benchmark::DoNotOptimize(copy.data());
    });
}
BENCHMARK(BM_LineFramingWithCopy);

} // namespace
