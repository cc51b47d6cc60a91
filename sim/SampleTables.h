// Full tables for a device started with --full-tables: 50 routes, 30 Modbus
// entries and 8 AIS MOB entries, with a mix of every field form (empty divisor,
// NMEA 2000 NAMEs, reversed registers, error states, active alarms).
#pragma once

#include "DeviceConfig.h"

namespace kvl::sim {

void FillSampleTables(DeviceConfig& config);

} // namespace kvl::sim
