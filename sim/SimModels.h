// The models of the multiplexer that the capability word of the version answer
// tells apart, ready to run in-process: plain (USB), with NMEA 2000, Ethernet and
// WiFi, each also with the Modbus and AIS MOB alarm features set up.
#pragma once

#include "SimOptions.h"

#include <string>
#include <vector>

namespace kvl::sim {

struct SimModel {
    std::string code;  // as on the command line: "3", "3N", "3E", "3Wi"; "M" appended with Modbus and AIS MOB
    std::string title; // shown in the model choice, e.g. "Korvelan-3N (NMEA 2000, USB)"
    DeviceIdentity identity;
    bool n2kDemoBus = false; // the demonstration devices on the NMEA 2000 bus
    bool modbusAndMob = false;
};

// Every model, in the order the choice shows them.
const std::vector<SimModel>& SimModels();
// The model of that code (compared without regard to case), or nullptr.
const SimModel* FindSimModel(const std::string& code);
// The options that run the model in-process with traffic a traffic view can show.
SimOptions ModelOptions(const SimModel& model);

} // namespace kvl::sim
