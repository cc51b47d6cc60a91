// The sentence decoder against the example lines of the public field reference
// (their checksums were checked independently there) and lines built here with
// a checksum of the test's own.
#include "sentence/SentenceDecoder.h"
#include "sentence/DecodedText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <variant>

using namespace kvl;

namespace {

// The test's own checksum: XOR of everything between the start character and '*'.
std::string Checked(const std::string& body) {
    unsigned sum = 0;
    for (std::size_t i = 1; i < body.size(); ++i)
        sum ^= static_cast<unsigned char>(body[i]);
    char digits[4];
    std::snprintf(digits, sizeof digits, "%02X", sum);
    return body + "*" + digits;
}

// A field expected by its JSON key: a number in the field's unit, or a text
// (the meaning of a code, the text as sent, "no value" for an empty field).
struct TExpect {
    std::string_view Key;
    std::variant<double, std::string_view> Value;
};

struct TSample {
    std::string_view Line;
    std::string_view Type;
    std::string_view Name;
    std::string_view Talker;
    std::vector<TExpect> Fields;
};

const TDecodedField* Find(const TDecodedLine& line, std::string_view key) {
    for (const TDecodedField& field : line.Fields)
        if (field.Key == key)
            return &field;
    return nullptr;
}

void ExpectField(const TDecodedLine& line, const TExpect& expect) {
    const TDecodedField* field = Find(line, expect.Key);
    ASSERT_NE(field, nullptr) << expect.Key;
    if (const double* number = std::get_if<double>(&expect.Value)) {
        EXPECT_NEAR(field->Value, *number, 1e-7) << expect.Key;
        EXPECT_TRUE(field->Kind == TValueKind::Number || field->Kind == TValueKind::Latitude ||
                    field->Kind == TValueKind::Longitude)
            << expect.Key;
        return;
    }
    const std::string_view text = std::get<std::string_view>(expect.Value);
    if (text == "no value")
        EXPECT_EQ(field->Kind, TValueKind::Empty) << expect.Key;
    else if (field->Kind == TValueKind::Code)
        EXPECT_EQ(field->Meaning, text) << expect.Key;
    else
        EXPECT_EQ(field->Raw, text) << expect.Key;
}

// One example line of each sentence of the reference, with the values its tables give.
const TSample kSamples[] = {
    {"$GPGGA,123519.00,5106.9792,N,00117.3189,E,1,07,0.9,45.3,M,47.0,M,,*5D",
     "GGA",
     "GNSS fix data",
     "GPS",
     {{"utc_time", "123519.00"},
      {"latitude", 51 + 6.9792 / 60},
      {"longitude", 1 + 17.3189 / 60},
      {"fix_quality", "GPS fix"},
      {"satellites_in_use", 7.0},
      {"hdop", 0.9},
      {"altitude", 45.3},
      {"geoidal_separation", 47.0},
      {"dgps_age", "no value"},
      {"dgps_station", "no value"}}},
    {"$GPGLL,5106.9792,N,00117.3189,E,123519.00,A,A*67",
     "GLL",
     "Geographic position, latitude/longitude",
     "GPS",
     {{"latitude", 51.11632}, {"utc_time", "123519.00"}, {"status", "valid"}, {"mode", "autonomous"}}},
    {"$GPRMC,123519.00,A,5106.9792,N,00117.3189,E,6.4,084.2,150324,1.2,W,A*27",
     "RMC",
     "Recommended minimum navigation data",
     "GPS",
     {{"status", "valid"},
      {"speed_over_ground", 6.4},
      {"course_over_ground", 84.2},
      {"date", "150324"},
      {"magnetic_variation", 1.2},
      {"variation_direction", "west"},
      {"mode", "autonomous"}}},
    {"$GPVTG,084.2,T,085.4,M,6.4,N,11.9,K,A*1F",
     "VTG",
     "Course and speed over ground",
     "GPS",
     {{"course_true", 84.2},
      {"course_magnetic", 85.4},
      {"speed_over_ground", 6.4},
      {"speed_over_ground_kmh", 11.9}}},
    {"$GNGSA,A,3,05,07,13,15,18,20,24,,,,,,1.6,0.9,1.3,1*34",
     "GSA",
     "DOP and active satellites",
     "Combined GNSS",
     {{"selection_mode", "automatic 2D/3D"},
      {"fix_mode", "3D fix"},
      {"pdop", 1.6},
      {"hdop", 0.9},
      {"vdop", 1.3},
      {"gnss_system", "GPS"}}},
    {"$GPGSV,2,2,07,18,12,198,30,20,71,021,45,24,05,240,*44",
     "GSV",
     "Satellites in view",
     "GPS",
     {{"sentence_count", 2.0}, {"sentence_number", 2.0}, {"satellites_in_view", 7.0}}},
    {"$GNGNS,123519.00,5106.9792,N,00117.3189,E,AA,11,0.8,45.3,47.0,,,S*10",
     "GNS",
     "GNSS fix data (multi-constellation)",
     "Combined GNSS",
     {{"mode", "AA"}, {"satellites_in_use", 11.0}, {"navigational_status", "safe"}}},
    {"$GPZDA,123519.00,15,03,2024,00,00*68",
     "ZDA",
     "Time and date",
     "GPS",
     {{"day", 15.0}, {"month", 3.0}, {"year", 2024.0}, {"zone_hours", 0.0}}},
    {"$HCHDG,101.5,2.0,E,1.2,W*54",
     "HDG",
     "Heading, deviation and variation",
     "Heading, magnetic compass",
     {{"heading", 101.5},
      {"deviation", 2.0},
      {"deviation_direction", "east"},
      {"variation_direction", "west"}}},
    {"$HEHDT,102.3,T*2F", "HDT", "Heading, true", "Heading, north-seeking gyro", {{"heading", 102.3}}},
    {"$HCHDM,103.5,M*2E", "HDM", "Heading, magnetic", "Heading, magnetic compass", {{"heading", 103.5}}},
    {"$HEROT,-12.4,A*31", "ROT", "Rate of turn", "Heading, north-seeking gyro", {{"rate_of_turn", -12.4}}},
    {"$HETHS,102.30,A*1D",
     "THS",
     "True heading and status",
     "Heading, north-seeking gyro",
     {{"heading", 102.3}, {"mode", "autonomous"}}},
    {"$WIMWV,045.0,R,12.5,N,A*14",
     "MWV",
     "Wind speed and angle",
     "Weather instruments",
     {{"wind_angle", 45.0}, {"reference", "relative (apparent)"}, {"wind_speed", 12.5}, {"status", "valid"}}},
    {"$WIMWD,250.0,T,251.2,M,14.0,N,7.2,M*69",
     "MWD",
     "Wind direction and speed",
     "Weather instruments",
     {{"direction_true", 250.0}, {"speed_kn", 14.0}, {"speed_ms", 7.2}}},
    {"$WIVWR,045.0,R,12.5,N,6.4,M,23.2,K*51",
     "VWR",
     "Relative (apparent) wind speed and angle",
     "Weather instruments",
     {{"side", "right"}, {"speed_kmh", 23.2}}},
    {"$WIVWT,060.0,R,9.8,N,5.0,M,18.1,K*6B",
     "VWT",
     "True wind speed and angle",
     "Weather instruments",
     {{"wind_angle", 60.0}, {"speed_kn", 9.8}}},
    {"$YXMTW,17.8,C*1C", "MTW", "Water temperature", "Transducer", {{"temperature", 17.8}}},
    {"$SDDBT,41.0,f,12.5,M,6.8,F*0B",
     "DBT",
     "Depth below transducer",
     "Depth sounder",
     {{"depth_feet", 41.0}, {"depth_metres", 12.5}, {"depth_fathoms", 6.8}}},
    {"$SDDPT,12.5,0.5,100*79",
     "DPT",
     "Depth",
     "Depth sounder",
     {{"depth", 12.5}, {"offset", 0.5}, {"range_scale", 100.0}}},
    {"$SDDBK,38.7,f,11.8,M,6.5,F*1E", "DBK", "Depth below keel", "Depth sounder", {{"depth_metres", 11.8}}},
    {"$SDDBS,42.7,f,13.0,M,7.1,F*04",
     "DBS",
     "Depth below surface",
     "Depth sounder",
     {{"depth_metres", 13.0}}},
    {"$VWVHW,102.3,T,103.5,M,6.1,N,11.3,K*67",
     "VHW",
     "Water speed and heading",
     "Speed log, water, mechanical",
     {{"heading_true", 102.3}, {"speed_kn", 6.1}, {"speed_kmh", 11.3}}},
    {"$VWVLW,2345.6,N,12.3,N,2401.2,N,12.9,N*45",
     "VLW",
     "Distance travelled through the water",
     "Speed log, water, mechanical",
     {{"total_water", 2345.6}, {"trip_ground", 12.9}}},
    {"$VWVBW,6.1,0.2,A,6.4,-0.1,A,,V,,V*69",
     "VBW",
     "Dual ground/water speed",
     "Speed log, water, mechanical",
     {{"ground_transverse", -0.1},
      {"stern_water_transverse", "no value"},
      {"stern_ground_status", "not valid"}}},
    {"$YXXDR,C,18.5,C,AIRTEMP,P,1.0132,B,BARO,A,-2.5,D,PITCH*5F",
     "XDR",
     "Transducer measurements",
     "Transducer",
     {{"transducer_type", "temperature"},
      {"measurement", 18.5},
      {"unit", "Celsius"},
      {"transducer_name", "AIRTEMP"}}},
    {"$AGRSA,-5.0,A,,V*57",
     "RSA",
     "Rudder sensor angle",
     "Autopilot, general",
     {{"starboard_angle", -5.0}, {"port_angle", "no value"}, {"port_status", "not valid"}}},
    {"$ERRPM,E,1,1800,,A*48",
     "RPM",
     "Revolutions",
     "Engine room monitoring",
     {{"source", "engine"}, {"number", 1.0}, {"speed", 1800.0}, {"pitch", "no value"}}},
    {"$GPAPB,A,A,0.12,L,N,V,V,045.2,T,WPT2,047.0,T,046.5,T,A*2A",
     "APB",
     "Autopilot sentence B",
     "GPS",
     {{"xte_magnitude", 0.12},
      {"steer", "left"},
      {"arrival_circle", "not entered"},
      {"destination_waypoint", "WPT2"},
      {"heading_to_steer", 46.5}}},
    {"$GPRMB,A,0.12,L,WPT1,WPT2,5108.1200,N,00120.4500,E,2.35,047.0,6.1,V,A*66",
     "RMB",
     "Recommended minimum navigation information",
     "GPS",
     {{"destination_latitude", 51 + 8.12 / 60}, {"destination_longitude", 1 + 20.45 / 60}, {"range", 2.35}}},
    {"$GPXTE,A,A,0.12,L,N,A*00",
     "XTE",
     "Cross-track error, measured",
     "GPS",
     {{"xte", 0.12}, {"steer", "left"}}},
    {"$GPBOD,045.2,T,046.4,M,WPT2,WPT1*41",
     "BOD",
     "Bearing, origin to destination",
     "GPS",
     {{"bearing_true", 45.2}, {"origin_waypoint", "WPT1"}}},
    {"$GPBWC,123519.00,5108.1200,N,00120.4500,E,047.0,T,048.2,M,2.35,N,WPT2,A*18",
     "BWC",
     "Bearing and distance to waypoint, great circle",
     "GPS",
     {{"distance", 2.35}, {"waypoint", "WPT2"}}},
    {"$GPWPL,5108.1200,N,00120.4500,E,WPT2*27",
     "WPL",
     "Waypoint location",
     "GPS",
     {{"latitude", 51.13533333333}, {"waypoint", "WPT2"}}},
    {"$GPRTE,1,1,c,HARBOUR,WPT1,WPT2,WPT3*29",
     "RTE",
     "Route",
     "GPS",
     {{"route_mode", "complete route"}, {"route", "HARBOUR"}, {"waypoints", "WPT1"}}},
    {"$GPTXT,01,01,02,ANTENNA OK*36",
     "TXT",
     "Text transmission",
     "GPS",
     {{"text_id", 2.0}, {"text", "ANTENNA OK"}}},
    {"$AIALR,123519.00,006,A,V,AIS: general failure*0E",
     "ALR",
     "Set alarm state",
     "Mobile AIS station",
     {{"condition", "threshold exceeded"},
      {"acknowledged", "unacknowledged"},
      {"description", "AIS: general failure"}}},
    {"$WIMDA,29.92,I,1.0132,B,18.5,C,,C,65.0,,11.9,C,250.0,T,251.2,M,14.0,N,7.2,M*1E",
     "MDA",
     "Meteorological composite",
     "Weather instruments",
     {{"pressure_bar", 1.0132},
      {"water_temperature", "no value"},
      {"relative_humidity", 65.0},
      {"dew_point", 11.9},
      {"wind_speed_ms", 7.2}}},
};

std::vector<std::string> Texts(const TDecodedLine& line) {
    std::vector<std::string> texts;
    for (const TDecodedField& field : line.Fields)
        texts.push_back(DescribeField(field));
    return texts;
}

} // namespace

