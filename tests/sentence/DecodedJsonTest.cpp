// The JSON Lines of --decode, whole objects as written.
#include "sentence/DecodedJson.h"
#include "sentence/SentenceDecoder.h"

#include <gtest/gtest.h>

using namespace kvl;

namespace {

std::string Json(TSentenceDecoder& decoder, std::string_view line, std::size_t number = 1) {
    std::string out;
    AppendJson(decoder.Decode(line), number, out);
    return out;
}

} // namespace

TEST(DecodedJson, ASentenceIsOneObjectWithNumbersInTheirUnits) {
    TSentenceDecoder decoder;
    EXPECT_EQ(
        Json(decoder, "$HEHDT,102.3,T*2F", 3),
        "{\"line_number\":3,\"line\":\"$HEHDT,102.3,T*2F\",\"talker\":\"HE\",\"talker_name\":\"Heading, "
        "north-seeking gyro\",\"sentence\":\"HDT\",\"sentence_name\":\"Heading, true\",\"checksum_ok\":true,"
        "\"fields\":{\"heading\":102.3}}\n");
    EXPECT_EQ(
        Json(decoder, "$GPGLL,5106.9792,S,00117.3189,W,123519.00,V,N*67"),
        "{\"line_number\":1,\"line\":\"$GPGLL,5106.9792,S,00117.3189,W,123519.00,V,N*67\",\"talker\":\"GP\","
        "\"talker_name\":\"GPS\",\"sentence\":\"GLL\",\"sentence_name\":\"Geographic position, "
        "latitude/longitude\",\"checksum_ok\":false,\"fields\":{\"latitude\":-51.11632,\"longitude\":"
        "-1.28864833,\"utc_time\":\"12:35:19.00\",\"status\":\"not valid\",\"mode\":\"data not valid\"}}\n");
}

TEST(DecodedJson, RepeatedFieldsAreArraysAndUnknownOnesNumbered) {
    TSentenceDecoder decoder;
    EXPECT_EQ(
        Json(decoder, "$GPRTE,1,1,c,HARBOUR,WPT1,WPT2,WPT3*29"),
        "{\"line_number\":1,\"line\":\"$GPRTE,1,1,c,HARBOUR,WPT1,WPT2,WPT3*29\",\"talker\":\"GP\","
        "\"talker_name\":\"GPS\",\"sentence\":\"RTE\",\"sentence_name\":\"Route\",\"checksum_ok\":true,"
        "\"fields\":{\"sentence_count\":1,\"sentence_number\":1,\"route_mode\":\"complete route\",\"route\":"
        "\"HARBOUR\",\"waypoints\":[\"WPT1\",\"WPT2\",\"WPT3\"]}}\n");
    EXPECT_EQ(
        Json(decoder, "$XXABC,1,,\"q\"\xE9"),
        "{\"line_number\":1,\"line\":\"$XXABC,1,,\\\"q\\\"\xC3\xA9\",\"talker\":\"XX\",\"talker_name\":null,"
        "\"sentence\":\"ABC\",\"sentence_name\":null,\"checksum_ok\":null,\"fields\":{\"field_1\":\"1\","
        "\"field_2\":null,\"field_3\":\"\\\"q\\\"\xC3\xA9\"}}\n");
}

TEST(DecodedJson, TheCompletingLineCarriesTheAisMessage) {
    TSentenceDecoder decoder;
    EXPECT_EQ(
        Json(decoder, "\\t:rx*44\\\\s:r1*0A\\!AIVDM,1,1,,B,B3`dVj00@GvB8h7@`E1>GwV5k006,0*5C"),
        "{\"line_number\":1,\"line\":\"\\\\t:rx*44\\\\\\\\s:r1*0A\\\\!AIVDM,1,1,,B,B3`dVj00@GvB8h7@`E1>"
        "GwV5k006,0*5C\",\"direction\":\"rx\",\"tag\":{\"s\":\"r1\"},\"tag_checksum_ok\":true,\"talker\":"
        "\"AI\",\"talker_name\":\"Mobile AIS station\",\"sentence\":\"VDM\",\"sentence_name\":\"AIS message "
        "received from another station\",\"checksum_ok\":true,\"fields\":{\"fragment_count\":1,"
        "\"fragment_number\":1,\"sequence_id\":null,\"channel\":\"B (162.025 MHz)\",\"payload\":\"B3`dVj00@"
        "GvB8h7@`E1>GwV5k006\",\"fill_bits\":0},\"ais\":{\"type\":18,\"repeat\":0,\"mmsi\":244000456,"
        "\"reserved\":0,\"speed\":6.5,\"accuracy\":0,\"accuracy_text\":\"low (> 10 m)\",\"lon\":-1.5,\"lat\":"
        "50.75,\"course\":125.3,\"heading\":511,\"second\":12,\"regional\":0,\"cs\":1,\"cs_text\":\"class B "
        "carrier sense\",\"display\":false,\"dsc\":true,\"band\":true,\"msg22\":true,\"assigned\":0,"
        "\"assigned_text\":\"autonomous\",\"raim\":false,\"radio\":786438,\"not_available\":[\"heading\"]}}"
        "\n");
    const std::string pending = Json(decoder, "!AIVDM,2,2,3,B,00000000000,2*24");
    EXPECT_NE(
        pending.find(",\"ais_progress\":\"fragment 2 of 2: incomplete, an earlier fragment is missing\","
                     "\"error\":\"incomplete AIS message\"}\n"),
        std::string::npos);
}

TEST(DecodedJson, ALineThatIsNoSentenceSaysWhy) {
    TSentenceDecoder decoder;
    EXPECT_EQ(
        Json(decoder, "12 lines dropped", 9),
        "{\"line_number\":9,\"line\":\"12 lines dropped\",\"talker\":null,\"talker_name\":null,\"sentence\":"
        "null,\"sentence_name\":null,\"checksum_ok\":null,\"fields\":{},\"error\":\"not an NMEA "
        "sentence\"}\n");
}
