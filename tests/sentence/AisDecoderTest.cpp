// AIS messages of every decoded type. The samples are the worked examples of the
// public field reference and lines built by make_ais_samples.py (beside this
// file) from the field values given here, with checksums computed there.
#include "sentence/DecodedText.h"
#include "sentence/SentenceDecoder.h"

#include <gtest/gtest.h>

#include <variant>

using namespace kvl;

namespace {

struct TAisExpect {
    std::string_view Key;
    std::variant<double, std::string_view> Value;
};

struct TAisSample {
    std::string_view What;
    std::vector<std::string_view> Lines; // the message's fragments in order
    unsigned Type;
    std::uint32_t Mmsi;
    std::vector<TAisExpect> Fields;
    std::vector<std::string_view> NotAvailable;
};

const TAisSample kSamples[] = {
    {"reference example 1: type 1",
     {"!AIVDM,1,1,,A,139>K>h3isPBp2dMhgm;6Hrt0000,0*4F"},
     1,
     211000123,
     {{"status", 0.0},
      {"turn", 10.0},
      {"speed", 12.3},
      {"accuracy", 1.0},
      {"lon", 4.12345},
      {"lat", 52.0123},
      {"course", 284.1},
      {"heading", 285.0},
      {"second", 30.0}},
     {"maneuver"}},
    {"reference example 2: type 5 in two fragments",
     {"!AIVDM,2,1,3,B,539>K>h29E4<@48?400EP4m0hF1A84@E80000016?0N:<4q>NCR0C@UDQh00,0*54",
      "!AIVDM,2,2,3,B,00000000000,2*24"},
     5,
     211000123,
     {{"ais_version", 0.0},
      {"imo", 9000003.0},
      {"callsign", "DABC1"},
      {"shipname", "EXAMPLE TRADER"},
      {"shiptype", 70.0},
      {"to_bow", 120.0},
      {"to_stern", 30.0},
      {"to_port", 10.0},
      {"to_starboard", 12.0},
      {"epfd", 1.0},
      {"month", 3.0},
      {"day", 18.0},
      {"hour", 14.0},
      {"minute", 30.0},
      {"draught", 7.8},
      {"destination", "HAMBURG"},
      {"dte", 0.0}},
     {}},
    {"reference example 3: type 18",
     {"!AIVDM,1,1,,B,B3`dVj00@GvB8h7@`E1>GwV5k006,0*5C"},
     18,
     244000456,
     {{"speed", 6.5},
      {"accuracy", 0.0},
      {"lon", -1.5},
      {"lat", 50.75},
      {"course", 125.3},
      {"heading", 511.0},
      {"second", 12.0},
      {"cs", 1.0},
      {"display", 0.0},
      {"dsc", 1.0},
      {"band", 1.0},
      {"msg22", 1.0},
      {"assigned", 0.0},
      {"raim", 0.0}},
     {"heading"}},
    {"reference example 4: type 24 part A",
     {"!AIVDM,1,1,,B,H3`dVj1<D61=18U@D00000000000,0*7D"},
     24,
     244000456,
     {{"partno", 0.0}, {"shipname", "SEA SPRITE"}},
     {}},
    {"reference example 4: type 24 part B",
     {"!AIVDM,1,1,,B,H3`dVj4U123830q@4ijkl0104210,0*3B"},
     24,
     244000456,
     {{"partno", 1.0},
      {"shiptype", 37.0},
      {"vendorid", "ABC"},
      {"model", 2.0},
      {"serial", 12345.0},
      {"callsign", "PD1234"},
      {"to_bow", 8.0},
      {"to_stern", 4.0},
      {"to_port", 2.0},
      {"to_starboard", 1.0}},
     {}},
    {"reference example 5: type 27",
     {"!AIVDM,1,1,,A,K39>K>h09bSkkVAh,0*03"},
     27,
     211000123,
     {{"accuracy", 0.0},
      {"raim", 0.0},
      {"status", 0.0},
      {"lon", 2474 / 600.0},
      {"lat", 31207 / 600.0},
      {"speed", 12.0},
      {"course", 284.0},
      {"gnss", 0.0}},
     {}},
    {"type 1, nothing available",
     {"!AIVDM,1,1,,A,13aEOK?P?w<tSF0l4Q@>4?wp0000,0*35"},
     1,
     244670316,
     {{"status", 15.0},
      {"turn", -128.0},
      {"speed", 102.3},
      {"lon", 181.0},
      {"lat", 91.0},
      {"course", 360.0},
      {"heading", 511.0},
      {"second", 60.0}},
     {"turn", "speed", "lon", "lat", "course", "heading", "second", "maneuver"}},
    {"type 1, south and west",
     {"!AIVDM,1,1,,A,17Ol>05000m;lIadWd00001n0000,0*12"},
     1,
     503123456,
     {{"status", 5.0},
      {"turn", 0.0},
      {"speed", 0.0},
      {"lon", -151.2093},
      {"lat", -33.8688},
      {"course", 0.0},
      {"heading", 0.0},
      {"second", 59.0}},
     {"maneuver"}},
    {"type 4",
     {"!AIVDM,1,1,,A,402E341vPod@`PDVG0N2Vp700000,0*06"},
     4,
     2442000,
     {{"year", 2024.0},
      {"month", 3.0},
      {"day", 15.0},
      {"hour", 12.0},
      {"minute", 16.0},
      {"second", 40.0},
      {"accuracy", 1.0},
      {"lon", 4.5},
      {"lat", 52.5},
      {"epfd", 7.0}},
     {}},
    {"type 5 with '@' in its texts, ETA time not available",
     {"!AIVDM,2,1,7,B,53P<W9T2;=`0L0QP0004pp60l58T40000000001@I0`DI7<HtODSm51DQ0CH,0*26",
      "!AIVDM,2,2,7,B,88000000008,2*28"},
     5,
     235087654,
     {{"ais_version", 1.0},
      {"imo", 9123456.0},
      {"callsign", "G"},
      {"shipname", "ANNA MARIA"},
      {"shiptype", 80.0},
      {"to_bow", 200.0},
      {"to_stern", 40.0},
      {"to_port", 20.0},
      {"to_starboard", 25.0},
      {"month", 12.0},
      {"day", 24.0},
      {"draught", 12.5},
      {"destination", "ROTTERDAM"},
      {"dte", 1.0}},
     {"hour", "minute"}},
    {"type 5 in three fragments on channel 1",
     {"!AIVDM,3,1,2,1,53P<W9l2;=`0mP4;801@Q8DF1059,0*47", "!AIVDM,3,2,2,1,A<000000001@I0`DI7<HtOC1H20E,0*78",
      "!AIVDM,3,3,2,1,TQ@000000000008,2*2B"},
     5,
     235087655,
     {{"callsign", "MXAB2"}, {"shipname", "THREE PARTS"}, {"destination", "LE HAVRE"}},
     {"hour", "minute"}},
    {"type 9",
     {"!AIVDM,1,1,,A,91b55wihQpOrAjPLqGH:Vm020000,0*6C"},
     9,
     111232511,
     {{"alt", 450.0},
      {"speed", 120.0},
      {"lon", -1.25},
      {"lat", 50.5},
      {"course", 271.5},
      {"second", 20.0},
      {"dte", 1.0}},
     {}},
    {"type 18, nothing available",
     {"!AIVDM,1,1,,A,B52MJh03wk?8mP=18D3Q3wv5h000,0*64"},
     18,
     338123456,
     {{"speed", 102.3}, {"lon", 181.0}, {"lat", 91.0}, {"course", 360.0}, {"heading", 511.0}},
     {"speed", "lon", "lat", "course", "heading", "second"}},
    {"type 19",
     {"!AIVDM,1,1,,A,C3`d`5@0=83KfP7K::0p@enPLNNT8:THB6@`00000000B0`2Q1RP,0*0B"},
     19,
     244000789,
     {{"speed", 5.2},
      {"accuracy", 1.0},
      {"lon", 3.0},
      {"lat", 51.9},
      {"course", 90.0},
      {"heading", 91.0},
      {"second", 45.0},
      {"shipname", "NOORDERLICHT"},
      {"shiptype", 36.0},
      {"to_bow", 10.0},
      {"to_stern", 5.0},
      {"to_port", 2.0},
      {"to_starboard", 3.0},
      {"epfd", 1.0},
      {"dte", 1.0}},
     {}},
    {"type 21 with a name extension",
     {"!AIVDM,1,1,,A,E>jMkTVW7a:4@84Ra@64ST:@12Ph:Qm0?0hB000003v010kk`<LP,4*74"},
     21,
     992441234,
     {{"aid_type", 13.0},
      {"name", "NORTH PIER LIGHT BEACON 12"},
      {"accuracy", 1.0},
      {"lon", 4.6},
      {"lat", 52.47},
      {"epfd", 7.0},
      {"virtual_aid", 1.0}},
     {"second"}},
    {"type 27, nothing available",
     {"!AIVDM,1,1,,A,K39>K?3n`>6bTOwv,0*60"},
     27,
     211000124,
     {{"status", 15.0}, {"lon", 181.0}, {"lat", 91.0}, {"speed", 63.0}, {"course", 511.0}, {"gnss", 1.0}},
     {"lon", "lat", "speed", "course"}},
};

void ExpectAisField(const TAisMessage& message, const TAisExpect& expect) {
    const TAisField* field = message.Find(expect.Key);
    ASSERT_NE(field, nullptr) << expect.Key;
    if (const auto* text = std::get_if<std::string_view>(&expect.Value)) {
        EXPECT_EQ(field->Text, *text) << expect.Key;
        return;
    }
    const double number = std::get<double>(expect.Value);
    const double value =
        field->Kind == TAisField::TKind::Real ? field->Real : static_cast<double>(field->Integer);
    EXPECT_NEAR(value, number, 1e-9) << expect.Key;
}

std::vector<std::string_view> NotAvailable(const TAisMessage& message) {
    std::vector<std::string_view> keys;
    for (const TAisField& field : message.Fields)
        if (field.NotAvailable)
            keys.push_back(field.Key);
    return keys;
}

} // namespace

