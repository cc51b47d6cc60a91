// A configuration dump as any device might send it: the lines of the input, one
// per newline, read after a valid version answer; then the model read compared
// with a new one. The read ends cleanly or fails with a reason, and the
// comparison accounts for every setting and row.
#include "FuzzCheck.h"

#include "model/ConfigDiff.h"
#include "model/ConfigDumpReader.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace kvl;

namespace {

void CheckComparison(const TMuxConfig& device, std::uint16_t caps) {
    const TMuxConfig file;
    const TConfigComparison c = CompareWithDevice(device, file, caps);
    const TConfigComparison same = CompareWithDevice(file, file, caps);
    const std::size_t rows = device.RoutingTable.size() + device.ModbusTable.size() + device.MOBTable.size();
    // Every setting is counted once; every device row is removed or, with a new file, nothing else.
    KVL_FUZZ_CHECK(c.Same + c.Differences.size() == same.Same + rows);
    KVL_FUZZ_CHECK(c.NotOnDevice.size() == same.NotOnDevice.size());
    for (const TConfigDifference& d : c.Differences) {
        KVL_FUZZ_CHECK(!d.Setting.empty());
        KVL_FUZZ_CHECK(d.Kind == TDiffKind::Changed || d.Kind == TDiffKind::Removed);
        if (d.Kind == TDiffKind::Changed)
            KVL_FUZZ_CHECK(d.Device != d.File);
        KVL_FUZZ_CHECK(DifferenceLine(d).rfind(d.Setting + ": device ", 0) == 0);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    TMuxConfig device;
    TConfigDumpReader reader(device);
    KVL_FUZZ_CHECK(reader.Take("$PQZXVER,3.30.2,Korvelan-3N,K3N-1,A010") == "$PQZXCFQ");
    std::size_t start = 0;
    while (start <= input.size() && !reader.Finished()) {
        const std::size_t end = std::min(input.find('\n', start), input.size());
        KVL_FUZZ_CHECK(reader.Take(std::string(input.substr(start, end - start))).empty());
        start = end + 1;
    }
    if (reader.State() == TConfigDumpReader::TState::Failed)
        KVL_FUZZ_CHECK(!reader.Error().empty());
    CheckComparison(device, reader.Capabilities());
    return 0;
}
