// Every single setting of the window, named as the window captions it ("In 1 /
// Speed", "General Options / TAG Blocks"), with its value as the window shows it:
// the item text of a selector, "checked" or "unchecked" for a check box, the text
// or number of a field. The tables are not here: they are compared row by row.
#pragma once

#include "model/MuxConfig.h"

#include <functional>
#include <string>
#include <vector>

namespace kvl {

inline constexpr const char* kChecked = "checked";
inline constexpr const char* kUnchecked = "unchecked";

struct TSetting {
    std::string Name;
    std::function<std::string(const TMuxConfig&)> Show;
    // False for the settings a multiplexer without NMEA 2000 does not have.
    bool OnDevice = true;
};

// The settings in the order of the tabs, top to bottom. nmea2000 is the connected
// multiplexer's capability: it decides the captions that depend on it and which
// settings the device has.
std::vector<TSetting> ConfigSettings(bool nmea2000);

// The text a selector shows for a model value; a value beyond its items, which the
// window cannot select, is named by its number.
template <typename Items>
std::string ItemText(const Items& items, std::uint32_t value) {
    if (value < items.size())
        return std::string(items[value]);
    return "(value " + std::to_string(value) + ")";
}

} // namespace kvl
