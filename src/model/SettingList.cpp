#include "model/SettingList.h"

#include "model/ConfigItems.h"
#include "model/OptionBits.h"
#include "model/WireFormat.h"
#include "sentence/NmeaText.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <utility>

namespace kvl {

namespace {

using TField = std::uint32_t TMuxConfig::*;
using TTextField = std::string TMuxConfig::*;

// Item lists are global constants: settings keep a pointer to them.
template <std::size_t N>
TSetting Selector(std::string name, TField field, const std::array<std::string_view, N>& items,
                  bool onDevice = true) {
    const auto* list = &items;
    return {std::move(name), [field, list](const TMuxConfig& c) { return ItemText(*list, c.*field); },
            onDevice};
}

TSetting Check(std::string name, TField word, unsigned bit, bool onDevice = true) {
    return {std::move(name),
            [word, bit](const TMuxConfig& c) {
                return std::string(TestBit(c.*word, bit) ? kChecked : kUnchecked);
            },
            onDevice};
}

// A two-item selector of one option bit: item 1 stands for the bit set.
TSetting BitSelector(std::string name, TField word, unsigned bit,
                     const std::array<std::string_view, 2>& items, bool onDevice = true) {
    const auto* list = &items;
    return {std::move(name),
            [word, bit, list](const TMuxConfig& c) {
                return std::string((*list)[TestBit(c.*word, bit) ? 1 : 0]);
            },
            onDevice};
}

TSetting Text(std::string name, TTextField field) {
    return {std::move(name), [field](const TMuxConfig& c) { return c.*field; }};
}

TSetting Number(std::string name, TField field, bool onDevice = true) {
    return {std::move(name), [field](const TMuxConfig& c) { return FormatDec(c.*field); }, onDevice};
}

// The bits of a word that no control shows still reach the multiplexer with the
// word, so a difference in them is a difference all the same.
TSetting OtherBits(std::string name, TField word, std::uint32_t shown, unsigned digits,
                   bool onDevice = true) {
    return {std::move(name),
            [word, shown, digits](const TMuxConfig& c) { return FormatHex(c.*word & ~shown, digits); },
            onDevice};
}

// A data source shows its selector item; an NMEA 2000 source also its device,
// which the row's label offers as "<Click>" until one is chosen.
TSetting DataSource(std::string name, unsigned n) {
    return {std::move(name), [n](const TMuxConfig& c) {
                const TDataSource& source = c.DataSrcTable[n];
                if (source.Input >= '1' && source.Input <= '4')
                    return std::string(1, source.Input);
                if (source.Input != TDataSource::kN2K)
                    return std::string(kDataSourceItems[0]);
                return "N, device " + (source.Name.IsEmpty() ? std::string("<Click>") : source.Name.ToHex());
            }};
}

// SeaTalk runs at 4800 baud: in a SeaTalk mode input 1 shows, and is written with, 4800.
std::string SpeedIn1(const TMuxConfig& c) {
    const bool seaTalk = c.ModeIn1 == kModeInSeaTalk || c.ModeIn1 == kModeInSeaTalkSTNG;
    return ItemText(kSpeedItems, seaTalk ? 0 : c.BaudIn1);
}

constexpr std::uint32_t Bits(std::initializer_list<unsigned> bits) {
    std::uint32_t mask = 0;
    for (unsigned bit : bits)
        mask |= 1u << bit;
    return mask;
}

constexpr std::uint32_t kShownOptions =
    Bits({kOptModeFilter, kOptRawST, kOptPrioGPSStatus, kOptNoPinning, kOptTagBlocks, kOptNmeaV15,
          kOptAISMobAlarm, kOptStDepthM, kOptNoDiv, kOptAIStoGNSS, kOptModbusError, kOptTrueWindSOG,
          kOptIntVariation, kOptHiSpeed, kOptAutoReverse});
constexpr std::uint32_t kShownConversions = (1u << (kCnvTLLtoWPL + 1)) - 1;
constexpr std::uint32_t kShownN2kOptions =
    ((1u << (kN2kCnvTLLtoPGN130074 + 1)) - 1) | Bits({kN2kConvUnknownPGNs, kN2kConvAllPGNs});
constexpr std::uint32_t kShownDefRoute =
    Bits({kDefRouteIn1, kDefRouteIn2, kDefRouteIn3, kDefRouteIn4, kDefRouteConv, kDefRouteN2K});

void AddInputs(std::vector<TSetting>& out, bool n2k) {
    using M = TMuxConfig;
    out.push_back({"In 1 / Speed", SpeedIn1});
    out.push_back(Selector("In 2 / Speed", &M::BaudIn2, kSpeedItems));
    out.push_back(Selector("In 3 / Speed", &M::BaudIn3, kSpeedItems));
    out.push_back(Selector("In 4 and Out 1 / Speed", &M::BaudIn4Out1, kSpeedItems));
    const std::pair<const char*, TTextField> talkers[] = {{"In 1", &M::TalkID1},
                                                          {"In 2", &M::TalkID2},
                                                          {"In 3", &M::TalkID3},
                                                          {"In 4", &M::TalkID4},
                                                          {"NMEA Conversions", &M::TalkIDConv}};
    for (const auto& [row, field] : talkers)
        out.push_back(Text(std::string(row) + " / Talker ID", field));
    // The lists with NMEA 2000 begin with the items of those without.
    const std::pair<const char*, TField> priorities[] = {
        {"In 1", &M::PrioIn1}, {"In 2", &M::PrioIn2}, {"In 3", &M::PrioIn3}, {"In 4", &M::PrioIn4}};
    for (const auto& [row, field] : priorities)
        out.push_back(Selector(std::string(row) + " / Priority", field, kPrioInN2KItems));
    out.push_back(Selector("NMEA 2000 / Priority", &M::PrioN2K, kPrioN2KItems, n2k));
    out.push_back(Selector("In 1 / Input Mode", &M::ModeIn1, kModeIn1N2KItems));
    out.push_back(Selector("In 2 / Input Mode", &M::ModeIn2, kModeInItems));
    out.push_back(Selector("In 3 / Input Mode", &M::ModeIn3, kModeInItems));
    out.push_back(Selector("In 4 / Input Mode", &M::ModeIn4, kModeInItems));
    const std::pair<const char*, unsigned> routes[] = {{"In 1", kDefRouteIn1},
                                                       {"In 2", kDefRouteIn2},
                                                       {"In 3", kDefRouteIn3},
                                                       {"In 4", kDefRouteIn4},
                                                       {"NMEA Conversions", kDefRouteConv}};
    for (const auto& [row, bit] : routes) {
        out.push_back(Check(std::string(row) + " / Default Route 1", &M::DefRouteOut1, bit));
        out.push_back(Check(std::string(row) + " / Default Route 2", &M::DefRouteOut2, bit));
    }
    out.push_back(Check("NMEA 2000 / Default Route 1", &M::DefRouteOut1, kDefRouteN2K, n2k));
    out.push_back(Check("NMEA 2000 / Default Route 2", &M::DefRouteOut2, kDefRouteN2K, n2k));
    out.push_back(OtherBits("Default Route 1 / other bits", &M::DefRouteOut1, kShownDefRoute, 2));
    out.push_back(OtherBits("Default Route 2 / other bits", &M::DefRouteOut2, kShownDefRoute, 2));
}

void AddOutputs(std::vector<TSetting>& out) {
    using M = TMuxConfig;
    out.push_back(Selector("Out 2 / Speed", &M::BaudOut2, kSpeedItems));
    out.push_back(Selector("Out 1 / Host Data", &M::ModeOut1, kHostDataItems));
    out.push_back(Selector("Out 2 / Host Data", &M::ModeOut2, kHostDataItems));
    out.push_back(Check("Output Settings / Output NMEA V1.5", &M::Options, kOptNmeaV15));
    out.push_back(Check("Output Settings / Ignore Divisor", &M::Options, kOptNoDiv));
    out.push_back(Check("Priority Control / Check GPS status", &M::Options, kOptPrioGPSStatus));
    out.push_back(Selector("Priority Control / Time out", &M::PrioTimeout, kPrioTimeoutItems));
}

void AddGeneralOptions(std::vector<TSetting>& out) {
    using M = TMuxConfig;
    const std::pair<const char*, unsigned> boxes[] = {{"AIS MOB Alarm", kOptAISMobAlarm},
                                                      {"AIS Own Position to GPS data", kOptAIStoGNSS},
                                                      {"Raw SeaTalk (PQZXST)", kOptRawST},
                                                      {"SeaTalk depth in meters", kOptStDepthM},
                                                      {"Suppress GPS pinning", kOptNoPinning},
                                                      {"TAG Blocks", kOptTagBlocks},
                                                      {"Use internal variation table", kOptIntVariation},
                                                      {"High speed HDT/VBW", kOptHiSpeed}};
    for (const auto& [caption, bit] : boxes)
        out.push_back(Check(std::string("General Options / ") + caption, &M::Options, bit));
    out.push_back(Selector("General Options / Modbus", &M::ModbusMode, kModbusModeItems));
    out.push_back(Number("General Options / Address", &M::ModbusSlvAddr));
    out.push_back(Text("General Options / Unique ID", &M::UID));
    out.push_back(OtherBits("Options / other bits", &M::Options, kShownOptions, 8));
}

void AddNmeaFrom(std::vector<TSetting>& out, bool n2k) {
    using M = TMuxConfig;
    const std::string group = n2k ? "NMEA 0183 from NMEA 2000 and SeaTalk / " : "NMEA 0183 from SeaTalk / ";
    const struct {
        const char* Caption;
        unsigned Bit;
        bool OnDevice;
    } boxes[] = {{"RMC", kN2kTxRMC, true}, {"GGA", kN2kTxGGA, true},
                 {"GLL", kN2kTxGLL, true}, {"VTG", kN2kTxVTG, true},
                 {"GSx", kN2kTxGSx, true}, {"10 Hz", kN2kGNSS10Hz, n2k},
                 {"RMB", kN2kTxRMB, true}, {"APB", kN2kTxAPB, true},
                 {"BWx", kN2kTxBWX, true}, {"XTE", kN2kTxXTE, true},
                 {"ZTG", kN2kTxZTG, n2k},  {n2k ? "ZDA/PGN 126992" : "ZDA", kN2kTxZDA, true},
                 {"MDA", kN2kTxMDA, true}, {"VBW/VHW (Speed) at 10 Hz", kN2kSpeed10Hz, n2k}};
    for (const auto& box : boxes)
        out.push_back(Check(group + box.Caption, &M::N2kOptions, box.Bit, box.OnDevice));
    out.push_back(BitSelector(group + "Attitude", &M::N2kOptions, kN2kAttitudePFEC, kAttitudeItems));
    out.push_back(BitSelector(group + "Depth", &M::N2kOptions, kN2kDepthDBT, kDepthItems));
    out.push_back(BitSelector(group + "True heading", &M::N2kOptions, kN2kTrueHeadingTHS, kTrueHeadingItems));
}

void AddConversions(std::vector<TSetting>& out, bool n2k) {
    using M = TMuxConfig;
    const std::string group = "NMEA 0183 Conversions / ";
    const std::pair<const char*, unsigned> boxes[] = {
        {"Heading Magnetic <--> True", kCnvHDGConv},
        {"Reverse Heading", kCnvRevHdng},
        {"COG to True Heading (VTG -> HDT)", kCnvCOGtoHDT},
        {"HDT <-> THS", kCnvHDTtoTHS},
        {"GPS Speed to Log Speed (VTG -> VHW)", kCnvVTGConv},
        {"Log Speed to GPS Speed (VHW -> VTG)", kCnvVHWConv},
        {"Reverse Speed (VBW)", kCnvRevSpeed},
        {"Combine Heading and Speed into VHW", kCnvHDGInVHW},
        {"VWR <--> MWV", kCnvVWRtoMWV},
        {"Apparent to True Wind (MWV,R -> MWV,T)", kCnvReltoTheorWind},
        {"Calculate Wind Direction (MWV,T -> MWD)", kCnvWindDir},
        {"Reverse Wind Angle (MWV)", kCnvRevWind},
        {"TLL to WPL", kCnvTLLtoWPL}};
    for (const auto& [caption, bit] : boxes)
        out.push_back(Check(group + caption, &M::Conversions, bit));
    out.push_back(Check(group + "Auto Reverse", &M::Options, kOptAutoReverse));
    out.push_back(
        BitSelector(group + "Speed source for True Wind", &M::Options, kOptTrueWindSOG, kTrueWindItems));
    out.push_back(Check(group + "TLL to PGN 130074", &M::N2kOptions, kN2kCnvTLLtoPGN130074, n2k));
    out.push_back(OtherBits("Conversions / other bits", &M::Conversions, kShownConversions, 8));
    for (unsigned n = 0; n < TMuxConfig::kDataSources; ++n) {
        std::string_view row = kDataSourceCaptions[n];
        row.remove_suffix(1); // the colon
        out.push_back(DataSource("Data sources for rotating mast wind sensor / " + std::string(row), n));
    }
}

void AddTabSettings(std::vector<TSetting>& out, bool n2k) {
    using M = TMuxConfig;
    out.push_back(BitSelector("Routing / No Match", &M::Options, kOptModeFilter, kModeFilterItems));
    out.push_back(Number("Modbus / Intervals (10 ms) / XDR", &M::ModbusXdrInterval));
    out.push_back(Number("Modbus / Intervals (10 ms) / Poll", &M::ModbusPollInterval));
    out.push_back(Check("Modbus / Enable Diagnostics", &M::Options, kOptModbusError));
    const std::pair<const char*, TField> types[] = {{"Main", &M::DevFuncHost}, {"In 1", &M::DevFuncIn1},
                                                    {"In 2", &M::DevFuncIn2},  {"In 3", &M::DevFuncIn3},
                                                    {"In 4", &M::DevFuncIn4},  {"Conv", &M::DevFuncConv}};
    for (const auto& [row, field] : types)
        out.push_back(Selector(std::string("Device Settings / ") + row + " / Device Type", field,
                               kDeviceTypeItems, n2k));
    const std::pair<const char*, TField> instances[] = {{"Main", &M::DIHost}, {"In 1", &M::DIIn1},
                                                        {"In 2", &M::DIIn2},  {"In 3", &M::DIIn3},
                                                        {"In 4", &M::DIIn4},  {"Conv", &M::DIConv}};
    for (const auto& [row, field] : instances)
        out.push_back(Number(std::string("Device Settings / ") + row + " / DI", field, n2k));
    out.push_back(Check("Generate $QJPGN / From unknown PGN's", &M::N2kOptions, kN2kConvUnknownPGNs, n2k));
    out.push_back(Check("Generate $QJPGN / From all PGN's", &M::N2kOptions, kN2kConvAllPGNs, n2k));
    out.push_back(OtherBits("NMEA 2000 Options / other bits", &M::N2kOptions, kShownN2kOptions, 8, n2k));
}

} // namespace

std::vector<TSetting> ConfigSettings(bool nmea2000) {
    std::vector<TSetting> out;
    AddInputs(out, nmea2000);
    AddOutputs(out);
    AddGeneralOptions(out);
    AddNmeaFrom(out, nmea2000);
    AddConversions(out, nmea2000);
    AddTabSettings(out, nmea2000);
    return out;
}

} // namespace kvl
