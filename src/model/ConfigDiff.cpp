#include "model/ConfigDiff.h"

#include "model/MuxVersion.h"
#include "model/RowAlignment.h"
#include "model/SettingList.h"
#include "model/TableRowText.h"
#include "model/WireFormat.h"

#include <string_view>

namespace kvl {

namespace {

bool SameRoute(const TRoute& a, const TRoute& b) {
    return a.Address == b.Address && a.Inputs == b.Inputs && a.Divisor == b.Divisor && a.Route == b.Route &&
           a.Name == b.Name;
}

bool SameModbus(const TModbus& a, const TModbus& b) {
    return a.Slave == b.Slave && a.Reg == b.Reg && a.RType == b.RType && a.DType == b.DType &&
           a.Rev == b.Rev && a.Prec == b.Prec && a.XdrType == b.XdrType && a.XdrUnit == b.XdrUnit &&
           a.XdrID == b.XdrID;
}

bool SameMob(const TMob& a, const TMob& b) {
    return a.MMSI == b.MMSI;
}

void CompareSettings(TConfigComparison& out, const TMuxConfig& device, const TMuxConfig& file,
                     bool nmea2000) {
    for (const TSetting& setting : ConfigSettings(nmea2000)) {
        std::string onDevice = setting.Show(device);
        std::string inFile = setting.Show(file);
        if (!setting.OnDevice)
            out.NotOnDevice.push_back({setting.Name, {}, std::move(inFile), TDiffKind::NotOnDevice});
        else if (onDevice == inFile)
            ++out.Same;
        else
            out.Differences.push_back(
                {setting.Name, std::move(onDevice), std::move(inFile), TDiffKind::Changed});
    }
}

// Rows are named by the row number the user sees: the device's for a removed or
// changed row, the file's for an added one, which it becomes once written.
template <typename List, typename Same, typename Text>
void CompareTable(TConfigComparison& out, std::string_view tab, const List& device, const List& file,
                  Same same, Text text) {
    for (const TRowPair& pair : AlignRows(device, file, same)) {
        if (pair.Equal) {
            ++out.Same;
            continue;
        }
        const std::size_t row = pair.Device ? *pair.Device : *pair.File;
        TConfigDifference difference{
            std::string(tab) + " / row " + FormatDec(row + 1), {}, {}, TDiffKind::Changed};
        if (pair.Device)
            difference.Device = text(*device[*pair.Device]);
        if (pair.File)
            difference.File = text(*file[*pair.File]);
        if (!pair.Device)
            difference.Kind = TDiffKind::Added;
        else if (!pair.File)
            difference.Kind = TDiffKind::Removed;
        out.Differences.push_back(std::move(difference));
    }
}

std::string Count(std::size_t n, const char* one, const char* many) {
    return FormatDec(n) + " " + (n == 1 ? one : many);
}

} // namespace

TConfigComparison CompareWithDevice(const TMuxConfig& device, const TMuxConfig& file,
                                    std::uint16_t capabilities) {
    TConfigComparison out;
    CompareSettings(out, device, file, (capabilities & kCapsNmea2000) != 0);
    CompareTable(out, "Routing", device.RoutingTable, file.RoutingTable, SameRoute, RouteRowText);
    CompareTable(out, "Modbus", device.ModbusTable, file.ModbusTable, SameModbus, ModbusRowText);
    CompareTable(out, "AIS MOB Alarm", device.MOBTable, file.MOBTable, SameMob, MobRowText);
    return out;
}

std::string ComparisonSummary(const TConfigComparison& c) {
    return Count(c.Differences.size(), "setting differs", "settings differ") + ", " +
           Count(c.Same, "is the same", "are the same") + ", " +
           Count(c.NotOnDevice.size(), "is not on this device", "are not on this device");
}

std::string DifferenceLine(const TConfigDifference& d) {
    const auto quoted = [](const std::string& value, bool present) {
        return present ? "\"" + value + "\"" : std::string("none");
    };
    return d.Setting + ": device " +
           quoted(d.Device, d.Kind != TDiffKind::Added && d.Kind != TDiffKind::NotOnDevice) + ", file " +
           quoted(d.File, d.Kind != TDiffKind::Removed);
}

} // namespace kvl
