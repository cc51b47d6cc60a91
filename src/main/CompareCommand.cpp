#include "main/CompareCommand.h"

#include "model/ConfigDiff.h"

namespace kvl {

int PrintDifferences(TComm& link, const TMuxConfig& file, std::ostream& out, std::ostream& err, int quietMs) {
    TMuxConfig device;
    std::uint16_t caps = 0;
    try {
        caps = ReadDeviceConfiguration(link, device, quietMs);
    } catch (const std::exception& e) {
        err << "kvlconfig3: " << e.what() << '\n';
        return kCompareFailed;
    }
    const TConfigComparison comparison = CompareWithDevice(device, file, caps);
    for (const TConfigDifference& difference : comparison.Differences)
        out << DifferenceLine(difference) << '\n';
    out.flush();
    return comparison.HasDifferences() ? kCompareDiffers : kCompareSame;
}

} // namespace kvl
