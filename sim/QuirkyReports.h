// Reports as some firmware words them, for round-trip tests of the tool: an unset
// data source reported as "-" instead of "0", the Modbus mode reported without
// the slave address, and a Modbus entry whose transducer ID holds a blank.
#pragma once

#include "DeviceConfig.h"

#include <string>

namespace kvl::sim {

// The report as the quirky firmware sends it; other lines unchanged.
std::string QuirkyReport(const std::string& report);

// The entry the quirky firmware starts with: slave 1, register 100, ID "ENGINE 1".
void AddQuirkyEntry(DeviceConfig& config);

} // namespace kvl::sim