TEST(SentenceDecoder, EachReferenceSentenceIsNamedAndItsFieldsRead) {
    TSentenceDecoder decoder;
    for (const TSample& sample : kSamples) {
        SCOPED_TRACE(sample.Line);
        const TDecodedLine& line = decoder.Decode(sample.Line);
        EXPECT_EQ(line.Type, sample.Type);
        EXPECT_EQ(line.TypeName, sample.Name);
        EXPECT_EQ(line.TalkerName, sample.Talker);
        ASSERT_TRUE(line.ChecksumOk.has_value());
        EXPECT_TRUE(*line.ChecksumOk);
        EXPECT_TRUE(line.Error.empty());
        for (const TExpect& expect : sample.Fields)
            ExpectField(line, expect);
    }
}

TEST(SentenceDecoder, FieldsAreSaidInWordsWithTheirUnits) {
    TSentenceDecoder decoder;
    const TDecodedLine& rmc =
        decoder.Decode(Checked("$GPRMC,081836,V,5430.0000,N,01012.5000,W,5.0,,150324,,,N"));
    EXPECT_EQ(Texts(rmc),
              (std::vector<std::string>{"UTC time of fix 08:18:36 UTC", "Status: not valid",
                                        "Latitude 54 deg 30.0000' N", "Longitude 10 deg 12.5000' W",
                                        "Speed over ground 5.0 kn", "Course over ground: no value",
                                        "Date 2024-03-15", "Magnetic variation: no value",
                                        "Variation direction: no value", "Mode: data not valid"}));
    EXPECT_NEAR(rmc.Fields[3].Value, -(10 + 12.5 / 60), 1e-9);
    const TDecodedLine& mwv = decoder.Decode("$IIMWV,045.3,R,10.6,N,A*16");
    EXPECT_EQ(Texts(mwv), (std::vector<std::string>{"Wind angle 45.3 deg", "Reference: relative (apparent)",
                                                    "Wind speed 10.6 kn", "Status: valid"}));
    EXPECT_EQ(mwv.TalkerName, "Integrated instrumentation");
}

