// TRoute: one entry of the routing table, keyed on a sentence address.
#pragma once

#include "model/Name.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kvl {

// Source bits of TRoute::Inputs. Bit 6 and bits 8-15 belong to the multiplexer and
// pass through the tool unchanged.
inline constexpr unsigned kSrcIn1 = 0; // the SeaTalk input when input 1 runs SeaTalk
inline constexpr unsigned kSrcIn2 = 1;
inline constexpr unsigned kSrcIn3 = 2;
inline constexpr unsigned kSrcIn4 = 3;
inline constexpr unsigned kSrcConv = 4; // the multiplexer's own conversions (source 5)
inline constexpr unsigned kSrcHost = 5; // source 6, column "H"
inline constexpr unsigned kSrcN2K = 7;

// Destination bits of TRoute::Route. Bits 3 and 6 up pass through unchanged.
inline constexpr unsigned kDstOut1 = 0;
inline constexpr unsigned kDstOut2 = 1;
inline constexpr unsigned kDstSeaTalk = 2;
inline constexpr unsigned kDstWiFi = 4;
inline constexpr unsigned kDstHost = 5;

class TRoute {
public:
    static constexpr std::size_t kAddressLength = 5;

    // Addresses longer than five characters are cut to their first five.
    TRoute(std::string_view AAddress, std::uint16_t AInputs, std::uint8_t ADivisor, std::uint16_t ARoute,
           TName AName, std::uint8_t ASA)
        : Address(AAddress.substr(0, kAddressLength)), Inputs(AInputs), Divisor(ADivisor), Route(ARoute),
          Name(AName), SA(ASA) {}

    std::string Address;      // talker and formatter, e.g. GPRMC
    std::uint16_t Inputs = 0; // source bits
    std::uint8_t Divisor = 0; // 0 = none
    std::uint16_t Route = 0;  // destination bits
    TName Name;               // NMEA 2000 device meant by the kSrcN2K bit; 0 = none
    std::uint8_t SA = 255;    // NMEA 2000 source address; 255 = none
};

} // namespace kvl
