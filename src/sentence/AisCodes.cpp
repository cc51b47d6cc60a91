#include "sentence/AisCodes.h"

#include <array>

namespace kvl {

namespace {

constexpr std::array<std::string_view, 10> kSingleTypes = {"fishing",
                                                           "towing",
                                                           "towing, longer than 200 m or wider than 25 m",
                                                           "dredging or underwater operations",
                                                           "diving operations",
                                                           "military operations",
                                                           "sailing",
                                                           "pleasure craft",
                                                           "",
                                                           ""};
constexpr std::array<std::string_view, 10> kSpecialCraft = {"pilot vessel",
                                                            "search and rescue vessel",
                                                            "tug",
                                                            "port tender",
                                                            "anti-pollution equipment",
                                                            "law enforcement",
                                                            "local vessel",
                                                            "local vessel",
                                                            "medical transport",
                                                            "non-combatant ship"};

// Ship categories with the hazard digit: 2x wing in ground, 4x high-speed craft, 6x passenger, ...
std::string_view HazardCategory(std::int64_t tens, std::int64_t units) {
    static constexpr std::string_view kNames[10][10] = {
        {},
        {},
        {"wing in ground", "wing in ground, hazardous category A", "wing in ground, hazardous category B",
         "wing in ground, hazardous category C", "wing in ground, hazardous category D"},
        {},
        {"high-speed craft", "high-speed craft, hazardous category A",
         "high-speed craft, hazardous category B", "high-speed craft, hazardous category C",
         "high-speed craft, hazardous category D", "", "", "", "",
         "high-speed craft, no additional information"},
        {},
        {"passenger", "passenger, hazardous category A", "passenger, hazardous category B",
         "passenger, hazardous category C", "passenger, hazardous category D", "", "", "", "",
         "passenger, no additional information"},
        {"cargo", "cargo, hazardous category A", "cargo, hazardous category B", "cargo, hazardous category C",
         "cargo, hazardous category D", "", "", "", "", "cargo, no additional information"},
        {"tanker", "tanker, hazardous category A", "tanker, hazardous category B",
         "tanker, hazardous category C", "tanker, hazardous category D", "", "", "", "",
         "tanker, no additional information"},
        {"other type", "other type, hazardous category A", "other type, hazardous category B",
         "other type, hazardous category C", "other type, hazardous category D", "", "", "", "",
         "other type, no additional information"},
    };
    const std::string_view name = kNames[tens][units];
    return name.empty() ? std::string_view("reserved") : name;
}

} // namespace

std::string_view ShipTypeMeaning(std::int64_t type) {
    if (type == 0)
        return "not available";
    if (type < 20 || type > 99)
        return {};
    const std::int64_t tens = type / 10;
    const std::int64_t units = type % 10;
    if (tens == 3)
        return units < 8 ? kSingleTypes[static_cast<std::size_t>(units)] : std::string_view("reserved");
    if (tens == 5)
        return kSpecialCraft[static_cast<std::size_t>(units)];
    return HazardCategory(tens, units);
}

} // namespace kvl
