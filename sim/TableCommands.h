// The device's side of the table commands. A store is "DELETE" followed by one
// command per entry; the device answers the DELETE of the routing and Modbus
// tables with "$PQZXRDY" at once, and the end of the store with one more
// "$PQZXRDY" once no further entry has come for kStoreEndGap (the DeviceEngine
// keeps that clock), an empty store's end too. The AIS MOB table answers
// neither its DELETE nor its entries.
#pragma once

#include "DeviceConfig.h"
#include "SimFields.h"

#include <chrono>
#include <string>
#include <vector>

namespace kvl::sim {

inline constexpr std::chrono::milliseconds kStoreEndGap{150};

struct TableCommandResult {
    std::vector<std::string> answers;
    bool storeEntry = false; // a DELETE or entry line of a store that ends with RDY
};

// name: the command after "$PQZX" ("RTE", "MB" with kind DELETE or X, "MOB").
TableCommandResult HandleTableCommand(std::string_view name, const Fields& f, DeviceConfig& config);
// True for the MB commands that belong to the table rather than to the settings.
bool IsModbusTableCommand(const Fields& f);

// The reports of every table entry, for the configuration dump: RTE, MB X, MOB.
std::vector<std::string> TableReports(const DeviceConfig& config);
std::string ReportRoute(const RouteEntry& entry);
std::string ReportModbusEntry(const ModbusEntry& entry);
std::string ReportMob(const MobEntry& entry);

} // namespace kvl::sim
