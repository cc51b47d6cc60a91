// The window's share of the traffic: every 20 ms the drain takes the lines the
// link has queued, dispatches each one (parse, filter, view) and refreshes the
// traffic view once. A 460800-baud link carries about 560 lines a second, so a
// tick sees about a dozen lines; the figure to watch is how many lines a second
// the window could take, which must stay far above 560.
#include "main/KvlApplication.h"
#include "main/MainForm.h"

#include <QCheckBox>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string WithChecksum(const std::string& body) {
    unsigned sum = 0;
    for (std::size_t i = 1; i < body.size(); ++i)
        sum ^= static_cast<unsigned char>(body[i]);
    static const char* digits = "0123456789ABCDEF";
    return body + "*" + digits[sum >> 4] + digits[sum & 15];
}

// A tick's worth of the traffic a multiplexer forwards, with source tags.
std::vector<std::string> TrafficTick() {
    const std::vector<std::string> bodies = {
        "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W",
        "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,",
        "$WIMWV,214.8,R,0.1,K,A",
        "$SDDPT,12.4,0.5",
        "$HCHDG,98.3,0.0,E,12.6,W",
        "!AIVDM,1,1,,B,177KQJ5000G?tO`K>RA1wUbN0TKH,0",
        "$IIVHW,,T,,M,5.2,N,9.6,K",
        "$GPGLL,4916.45,N,12311.12,W,225444,A",
    };
    std::vector<std::string> lines;
    for (int i = 0; i < 12; ++i) {
        const std::string tag = WithChecksum("\\s:KV3SIM-" + std::to_string(1 + i % 4)) + "\\";
        lines.push_back(tag + WithChecksum(bodies[static_cast<std::size_t>(i) % bodies.size()]));
    }
    return lines;
}

kvl::TMainForm* TheForm = nullptr; // lives inside main(), within the application

kvl::TMainForm& Form() {
    return *TheForm;
}

void DrainTick(benchmark::State& state, bool noScroll) {
    kvl::TMainForm& form = Form();
    form.findChild<QCheckBox*>("chbNoScroll")->setChecked(noScroll);
    form.Config().UID = "KV3SIM";
    const std::vector<std::string> tick = TrafficTick();
    for (auto _ : state) {
        for (const std::string& line : tick)
            form.Comm().QueueLine(line);
        form.NmeaReadTimerTimer();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(tick.size()));
}

} // namespace

BENCHMARK_CAPTURE(DrainTick, scrolling, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DrainTick, no_scroll, true)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    kvl::TKvlApplication app(argc, argv);
    kvl::TMainForm form;
    TheForm = &form;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
