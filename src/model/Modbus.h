// TModbus: one entry of the Modbus table: a slave register that the multiplexer polls
// and reports as an NMEA 0183 XDR transducer measurement.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kvl {

class TModbus {
public:
    static constexpr std::size_t kXdrIDLength = 15;
    static constexpr std::uint8_t kStatusOK = 0;
    static constexpr std::uint8_t kStatusUnknown = 240;

    // A transducer ID longer than fifteen characters is cut.
    TModbus(std::uint8_t ASlave, std::uint16_t AReg, char ARType, char ADType, std::uint8_t ARev,
            std::uint8_t APrec, char AXdrType, char AXdrUnit, std::string_view AXdrID, std::uint8_t AStatus)
        : Slave(ASlave), Reg(AReg), RType(ARType), DType(ADType), Rev(ARev), Prec(APrec), XdrType(AXdrType),
          XdrUnit(AXdrUnit), XdrID(AXdrID.substr(0, kXdrIDLength)), Status(AStatus) {}

    std::uint8_t Slave = 0;
    std::uint16_t Reg = 0;
    char RType = 0;        // 'H' holding register, 'I' input register
    char DType = 0;        // 'I', 'U' (one register), 'L', 'F' (two registers)
    std::uint8_t Rev = 0;  // 1 = the two registers of a 32-bit value are swapped
    std::uint8_t Prec = 0; // precision digit 0-9
    char XdrType = 0;      // 0 = none
    char XdrUnit = 0;      // 0 = none
    std::string XdrID;
    std::uint8_t Status = 0; // 0 OK, 240 unknown, anything else an error code
};

} // namespace kvl
