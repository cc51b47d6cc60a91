// The coded values of AIS messages and what they mean.
#pragma once

#include <cstdint>
#include <string_view>

namespace kvl {

struct TAisCode {
    std::int64_t Value;
    std::string_view Meaning;
};

inline constexpr TAisCode kRepeatCodes[] = {
    {0, "not repeated"}, {1, "repeated once"}, {2, "repeated twice"}, {3, "do not repeat further"}};

inline constexpr TAisCode kNavStatusCodes[] = {{0, "under way using engine"},
                                               {1, "at anchor"},
                                               {2, "not under command"},
                                               {3, "restricted manoeuvrability"},
                                               {4, "constrained by draught"},
                                               {5, "moored"},
                                               {6, "aground"},
                                               {7, "engaged in fishing"},
                                               {8, "under way sailing"},
                                               {9, "reserved (HSC)"},
                                               {10, "reserved (WIG)"},
                                               {11, "power-driven vessel towing astern"},
                                               {12, "power-driven vessel pushing ahead or towing alongside"},
                                               {13, "reserved"},
                                               {14, "AIS-SART active"},
                                               {15, "not defined"}};

inline constexpr TAisCode kAccuracyCodes[] = {{0, "low (> 10 m)"}, {1, "high (<= 10 m)"}};

inline constexpr TAisCode kSecondCodes[] = {{60, "not available"},
                                            {61, "positioning system in manual input mode"},
                                            {62, "dead reckoning mode"},
                                            {63, "positioning system inoperative"}};

inline constexpr TAisCode kManoeuvreCodes[] = {
    {0, "not available"}, {1, "no special manoeuvre"}, {2, "special manoeuvre"}};

inline constexpr TAisCode kEpfdCodes[] = {{0, "undefined"},
                                          {1, "GPS"},
                                          {2, "GLONASS"},
                                          {3, "GPS + GLONASS"},
                                          {4, "Loran-C"},
                                          {5, "Chayka"},
                                          {6, "integrated navigation system"},
                                          {7, "surveyed"},
                                          {8, "Galileo"},
                                          {15, "internal GNSS"}};

inline constexpr TAisCode kDteCodes[] = {{0, "ready"}, {1, "not ready"}};
inline constexpr TAisCode kAssignedCodes[] = {{0, "autonomous"}, {1, "assigned"}};
inline constexpr TAisCode kCsCodes[] = {{0, "class B SOTDMA"}, {1, "class B carrier sense"}};
inline constexpr TAisCode kPartCodes[] = {{0, "part A"}, {1, "part B"}};
inline constexpr TAisCode kGnssCodes[] = {{0, "current GNSS position"}, {1, "not a current GNSS position"}};

inline constexpr TAisCode kAidTypeCodes[] = {{0, "not specified"},
                                             {1, "reference point"},
                                             {2, "RACON"},
                                             {3, "fixed structure off shore"},
                                             {4, "spare"},
                                             {5, "light, without sectors"},
                                             {6, "light, with sectors"},
                                             {7, "leading light front"},
                                             {8, "leading light rear"},
                                             {9, "beacon, cardinal N"},
                                             {10, "beacon, cardinal E"},
                                             {11, "beacon, cardinal S"},
                                             {12, "beacon, cardinal W"},
                                             {13, "beacon, port hand"},
                                             {14, "beacon, starboard hand"},
                                             {15, "beacon, preferred channel port hand"},
                                             {16, "beacon, preferred channel starboard hand"},
                                             {17, "beacon, isolated danger"},
                                             {18, "beacon, safe water"},
                                             {19, "beacon, special mark"},
                                             {20, "cardinal mark N"},
                                             {21, "cardinal mark E"},
                                             {22, "cardinal mark S"},
                                             {23, "cardinal mark W"},
                                             {24, "port hand mark"},
                                             {25, "starboard hand mark"},
                                             {26, "preferred channel port hand"},
                                             {27, "preferred channel starboard hand"},
                                             {28, "isolated danger"},
                                             {29, "safe water"},
                                             {30, "special mark"},
                                             {31, "light vessel / LANBY / rig"}};

// "cargo, hazardous category A"; empty for reserved values.
std::string_view ShipTypeMeaning(std::int64_t type);

} // namespace kvl
