#include "sentence/FieldValues.h"

#include <charconv>
#include <cmath>

namespace kvl {

namespace {

constexpr double kMinutesPerDegree = 60.0;
constexpr int kCenturyPivot = 80; // two-digit years below it are this century's

bool AllDigits(std::string_view text) {
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return !text.empty();
}

int TwoDigits(std::string_view text, std::size_t pos) {
    return (text[pos] - '0') * 10 + (text[pos + 1] - '0');
}

} // namespace

std::optional<double> ReadNumber(std::string_view text) {
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty())
        return std::nullopt;
    double value = 0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<double> ReadPosition(std::string_view value, std::string_view hemisphere, bool latitude) {
    const auto number = ReadNumber(value);
    if (!number || *number < 0)
        return std::nullopt;
    const double degrees = std::floor(*number / 100);
    const double minutes = *number - degrees * 100;
    const double limit = latitude ? 90 : 180;
    if (minutes >= kMinutesPerDegree || degrees > limit)
        return std::nullopt;
    double result = degrees + minutes / kMinutesPerDegree;
    if (hemisphere == (latitude ? "S" : "W"))
        result = -result;
    else if (hemisphere != (latitude ? "N" : "E"))
        return std::nullopt;
    return result;
}

bool IsUtcTime(std::string_view text) {
    constexpr std::size_t kDigits = 6;
    if (text.size() < kDigits || !AllDigits(text.substr(0, kDigits)))
        return false;
    if (text.size() > kDigits && (text[kDigits] != '.' || !AllDigits(text.substr(kDigits + 1))))
        return false;
    return TwoDigits(text, 0) < 24 && TwoDigits(text, 2) < 60 && TwoDigits(text, 4) <= 60;
}

std::optional<int> ReadDateYear(std::string_view text) {
    if (text.size() != 6 || !AllDigits(text))
        return std::nullopt;
    const int day = TwoDigits(text, 0);
    const int month = TwoDigits(text, 2);
    const int year = TwoDigits(text, 4);
    if (day < 1 || day > 31 || month < 1 || month > 12)
        return std::nullopt;
    return year < kCenturyPivot ? 2000 + year : 1900 + year;
}

std::string_view TrimLeadingZeros(std::string_view number) {
    std::size_t start = (!number.empty() && (number[0] == '-' || number[0] == '+')) ? 1 : 0;
    std::size_t zeros = start;
    while (zeros + 1 < number.size() && number[zeros] == '0' && number[zeros + 1] >= '0' &&
           number[zeros + 1] <= '9')
        ++zeros;
    if (zeros == start)
        return number;
    // Keep the sign: "-05.0" -> the view cannot drop inner characters, so only unsigned numbers shrink.
    return start == 0 ? number.substr(zeros) : number;
}

} // namespace kvl
