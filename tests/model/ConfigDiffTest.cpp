#include "model/ConfigDiff.h"
#include "model/OptionBits.h"
#include "model/TableRowText.h"

#include <gtest/gtest.h>

#include <functional>

using namespace kvl;

namespace {

constexpr std::uint16_t kPlain = 0xA000;   // a valid capability word without NMEA 2000
constexpr std::uint16_t kWithN2K = 0xA010; // with NMEA 2000

using TChange = std::function<void(TMuxConfig&)>;

TConfigComparison CompareChanged(std::uint16_t caps, const TChange& change) {
    TMuxConfig device;
    TMuxConfig file;
    change(file);
    return CompareWithDevice(device, file, caps);
}

struct TSettingCase {
    const char* Kind;
    std::uint16_t Caps;
    TChange Change;
    TConfigDifference Expected;
};

const TSettingCase kSettingCases[] = {
    {"speed selector", kPlain, [](TMuxConfig& c) { c.BaudIn2 = 2; }, {"In 2 / Speed", "4800", "19200"}},
    {"shared speed",
     kPlain,
     [](TMuxConfig& c) { c.BaudIn4Out1 = 5; },
     {"In 4 and Out 1 / Speed", "4800", "115200"}},
    {"item beyond the list",
     kPlain,
     [](TMuxConfig& c) { c.PrioIn1 = 12; },
     {"In 1 / Priority", "--", "(value 12)"}},
    {"priority of NMEA 2000 models",
     kPlain,
     [](TMuxConfig& c) { c.PrioIn3 = 6; },
     {"In 3 / Priority", "--", "10"}},
    {"input mode with NMEA 2000",
     kWithN2K,
     [](TMuxConfig& c) { c.ModeIn1 = 7; },
     {"In 1 / Input Mode", "NMEA", "SeaTalk-STNG"}},
    {"host data selector",
     kPlain,
     [](TMuxConfig& c) { c.ModeOut2 = 2; },
     {"Out 2 / Host Data", "No", "Override"}},
    {"time-out selector",
     kPlain,
     [](TMuxConfig& c) { c.PrioTimeout = 4; },
     {"Priority Control / Time out", "1 sec.", "10 sec."}},
    {"Modbus mode",
     kPlain,
     [](TMuxConfig& c) { c.ModbusMode = 2; },
     {"General Options / Modbus", "Off", "Slave"}},
    {"option check box",
     kPlain,
     [](TMuxConfig& c) { c.Options = 1u << kOptTagBlocks; },
     {"General Options / TAG Blocks", "unchecked", "checked"}},
    {"output option",
     kPlain,
     [](TMuxConfig& c) { c.Options = 1u << kOptNoDiv; },
     {"Output Settings / Ignore Divisor", "unchecked", "checked"}},
    {"conversion check box",
     kPlain,
     [](TMuxConfig& c) { c.Conversions = 1u << kCnvHDTtoTHS; },
     {"NMEA 0183 Conversions / HDT <-> THS", "unchecked", "checked"}},
    {"default route box",
     kPlain,
     [](TMuxConfig& c) { c.DefRouteOut2 = 1u << kDefRouteConv; },
     {"NMEA Conversions / Default Route 2", "unchecked", "checked"}},
    {"NMEA 0183 from SeaTalk",
     kPlain,
     [](TMuxConfig& c) { c.N2kOptions = 1u << kN2kTxZDA; },
     {"NMEA 0183 from SeaTalk / ZDA", "unchecked", "checked"}},
    {"NMEA 0183 from NMEA 2000",
     kWithN2K,
     [](TMuxConfig& c) { c.N2kOptions = 1u << kN2kTxZDA; },
     {"NMEA 0183 from NMEA 2000 and SeaTalk / ZDA/PGN 126992", "unchecked", "checked"}},
    {"bit selector",
     kPlain,
     [](TMuxConfig& c) { c.N2kOptions = 1u << kN2kDepthDBT; },
     {"NMEA 0183 from SeaTalk / Depth", "DPT", "DBT"}},
    {"true wind selector",
     kPlain,
     [](TMuxConfig& c) { c.Options = 1u << kOptTrueWindSOG; },
     {"NMEA 0183 Conversions / Speed source for True Wind", "STW", "SOG"}},
    {"No Match selector",
     kPlain,
     [](TMuxConfig& c) { c.Options = 1u << kOptModeFilter; },
     {"Routing / No Match", "Default", "Block"}},
    {"talker ID",
     kPlain,
     [](TMuxConfig& c) { c.TalkIDConv = "GP"; },
     {"NMEA Conversions / Talker ID", "", "GP"}},
    {"unique ID",
     kPlain,
     [](TMuxConfig& c) { c.UID = "BOAT1"; },
     {"General Options / Unique ID", "", "BOAT1"}},
    {"number field",
     kPlain,
     [](TMuxConfig& c) { c.ModbusPollInterval = 25; },
     {"Modbus / Intervals (10 ms) / Poll", "0", "25"}},
    {"slave address",
     kPlain,
     [](TMuxConfig& c) { c.ModbusSlvAddr = 247; },
     {"General Options / Address", "0", "247"}},
    {"option bits without a control",
     kPlain,
     [](TMuxConfig& c) { c.Options = 0x80000080; },
     {"Options / other bits", "00000000", "80000080"}},
    {"default route bits without a box",
     kPlain,
     [](TMuxConfig& c) { c.DefRouteOut1 = 0x60; },
     {"Default Route 1 / other bits", "00", "60"}},
    {"data source input",
     kPlain,
     [](TMuxConfig& c) {
         c.DataSrcTable[2] = {'3', 0};
     },
     {"Data sources for rotating mast wind sensor / Rotating Wind", "--", "3"}},
    {"data source device",
     kPlain,
     [](TMuxConfig& c) {
         c.DataSrcTable[1] = {'N', 0x1122334455667788};
     },
     {"Data sources for rotating mast wind sensor / Rot. Hdng/Mast", "--", "N, device 1122334455667788"}},
    {"data source without device",
     kPlain,
     [](TMuxConfig& c) {
         c.DataSrcTable[0] = {'N', 0};
     },
     {"Data sources for rotating mast wind sensor / Main Heading", "--", "N, device <Click>"}},
    {"device type",
     kWithN2K,
     [](TMuxConfig& c) { c.DevFuncIn2 = 5; },
     {"Device Settings / In 2 / Device Type", "NMEA 0183 Gateway", "Depth"}},
    {"device instance",
     kWithN2K,
     [](TMuxConfig& c) { c.DIConv = 200; },
     {"Device Settings / Conv / DI", "0", "200"}},
    {"NMEA 2000 priority",
     kWithN2K,
     [](TMuxConfig& c) { c.PrioN2K = 6; },
     {"NMEA 2000 / Priority", "--", "DI"}},
    {"NMEA 2000 route",
     kWithN2K,
     [](TMuxConfig& c) { c.DefRouteOut1 = 1u << kDefRouteN2K; },
     {"NMEA 2000 / Default Route 1", "unchecked", "checked"}},
    {"PGN generation",
     kWithN2K,
     [](TMuxConfig& c) { c.N2kOptions = 1u << kN2kConvAllPGNs; },
     {"Generate $QJPGN / From all PGN's", "unchecked", "checked"}},
};

class SettingKinds : public testing::TestWithParam<TSettingCase> {};

TEST_P(SettingKinds, OneChangedSettingIsOneDifferenceNamedAndValuedAsTheWindowShowsIt) {
    const TSettingCase& c = GetParam();
    const TConfigComparison result = CompareChanged(c.Caps, c.Change);
    ASSERT_EQ(result.Differences.size(), 1u);
    EXPECT_EQ(result.Differences[0], c.Expected);
}

INSTANTIATE_TEST_SUITE_P(ConfigDiff, SettingKinds, testing::ValuesIn(kSettingCases),
                         [](const testing::TestParamInfo<TSettingCase>& info) {
                             std::string name = info.param.Kind;
                             for (char& ch : name)
                                 if (!std::isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             return name;
                         });

TEST(ConfigDiff, EqualModelsDifferInNothingAndCountEverySetting) {
    const TConfigComparison plain = CompareChanged(kPlain, [](TMuxConfig&) {});
    const TConfigComparison n2k = CompareChanged(kWithN2K, [](TMuxConfig&) {});
    EXPECT_FALSE(plain.HasDifferences());
    EXPECT_FALSE(n2k.HasDifferences());
    EXPECT_TRUE(n2k.NotOnDevice.empty());
    EXPECT_EQ(plain.NotOnDevice.size(), 22u);
    EXPECT_EQ(plain.Same + plain.NotOnDevice.size(), n2k.Same);
}

TEST(ConfigDiff, SeaTalkInputOneShowsAndWrites4800WhateverItsSpeedField) {
    TMuxConfig device;
    TMuxConfig file;
    device.ModeIn1 = file.ModeIn1 = 6;
    file.BaudIn1 = 3;
    EXPECT_FALSE(CompareWithDevice(device, file, kPlain).HasDifferences());
}

TEST(ConfigDiff, NmeaTwoThousandSettingsOnADeviceWithoutItAreApartNeverDifferences) {
    const TChange change = [](TMuxConfig& c) {
        c.DevFuncIn1 = 5;
        c.PrioN2K = 2;
        c.N2kOptions = (1u << kN2kTxZTG) | (1u << kN2kCnvTLLtoPGN130074) | (1u << 20);
    };
    const TConfigComparison plain = CompareChanged(kPlain, change);
    EXPECT_FALSE(plain.HasDifferences());
    auto find = [&plain](const std::string& name) {
        for (const TConfigDifference& d : plain.NotOnDevice)
            if (d.Setting == name)
                return d;
        return TConfigDifference{};
    };
    EXPECT_EQ(
        find("Device Settings / In 1 / Device Type"),
        (TConfigDifference{"Device Settings / In 1 / Device Type", "", "Depth", TDiffKind::NotOnDevice}));
    EXPECT_EQ(find("NMEA 2000 / Priority").File, "2");
    EXPECT_EQ(find("NMEA 0183 from SeaTalk / ZTG").File, "checked");
    EXPECT_EQ(find("NMEA 0183 Conversions / TLL to PGN 130074").File, "checked");
    EXPECT_EQ(find("NMEA 2000 Options / other bits").File, "00100000");

    // The same file on a device with NMEA 2000 differs in all five.
    EXPECT_EQ(CompareChanged(kWithN2K, change).Differences.size(), 5u);
}

TEST(ConfigDiff, EntryStatesAndSourceAddressesAreNotCompared) {
    TMuxConfig device;
    TMuxConfig file;
    for (TMuxConfig* c : {&device, &file}) {
        c->RouteAdd("GPRMC", 0x03, 0, 0x21, 0, c == &device ? 17 : 255);
        c->ModbusAdd(1, 100, 'H', 'F', 1, 1, 'C', 'C', "ENGINE1", c == &device ? 0 : 240);
        c->MobAdd("211234567", c == &device ? 'A' : 'V');
    }
    device.SAHost = 40;
    const TConfigComparison result = CompareWithDevice(device, file, kWithN2K);
    EXPECT_FALSE(result.HasDifferences());
    EXPECT_EQ(result.Same, CompareChanged(kWithN2K, [](TMuxConfig&) {}).Same + 3);
}

// ---- Table rows ----

void Routes(TMuxConfig& c, std::initializer_list<const char*> addresses) {
    for (const char* address : addresses)
        c.RouteAdd(address, 0x01, 0, 0x20, 0, 255);
}

TEST(ConfigDiff, RowsAddedRemovedAndChangedAreTheOnlyRowDifferences) {
    struct TCase {
        std::initializer_list<const char*> Device;
        std::initializer_list<const char*> File;
        std::vector<TConfigDifference> Expected;
        std::size_t SameRows;
    };
    const TCase cases[] = {
        {{"GPRMC", "GPGGA"},
         {"GPRMC", "GPGGA", "IIMWV"},
         {{"Routing / row 3", "", "IIMWV from 1 to PC", TDiffKind::Added}},
         2},
        {{"GPRMC", "GPGGA", "IIMWV"},
         {"GPRMC", "IIMWV"},
         {{"Routing / row 2", "GPGGA from 1 to PC", "", TDiffKind::Removed}},
         2},
        {{"GPRMC", "GPGGA", "IIMWV"},
         {"GPRMC", "GPVTG", "IIMWV"},
         {{"Routing / row 2", "GPGGA from 1 to PC", "GPVTG from 1 to PC", TDiffKind::Changed}},
         2},
        {{"GPRMC"}, {"GPGGA", "GPRMC"}, {{"Routing / row 1", "", "GPGGA from 1 to PC", TDiffKind::Added}}, 1},
        {{}, {}, {}, 0},
    };
    const std::size_t settings = CompareChanged(kPlain, [](TMuxConfig&) {}).Same;
    for (const TCase& c : cases) {
        TMuxConfig device;
        TMuxConfig file;
        Routes(device, c.Device);
        Routes(file, c.File);
        const TConfigComparison result = CompareWithDevice(device, file, kPlain);
        EXPECT_EQ(result.Differences, c.Expected);
        EXPECT_EQ(result.Same, settings + c.SameRows);
    }
}

TEST(ConfigDiff, EveryTableComparesItsRowsUnderItsTabName) {
    TMuxConfig device;
    TMuxConfig file;
    device.RouteAdd("GPRMC", 0x03, 0, 0x21, 0, 255);
    file.RouteAdd("GPRMC", 0x03, 2, 0x21, 0, 255);
    device.ModbusAdd(1, 100, 'H', 'F', 1, 1, 'C', 'C', "ENGINE1", 0);
    file.ModbusAdd(1, 100, 'H', 'F', 1, 1, 'C', 'C', "ENGINE1", 0);
    file.ModbusAdd(2, 7, 'I', 'U', 0, 0, 0, 0, "", 240);
    device.MobAdd("211234567", 'V');
    const std::vector<TConfigDifference> expected = {
        {"Routing / row 1", "GPRMC from 1,2 to 1,PC", "GPRMC from 1,2 to 1,PC, Div 2", TDiffKind::Changed},
        {"Modbus / row 2", "", "Slv 2, Reg 7, I, U, P 0, XDR - - -", TDiffKind::Added},
        {"AIS MOB Alarm / row 1", "211234567", "", TDiffKind::Removed}};
    EXPECT_EQ(CompareWithDevice(device, file, kPlain).Differences, expected);
}

TEST(ConfigDiff, RouteRowsNameEveryColumnAndTheBitsWithoutOne) {
    EXPECT_EQ(RouteRowText(TRoute("GPRMC", 0xBF, 3, 0x37, 0x1122334455667788, 255)),
              "GPRMC from 1,2,3,4,C,H,N to 1,2,ST,PC,W, Div 3, Device 1122334455667788");
    EXPECT_EQ(RouteRowText(TRoute("", 0x0140, 0, 0x0008, 0, 255)), "(no sentence) from bit 6,bit 8 to bit 3");
    EXPECT_EQ(RouteRowText(TRoute("GPGGA", 0, 0, 0, 0, 255)), "GPGGA from none to none");
}

TEST(ConfigDiff, ModbusRowsShowEveryFieldTheFileKeeps) {
    EXPECT_EQ(ModbusRowText(TModbus(1, 100, 'H', 'F', 1, 2, 'C', 'C', "ENGINE1", 0)),
              "Slv 1, Reg 100, H, F, reversed, P 2, XDR C C ENGINE1");
}

// ---- Texts ----

TEST(ConfigDiff, SummaryCountsInWordsOfOneAndMany) {
    TConfigComparison c;
    c.Same = 140;
    c.Differences.resize(12);
    c.NotOnDevice.resize(3);
    EXPECT_EQ(ComparisonSummary(c), "12 settings differ, 140 are the same, 3 are not on this device");
    c.Same = 1;
    c.Differences.resize(1);
    c.NotOnDevice.resize(1);
    EXPECT_EQ(ComparisonSummary(c), "1 setting differs, 1 is the same, 1 is not on this device");
    c.Differences.clear();
    c.NotOnDevice.clear();
    EXPECT_EQ(ComparisonSummary(c), "0 settings differ, 1 is the same, 0 are not on this device");
}

TEST(ConfigDiff, DifferenceLinesQuoteValuesAndSayNoneForAMissingRow) {
    EXPECT_EQ(DifferenceLine({"In 1 / Talker ID", "GP", "", TDiffKind::Changed}),
              "In 1 / Talker ID: device \"GP\", file \"\"");
    EXPECT_EQ(DifferenceLine({"Routing / row 3", "", "IIMWV from 1 to PC", TDiffKind::Added}),
              "Routing / row 3: device none, file \"IIMWV from 1 to PC\"");
    EXPECT_EQ(DifferenceLine({"AIS MOB Alarm / row 1", "211234567", "", TDiffKind::Removed}),
              "AIS MOB Alarm / row 1: device \"211234567\", file none");
}

} // namespace