TEST(AisDecoder, EachMessageTypeGivesItsFields) {
    for (const TAisSample& sample : kSamples) {
        SCOPED_TRACE(sample.What);
        TSentenceDecoder decoder;
        for (std::size_t i = 0; i + 1 < sample.Lines.size(); ++i) {
            const TDecodedLine& fragment = decoder.Decode(sample.Lines[i]);
            EXPECT_FALSE(fragment.Ais.has_value());
            EXPECT_TRUE(fragment.Error.empty());
        }
        const TDecodedLine& line = decoder.Decode(sample.Lines.back());
        EXPECT_TRUE(line.ChecksumOk.value_or(false));
        ASSERT_TRUE(line.Ais.has_value());
        EXPECT_EQ(line.Ais->Type, sample.Type);
        EXPECT_EQ(line.Ais->Mmsi, sample.Mmsi);
        for (const TAisExpect& expect : sample.Fields)
            ExpectAisField(*line.Ais, expect);
        EXPECT_EQ(NotAvailable(*line.Ais), sample.NotAvailable);
    }
}

TEST(AisDecoder, NotAvailableValuesAreSaidAsSuch) {
    TSentenceDecoder decoder;
    const TDecodedLine& line = decoder.Decode("!AIVDM,1,1,,A,13aEOK?P?w<tSF0l4Q@>4?wp0000,0*35");
    ASSERT_TRUE(line.Ais.has_value());
    std::vector<std::string> texts;
    for (const TAisField& field : line.Ais->Fields)
        texts.push_back(DescribeAisField(field));
    for (const char* expected :
         {"MMSI: 244670316", "Navigation status: not defined", "Rate of turn: not available",
          "Speed over ground: not available", "Longitude: not available", "Latitude: not available",
          "Course over ground: not available", "True heading: not available",
          "Time stamp (UTC second): not available"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), expected), texts.end()) << expected;
    const TDecodedLine& position = decoder.Decode("!AIVDM,1,1,,A,139>K>h3isPBp2dMhgm;6Hrt0000,0*4F");
    EXPECT_EQ(DescribeAisField(*position.Ais->Find("lat")), "Latitude 52 deg 00.7380' N");
    EXPECT_EQ(DescribeAisField(*position.Ais->Find("speed")), "Speed over ground 12.3 kn");
    EXPECT_EQ(DescribeAisField(*position.Ais->Find("turn")), "Rate of turn 10.0 deg/min");
}

