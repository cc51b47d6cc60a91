// Number formatting for the text the tool puts on the wire and into its files.
#pragma once

#include <cstdint>
#include <string>

namespace kvl {

// Decimal without leading zeros ("%u").
std::string FormatDec(std::uint64_t value);

// Upper-case hexadecimal padded with leading zeros to at least minDigits digits
// ("%0.2x", "%0.8x", "%0.16x"); larger values take as many digits as they need.
std::string FormatHex(std::uint64_t value, unsigned minDigits);

} // namespace kvl
