// Link mode: receiving a full frame of 8192 data bytes (one bootloader page and
// more), and framing a packet for sending. Random data needs an escape for about
// one byte in 85; the worst case escapes every byte.
#include "link/PacketFraming.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

kvl::TPacket FullPacket(bool allEscaped) {
    kvl::TPacket packet;
    packet.Length = static_cast<std::uint16_t>(kvl::kMaxPacketData);
    std::mt19937 random(42);
    for (std::uint8_t& byte : packet.Data)
        byte =
            allEscaped ? static_cast<std::uint8_t>(0xFD + random() % 3) : static_cast<std::uint8_t>(random());
    return packet;
}

void BM_PacketFramingFullFrame(benchmark::State& state) {
    const std::vector<std::uint8_t> frame = kvl::EncodeFrame(FullPacket(state.range(0) != 0));
    kvl::TPacketFraming framing;
    for (auto _ : state) {
        bool ready = false;
        for (const std::uint8_t byte : frame)
            ready = framing.Feed(byte);
        benchmark::DoNotOptimize(ready);
        benchmark::DoNotOptimize(framing.Packet().Length);
        framing.Reset();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * frame.size()));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_PacketFramingFullFrame)->ArgName("all_escaped")->Arg(0)->Arg(1);

void BM_EncodeFrame(benchmark::State& state) {
    const kvl::TPacket packet = FullPacket(state.range(0) != 0);
    for (auto _ : state) {
        std::vector<std::uint8_t> frame = kvl::EncodeFrame(packet);
        benchmark::DoNotOptimize(frame.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * packet.Length));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_EncodeFrame)->ArgName("all_escaped")->Arg(0)->Arg(1);

} // namespace
