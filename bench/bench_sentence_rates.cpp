// Counting received lines for the sentence rates: the cost per line on top of
// parsing it, over a realistic mix of sources and addresses.
#include "BenchLines.h"
#include "sentence/SentenceRates.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

void BM_SentenceRatesAdd(benchmark::State& state) {
    std::vector<kvl::TSentence> sentences;
    for (const std::string& line : kvl::bench::MixedLines())
        sentences.emplace_back(line, kvl::bench::kUniqueId);
    kvl::TSentenceRates rates;
    auto now = kvl::TSentenceRates::Clock::now();
    std::size_t i = 0;
    for (auto _ : state) {
        rates.Add(sentences[i], now);
        now += std::chrono::microseconds(1780); // 562 lines a second
        if (++i == sentences.size())
            i = 0;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SentenceRatesAdd);

} // namespace
