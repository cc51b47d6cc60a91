#include "sentence/DecodedText.h"

#include "sentence/FieldValues.h"

#include <cmath>
#include <cstdio>
#include <ctime>

namespace kvl {

namespace {

constexpr long long kMillisecondsFrom = 100000000000LL; // a TAG time this large is in milliseconds
constexpr double kLatestTagTime = 1e14;                 // in milliseconds, the year 5138: no clock sends more
constexpr double kMinutesPerDegree = 60.0;

std::string Join(std::string_view a, std::string_view b, std::string_view c = {}) {
    std::string text;
    text.reserve(a.size() + b.size() + c.size());
    text += a;
    text += b;
    text += c;
    return text;
}

std::string NameOf(const TDecodedField& field) {
    if (!field.Name.empty())
        return std::string(field.Name);
    return "Field " + std::to_string(field.Number);
}

// "5106.9792" -> "51 deg 06.9792'": the minutes as sent.
std::string PositionText(std::string_view raw, std::string_view hemisphere) {
    std::size_t dot = raw.find('.');
    if (dot == std::string_view::npos)
        dot = raw.size();
    const std::size_t minutesAt = dot >= 2 ? dot - 2 : 0;
    std::string_view degrees = TrimLeadingZeros(raw.substr(0, minutesAt));
    if (degrees.empty())
        degrees = "0";
    std::string text = Join(degrees, " deg ", raw.substr(minutesAt));
    text += "' ";
    text += hemisphere;
    return text;
}

std::string DegreesMinutes(double degrees, bool latitude) {
    const char hemisphere = latitude ? (degrees < 0 ? 'S' : 'N') : (degrees < 0 ? 'W' : 'E');
    const double absolute = std::fabs(degrees);
    int whole = static_cast<int>(absolute);
    double minutes = (absolute - whole) * kMinutesPerDegree;
    if (minutes >= 59.99995) { // would print as 60.0000
        minutes = 0;
        ++whole;
    }
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%d deg %07.4f' %c", whole, minutes, hemisphere);
    return buffer;
}

std::string TimeText(std::string_view raw) {
    std::string text = Join(raw.substr(0, 2), ":", raw.substr(2, 2));
    text += ':';
    text += raw.substr(4);
    text += " UTC";
    return text;
}

std::string DateText(std::string_view raw, double year) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d-", static_cast<int>(year));
    return Join(buffer, raw.substr(2, 2), Join("-", raw.substr(0, 2)));
}

std::string Number(double value, int decimals) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return buffer;
}

} // namespace

std::string DescribeField(const TDecodedField& field) {
    const std::string name = NameOf(field);
    switch (field.Kind) {
    case TValueKind::Empty:
        return name + ": no value";
    case TValueKind::Number: {
        std::string text = Join(name, " ", TrimLeadingZeros(field.Raw));
        if (!field.Unit.empty())
            text += Join(" ", field.Unit);
        return text;
    }
    case TValueKind::Latitude:
    case TValueKind::Longitude:
        return Join(name, " ", PositionText(field.Raw, field.Meaning));
    case TValueKind::Time:
        return Join(name, " ", TimeText(field.Raw));
    case TValueKind::Date:
        return Join(name, " ", DateText(field.Raw, field.Value));
    case TValueKind::Code:
        if (field.Meaning.empty())
            return Join(name, ": ", field.Raw) + " (unknown code)";
        return Join(name, ": ", field.Meaning);
    case TValueKind::Unreadable:
        return Join(name, ": unreadable \"", field.Raw) + "\"";
    case TValueKind::Text:
        break;
    }
    return Join(name, ": ", field.Raw);
}

