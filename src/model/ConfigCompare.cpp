#include "model/ConfigCompare.h"

#include "model/ConfigKeys.h"
#include "model/ConfigRows.h"
#include "model/WireFormat.h"

#include <algorithm>

namespace kvl {

namespace {

std::string Difference(const std::string& what, const std::string& file, const std::string& device) {
    return what + ": file \"" + file + "\", device \"" + device + "\"";
}

template <typename List, typename Writer>
void CompareRows(std::vector<std::string>& out, const std::string& section, const List& file,
                 const List& device, Writer row) {
    const std::size_t common = std::min(file.size(), device.size());
    for (std::size_t i = 0; i < common; ++i) {
        const std::string a = row(*file[i]);
        const std::string b = row(*device[i]);
        if (a != b)
            out.push_back(Difference("[" + section + "] row " + FormatDec(i + 1), a, b));
    }
    if (file.size() != device.size())
        out.push_back("[" + section + "]: file " + FormatDec(file.size()) + " rows, device " +
                      FormatDec(device.size()) + " rows");
}

// No source is 0 in a model never told otherwise and '0' once reported; a NAME
// only counts for an NMEA 2000 source.
std::string SourceText(const TDataSource& source) {
    if (source.Input == TDataSource::kNone || source.Input == '0')
        return "0";
    return source.Input == TDataSource::kN2K ? DataSourceRow(source) : std::string(1, source.Input);
}

} // namespace

std::vector<std::string> CompareConfigurations(const TMuxConfig& file, const TMuxConfig& device) {
    std::vector<std::string> out;
    for (const config_keys::TKey& key : config_keys::kKeys) {
        const std::string a = config_keys::KeyText(file, key);
        const std::string b = config_keys::KeyText(device, key);
        if (a != b)
            out.push_back(Difference(std::string(key.Name), a, b));
    }
    CompareRows(out, "Routing", file.RoutingTable, device.RoutingTable, RoutingRow);
    CompareRows(out, "ModBus", file.ModbusTable, device.ModbusTable, ModbusRow);
    for (std::size_t i = 0; i < file.DataSrcTable.size(); ++i) {
        const std::string a = SourceText(file.DataSrcTable[i]);
        const std::string b = SourceText(device.DataSrcTable[i]);
        if (a != b)
            out.push_back(Difference("[Data Sources] R" + FormatDec(i + 1), a, b));
    }
    CompareRows(out, "AIS MOB", file.MOBTable, device.MOBTable, MobRow);
    return out;
}

} // namespace kvl
