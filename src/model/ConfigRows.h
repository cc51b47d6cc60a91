// The row values of the table sections of a configuration file: a row is a list
// of comma-separated fields. Reading splits as the file format always has: a comma
// or a blank ends a field (blanks next to a comma are skipped), and a field in
// double quotes may hold commas and blanks ("" stands for one quote). Writing
// quotes only the fields that need it, so a plain row reads as before.
#pragma once

#include "model/DataSource.h"
#include "model/Mob.h"
#include "model/Modbus.h"
#include "model/Route.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kvl {

std::vector<std::string> SplitRow(std::string_view value);
std::string JoinRow(const std::vector<std::string>& fields);

// A whole number as the file format has always taken it: an optional sign, then
// decimal digits, or hexadecimal digits after "$" or "0x". Nothing else.
std::optional<long long> ParseFileInteger(std::string_view text);

// Row values as written.
std::string RoutingRow(const TRoute& route);     // "GPRMC,21,07,30,0000000000000000"
std::string ModbusRow(const TModbus& entry);     // "1,100,H,I,0,1,C,C,ENGINE1"
std::string DataSourceRow(const TDataSource& s); // "N,00000000000000AB"; empty for no source
std::string MobRow(const TMob& entry);           // the MMSI

// A row read back: the entry, or why the row was left out.
template <typename T>
struct TRowRead {
    std::optional<T> Entry;
    std::string Problem;
};

// A loaded route has SA 255, a loaded Modbus entry state 240 (unknown) and a
// loaded MOB entry state V, whatever they were when saved.
TRowRead<TRoute> ReadRoutingRow(std::string_view value);
TRowRead<TModbus> ReadModbusRow(std::string_view value);
TRowRead<TMob> ReadMobRow(std::string_view value);
// Anything but "1" to "4" or "N" in the first field, an empty value included, is
// no source (kNone); the NAME is kept when it is hexadecimal.
TDataSource ReadDataSourceRow(std::string_view value, std::string& problem);

} // namespace kvl
