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

void BM_Sentence(benchmark::State& state, const std::vector<std::string>& lines) {
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

using namespace kvl::bench;
BENCHMARK_CAPTURE(BM_Sentence, Ordinary, OrdinaryLines());
BENCHMARK_CAPTURE(BM_Sentence, OrdinaryTagged, Tagged(OrdinaryLines()));
BENCHMARK_CAPTURE(BM_Sentence, Proprietary, ProprietaryLines());
BENCHMARK_CAPTURE(BM_Sentence, ProprietaryTagged, Tagged(ProprietaryLines()));
BENCHMARK_CAPTURE(BM_Sentence, Mixed, MixedLines());

} // namespace