TEST(SentenceDecoder, ShorterAndOlderFormsAreAccepted) {
    TSentenceDecoder decoder;
    // NMEA 2.0 RMC without mode indicator; VTG of very old talkers without reference letters.
    const TDecodedLine& rmc =
        decoder.Decode(Checked("$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W"));
    EXPECT_EQ(rmc.Fields.size(), 9U);
    EXPECT_NEAR(rmc.Fields[2].Value, 48 + 7.038 / 60, 1e-9);
    EXPECT_EQ(DescribeField(rmc.Fields[6]), "Date 1994-03-23");
    const TDecodedLine& vtg = decoder.Decode(Checked("$GPVTG,054.7,034.4,005.5,010.2"));
    ASSERT_EQ(vtg.Fields.size(), 4U);
    EXPECT_EQ(DescribeField(vtg.Fields[2]), "Speed over ground 5.5 kn");
    EXPECT_EQ(DescribeField(vtg.Fields[3]), "Speed over ground 10.2 km/h");
}

TEST(SentenceDecoder, ListsOfSatellitesTransducersAndWaypointsRepeatTheirFields) {
    TSentenceDecoder decoder;
    const TDecodedLine& gsa = decoder.Decode("$GNGSA,A,3,05,07,13,15,18,20,24,,,,,,1.6,0.9,1.3,1*34");
    std::vector<double> used;
    for (const TDecodedField& field : gsa.Fields)
        if (field.Key == "satellites_used")
            used.push_back(field.Value);
    EXPECT_EQ(used, (std::vector<double>{5, 7, 13, 15, 18, 20, 24})); // the empty slots are left out
    const TDecodedLine& gsv = decoder.Decode("$GPGSV,2,2,07,18,12,198,30,20,71,021,45,24,05,240,*44");
    ASSERT_EQ(gsv.Fields.size(), 3U + 12U);
    EXPECT_EQ(DescribeField(gsv.Fields[11]), "Satellite ID 24");
    EXPECT_EQ(DescribeField(gsv.Fields[14]), "SNR: no value"); // not tracked
    // NMEA 4.10: one field after the last group of four is the signal ID.
    const TDecodedLine& gsv410 = decoder.Decode(Checked("$GPGSV,1,1,01,05,62,284,43,1"));
    EXPECT_EQ(DescribeField(gsv410.Fields.back()), "Signal ID: 1");
    const TDecodedLine& xdr = decoder.Decode("$YXXDR,C,18.5,C,AIRTEMP,P,1.0132,B,BARO,A,-2.5,D,PITCH*5F");
    ASSERT_EQ(xdr.Fields.size(), 12U);
    EXPECT_EQ(DescribeField(xdr.Fields[8]), "Transducer type: angular displacement");
    EXPECT_EQ(DescribeField(xdr.Fields[11]), "Transducer name: PITCH");
}

