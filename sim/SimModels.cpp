#include "SimModels.h"

#include "N2kBus.h"

#include <algorithm>
#include <cctype>

namespace kvl::sim {

namespace {

constexpr std::uint32_t kOptionMobAlarm = 1u << 9;
constexpr std::uint8_t kModbusMaster = 1;

SimModel Model(std::string code, std::string interface, std::string caps, bool modbusAndMob) {
    SimModel model;
    const std::string device = "Korvelan-" + code;
    model.code = code + (modbusAndMob ? "M" : "");
    model.title = device + " (" + interface + ")" + (modbusAndMob ? " with Modbus and AIS MOB alarm" : "");
    model.identity.device = device;
    model.identity.serial = "K" + code + "-20417";
    model.identity.caps = caps;
    model.n2kDemoBus = model.identity.HasN2K();
    model.modbusAndMob = modbusAndMob;
    return model;
}

std::vector<SimModel> MakeModels() {
    std::vector<SimModel> models;
    for (const bool extras : {false, true}) {
        models.push_back(Model("3", "USB", "A000", extras));
        models.push_back(Model("3N", "NMEA 2000, USB", "A010", extras));
        models.push_back(Model("3E", "NMEA 2000, Ethernet", "A012", extras));
        models.push_back(Model("3Wi", "NMEA 2000, WiFi", "A013", extras));
    }
    return models;
}

bool SameCode(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

} // namespace

const std::vector<SimModel>& SimModels() {
    static const std::vector<SimModel> models = MakeModels();
    return models;
}

const SimModel* FindSimModel(const std::string& code) {
    for (const SimModel& model : SimModels())
        if (SameCode(model.code, code))
            return &model;
    return nullptr;
}

SimOptions ModelOptions(const SimModel& model) {
    SimOptions options;
    options.transport = TransportKind::InProcess;
    options.identity = model.identity;
    // The program knows this simulator by its link: its name stays the model's own,
    // as a saved configuration should record it.
    options.identity.marked = false;
    options.trafficRate = 20;
    options.trafficProfile = TrafficProfile::Lively;
    if (model.n2kDemoBus)
        options.n2kBus = DemoBus();
    if (model.modbusAndMob) {
        DeviceConfig config = FactoryConfig(options.uid);
        config.modbusMode = kModbusMaster;
        config.options |= kOptionMobAlarm;
        config.modbus.push_back({1, 40001, 'H', 'F', false, 1, "C", "C", "ENGTEMP", 0});
        config.modbus.push_back({2, 30010, 'I', 'U', false, 0, "T", "R", "ENGRPM", 0});
        config.mob.push_back({"972000001", 'V'});
        options.initialConfig = config;
    }
    return options;
}

} // namespace kvl::sim
