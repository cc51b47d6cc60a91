// TSentence construction, as the dispatcher does it for every line taken from the
// queue: ordinary traffic, the multiplexer's proprietary answers (which also get a
// field list), each with and without TAG blocks carrying source tags.
#include "BenchLines.h"

#include "sentence/Sentence.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

using kvl::bench::kUniqueId;

void ConstructAll(benchmark::State& state, const std::vector<std::string>& lines) {
    std::size_t i = 0;
    for (auto _ : state) {
        kvl::TSentence sentence(lines[i], kUniqueId); // the line is copied, as from the queue
        benchmark::DoNotOptimize(sentence.Error);
        benchmark::DoNotOptimize(sentence.Fields.data());
        if (++i == lines.size())
            i = 0;
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}

void BM_SentenceOrdinary(benchmark::State& state) {
    ConstructAll(state, kvl::bench::OrdinaryLines());
}
BENCHMARK(BM_SentenceOrdinary);

void BM_SentenceOrdinaryTagged(benchmark::State& state) {
    ConstructAll(state, kvl::bench::Tagged(kvl::bench::OrdinaryLines()));
}
BENCHMARK(BM_SentenceOrdinaryTagged);

void BM_SentenceProprietary(benchmark::State& state) {
    ConstructAll(state, kvl::bench::ProprietaryLines());
}
BENCHMARK(BM_SentenceProprietary);

void BM_SentenceProprietaryTagged(benchmark::State& state) {
    ConstructAll(state, kvl::bench::Tagged(kvl::bench::ProprietaryLines()));
}
BENCHMARK(BM_SentenceProprietaryTagged);

void BM_SentenceMixed(benchmark::State& state) {
    ConstructAll(state, kvl::bench::MixedLines());
}
BENCHMARK(BM_SentenceMixed);

} // namespace
