#include "TableCommands.h"

#include "ReportWriter.h"

namespace kvl::sim {

namespace {

constexpr std::string_view kDelete = "DELETE";
constexpr std::size_t kAddressLength = 5;
constexpr std::size_t kMmsiLength = 9;
constexpr std::size_t kXdrIdLength = 15;

bool IsCommand(const Fields& f) {
    return f.size() >= 3 && f[1] == "C";
}

bool IsDelete(const Fields& f, std::size_t at) {
    return f.size() == at + 1 && f[at] == kDelete;
}

bool IsDigits(std::string_view text) {
    for (const char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// Empty or one character fit for a field.
bool IsLetterField(std::string_view text) {
    return text.size() <= 1 && IsFieldText(text);
}

// The DELETE of a store is answered at once; the store's end follows once no
// entry has come for a while, also when none comes at all.
TableCommandResult DeleteAnswered() {
    return {{std::string(kReady)}, true};
}

TableCommandResult StoreRoute(const Fields& f, DeviceConfig& config) {
    TableCommandResult result{{}, true};
    if (f.size() != 7 || f[2].size() != kAddressLength || !IsFieldText(f[2]))
        return result;
    const auto inputs = ReadHex(f[3], 1, 4);
    const auto divisor = f[4].empty() ? std::optional<std::uint32_t>(0) : ReadDecimal(f[4], 255);
    const auto route = ReadHex(f[5], 1, 4);
    const auto name = ReadHex(f[6], 1, 16);
    if (!inputs || !divisor || !route || !name || config.routes.size() >= kMaxRoutes)
        return result;
    config.routes.push_back({std::string(f[2]), static_cast<std::uint16_t>(*inputs),
                             static_cast<std::uint8_t>(*divisor), static_cast<std::uint16_t>(*route), *name});
    return result;
}

TableCommandResult StoreModbus(const Fields& f, DeviceConfig& config) {
    TableCommandResult result{{}, true};
    if (f.size() != 12)
        return result;
    const auto slave = ReadDecimal(f[3], 247);
    const auto reg = ReadDecimal(f[4], 65535);
    const auto precision = ReadDecimal(f[8], 9);
    const bool types = (f[5] == "H" || f[5] == "I") && f[6].size() == 1 &&
                       std::string_view("IULF").find(f[6]) != std::string_view::npos;
    const bool reversal = f[7].empty() || f[7] == "R";
    // The device takes an empty transducer type or unit and reports it back so.
    const bool xdr =
        IsLetterField(f[9]) && IsLetterField(f[10]) && f[11].size() <= kXdrIdLength && IsFieldText(f[11]);
    if (!slave || !reg || !precision || !types || !reversal || !xdr ||
        config.modbus.size() >= kMaxModbusEntries)
        return result;
    config.modbus.push_back({static_cast<std::uint8_t>(*slave), static_cast<std::uint16_t>(*reg), f[5][0],
                             f[6][0], f[7] == "R", static_cast<std::uint8_t>(*precision), std::string(f[9]),
                             std::string(f[10]), std::string(f[11]), 0});
    return result;
}

TableCommandResult StoreMob(const Fields& f, DeviceConfig& config) {
    if (f.size() == 3 && f[2].size() == kMmsiLength && IsDigits(f[2]) && config.mob.size() < kMaxMobEntries)
        config.mob.push_back({std::string(f[2]), 'V'});
    return {};
}

} // namespace

bool IsModbusTableCommand(const Fields& f) {
    return IsCommand(f) && (f[2] == kDelete || f[2] == "X");
}

TableCommandResult HandleTableCommand(std::string_view name, const Fields& f, DeviceConfig& config) {
    if (!IsCommand(f))
        return {};
    if (name == "RTE") {
        if (IsDelete(f, 2)) {
            config.routes.clear();
            return DeleteAnswered();
        }
        return StoreRoute(f, config);
    }
    if (name == "MB") {
        if (IsDelete(f, 2)) {
            config.modbus.clear();
            return DeleteAnswered();
        }
        return f[2] == "X" ? StoreModbus(f, config) : TableCommandResult{};
    }
    if (name == "MOB") {
        if (IsDelete(f, 2))
            config.mob.clear();
        else
            StoreMob(f, config);
    }
    return {};
}

std::string ReportRoute(const RouteEntry& entry) {
    const std::string divisor = entry.divisor == 0 ? std::string() : std::to_string(entry.divisor);
    return "$PQZXRTE,R," + entry.address + "," + WriteHex(entry.inputs, 2) + "," + divisor + "," +
           WriteHex(entry.route, 2) + "," + WriteHex(entry.name, 16);
}

std::string ReportModbusEntry(const ModbusEntry& e) {
    return "$PQZXMB,R,X," + std::to_string(e.slave) + "," + std::to_string(e.reg) + "," +
           std::string(1, e.regType) + "," + std::string(1, e.dataType) + "," + (e.reversed ? "R" : "N") +
           "," + std::to_string(e.precision) + "," + e.xdrType + "," + e.xdrUnit + "," + e.xdrId + "," +
           WriteHex(e.status, 2);
}

std::string ReportMob(const MobEntry& entry) {
    return "$PQZXMOB,R," + entry.mmsi + "," + std::string(1, entry.alarm);
}

std::vector<std::string> TableReports(const DeviceConfig& config) {
    std::vector<std::string> reports;
    for (const auto& entry : config.routes)
        reports.push_back(ReportRoute(entry));
    for (const auto& entry : config.modbus)
        reports.push_back(ReportModbusEntry(entry));
    for (const auto& entry : config.mob)
        reports.push_back(ReportMob(entry));
    return reports;
}

} // namespace kvl::sim
