// The text cells of the table editors: what a cell shows when editing starts,
// and what Enter (or Up, Down) commits. A commit either changes the entry's field
// or leaves it as it was and gives the message for the user. Text that could cut
// a sentence open (",", "*", a blank and the like) is refused here, before it can
// reach the model.
#pragma once

#include "model/Mob.h"
#include "model/Modbus.h"
#include "model/Route.h"

#include <string>
#include <string_view>

namespace kvl {

// Columns of the editors.
inline constexpr int kRouteColDevice = 8;
inline constexpr int kRouteColSentence = 9;
inline constexpr int kRouteColDivisor = 10;
inline constexpr int kModbusColSlave = 1;
inline constexpr int kModbusColReg = 2;
inline constexpr int kModbusColRegType = 3;
inline constexpr int kModbusColDataType = 4;
inline constexpr int kModbusColRev = 5;
inline constexpr int kModbusColPrec = 6;
inline constexpr int kModbusColXdrType = 7;
inline constexpr int kModbusColXdrID = 8;
inline constexpr int kModbusColXdrUnit = 9;
inline constexpr int kModbusColStatus = 10;
inline constexpr int kMobColMMSI = 1;

// The text an editable cell starts with; empty for other columns.
std::string RouteCellText(const TRoute& route, int col);
std::string ModbusCellText(const TModbus& entry, int col);
std::string MobCellText(const TMob& entry, int col);

// Commits a cell's text. Returns the message to show, empty when the field took it.
std::string CommitRouteCell(TRoute& route, int col, std::string_view text);
std::string CommitModbusCell(TModbus& entry, int col, std::string_view text);
std::string CommitMobCell(TMob& entry, int col, std::string_view text);

// "'<text>' is not a valid integer value", the conversion error's own text.
std::string NotAnInteger(std::string_view text);

} // namespace kvl
