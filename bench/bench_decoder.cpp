// The sentence decoder: explaining each line of a mixed boat's traffic (GPS,
// wind, depth, heading, speed, a quarter with TAG blocks) and of an AIS
// receiver's traffic (position reports, a two-fragment static report), field by
// field; and the same with the JSON Lines of --decode written.
#include "BenchLines.h"

#include "sentence/DecodedJson.h"
#include "sentence/SentenceDecoder.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

using kvl::bench::WithChecksum;

std::vector<std::string> BoatLines() {
    std::vector<std::string> lines = {
        WithChecksum('$', "GPRMC,123519.00,A,5106.9792,N,00117.3189,E,6.4,084.2,150324,1.2,W,A"),
        WithChecksum('$', "GPGGA,123519.00,5106.9792,N,00117.3189,E,1,07,0.9,45.3,M,47.0,M,,"),
        WithChecksum('$', "GPGLL,5106.9792,N,00117.3189,E,123519.00,A,A"),
        WithChecksum('$', "GPVTG,084.2,T,085.4,M,6.4,N,11.9,K,A"),
        WithChecksum('$', "GPGSV,2,1,07,05,62,284,43,07,35,052,39,13,21,310,36,15,48,117,41"),
        WithChecksum('$', "GNGSA,A,3,05,07,13,15,18,20,24,,,,,,1.6,0.9,1.3,1"),
        WithChecksum('$', "IIMWV,045.3,R,10.6,N,A"),
        WithChecksum('$', "IIMWV,062.0,T,8.2,N,A"),
        WithChecksum('$', "SDDBT,41.0,f,12.5,M,6.8,F"),
        WithChecksum('$', "SDDPT,12.5,0.5,100"),
        WithChecksum('$', "HCHDG,101.5,2.0,E,1.2,W"),
        WithChecksum('$', "VWVHW,102.3,T,103.5,M,6.1,N,11.3,K"),
        WithChecksum('$', "YXMTW,17.8,C"),
        WithChecksum('$', "YXXDR,C,18.5,C,AIRTEMP,P,1.0132,B,BARO,A,-2.5,D,PITCH"),
        WithChecksum('$', "GPZDA,123519.00,15,03,2024,00,00"),
        WithChecksum('$', "PQZXOV,1"),
    };
    for (std::size_t i = 0; i < lines.size(); i += 4)
        lines[i] = kvl::bench::TagBlock("-1") + lines[i];
    return lines;
}

std::vector<std::string> AisLines() {
    return {
        "!AIVDM,1,1,,A,139>K>h3isPBp2dMhgm;6Hrt0000,0*4F",
        "!AIVDM,1,1,,B,B3`dVj00@GvB8h7@`E1>GwV5k006,0*5C",
        "!AIVDM,2,1,3,B,539>K>h29E4<@48?400EP4m0hF1A84@E80000016?0N:<4q>NCR0C@UDQh00,0*54",
        "!AIVDM,2,2,3,B,00000000000,2*24",
        "\\s:ais_rx1,c:1710505000*24\\!AIVDM,1,1,,A,139>K>h3isPBp2dMhgm;6Hrt0000,0*4F",
        "!AIVDM,1,1,,A,13aEOK?P?w<tSF0l4Q@>4?wp0000,0*35",
        "!AIVDM,1,1,,A,402E341vPod@`PDVG0N2Vp700000,0*06",
        "!AIVDM,1,1,,B,H3`dVj1<D61=18U@D00000000000,0*7D",
        "!AIVDM,1,1,,A,C3`d`5@0=83KfP7K::0p@enPLNNT8:THB6@`00000000B0`2Q1RP,0*0B",
        "!AIVDM,1,1,,A,17Ol>05000m;lIadWd00001n0000,0*12",
    };
}

void BM_Decode(benchmark::State& state, const std::vector<std::string>& lines) {
    kvl::TSentenceDecoder decoder;
    std::size_t i = 0;
    for (auto _ : state) {
        const kvl::TDecodedLine& line = decoder.Decode(lines[i]);
        benchmark::DoNotOptimize(line.Fields.data());
        benchmark::DoNotOptimize(line.Ais);
        if (++i == lines.size())
            i = 0;
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}

void BM_DecodeToJson(benchmark::State& state, const std::vector<std::string>& lines) {
    kvl::TSentenceDecoder decoder;
    std::string out;
    std::size_t i = 0;
    for (auto _ : state) {
        out.clear();
        kvl::AppendJson(decoder.Decode(lines[i]), i + 1, out);
        benchmark::DoNotOptimize(out.data());
        if (++i == lines.size())
            i = 0;
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}

BENCHMARK_CAPTURE(BM_Decode, Boat, BoatLines());
BENCHMARK_CAPTURE(BM_Decode, Ais, AisLines());
BENCHMARK_CAPTURE(BM_DecodeToJson, Boat, BoatLines());
BENCHMARK_CAPTURE(BM_DecodeToJson, Ais, AisLines());

} // namespace
