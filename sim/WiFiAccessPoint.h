// The WiFi access point of the Korvelan-3Wi, as the device keeps it: SSID, pass
// phrase and radio channel, read and written with "$PQZXWI" and restored to the
// factory settings (SSID "Korvelan-" and the serial number, pass phrase "Tarnwick").
#pragma once

#include "SimFields.h"

#include <string>
#include <vector>

namespace kvl::sim {

struct DeviceIdentity;

struct WiFiAccessPoint {
    std::string ssid;
    std::string passPhrase = "Tarnwick";
    unsigned channel = 6;

    static WiFiAccessPoint Factory(const DeviceIdentity& identity);
};

// The answers to one "$PQZXWI" command; none from a model without the WiFi interface.
std::vector<std::string> HandleWiFi(WiFiAccessPoint& accessPoint, const DeviceIdentity& identity,
                                    const Fields& f);

} // namespace kvl::sim
