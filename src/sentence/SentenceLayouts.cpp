// Field layouts of the standard sentences, written from public field documentation.
#include "sentence/SentenceLayouts.h"

#include <algorithm>
#include <array>

namespace kvl {

namespace {

using F = TFieldFormat;

constexpr TCode kStatus[] = {{"A", "valid"}, {"V", "not valid"}};
constexpr TCode kMode[] = {{"A", "autonomous"}, {"D", "differential"}, {"E", "estimated (dead reckoning)"},
                           {"F", "RTK float"},  {"M", "manual input"}, {"N", "data not valid"},
                           {"P", "precise"},    {"R", "RTK integer"},  {"S", "simulator"}};
constexpr TCode kEastWest[] = {{"E", "east"}, {"W", "west"}};
constexpr TCode kLeftRight[] = {{"L", "left"}, {"R", "right"}};
constexpr TCode kFixQuality[] = {{"0", "no fix"},
                                 {"1", "GPS fix"},
                                 {"2", "differential fix"},
                                 {"3", "PPS fix"},
                                 {"4", "RTK fixed (integer)"},
                                 {"5", "RTK float"},
                                 {"6", "estimated (dead reckoning)"},
                                 {"7", "manual input"},
                                 {"8", "simulation"}};
constexpr TCode kSelection[] = {{"M", "manual"}, {"A", "automatic 2D/3D"}};
constexpr TCode kFixMode[] = {{"1", "no fix"}, {"2", "2D fix"}, {"3", "3D fix"}};
constexpr TCode kGnssSystem[] = {{"1", "GPS"},    {"2", "GLONASS"}, {"3", "Galileo"},
                                 {"4", "BeiDou"}, {"5", "QZSS"},    {"6", "NavIC"}};
constexpr TCode kNavStatus[] = {
    {"S", "safe"}, {"C", "caution"}, {"U", "unsafe"}, {"V", "not valid for navigation"}};
constexpr TCode kThsMode[] = {{"A", "autonomous"},
                              {"E", "estimated (dead reckoning)"},
                              {"M", "manual input"},
                              {"S", "simulator"},
                              {"V", "data not valid"}};
constexpr TCode kWindReference[] = {{"R", "relative (apparent)"}, {"T", "true (theoretical)"}};
constexpr TCode kSpeedUnit[] = {{"K", "km/h"}, {"M", "m/s"}, {"N", "kn"}, {"S", "mph"}};
constexpr TCode kTemperatureUnit[] = {{"C", "C"}};
constexpr TCode kTrueMagnetic[] = {{"T", "true"}, {"M", "magnetic"}};
constexpr TCode kArrival[] = {{"A", "entered"}, {"V", "not entered"}};
constexpr TCode kPerpendicular[] = {{"A", "passed"}, {"V", "not passed"}};
constexpr TCode kRpmSource[] = {{"S", "shaft"}, {"E", "engine"}};
constexpr TCode kRouteMode[] = {{"c", "complete route"}, {"w", "working route"}};
constexpr TCode kAlarmCondition[] = {{"A", "threshold exceeded"}, {"V", "not exceeded"}};
constexpr TCode kAcknowledge[] = {{"A", "acknowledged"}, {"V", "unacknowledged"}};
constexpr TCode kTransducer[] = {{"A", "angular displacement"},
                                 {"C", "temperature"},
                                 {"D", "linear displacement"},
                                 {"F", "frequency"},
                                 {"G", "generic"},
                                 {"H", "humidity"},
                                 {"I", "current"},
                                 {"N", "force"},
                                 {"P", "pressure"},
                                 {"R", "flow rate"},
                                 {"S", "switch or valve"},
                                 {"T", "tachometer"},
                                 {"U", "voltage"},
                                 {"V", "volume"}};
constexpr TCode kXdrUnit[] = {{"D", "degrees"},           {"C", "Celsius"}, {"M", "metres"},  {"H", "hertz"},
                              {"P", "percent or pascal"}, {"A", "amperes"}, {"N", "newtons"}, {"B", "bar"},
                              {"l", "litres/second"},     {"R", "rpm"},     {"V", "volts"}};
constexpr TCode kAisChannel[] = {
    {"A", "A (161.975 MHz)"}, {"B", "B (162.025 MHz)"}, {"1", "A (161.975 MHz)"}, {"2", "B (162.025 MHz)"}};

constexpr TFieldSpec Fixed() {
    return {"", "", F::Fixed, "", {}};
}
constexpr TFieldSpec Lat(std::string_view name = "Latitude", std::string_view key = "latitude") {
    return {name, key, F::Latitude, "deg", {}};
}
constexpr TFieldSpec Lon(std::string_view name = "Longitude", std::string_view key = "longitude") {
    return {name, key, F::Longitude, "deg", {}};
}
constexpr TFieldSpec Num(std::string_view name, std::string_view key, std::string_view unit = "") {
    return {name, key, F::Number, unit, {}};
}
constexpr TFieldSpec Txt(std::string_view name, std::string_view key) {
    return {name, key, F::Text, "", {}};
}
constexpr TFieldSpec Code(std::string_view name, std::string_view key, std::span<const TCode> codes) {
    return {name, key, F::Code, "", codes};
}
constexpr TFieldSpec Time(std::string_view name = "UTC time", std::string_view key = "utc_time") {
    return {name, key, F::Time, "", {}};
}
constexpr TFieldSpec Status(std::string_view name = "Status", std::string_view key = "status") {
    return Code(name, key, kStatus);
}
constexpr TFieldSpec Mode() {
    return Code("Mode", "mode", kMode);
}

constexpr TFieldSpec kGGA[] = {Time("UTC time of fix"),
                               Lat(),
                               Lon(),
                               Code("Fix quality", "fix_quality", kFixQuality),
                               Num("Satellites in use", "satellites_in_use"),
                               Num("HDOP", "hdop"),
                               Num("Antenna altitude", "altitude", "m"),
                               Fixed(),
                               Num("Geoidal separation", "geoidal_separation", "m"),
                               Fixed(),
                               Num("Age of differential data", "dgps_age", "s"),
                               Txt("Differential station ID", "dgps_station")};
constexpr TFieldSpec kGLL[] = {Lat(), Lon(), Time("UTC time of position"), Status(), Mode()};
constexpr TFieldSpec kRMC[] = {Time("UTC time of fix"),
                               Status(),
                               Lat(),
                               Lon(),
                               Num("Speed over ground", "speed_over_ground", "kn"),
                               Num("Course over ground", "course_over_ground", "deg"),
                               {"Date", "date", F::Date, "", {}},
                               Num("Magnetic variation", "magnetic_variation", "deg"),
                               Code("Variation direction", "variation_direction", kEastWest),
                               Mode(),
                               Txt("Navigational status", "navigational_status")};
constexpr TFieldSpec kVTG[] = {Num("Course over ground, true", "course_true", "deg"),
                               Fixed(),
                               Num("Course over ground, magnetic", "course_magnetic", "deg"),
                               Fixed(),
                               Num("Speed over ground", "speed_over_ground", "kn"),
                               Fixed(),
                               Num("Speed over ground", "speed_over_ground_kmh", "km/h"),
                               Fixed(),
                               Mode()};
constexpr TFieldSpec kVTGOld[] = {Num("Course over ground, true", "course_true", "deg"),
                                  Num("Course over ground, magnetic", "course_magnetic", "deg"),
                                  Num("Speed over ground", "speed_over_ground", "kn"),
                                  Num("Speed over ground", "speed_over_ground_kmh", "km/h")};
constexpr TFieldSpec kSatUsed = {"Satellite used", "satellites_used", F::Number, "", {}, true};
constexpr TFieldSpec kGSA[] = {Code("Selection mode", "selection_mode", kSelection),
                               Code("Fix mode", "fix_mode", kFixMode),
                               kSatUsed,
                               kSatUsed,
                               kSatUsed,
                               kSatUsed,
                               kSatUsed,
                               kSatUsed,
                               kSatUsed,
                               kSatUsed,
                               kSatUsed,
                               kSatUsed,
                               kSatUsed,
                               kSatUsed,
                               Num("PDOP", "pdop"),
                               Num("HDOP", "hdop"),
                               Num("VDOP", "vdop"),
                               Code("GNSS system", "gnss_system", kGnssSystem)};
constexpr TFieldSpec kGSV[] = {Num("Number of sentences", "sentence_count"),
                               Num("Sentence number", "sentence_number"),
                               Num("Satellites in view", "satellites_in_view"),
                               Num("Satellite ID", "satellite_id"),
                               Num("Elevation", "elevation", "deg"),
                               Num("Azimuth", "azimuth", "deg"),
                               Num("SNR", "snr", "dB")};
constexpr TFieldSpec kGSVSignal = Txt("Signal ID", "signal_id");
constexpr TFieldSpec kGNS[] = {Time("UTC time of fix"),
                               Lat(),
                               Lon(),
                               Txt("Mode indicators", "mode"),
                               Num("Satellites in use", "satellites_in_use"),
                               Num("HDOP", "hdop"),
                               Num("Antenna altitude", "altitude", "m"),
                               Num("Geoidal separation", "geoidal_separation", "m"),
                               Num("Age of differential data", "dgps_age", "s"),
                               Txt("Differential station ID", "dgps_station"),
                               Code("Navigational status", "navigational_status", kNavStatus)};
constexpr TFieldSpec kZDA[] = {Time(),
                               Num("Day", "day"),
                               Num("Month", "month"),
                               Num("Year", "year"),
                               Num("Local zone hours", "zone_hours", "h"),
                               Num("Local zone minutes", "zone_minutes", "min")};
constexpr TFieldSpec kHDG[] = {Num("Magnetic sensor heading", "heading", "deg"),
                               Num("Magnetic deviation", "deviation", "deg"),
                               Code("Deviation direction", "deviation_direction", kEastWest),
                               Num("Magnetic variation", "variation", "deg"),
                               Code("Variation direction", "variation_direction", kEastWest)};
constexpr TFieldSpec kHDT[] = {Num("Heading, true", "heading", "deg"), Fixed()};
constexpr TFieldSpec kHDM[] = {Num("Heading, magnetic", "heading", "deg"), Fixed()};
constexpr TFieldSpec kROT[] = {Num("Rate of turn", "rate_of_turn", "deg/min"), Status()};
constexpr TFieldSpec kTHS[] = {Num("Heading, true", "heading", "deg"), Code("Mode", "mode", kThsMode)};
constexpr TFieldSpec kMWV[] = {Num("Wind angle", "wind_angle", "deg"),
                               Code("Reference", "reference", kWindReference),
                               Num("Wind speed", "wind_speed"),
                               {"", "", F::UnitOfPrevious, "", kSpeedUnit},
                               Status()};
constexpr TFieldSpec kMWD[] = {Num("Wind direction, true", "direction_true", "deg"),
                               Fixed(),
                               Num("Wind direction, magnetic", "direction_magnetic", "deg"),
                               Fixed(),
                               Num("Wind speed", "speed_kn", "kn"),
                               Fixed(),
                               Num("Wind speed", "speed_ms", "m/s"),
                               Fixed()};
constexpr TFieldSpec kVWR[] = {Num("Wind angle", "wind_angle", "deg"), Code("Side", "side", kLeftRight),
                               Num("Wind speed", "speed_kn", "kn"),    Fixed(),
                               Num("Wind speed", "speed_ms", "m/s"),   Fixed(),
                               Num("Wind speed", "speed_kmh", "km/h"), Fixed()};
constexpr TFieldSpec kMTW[] = {Num("Water temperature", "temperature"),
                               {"", "", F::UnitOfPrevious, "", kTemperatureUnit}};
constexpr TFieldSpec kDepths[] = {Num("Depth", "depth_feet", "ft"),         Fixed(),
                                  Num("Depth", "depth_metres", "m"),        Fixed(),
                                  Num("Depth", "depth_fathoms", "fathoms"), Fixed()};
constexpr TFieldSpec kDPT[] = {Num("Depth below transducer", "depth", "m"),
                               Num("Transducer offset", "offset", "m"),
                               Num("Maximum range scale", "range_scale", "m")};
constexpr TFieldSpec kVHW[] = {Num("Heading, true", "heading_true", "deg"),         Fixed(),
                               Num("Heading, magnetic", "heading_magnetic", "deg"), Fixed(),
                               Num("Speed through water", "speed_kn", "kn"),        Fixed(),
                               Num("Speed through water", "speed_kmh", "km/h"),     Fixed()};
constexpr TFieldSpec kVLW[] = {Num("Total water distance", "total_water", "NM"),        Fixed(),
                               Num("Water distance since reset", "trip_water", "NM"),   Fixed(),
                               Num("Total ground distance", "total_ground", "NM"),      Fixed(),
                               Num("Ground distance since reset", "trip_ground", "NM"), Fixed()};
constexpr TFieldSpec kVBW[] = {Num("Longitudinal water speed", "water_longitudinal", "kn"),
                               Num("Transverse water speed", "water_transverse", "kn"),
                               Status("Status, water speed", "water_status"),
                               Num("Longitudinal ground speed", "ground_longitudinal", "kn"),
                               Num("Transverse ground speed", "ground_transverse", "kn"),
                               Status("Status, ground speed", "ground_status"),
                               Num("Stern transverse water speed", "stern_water_transverse", "kn"),
                               Status("Status, stern water speed", "stern_water_status"),
                               Num("Stern transverse ground speed", "stern_ground_transverse", "kn"),
                               Status("Status, stern ground speed", "stern_ground_status")};
constexpr TFieldSpec kXDR[] = {Code("Transducer type", "transducer_type", kTransducer),
                               Num("Measurement", "measurement"), Code("Unit", "unit", kXdrUnit),
                               Txt("Transducer name", "transducer_name")};
constexpr TFieldSpec kRSA[] = {
    Num("Starboard rudder angle", "starboard_angle", "deg"), Status("Starboard status", "starboard_status"),
    Num("Port rudder angle", "port_angle", "deg"), Status("Port status", "port_status")};
constexpr TFieldSpec kRPM[] = {Code("Source", "source", kRpmSource), Num("Engine or shaft number", "number"),
                               Num("Speed", "speed", "rpm"), Num("Propeller pitch", "pitch", "%"), Status()};
constexpr TFieldSpec kAPB[] = {Status("Status", "status"),
                               Status("Cycle lock status", "cycle_lock_status"),
                               Num("Cross-track error", "xte_magnitude", "NM"),
                               Code("Direction to steer", "steer", kLeftRight),
                               Fixed(),
                               Code("Arrival circle", "arrival_circle", kArrival),
                               Code("Perpendicular at waypoint", "perpendicular", kPerpendicular),
                               Num("Bearing origin to destination", "bearing_origin_to_destination", "deg"),
                               Code("Bearing reference", "bearing_origin_reference", kTrueMagnetic),
                               Txt("Destination waypoint", "destination_waypoint"),
                               Num("Bearing to destination", "bearing_to_destination", "deg"),
                               Code("Bearing reference", "bearing_to_destination_reference", kTrueMagnetic),
                               Num("Heading to steer", "heading_to_steer", "deg"),
                               Code("Heading reference", "heading_to_steer_reference", kTrueMagnetic),
                               Mode()};
constexpr TFieldSpec kRMB[] = {Status(),
                               Num("Cross-track error", "xte", "NM"),
                               Code("Direction to steer", "steer", kLeftRight),
                               Txt("Origin waypoint", "origin_waypoint"),
                               Txt("Destination waypoint", "destination_waypoint"),
                               Lat("Destination latitude", "destination_latitude"),
                               Lon("Destination longitude", "destination_longitude"),
                               Num("Range to destination", "range", "NM"),
                               Num("Bearing to destination", "bearing", "deg"),
                               Num("Closing velocity", "closing_velocity", "kn"),
                               Code("Arrival circle", "arrival_circle", kArrival),
                               Mode()};
constexpr TFieldSpec kXTE[] = {Status("Status", "status"),
                               Status("Cycle lock status", "cycle_lock_status"),
                               Num("Cross-track error", "xte", "NM"),
                               Code("Direction to steer", "steer", kLeftRight),
                               Fixed(),
                               Mode()};
constexpr TFieldSpec kBOD[] = {
    Num("Bearing, true", "bearing_true", "deg"),         Fixed(),
    Num("Bearing, magnetic", "bearing_magnetic", "deg"), Fixed(),
    Txt("Destination waypoint", "destination_waypoint"), Txt("Origin waypoint", "origin_waypoint")};
constexpr TFieldSpec kBWC[] = {Time("UTC time of observation"),
                               Lat("Waypoint latitude", "waypoint_latitude"),
                               Lon("Waypoint longitude", "waypoint_longitude"),
                               Num("Bearing, true", "bearing_true", "deg"),
                               Fixed(),
                               Num("Bearing, magnetic", "bearing_magnetic", "deg"),
                               Fixed(),
                               Num("Distance", "distance", "NM"),
                               Fixed(),
                               Txt("Waypoint", "waypoint"),
                               Mode()};
constexpr TFieldSpec kWPL[] = {Lat(), Lon(), Txt("Waypoint", "waypoint")};
constexpr TFieldSpec kRTE[] = {
    Num("Number of sentences", "sentence_count"), Num("Sentence number", "sentence_number"),
    Code("Route mode", "route_mode", kRouteMode), Txt("Route", "route"), Txt("Waypoint", "waypoints")};
constexpr TFieldSpec kTXT[] = {Num("Number of sentences", "sentence_count"),
                               Num("Sentence number", "sentence_number"), Num("Text identifier", "text_id"),
                               Txt("Text", "text")};
constexpr TFieldSpec kALR[] = {Time("Time of alarm condition change"), Txt("Alarm number", "alarm_number"),
                               Code("Alarm condition", "condition", kAlarmCondition),
                               Code("Acknowledge state", "acknowledged", kAcknowledge),
                               Txt("Description", "description")};
constexpr TFieldSpec kMDA[] = {Num("Barometric pressure", "pressure_inhg", "inHg"),
                               Fixed(),
                               Num("Barometric pressure", "pressure_bar", "bar"),
                               Fixed(),
                               Num("Air temperature", "air_temperature", "C"),
                               Fixed(),
                               Num("Water temperature", "water_temperature", "C"),
                               Fixed(),
                               Num("Relative humidity", "relative_humidity", "%"),
                               Num("Absolute humidity", "absolute_humidity"),
                               Num("Dew point", "dew_point", "C"),
                               Fixed(),
                               Num("Wind direction, true", "wind_direction_true", "deg"),
                               Fixed(),
                               Num("Wind direction, magnetic", "wind_direction_magnetic", "deg"),
                               Fixed(),
                               Num("Wind speed", "wind_speed_kn", "kn"),
                               Fixed(),
                               Num("Wind speed", "wind_speed_ms", "m/s"),
                               Fixed()};
constexpr TFieldSpec kVDM[] = {Num("Fragment count", "fragment_count"),
                               Num("Fragment number", "fragment_number"),
                               Num("Sequential message ID", "sequence_id"),
                               Code("Radio channel", "channel", kAisChannel),
                               Txt("Payload", "payload"),
                               Num("Fill bits", "fill_bits")};

constexpr TSentenceLayout kLayouts[] = {
    {"ALR", "Set alarm state", kALR},
    {"APB", "Autopilot sentence B", kAPB},
    {"BOD", "Bearing, origin to destination", kBOD},
    {"BWC", "Bearing and distance to waypoint, great circle", kBWC},
    {"DBK", "Depth below keel", kDepths},
    {"DBS", "Depth below surface", kDepths},
    {"DBT", "Depth below transducer", kDepths},
    {"DPT", "Depth", kDPT},
    {"GGA", "GNSS fix data", kGGA},
    {"GLL", "Geographic position, latitude/longitude", kGLL},
    {"GNS", "GNSS fix data (multi-constellation)", kGNS},
    {"GSA", "DOP and active satellites", kGSA},
    {"GSV", "Satellites in view", kGSV, 3, &kGSVSignal},
    {"HDG", "Heading, deviation and variation", kHDG},
    {"HDM", "Heading, magnetic", kHDM},
    {"HDT", "Heading, true", kHDT},
    {"MDA", "Meteorological composite", kMDA},
    {"MTW", "Water temperature", kMTW},
    {"MWD", "Wind direction and speed", kMWD},
    {"MWV", "Wind speed and angle", kMWV},
    {"RMB", "Recommended minimum navigation information", kRMB},
    {"RMC", "Recommended minimum navigation data", kRMC},
    {"ROT", "Rate of turn", kROT},
    {"RPM", "Revolutions", kRPM},
    {"RSA", "Rudder sensor angle", kRSA},
    {"RTE", "Route", kRTE, 4},
    {"THS", "True heading and status", kTHS},
    {"TXT", "Text transmission", kTXT},
    {"VBW", "Dual ground/water speed", kVBW},
    {"VDM", "AIS message received from another station", kVDM},
    {"VDO", "AIS message of the own ship", kVDM},
    {"VHW", "Water speed and heading", kVHW},
    {"VLW", "Distance travelled through the water", kVLW},
    {"VTG", "Course and speed over ground", kVTG},
    {"VWR", "Relative (apparent) wind speed and angle", kVWR},
    {"VWT", "True wind speed and angle", kVWR},
    {"WPL", "Waypoint location", kWPL},
    {"XDR", "Transducer measurements", kXDR, 0},
    {"XTE", "Cross-track error, measured", kXTE},
    {"ZDA", "Time and date", kZDA},
};
constexpr TSentenceLayout kVTGOldLayout = {"VTG", "Course and speed over ground", kVTGOld};

constexpr bool Sorted() {
    for (std::size_t i = 1; i < std::size(kLayouts); ++i) {
        if (!(kLayouts[i - 1].Type < kLayouts[i].Type))
            return false;
    }
    return true;
}
static_assert(Sorted(), "the layouts are searched by halves");

struct TTalker {
    std::string_view Id;
    std::string_view Name;
};
constexpr TTalker kTalkers[] = {
    {"AB", "AIS base station"},
    {"AD", "AIS dependent base station"},
    {"AG", "Autopilot, general"},
    {"AI", "Mobile AIS station"},
    {"AN", "AIS aid-to-navigation station"},
    {"AP", "Autopilot, magnetic"},
    {"AR", "AIS receiving station"},
    {"AS", "AIS limited base station"},
    {"AT", "AIS transmitting station"},
    {"AX", "AIS repeater"},
    {"BD", "BeiDou"},
    {"BS", "AIS base station (old)"},
    {"CD", "DSC radio"},
    {"EC", "ECDIS"},
    {"ER", "Engine room monitoring"},
    {"GA", "Galileo"},
    {"GB", "BeiDou"},
    {"GI", "NavIC (IRNSS)"},
    {"GL", "GLONASS"},
    {"GN", "Combined GNSS"},
    {"GP", "GPS"},
    {"GQ", "QZSS"},
    {"HC", "Heading, magnetic compass"},
    {"HE", "Heading, north-seeking gyro"},
    {"HN", "Heading, non-north-seeking gyro"},
    {"II", "Integrated instrumentation"},
    {"IN", "Integrated navigation"},
    {"QZ", "QZSS"},
    {"RA", "Radar / ARPA"},
    {"SA", "AIS physical shore station"},
    {"SD", "Depth sounder"},
    {"TI", "Turn rate indicator"},
    {"VW", "Speed log, water, mechanical"},
    {"WI", "Weather instruments"},
    {"YX", "Transducer"},
};

} // namespace

const TSentenceLayout* FindSentenceLayout(std::string_view type, std::size_t fieldCount,
                                          std::string_view secondField) {
    const auto* end = std::end(kLayouts);
    const auto* found =
        std::lower_bound(std::begin(kLayouts), end, type,
                         [](const TSentenceLayout& l, std::string_view t) { return l.Type < t; });
    if (found == end || found->Type != type)
        return nullptr;
    // Very old talkers send VTG as four numbers without reference letters.
    if (type == "VTG" && fieldCount <= 5 && secondField != "T")
        return &kVTGOldLayout;
    return found;
}

std::string_view TalkerName(std::string_view talker) {
    const auto* end = std::end(kTalkers);
    const auto* found = std::lower_bound(std::begin(kTalkers), end, talker,
                                         [](const TTalker& t, std::string_view id) { return t.Id < id; });
    return found != end && found->Id == talker ? found->Name : std::string_view();
}

} // namespace kvl
