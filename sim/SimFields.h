// The simulator's own field splitting and number reading. It deliberately shares
// nothing with the tool's sentence decoders, so that a fault in those cannot hide
// behind the same fault on the device side.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kvl::sim {

using Fields = std::vector<std::string_view>;

// Splits at every comma; empty pieces stay, so "A,,B" gives three fields.
Fields SplitFields(std::string_view text);

// Decimal digits only (no sign, no blanks), 1 to 10 of them, value at most max.
std::optional<std::uint32_t> ReadDecimal(std::string_view text, std::uint32_t max);

// Hexadecimal digits of either case, between minDigits and maxDigits of them (at most 16).
std::optional<std::uint64_t> ReadHex(std::string_view text, std::size_t minDigits, std::size_t maxDigits);

// Upper-case hexadecimal with at least `digits` digits (leading zeros).
std::string WriteHex(std::uint64_t value, std::size_t digits);

bool IsLetterOrDigit(char c);
bool IsUpperLetterOrDigit(char c);

// True when the text may stand inside a sentence field as the device sends it:
// printable Latin-1 without the characters that delimit sentences and fields.
bool IsFieldText(std::string_view text);

} // namespace kvl::sim
