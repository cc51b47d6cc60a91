// Readers for the value formats of NMEA 0183 fields.
#pragma once

#include <optional>
#include <string_view>

namespace kvl {

// A decimal number ("045.3", "-0.1", "+2"); nothing for text that is not one.
std::optional<double> ReadNumber(std::string_view text);

// A position "ddmm.mmmm" (latitude) or "dddmm.mmmm" (longitude) with its
// hemisphere letter, in signed decimal degrees (south and west negative).
// Nothing when the text is not a number, the minutes are 60 or more, the degrees
// exceed 90 (180), or the hemisphere is not N/S (E/W).
std::optional<double> ReadPosition(std::string_view value, std::string_view hemisphere, bool latitude);

// "hhmmss" with optional decimals and plausible hours, minutes and seconds.
bool IsUtcTime(std::string_view text);

// The year of a "ddmmyy" date (two-digit years below 80 are 20yy), or nothing.
std::optional<int> ReadDateYear(std::string_view text);

// The number as sent without its superfluous leading zeros ("045.3" -> "45.3").
std::string_view TrimLeadingZeros(std::string_view number);

} // namespace kvl