TEST(SentenceDecoder, UnknownSentencesAndExtraFieldsAreShownByNumber) {
    TSentenceDecoder decoder;
    const TDecodedLine& unknown = decoder.Decode(Checked("$GPXYZ,1,,abc"));
    EXPECT_EQ(unknown.Talker, "GP");
    EXPECT_EQ(unknown.Type, "XYZ");
    EXPECT_TRUE(unknown.TypeName.empty());
    EXPECT_EQ(Texts(unknown), (std::vector<std::string>{"Field 1: 1", "Field 2: no value", "Field 3: abc"}));
    const TDecodedLine& longer = decoder.Decode(Checked("$HEHDT,102.3,T,extra"));
    EXPECT_EQ(DescribeField(longer.Fields.back()), "Field 3: extra");
    const TDecodedLine& unreadable = decoder.Decode(Checked("$HEHDT,1O2.3,T"));
    EXPECT_EQ(DescribeField(unreadable.Fields[0]), "Heading, true: unreadable \"1O2.3\"");
    const TDecodedLine& badPosition = decoder.Decode(Checked("$GPGLL,5175.0000,N,00117.3189,X,,A"));
    EXPECT_EQ(badPosition.Fields[0].Kind, TValueKind::Unreadable); // 75 minutes
    EXPECT_EQ(badPosition.Fields[1].Kind, TValueKind::Unreadable); // hemisphere X
}

