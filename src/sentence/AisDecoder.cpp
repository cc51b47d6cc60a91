// AIS message layouts, bit positions counted from 0, written from the public
// AIVDM/AIVDO field documentation.
#include "sentence/AisDecoder.h"

#include "sentence/AisCodes.h"

#include <cmath>
#include <span>

namespace kvl {

namespace {

enum class A : std::uint8_t {
    Unsigned,   // integer; NotAvail gives the "not available" code when not negative
    Signed,     // integer
    Flag,       // one bit
    Text,       // six-bit text
    Enum,       // integer with a meaning from Codes (or the ship-type rule)
    ShipType,   // integer explained by the ship-type rule
    Lon,        // 1/10000 minute; 181 deg not available
    Lat,        // 1/10000 minute; 91 deg not available
    Lon10,      // 1/10 minute (type 27)
    Lat10,      // 1/10 minute (type 27)
    Tenths,     // value / 10 in Unit; NotAvail as the raw code
    RateOfTurn, // the ROT indicator
};

struct TAisSpec {
    unsigned Start;
    unsigned Length;
    A Kind;
    std::string_view Name;
    std::string_view Key;
    std::string_view Unit = {};
    std::int64_t NotAvail = -1;
    std::span<const TAisCode> Codes = {};
};

constexpr std::int64_t kLon181 = 108600000;
constexpr std::int64_t kLat91 = 54600000;
constexpr std::int64_t kLon181Tenths = 108600;
constexpr std::int64_t kLat91Tenths = 54600;
constexpr double kTenThousandthMinutes = 600000.0;
constexpr double kTenthMinutes = 600.0;
constexpr unsigned kHeaderBits = 38;
constexpr int kRotNotAvailable = -128;
constexpr int kRotFastTurn = 127;
constexpr double kRotFactor = 4.733;

constexpr TAisSpec kHeader[] = {
    {0, 6, A::Unsigned, "Message type", "type"},
    {6, 2, A::Enum, "Repeat indicator", "repeat", {}, -1, kRepeatCodes},
    {8, 30, A::Unsigned, "MMSI", "mmsi"},
};

constexpr TAisSpec kPositionA[] = {
    {38, 4, A::Enum, "Navigation status", "status", {}, -1, kNavStatusCodes},
    {42, 8, A::RateOfTurn, "Rate of turn", "turn", "deg/min"},
    {50, 10, A::Tenths, "Speed over ground", "speed", "kn", 1023},
    {60, 1, A::Enum, "Position accuracy", "accuracy", {}, -1, kAccuracyCodes},
    {61, 28, A::Lon, "Longitude", "lon", "deg"},
    {89, 27, A::Lat, "Latitude", "lat", "deg"},
    {116, 12, A::Tenths, "Course over ground", "course", "deg", 3600},
    {128, 9, A::Unsigned, "True heading", "heading", "deg", 511},
    {137, 6, A::Enum, "Time stamp (UTC second)", "second", {}, 60, kSecondCodes},
    {143, 2, A::Enum, "Manoeuvre indicator", "maneuver", {}, 0, kManoeuvreCodes},
    {148, 1, A::Flag, "RAIM in use", "raim"},
    {149, 19, A::Unsigned, "Radio status", "radio"},
};

constexpr TAisSpec kBaseStation[] = {
    {38, 14, A::Unsigned, "Year (UTC)", "year", {}, 0},
    {52, 4, A::Unsigned, "Month (UTC)", "month", {}, 0},
    {56, 5, A::Unsigned, "Day (UTC)", "day", {}, 0},
    {61, 5, A::Unsigned, "Hour (UTC)", "hour", {}, 24},
    {66, 6, A::Unsigned, "Minute (UTC)", "minute", {}, 60},
    {72, 6, A::Unsigned, "Second (UTC)", "second", {}, 60},
    {78, 1, A::Enum, "Position accuracy", "accuracy", {}, -1, kAccuracyCodes},
    {79, 28, A::Lon, "Longitude", "lon", "deg"},
    {107, 27, A::Lat, "Latitude", "lat", "deg"},
    {134, 4, A::Enum, "Position fixing device", "epfd", {}, -1, kEpfdCodes},
    {148, 1, A::Flag, "RAIM in use", "raim"},
    {149, 19, A::Unsigned, "Radio status", "radio"},
};

constexpr TAisSpec kStaticVoyage[] = {
    {38, 2, A::Unsigned, "AIS version", "ais_version"},
    {40, 30, A::Unsigned, "IMO number", "imo", {}, 0},
    {70, 42, A::Text, "Call sign", "callsign"},
    {112, 120, A::Text, "Vessel name", "shipname"},
    {232, 8, A::ShipType, "Ship type", "shiptype", {}, 0},
    {240, 9, A::Unsigned, "Dimension to bow", "to_bow", "m"},
    {249, 9, A::Unsigned, "Dimension to stern", "to_stern", "m"},
    {258, 6, A::Unsigned, "Dimension to port", "to_port", "m"},
    {264, 6, A::Unsigned, "Dimension to starboard", "to_starboard", "m"},
    {270, 4, A::Enum, "Position fixing device", "epfd", {}, -1, kEpfdCodes},
    {274, 4, A::Unsigned, "ETA month (UTC)", "month", {}, 0},
    {278, 5, A::Unsigned, "ETA day", "day", {}, 0},
    {283, 5, A::Unsigned, "ETA hour", "hour", {}, 24},
    {288, 6, A::Unsigned, "ETA minute", "minute", {}, 60},
    {294, 8, A::Tenths, "Draught", "draught", "m"},
    {302, 120, A::Text, "Destination", "destination"},
    {422, 1, A::Enum, "Data terminal", "dte", {}, -1, kDteCodes},
};

constexpr TAisSpec kSarAircraft[] = {
    {38, 12, A::Unsigned, "Altitude", "alt", "m", 4095},
    {50, 10, A::Unsigned, "Speed over ground", "speed", "kn", 1023},
    {60, 1, A::Enum, "Position accuracy", "accuracy", {}, -1, kAccuracyCodes},
    {61, 28, A::Lon, "Longitude", "lon", "deg"},
    {89, 27, A::Lat, "Latitude", "lat", "deg"},
    {116, 12, A::Tenths, "Course over ground", "course", "deg", 3600},
    {128, 6, A::Enum, "Time stamp (UTC second)", "second", {}, 60, kSecondCodes},
    {134, 8, A::Unsigned, "Regional reserved", "regional"},
    {142, 1, A::Enum, "Data terminal", "dte", {}, -1, kDteCodes},
    {146, 1, A::Enum, "Assigned mode", "assigned", {}, -1, kAssignedCodes},
    {147, 1, A::Flag, "RAIM in use", "raim"},
    {148, 20, A::Unsigned, "Radio status", "radio"},
};

constexpr TAisSpec kClassB[] = {
    {38, 8, A::Unsigned, "Regional reserved", "reserved"},
    {46, 10, A::Tenths, "Speed over ground", "speed", "kn", 1023},
    {56, 1, A::Enum, "Position accuracy", "accuracy", {}, -1, kAccuracyCodes},
    {57, 28, A::Lon, "Longitude", "lon", "deg"},
    {85, 27, A::Lat, "Latitude", "lat", "deg"},
    {112, 12, A::Tenths, "Course over ground", "course", "deg", 3600},
    {124, 9, A::Unsigned, "True heading", "heading", "deg", 511},
    {133, 6, A::Enum, "Time stamp (UTC second)", "second", {}, 60, kSecondCodes},
    {139, 2, A::Unsigned, "Regional reserved", "regional"},
    {141, 1, A::Enum, "CS unit", "cs", {}, -1, kCsCodes},
    {142, 1, A::Flag, "Has a display", "display"},
    {143, 1, A::Flag, "DSC radio", "dsc"},
    {144, 1, A::Flag, "Whole marine band", "band"},
    {145, 1, A::Flag, "Accepts message 22", "msg22"},
    {146, 1, A::Enum, "Assigned mode", "assigned", {}, -1, kAssignedCodes},
    {147, 1, A::Flag, "RAIM in use", "raim"},
    {148, 20, A::Unsigned, "Radio status", "radio"},
};

constexpr TAisSpec kClassBExtended[] = {
    {38, 8, A::Unsigned, "Regional reserved", "reserved"},
    {46, 10, A::Tenths, "Speed over ground", "speed", "kn", 1023},
    {56, 1, A::Enum, "Position accuracy", "accuracy", {}, -1, kAccuracyCodes},
    {57, 28, A::Lon, "Longitude", "lon", "deg"},
    {85, 27, A::Lat, "Latitude", "lat", "deg"},
    {112, 12, A::Tenths, "Course over ground", "course", "deg", 3600},
    {124, 9, A::Unsigned, "True heading", "heading", "deg", 511},
    {133, 6, A::Enum, "Time stamp (UTC second)", "second", {}, 60, kSecondCodes},
    {139, 4, A::Unsigned, "Regional reserved", "regional"},
    {143, 120, A::Text, "Vessel name", "shipname"},
    {263, 8, A::ShipType, "Ship type", "shiptype", {}, 0},
    {271, 9, A::Unsigned, "Dimension to bow", "to_bow", "m"},
    {280, 9, A::Unsigned, "Dimension to stern", "to_stern", "m"},
    {289, 6, A::Unsigned, "Dimension to port", "to_port", "m"},
    {295, 6, A::Unsigned, "Dimension to starboard", "to_starboard", "m"},
    {301, 4, A::Enum, "Position fixing device", "epfd", {}, -1, kEpfdCodes},
    {305, 1, A::Flag, "RAIM in use", "raim"},
    {306, 1, A::Enum, "Data terminal", "dte", {}, -1, kDteCodes},
    {307, 1, A::Enum, "Assigned mode", "assigned", {}, -1, kAssignedCodes},
};

constexpr TAisSpec kAidToNavigation[] = {
    {38, 5, A::Enum, "Aid type", "aid_type", {}, -1, kAidTypeCodes},
    {43, 120, A::Text, "Name", "name"},
    {163, 1, A::Enum, "Position accuracy", "accuracy", {}, -1, kAccuracyCodes},
    {164, 28, A::Lon, "Longitude", "lon", "deg"},
    {192, 27, A::Lat, "Latitude", "lat", "deg"},
    {219, 9, A::Unsigned, "Dimension to bow", "to_bow", "m"},
    {228, 9, A::Unsigned, "Dimension to stern", "to_stern", "m"},
    {237, 6, A::Unsigned, "Dimension to port", "to_port", "m"},
    {243, 6, A::Unsigned, "Dimension to starboard", "to_starboard", "m"},
    {249, 4, A::Enum, "Position fixing device", "epfd", {}, -1, kEpfdCodes},
    {253, 6, A::Enum, "Time stamp (UTC second)", "second", {}, 60, kSecondCodes},
    {259, 1, A::Flag, "Off position", "off_position"},
    {260, 8, A::Unsigned, "Regional reserved", "regional"},
    {268, 1, A::Flag, "RAIM in use", "raim"},
    {269, 1, A::Flag, "Virtual aid", "virtual_aid"},
    {270, 1, A::Enum, "Assigned mode", "assigned", {}, -1, kAssignedCodes},
};

constexpr TAisSpec kStaticPartA[] = {
    {38, 2, A::Enum, "Part", "partno", {}, -1, kPartCodes},
    {40, 120, A::Text, "Vessel name", "shipname"},
};
constexpr TAisSpec kStaticPartB[] = {
    {38, 2, A::Enum, "Part", "partno", {}, -1, kPartCodes},
    {40, 8, A::ShipType, "Ship type", "shiptype", {}, 0},
    {48, 18, A::Text, "Vendor ID", "vendorid"},
    {66, 4, A::Unsigned, "Unit model code", "model"},
    {70, 20, A::Unsigned, "Serial number", "serial"},
    {48, 42, A::Text, "Vendor ID (before M.1371-4)", "vendorid_full"},
    {90, 42, A::Text, "Call sign", "callsign"},
};
constexpr TAisSpec kStaticPartBDimensions[] = {
    {132, 9, A::Unsigned, "Dimension to bow", "to_bow", "m"},
    {141, 9, A::Unsigned, "Dimension to stern", "to_stern", "m"},
    {150, 6, A::Unsigned, "Dimension to port", "to_port", "m"},
    {156, 6, A::Unsigned, "Dimension to starboard", "to_starboard", "m"},
};
constexpr TAisSpec kStaticPartBMothership[] = {
    {132, 30, A::Unsigned, "Mothership MMSI", "mothership_mmsi"},
};

constexpr TAisSpec kLongRange[] = {
    {38, 1, A::Enum, "Position accuracy", "accuracy", {}, -1, kAccuracyCodes},
    {39, 1, A::Flag, "RAIM in use", "raim"},
    {40, 4, A::Enum, "Navigation status", "status", {}, -1, kNavStatusCodes},
    {44, 18, A::Lon10, "Longitude", "lon", "deg"},
    {62, 17, A::Lat10, "Latitude", "lat", "deg"},
    {79, 6, A::Unsigned, "Speed over ground", "speed", "kn", 63},
    {85, 9, A::Unsigned, "Course over ground", "course", "deg", 511},
    {94, 1, A::Enum, "GNSS position status", "gnss", {}, -1, kGnssCodes},
};

std::string_view CodeMeaning(std::span<const TAisCode> codes, std::int64_t value) {
    for (const TAisCode& code : codes) {
        if (code.Value == value)
            return code.Meaning;
    }
    return {};
}

void DecodeRateOfTurn(TAisField& field) {
    const auto raw = static_cast<int>(field.Integer);
    if (raw == kRotNotAvailable) {
        field.NotAvailable = true;
        return;
    }
    if (raw == kRotFastTurn || raw == -kRotFastTurn) {
        field.Meaning = raw > 0 ? "turning right at more than 5 deg per 30 s (no turn indicator)"
                                : "turning left at more than 5 deg per 30 s (no turn indicator)";
        return;
    }
    const double rate = std::pow(raw / kRotFactor, 2);
    field.Kind = TAisField::TKind::Real;
    field.Real = std::round((raw < 0 ? -rate : rate) * 10) / 10;
}

TAisField DecodeField(const TAisBits& bits, const TAisSpec& spec) {
    TAisField field;
    field.Name = spec.Name;
    field.Key = spec.Key;
    field.Unit = spec.Unit;
    switch (spec.Kind) {
    case A::Text:
        field.Kind = TAisField::TKind::Text;
        field.Text = bits.Text(spec.Start, spec.Length);
        return field;
    case A::Signed:
    case A::RateOfTurn:
    case A::Lon:
    case A::Lat:
    case A::Lon10:
    case A::Lat10:
        field.Integer = bits.Signed(spec.Start, spec.Length);
        break;
    default:
        field.Integer = static_cast<std::int64_t>(bits.Unsigned(spec.Start, spec.Length));
        break;
    }
    field.NotAvailable = spec.NotAvail >= 0 && field.Integer == spec.NotAvail;
    switch (spec.Kind) {
    case A::Flag:
        field.Kind = TAisField::TKind::Flag;
        break;
    case A::Enum:
        field.Meaning = CodeMeaning(spec.Codes, field.Integer);
        break;
    case A::ShipType:
        field.Meaning = ShipTypeMeaning(field.Integer);
        break;
    case A::Lon:
    case A::Lat:
        field.Kind = TAisField::TKind::Real;
        field.Real = static_cast<double>(field.Integer) / kTenThousandthMinutes;
        field.NotAvailable = field.Integer == (spec.Kind == A::Lon ? kLon181 : kLat91);
        break;
    case A::Lon10:
    case A::Lat10:
        field.Kind = TAisField::TKind::Real;
        field.Real = static_cast<double>(field.Integer) / kTenthMinutes;
        field.NotAvailable = field.Integer == (spec.Kind == A::Lon10 ? kLon181Tenths : kLat91Tenths);
        break;
    case A::Tenths:
        field.Kind = TAisField::TKind::Real;
        field.Real = static_cast<double>(field.Integer) / 10.0;
        break;
    case A::RateOfTurn:
        DecodeRateOfTurn(field);
        break;
    default:
        break;
    }
    return field;
}

void DecodeFields(const TAisBits& bits, std::span<const TAisSpec> specs, TAisMessage& message) {
    for (const TAisSpec& spec : specs) {
        // Texts may be cut short (fill-bit errors are common); other fields need all their bits.
        const bool present =
            spec.Kind == A::Text ? bits.Has(spec.Start, 6) : bits.Has(spec.Start, spec.Length);
        if (present)
            message.Fields.push_back(DecodeField(bits, spec));
    }
}

// Type 21: a name longer than 20 characters goes on after the fixed fields.
void AppendNameExtension(const TAisBits& bits, TAisMessage& message) {
    constexpr unsigned kExtensionStart = 272;
    if (!bits.Has(kExtensionStart, 6))
        return;
    const std::string extension = bits.Text(kExtensionStart, bits.Size() - kExtensionStart);
    for (TAisField& field : message.Fields) {
        if (field.Key == "name" && field.Text.size() == 20) // only a full name continues
            field.Text += extension;
    }
}

void DecodeStaticReport(const TAisBits& bits, TAisMessage& message) {
    constexpr unsigned kAuxiliaryCraftPrefix = 98;
    constexpr std::uint32_t kMmsiPrefixDivisor = 10000000;
    if (!bits.Has(38, 2))
        return;
    const auto part = bits.Unsigned(38, 2);
    if (part == 0) {
        DecodeFields(bits, kStaticPartA, message);
        return;
    }
    if (part != 1) {
        DecodeFields(bits, std::span(kStaticPartA).first(1), message);
        return;
    }
    DecodeFields(bits, kStaticPartB, message);
    if (message.Mmsi / kMmsiPrefixDivisor == kAuxiliaryCraftPrefix)
        DecodeFields(bits, kStaticPartBMothership, message);
    else
        DecodeFields(bits, kStaticPartBDimensions, message);
}

} // namespace

std::string_view AisTypeName(unsigned type) {
    switch (type) {
    case 1:
        return "Position report, class A";
    case 2:
        return "Position report, class A (assigned schedule)";
    case 3:
        return "Position report, class A (response to interrogation)";
    case 4:
        return "Base station report";
    case 5:
        return "Static and voyage related data";
    case 9:
        return "SAR aircraft position report";
    case 11:
        return "UTC/date response";
    case 18:
        return "Class B position report";
    case 19:
        return "Extended class B position report";
    case 21:
        return "Aid-to-navigation report";
    case 24:
        return "Static data report";
    case 27:
        return "Long-range position report";
    default:
        return {};
    }
}

bool DecodeAisMessage(const TAisBits& bits, TAisMessage& message) {
    message.Fields.clear();
    message.Bits = bits.Size();
    if (bits.Size() < kHeaderBits)
        return false;
    message.Type = static_cast<unsigned>(bits.Unsigned(0, 6));
    message.Mmsi = static_cast<std::uint32_t>(bits.Unsigned(8, 30));
    DecodeFields(bits, kHeader, message);
    message.Fields[0].Meaning = AisTypeName(message.Type);
    switch (message.Type) {
    case 1:
    case 2:
    case 3:
        DecodeFields(bits, kPositionA, message);
        break;
    case 4:
    case 11:
        DecodeFields(bits, kBaseStation, message);
        break;
    case 5:
        DecodeFields(bits, kStaticVoyage, message);
        break;
    case 9:
        DecodeFields(bits, kSarAircraft, message);
        break;
    case 18:
        DecodeFields(bits, kClassB, message);
        break;
    case 19:
        DecodeFields(bits, kClassBExtended, message);
        break;
    case 21:
        DecodeFields(bits, kAidToNavigation, message);
        AppendNameExtension(bits, message);
        break;
    case 24:
        DecodeStaticReport(bits, message);
        break;
    case 27:
        DecodeFields(bits, kLongRange, message);
        break;
    default:
        break; // the header says who sent it; the rest is not explained
    }
    return true;
}

const TAisField* TAisMessage::Find(std::string_view key) const {
    for (const TAisField& field : Fields) {
        if (field.Key == key)
            return &field;
    }
    return nullptr;
}

} // namespace kvl
