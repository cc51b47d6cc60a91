// TMob: one entry of the AIS MOB alarm table.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kvl {

class TMob {
public:
    static constexpr std::size_t kMMSILength = 9;
    static constexpr char kAlarmActive = 'A';
    static constexpr char kAlarmInactive = 'V';

    // An MMSI longer than nine characters is cut.
    TMob(std::string_view AMMSI, char AStatus) : MMSI(AMMSI.substr(0, kMMSILength)), Status(AStatus) {}

    std::string MMSI;
    char Status = kAlarmInactive;
};

} // namespace kvl