TEST(AisDecoder, ALostFragmentGivesIncompleteNeverAStitchedMessage) {
    TSentenceDecoder decoder;
    const std::string_view first =
        "!AIVDM,2,1,3,B,539>K>h29E4<@48?400EP4m0hF1A84@E80000016?0N:<4q>NCR0C@UDQh00,0*54";
    const std::string_view second = "!AIVDM,2,2,3,B,00000000000,2*24";
    // A second fragment without its first.
    const TDecodedLine& lone = decoder.Decode(second);
    EXPECT_FALSE(lone.Ais.has_value());
    EXPECT_EQ(lone.Error, "incomplete AIS message");
    EXPECT_EQ(lone.AisProgress, "fragment 2 of 2: incomplete, an earlier fragment is missing");
    // Three fragments with the middle one lost: the third does not complete the message.
    const std::string_view three[] = {"!AIVDM,3,1,2,1,53P<W9l2;=`0mP4;801@Q8DF1059,0*47",
                                      "!AIVDM,3,3,2,1,TQ@000000000008,2*2B"};
    EXPECT_EQ(decoder.Decode(three[0]).AisProgress, "fragment 1 of 3: waiting for the next fragment");
    EXPECT_EQ(decoder.Decode(three[1]).Error, "incomplete AIS message");
    // A new first fragment replaces a pending one of the same channel and sequence.
    (void)decoder.Decode(first);
    (void)decoder.Decode(first);
    const TDecodedLine& done = decoder.Decode(second);
    ASSERT_TRUE(done.Ais.has_value());
    EXPECT_EQ(done.Ais->Find("shipname")->Text, "EXAMPLE TRADER");
    // Once complete, the message is not pending any more.
    EXPECT_EQ(decoder.Decode(second).Error, "incomplete AIS message");
}

