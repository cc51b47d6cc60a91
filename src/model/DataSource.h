// TDataSource: one of the three data sources of the rotating mast wind sensor.
#pragma once

#include "model/Name.h"

namespace kvl {

struct TDataSource {
    static constexpr char kNone = 0;
    static constexpr char kN2K = 'N';

    // 0 or '0' = no source, '1' to '4' = NMEA 0183 input, 'N' = the NMEA 2000 device Name.
    char Input = kNone;
    TName Name;

    friend bool operator==(const TDataSource&, const TDataSource&) = default;
};

} // namespace kvl
