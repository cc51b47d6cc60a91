// Small text and bit utilities of the NMEA 0183 sentence layer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kvl {

// 8-bit XOR of the characters at 1-based positions 2..n of text (everything after
// the start character up to n). 0 when n is below 2; n beyond the text is clamped.
std::uint8_t NmeaChecksum(std::string_view text, std::size_t n);

// True when the (at most two) hex digits after the '*' at 0-based index starPos
// match the checksum of the characters between the start character and the star.
// Either case of the hex digits is accepted.
bool CheckNmeaChecksum(std::string_view text, std::size_t starPos);

// The checksum as two upper-case hexadecimal digits.
std::string ChecksumHex(std::uint8_t checksum);

// Decodes six-bit armoured payload characters ("0".."W", "`".."w") into bytes, most
// significant bit first; leftover bits that do not make a byte are dropped. The
// bytes replace the contents of out; the result is their number.
std::size_t Decode6Bit(std::string_view payload, std::vector<std::uint8_t>& out);

// Characters that may stand inside an NMEA field: 0x20..0x7D except ! $ * , \ ^.
bool IsNmeaChar(char c);
// True when every character passes IsNmeaChar; an empty text passes.
bool IsNmeaText(std::string_view text);

enum class TTalkerIDCheck { tcEmpty, tcIllegal, tcProprietary, tcValid };
// Classifies a talker ID typed by the user or read from a file.
TTalkerIDCheck CheckTalkerID(std::string_view text);

// Bit operations on 32-bit option words; the bit number is taken modulo 32.
void SetBit(std::uint32_t& word, unsigned bit, bool on);
bool TestBit(std::uint32_t word, unsigned bit);

// Strict number readers for wire text: digits only (no sign, no blanks, no
// prefix), at least one, and the value must fit the result. Hex accepts either case.
std::optional<std::uint64_t> ParseDecimal(std::string_view text, std::uint64_t max = UINT64_MAX);
std::optional<std::uint64_t> ParseHex(std::string_view text, std::uint64_t max = UINT64_MAX);

} // namespace kvl
