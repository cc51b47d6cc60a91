#include "QuirkyReports.h"

#include "DeviceTables.h"
#include "SimFields.h"

namespace kvl::sim {

std::string QuirkyReport(const std::string& report) {
    const Fields f = SplitFields(report);
    if (f.size() == 4 && f[0] == "$PQZXDS" && f[1] == "R" && f[3] == "0")
        return "$PQZXDS,R," + std::string(f[2]) + ",-";
    if (f.size() == 5 && f[0] == "$PQZXMB" && f[1] == "R" && f[2] == "M")
        return "$PQZXMB,R,M," + std::string(f[3]);
    return report;
}

void AddQuirkyEntry(DeviceConfig& config) {
    if (config.modbus.size() < kMaxModbusEntries)
        config.modbus.push_back({1, 100, 'H', 'F', true, 1, "C", "C", "ENGINE 1", 0});
}

} // namespace kvl::sim