TEST(SentenceDecoder, ABadOrMissingChecksumIsShownAndTheFieldsStillExplained) {
    TSentenceDecoder decoder;
    const TDecodedLine& bad = decoder.Decode("$HEHDT,102.3,T*2E");
    ASSERT_TRUE(bad.ChecksumOk.has_value());
    EXPECT_FALSE(*bad.ChecksumOk);
    EXPECT_EQ(bad.ChecksumComputed, 0x2F);
    EXPECT_NEAR(bad.Fields[0].Value, 102.3, 1e-9);
    const std::vector<std::string> lines = DescribeLine(bad);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Checksum: wrong (computed 2F)"), lines.end());
    const TDecodedLine& none = decoder.Decode("$HEHDT,102.3,T");
    EXPECT_FALSE(none.ChecksumOk.has_value());
    EXPECT_EQ(none.Fields.size(), 1U);
    const TDecodedLine& unreadable = decoder.Decode("$HEHDT,102.3,T*G1");
    EXPECT_FALSE(unreadable.ChecksumOk.value_or(true));
}

TEST(SentenceDecoder, TagBlockParametersAndTheTrafficLogsTagAreRead) {
    TSentenceDecoder decoder;
    const TDecodedLine& tagged = decoder.Decode(
        "\\t:rx*44\\\\s:ais_rx1,c:1710505000*24\\!AIVDM,1,1,,A,139>K>h3isPBp2dMhgm;6Hrt0000,0*4F");
    EXPECT_EQ(tagged.Direction, "rx");
    EXPECT_EQ(tagged.TagBlock, "\\s:ais_rx1,c:1710505000*24\\");
    ASSERT_TRUE(tagged.TagChecksumOk.has_value());
    EXPECT_TRUE(*tagged.TagChecksumOk);
    ASSERT_EQ(tagged.Tags.size(), 2U);
    EXPECT_EQ(tagged.Tags[0].Name, "Source station");
    EXPECT_EQ(tagged.Tags[0].Value, "ais_rx1");
    EXPECT_EQ(tagged.Tags[1].Key, "c");
    EXPECT_EQ(TagTimeText(tagged.Tags[1].Value), "2024-03-15 12:16:40 UTC");
    EXPECT_EQ(TagTimeText("1710505000123"), "2024-03-15 12:16:40 UTC"); // milliseconds
    EXPECT_EQ(TagTimeText("1" + std::string(84, '7')), "");             // no time, and no overflow
    ASSERT_TRUE(tagged.Ais.has_value());
    EXPECT_EQ(tagged.Ais->Mmsi, 211000123U);

    const TDecodedLine& sent = decoder.Decode("\\t:tx*42\\$PQZXCF,A");
    EXPECT_EQ(sent.Direction, "tx");
    EXPECT_FALSE(sent.ChecksumOk.has_value()); // sent lines are logged before their checksum
    EXPECT_EQ(sent.TypeName, "Priority time-out");

    const TDecodedLine& badTag = decoder.Decode("\\g:2-2-17*5C\\!AIVDM,2,2,3,B,00000000000,2*24");
    EXPECT_FALSE(badTag.TagChecksumOk.value_or(true));
    const TDecodedLine& unknownKey = decoder.Decode("\\x:7\\$HEHDT,102.3,T*2F");
    ASSERT_EQ(unknownKey.Tags.size(), 1U);
    EXPECT_TRUE(unknownKey.Tags[0].Name.empty());
    EXPECT_FALSE(unknownKey.TagChecksumOk.has_value());
}

