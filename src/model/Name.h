// TName: the 64-bit NMEA 2000 device NAME (the ISO 11783-5 NAME) with the views the
// tool reads from it. A NAME of 0 means "no device".
#pragma once

#include <cstdint>
#include <string>

namespace kvl {

class TName {
public:
    constexpr TName() = default;
    // Implicit on purpose: a NAME is used wherever a 64-bit number is written.
    constexpr TName(std::uint64_t n) : N(n) {}

    std::uint64_t N = 0;

    // Unique number (bits 0-20) and manufacturer code (bits 21-31).
    constexpr std::uint32_t Serial() const { return static_cast<std::uint32_t>(N & 0xFFFFFFFFu); }
    constexpr std::uint8_t DevInstance() const { return Byte(4); }
    constexpr std::uint8_t DevFunction() const { return Byte(5); }
    // Bit 0 reserved, bits 1-7 the device class.
    constexpr std::uint8_t DevClass() const { return Byte(6); }
    // System instance (bits 0-3), industry group (bits 4-6), arbitrary-address capability (bit 7).
    constexpr std::uint8_t SysIntance() const { return Byte(7); }

    constexpr std::uint16_t ManufacturerCode() const { return static_cast<std::uint16_t>(Serial() >> 21); }
    constexpr std::uint8_t SystemInstance() const { return SysIntance() & 0x0F; }

    constexpr void SetSerial(std::uint32_t value) { N = (N & ~std::uint64_t{0xFFFFFFFFu}) | value; }
    constexpr void SetDevInstance(std::uint8_t value) { SetByte(4, value); }
    constexpr void SetDevFunction(std::uint8_t value) { SetByte(5, value); }
    constexpr void SetDevClass(std::uint8_t value) { SetByte(6, value); }
    constexpr void SetSysIntance(std::uint8_t value) { SetByte(7, value); }

    constexpr bool IsEmpty() const { return N == 0; }

    // Sixteen upper-case hexadecimal digits, most significant first, leading zeros kept:
    // the form of a NAME in sentences and in the configuration file.
    std::string ToHex() const;

    friend constexpr bool operator==(TName, TName) = default;

private:
    constexpr std::uint8_t Byte(unsigned index) const { return static_cast<std::uint8_t>(N >> (index * 8)); }
    constexpr void SetByte(unsigned index, std::uint8_t value) {
        const unsigned shift = index * 8;
        N = (N & ~(std::uint64_t{0xFF} << shift)) | (std::uint64_t{value} << shift);
    }
};

} // namespace kvl