TEST(AisDecoder, InterleavedMessagesOfOtherChannelsAndSequencesStayApart) {
    TSentenceDecoder decoder;
    EXPECT_FALSE(decoder.Decode("!AIVDM,3,1,2,1,53P<W9l2;=`0mP4;801@Q8DF1059,0*47").Ais.has_value());
    EXPECT_FALSE(
        decoder.Decode("!AIVDM,2,1,7,B,53P<W9T2;=`0L0QP0004pp60l58T40000000001@I0`DI7<HtODSm51DQ0CH,0*26")
            .Ais);
    EXPECT_EQ(decoder.Decode("!AIVDM,1,1,,A,139>K>h3isPBp2dMhgm;6Hrt0000,0*4F").Ais->Mmsi, 211000123U);
    EXPECT_FALSE(decoder.Decode("!AIVDM,3,2,2,1,A<000000001@I0`DI7<HtOC1H20E,0*78").Ais.has_value());
    const TDecodedLine& anna = decoder.Decode("!AIVDM,2,2,7,B,88000000008,2*28");
    ASSERT_TRUE(anna.Ais.has_value());
    EXPECT_EQ(anna.Ais->Mmsi, 235087654U);
    // Channel "1" is channel A: the third fragment, sent on "A", joins the first two sent on "1".
    const TDecodedLine& three = decoder.Decode("!AIVDM,3,3,2,A,TQ@000000000008,2*5B");
    ASSERT_TRUE(three.Ais.has_value());
    EXPECT_EQ(three.Ais->Mmsi, 235087655U);
}

TEST(AisDecoder, FragmentsOfTwoStationsInOneFeedStayApart) {
    // Both stations send a two-fragment message on channel B with sequential ID 3.
    TSentenceDecoder decoder;
    const std::string_view lines[] = {
        "\\s:r1*0A\\!AIVDM,2,1,3,B,539>K>h29E4<@48?400EP4m0hF1A84@E80000016?0N:<4q>NCR0C@UDQh00,0*54",
        "\\s:r2*09\\!AIVDM,2,1,3,B,53P<W9T2;=`0L0QP0004pp60l58T40000000001@I0`DI7<HtODSm51DQ0CH,0*22",
        "\\s:r1*0A\\!AIVDM,2,2,3,B,00000000000,2*24",
        "\\s:r2*09\\!AIVDM,2,2,3,B,88000000008,2*2C",
    };
    EXPECT_FALSE(decoder.Decode(lines[0]).Ais.has_value());
    EXPECT_FALSE(decoder.Decode(lines[1]).Ais.has_value());
    const TDecodedLine& first = decoder.Decode(lines[2]);
    ASSERT_TRUE(first.Ais.has_value());
    EXPECT_EQ(first.Ais->Find("shipname")->Text, "EXAMPLE TRADER");
    const TDecodedLine& second = decoder.Decode(lines[3]);
    ASSERT_TRUE(second.Ais.has_value());
    EXPECT_EQ(second.Ais->Find("shipname")->Text, "ANNA MARIA");
}
