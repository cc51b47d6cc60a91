// TDataSource: one of the three data sources of the rotating mast wind sensor.
#pragma once

#include "model/Name.h"

namespace kvl {

inline bool IsDataSourceType(char c) {
    return (c >= '1' && c <= '4') || c == 'N';
}

struct TDataSource {
    static constexpr char kNone = 0;
    static constexpr char kN2K = 'N';

    // 0 or '0' = no source, '1' to '4' = NMEA 0183 input, 'N' = the NMEA 2000 device Name.
    char Input = kNone;
    TName Name;

    // A source that is used: an input '1' to '4' or 'N'; every other character is none.
    bool IsSet() const { return (Input >= '1' && Input <= '4') || Input == kN2K; }

    friend bool operator==(const TDataSource&, const TDataSource&) = default;
};

} // namespace kvl