TEST(SentenceDecoder, TheMultiplexersOwnSentencesAreNamedAsTheWindowCaptionsThem) {
    TSentenceDecoder decoder;
    const TDecodedLine& speeds = decoder.Decode(Checked("$PQZXSP,R,0,1,3,5,2"));
    EXPECT_EQ(speeds.Talker, "P");
    EXPECT_EQ(speeds.TypeName, "Port speeds");
    EXPECT_EQ(Texts(speeds), (std::vector<std::string>{
                                 "Kind: report", "Input 1 speed: 4800 baud", "Input 2 speed: 9600 baud",
                                 "Input 3 speed: 38400 baud", "Input 4 / output 1 speed: 115200 baud",
                                 "Output 2 speed: 19200 baud"}));
    const TDecodedLine& modes = decoder.Decode(Checked("$PQZXIN,R,0,6,3,1"));
    EXPECT_EQ(DescribeField(modes.Fields[2]), "Input 2 mode: SeaTalk");
    EXPECT_EQ(decoder.Decode(Checked("$PQZXVER,3.17,KVL-3,12345,8005")).Fields[0].Raw, "3.17");
    EXPECT_EQ(decoder.Decode(Checked("$PQZXRDY")).TypeName, "Ready");
    EXPECT_EQ(decoder.Decode(Checked("$PABCD,1")).TypeName, "Proprietary sentence");
}

TEST(SentenceDecoder, LinesThatAreNoSentenceSayWhy) {
    TSentenceDecoder decoder;
    struct TCase {
        std::string_view Line;
        std::string_view Error;
    };
    const TCase cases[] = {
        {"", "not an NMEA sentence"},
        {"12 lines dropped", "not an NMEA sentence"},
        {"\\s:rx1*00", "TAG block without its closing backslash"},
        {"\\s:rx1*00\\", "TAG block without a sentence"},
        {"$G", "address too short"},
        {"!AIVDM,1,1,,A,139>K>h3isPBp2dMhgm;6Hrt0000*0B", "AIS sentence with too few fields"},
        {"!AIVDM,2,3,,A,1,0*24", "AIS fragment count or number out of range"},
        {"!AIVDM,1,1,,A,1,6*3B", "AIS fill bits out of range"},
        {"!AIVDM,1,1,,A,1X9,0*42", "invalid character in the AIS payload"},
        {"!AIVDM,1,1,,A,139>K,0*7C", "AIS message too short"},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(decoder.Decode(c.Line).Error, c.Error) << c.Line;
    // Captures from other tools put a time stamp in front of the sentence.
    const TDecodedLine& stamped = decoder.Decode("2024-03-15T12:16:40Z $HEHDT,102.3,T*2F");
    EXPECT_TRUE(stamped.Error.empty());
    EXPECT_NEAR(stamped.Fields[0].Value, 102.3, 1e-9);
}
