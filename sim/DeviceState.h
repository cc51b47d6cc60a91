// The running device: what it is, what it is set to and what it is doing.
#pragma once

#include "DeviceConfig.h"
#include "N2kBus.h"
#include "WiFiAccessPoint.h"

namespace kvl::sim {

struct DeviceState {
    DeviceIdentity identity;
    DeviceConfig factory; // what "$PQZXRESET,1" restores
    DeviceConfig config;
    bool statReports = false; // "$PQZXSTAT,C,1" .. "$PQZXSTAT,C,0"
    WiFiAccessPoint wifi;     // the Korvelan-3Wi's access point
    N2kBus bus;               // the devices on the NMEA 2000 bus
};

} // namespace kvl::sim