std::string DescribeAisField(const TAisField& field) {
    const std::string name(field.Name);
    if (field.NotAvailable)
        return name + ": not available";
    switch (field.Kind) {
    case TAisField::TKind::Text:
        return field.Text.empty() ? name + ": no value" : Join(name, ": ", field.Text);
    case TAisField::TKind::Flag:
        return name + (field.Integer != 0 ? ": yes" : ": no");
    case TAisField::TKind::Real: {
        if (field.Key == "lat" || field.Key == "lon")
            return Join(name, " ", DegreesMinutes(field.Real, field.Key == "lat"));
        std::string text = Join(name, " ", Number(field.Real, 1));
        if (!field.Unit.empty())
            text += Join(" ", field.Unit);
        return text;
    }
    case TAisField::TKind::Integer:
        break;
    }
    std::string value = std::to_string(field.Integer);
    if (field.Key == "mmsi" || field.Key == "mothership_mmsi") {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%09lld", static_cast<long long>(field.Integer));
        value = buffer;
    }
    if (!field.Unit.empty())
        value += Join(" ", field.Unit);
    if (!field.Meaning.empty())
        return field.Key == "type" || field.Key == "shiptype"
                   ? Join(name, ": ", value) + " (" + std::string(field.Meaning) + ")"
                   : Join(name, ": ", field.Meaning);
    return Join(name, ": ", value);
}

std::string TagTimeText(std::string_view value) {
    const auto number = ReadNumber(value);
    if (!number || *number < 0 || *number >= kLatestTagTime || value.find('.') != std::string_view::npos)
        return {};
    auto seconds = static_cast<long long>(*number);
    if (seconds >= kMillisecondsFrom)
        seconds /= 1000;
    const auto time = static_cast<std::time_t>(seconds);
    std::tm utc{};
    if (gmtime_r(&time, &utc) == nullptr)
        return {};
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d UTC", utc.tm_year + 1900,
                  utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec);
    return buffer;
}

std::vector<std::string> DescribeLine(const TDecodedLine& line) {
    std::vector<std::string> lines;
    if (line.Start == 0) {
        lines.push_back(Join("Not decoded: ", line.Error));
        return lines;
    }
    const std::string_view what =
        line.TypeName.empty() ? std::string_view("unknown sentence") : line.TypeName;
    lines.push_back(Join(line.Sentence.substr(0, 1), line.Address, Join(": ", what)));
    if (!line.Talker.empty()) {
        const std::string_view who = line.TalkerName.empty() ? std::string_view("unknown") : line.TalkerName;
        lines.push_back(Join("Talker: ", who, Join(" (", line.Talker, ")")));
    }
    if (!line.ChecksumOk)
        lines.push_back("Checksum: none");
    else if (*line.ChecksumOk)
        lines.push_back("Checksum: correct");
    else {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "Checksum: wrong (computed %02X)", line.ChecksumComputed);
        lines.push_back(buffer);
    }
    if (!line.Direction.empty())
        lines.push_back(line.Direction == "rx" ? "Traffic log: received" : "Traffic log: sent");
    if (!line.TagBlock.empty()) {
        if (!line.TagChecksumOk)
            lines.push_back("TAG block checksum: none");
        else
            lines.push_back(*line.TagChecksumOk ? "TAG block checksum: correct"
                                                : "TAG block checksum: wrong");
        for (const TTagParam& tag : line.Tags) {
            std::string text = Join("TAG ", tag.Name.empty() ? tag.Key : tag.Name, Join(": ", tag.Value));
            if (tag.Key == "c") {
                const std::string time = TagTimeText(tag.Value);
                if (!time.empty())
                    text += " (" + time + ")";
            }
            lines.push_back(std::move(text));
        }
    }
    for (const TDecodedField& field : line.Fields)
        lines.push_back(DescribeField(field));
    if (!line.AisProgress.empty())
        lines.push_back(Join("AIS ", line.AisProgress));
    if (line.Ais) {
        lines.push_back("AIS message:");
        for (const TAisField& field : line.Ais->Fields)
            lines.push_back("  " + DescribeAisField(field));
    }
    if (!line.Error.empty())
        lines.push_back(Join("Error: ", line.Error));
    return lines;
}

} // namespace kvl
