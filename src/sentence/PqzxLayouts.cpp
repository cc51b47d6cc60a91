// The multiplexer's own "$PQZX" sentences, named as the configuration window
// captions the settings they carry.
#include "sentence/SentenceLayouts.h"

#include <algorithm>
#include <iterator>

namespace kvl {

namespace {

using F = TFieldFormat;

constexpr TCode kKind[] = {{"A", "announce"}, {"C", "set"},           {"Q", "query"},      {"R", "report"},
                           {"M", "mode"},     {"S", "slave address"}, {"X", "table entry"}};
constexpr TCode kSpeed[] = {{"0", "4800 baud"},  {"1", "9600 baud"},  {"2", "19200 baud"},
                            {"3", "38400 baud"}, {"4", "57600 baud"}, {"5", "115200 baud"}};
constexpr TCode kTimeOut[] = {{"0", "1 sec."}, {"1", "2 sec."},  {"2", "3 sec."},
                              {"3", "5 sec."}, {"4", "10 sec."}, {"5", "30 sec."}};
constexpr TCode kInputMode[] = {{"0", "NMEA"},         {"1", "NMEA (ERR)"},   {"2", "NMEA (CR/LF)"},
                                {"3", "Text to NMEA"}, {"4", "Text to PTXT"}, {"5", "Plain Text"},
                                {"6", "SeaTalk"},      {"7", "SeaTalk-STNG"}};
constexpr TCode kHostData[] = {{"0", "No"}, {"1", "Yes"}, {"2", "Override"}};
constexpr TCode kDataSource[] = {{"0", "Main Heading"}, {"1", "Rot. Hdng/Mast"}, {"2", "Rotating Wind"}};

constexpr TFieldSpec Kind() {
    return {"Kind", "kind", F::Code, "", kKind};
}
constexpr TFieldSpec Txt(std::string_view name, std::string_view key) {
    return {name, key, F::Text, "", {}};
}
constexpr TFieldSpec Code(std::string_view name, std::string_view key, std::span<const TCode> codes) {
    return {name, key, F::Code, "", codes};
}

constexpr TFieldSpec kVER[] = {Txt("Firmware version", "firmware_version"), Txt("Device", "device"),
                               Txt("Serial number", "serial_number"),
                               Txt("Capabilities (hex)", "capabilities")};
constexpr TFieldSpec kOV[] = {Txt("Overflowing outputs (hex, bit 0 output 1, bit 1 output 2)", "outputs")};
constexpr TFieldSpec kCF[] = {Kind(), Txt("Field 2", "field_2"),
                              Code("Priority time-out", "priority_timeout", kTimeOut)};
constexpr TFieldSpec kSP[] = {Kind(),
                              Code("Input 1 speed", "input1_speed", kSpeed),
                              Code("Input 2 speed", "input2_speed", kSpeed),
                              Code("Input 3 speed", "input3_speed", kSpeed),
                              Code("Input 4 / output 1 speed", "input4_output1_speed", kSpeed),
                              Code("Output 2 speed", "output2_speed", kSpeed)};
constexpr TFieldSpec kID[] = {Kind(),
                              Txt("Talker ID input 1", "talker_input1"),
                              Txt("Talker ID input 2", "talker_input2"),
                              Txt("Talker ID input 3", "talker_input3"),
                              Txt("Talker ID input 4", "talker_input4"),
                              Txt("Talker ID conversions", "talker_conversions")};
constexpr TFieldSpec kUI[] = {Kind(), Txt("Unique ID", "unique_id")};
constexpr TFieldSpec kDR[] = {Kind(), Txt("Default route output 1 (hex)", "route_output1"),
                              Code("Host data output 1", "host_data_output1", kHostData),
                              Txt("Default route output 2 (hex)", "route_output2"),
                              Code("Host data output 2", "host_data_output2", kHostData)};
constexpr TFieldSpec kIN[] = {
    Kind(), Code("Input 1 mode", "input1_mode", kInputMode), Code("Input 2 mode", "input2_mode", kInputMode),
    Code("Input 3 mode", "input3_mode", kInputMode), Code("Input 4 mode", "input4_mode", kInputMode)};
constexpr TFieldSpec kPR[] = {Kind(),
                              Txt("Priority input 1", "priority_input1"),
                              Txt("Priority input 2", "priority_input2"),
                              Txt("Priority input 3", "priority_input3"),
                              Txt("Priority input 4", "priority_input4"),
                              Txt("Priority NMEA 2000", "priority_n2k")};
constexpr TFieldSpec kOP[] = {Kind(), Txt("Options (hex)", "options")};
constexpr TFieldSpec kCNV[] = {Kind(), Txt("Conversions (hex)", "conversions")};
constexpr TFieldSpec kNO[] = {Kind(), Txt("NMEA 2000 options (hex)", "n2k_options")};
constexpr TFieldSpec kSixFunctions[] = {Kind(),
                                        Txt("Host", "host"),
                                        Txt("Input 1", "input1"),
                                        Txt("Input 2", "input2"),
                                        Txt("Input 3", "input3"),
                                        Txt("Input 4", "input4"),
                                        Txt("Conversions", "conversions")};
constexpr TFieldSpec kDS[] = {Kind(), Code("Data source", "source", kDataSource),
                              Txt("Type (input 1-4, N = NMEA 2000)", "type"), Txt("NAME (hex)", "name")};
constexpr TFieldSpec kMB[] = {Kind(), Code("Setting", "setting", kKind), Txt("Value", "value"),
                              Txt("Second value", "value2")};
constexpr TFieldSpec kVerbOnly[] = {Kind()};

constexpr TSentenceLayout kPqzx[] = {
    {"PQZXBIN", "Memory block (six-bit)"},
    {"PQZXCF", "Priority time-out", kCF},
    {"PQZXCFQ", "Configuration request"},
    {"PQZXCNV", "Conversions", kCNV},
    {"PQZXDB", "Debug output"},
    {"PQZXDR", "Default routes and host data", kDR},
    {"PQZXDS", "Data sources", kDS},
    {"PQZXID", "Talker IDs", kID},
    {"PQZXIN", "Input modes", kIN},
    {"PQZXLDR", "Bootloader"},
    {"PQZXMB", "Modbus", kMB},
    {"PQZXMEM", "Memory readout"},
    {"PQZXMOB", "AIS MOB table", kVerbOnly},
    {"PQZXNA", "NMEA 2000 source addresses", kSixFunctions},
    {"PQZXNC", "NMEA 2000 device count"},
    {"PQZXND", "NMEA 2000 device instances", kSixFunctions},
    {"PQZXNF", "NMEA 2000 device functions", kSixFunctions},
    {"PQZXNO", "NMEA 2000 options", kNO},
    {"PQZXNP", "NMEA 2000 device"},
    {"PQZXOP", "Options", kOP},
    {"PQZXOV", "Output overflow", kOV},
    {"PQZXPR", "Priorities", kPR},
    {"PQZXRDY", "Ready"},
    {"PQZXRESET", "Reset"},
    {"PQZXRTE", "Routing table", kVerbOnly},
    {"PQZXSP", "Port speeds", kSP},
    {"PQZXSTAT", "Statistics"},
    {"PQZXUI", "Unique ID", kUI},
    {"PQZXVER", "Version", kVER},
    {"PQZXWI", "WiFi settings", kVerbOnly},
};

constexpr bool Sorted() {
    for (std::size_t i = 1; i < std::size(kPqzx); ++i) {
        if (!(kPqzx[i - 1].Type < kPqzx[i].Type))
            return false;
    }
    return true;
}
static_assert(Sorted(), "the layouts are searched by halves");

} // namespace

const TSentenceLayout* FindPqzxLayout(std::string_view address) {
    const auto* end = std::end(kPqzx);
    const auto* found =
        std::lower_bound(std::begin(kPqzx), end, address,
                         [](const TSentenceLayout& l, std::string_view a) { return l.Type < a; });
    if (found == end || found->Type != address)
        return nullptr;
    return found;
}

} // namespace kvl
