// One row of the routing, Modbus and AIS MOB tables as a line of text, in the
// words of the table editors' columns. Only what the configuration file keeps
// is shown: entry states and source addresses come from the device alone.
#pragma once

#include "model/Mob.h"
#include "model/Modbus.h"
#include "model/Route.h"

#include <string>

namespace kvl {

// "GPRMC from 1,2,N to 1,PC, Div 3, Device 00000000DEADBEEF": the sources and
// destinations by their column captions; bits without a column by number.
std::string RouteRowText(const TRoute& route);
// "Slv 1, Reg 100, H, F, reversed, P 1, XDR C C ENGINE1".
std::string ModbusRowText(const TModbus& entry);
std::string MobRowText(const TMob& entry);

} // namespace kvl
