// The item lists of the settings selectors. A model value is the index of its item.
#pragma once

#include <array>
#include <string_view>

namespace kvl {

// Port speeds (BaudIn1 ... BaudOut2).
inline constexpr std::array<std::string_view, 6> kSpeedItems = {"4800",  "9600",  "19200",
                                                                "38400", "57600", "115200"};

// Priority time-out (PrioTimeout), "Time out:".
inline constexpr std::array<std::string_view, 6> kPrioTimeoutItems = {"1 sec.", "2 sec.",  "3 sec.",
                                                                      "5 sec.", "10 sec.", "30 sec."};

// Input modes: inputs 2 to 4 offer the first six; input 1 adds "SeaTalk" and, with
// NMEA 2000, "SeaTalk-STNG".
inline constexpr std::array<std::string_view, 6> kModeInItems = {
    "NMEA", "NMEA (ERR)", "NMEA (CR/LF)", "Text to NMEA", "Text to PTXT", "Plain Text"};
inline constexpr std::array<std::string_view, 7> kModeIn1Items = {
    "NMEA", "NMEA (ERR)", "NMEA (CR/LF)", "Text to NMEA", "Text to PTXT", "Plain Text", "SeaTalk"};
inline constexpr std::array<std::string_view, 8> kModeIn1N2KItems = {
    "NMEA",         "NMEA (ERR)", "NMEA (CR/LF)", "Text to NMEA",
    "Text to PTXT", "Plain Text", "SeaTalk",      "SeaTalk-STNG"};
inline constexpr unsigned kModeInSeaTalk = 6;
inline constexpr unsigned kModeInSeaTalkSTNG = 7;
inline constexpr unsigned kModeInPlainText = 5;

// Priorities of inputs 1 to 4, without and with NMEA 2000, and of NMEA 2000 itself.
inline constexpr std::array<std::string_view, 5> kPrioInItems = {"--", "1", "2", "3", "4"};
inline constexpr std::array<std::string_view, 11> kPrioInN2KItems = {"--", "1",  "2",  "3",   "4",  "5",
                                                                     "10", "20", "50", "100", "200"};
inline constexpr std::array<std::string_view, 7> kPrioN2KItems = {"--", "1", "2", "3", "4", "5", "DI"};

// Host data mode of the outputs (ModeOut1, ModeOut2), "Host Data".
inline constexpr std::array<std::string_view, 3> kHostDataItems = {"No", "Yes", "Override"};

// NMEA 2000 device types (DevFuncHost ... DevFuncConv), "Device Type".
inline constexpr std::array<std::string_view, 34> kDeviceTypeItems = {
    "NMEA 0183 Gateway",
    "PC Gateway",
    "AIS",
    "AIS (< V2)",
    "Autopilot",
    "Depth",
    "Depth & Speed",
    "Display/User Interface/Plotter",
    "DSC (< V2)",
    "ECDIS ( < V2)",
    "ECS (< V2)",
    "EPIRB",
    "EPIRB (< V2)",
    "General Purpose Display (< V2)",
    "Heading (< V2)",
    "Ownship Attitude",
    "Integrated Instruments (< V2)",
    "Integrated Navigation (< V2)",
    "Integrated Navigation System",
    "Man Overboard",
    "MF/HF Radio (< V2)",
    "Ownship Position (GNSS)",
    "Ownship Position (Loran C)",
    "Radar",
    "Rudder",
    "Satellite Communications",
    "Speed",
    "Turn Rate (< V2)",
    "VHF Radio with DSC",
    "Voyage Data Recorder",
    "Voyage Data Recorder (< V2)",
    "Water Temperature",
    "Weather Instrument (< V2)",
    "Wind/Pressure/Humidity",
};

// Modbus mode (ModbusMode), "Modbus:".
inline constexpr std::array<std::string_view, 3> kModbusModeItems = {"Off", "Master", "Slave"};
inline constexpr unsigned kModbusOff = 0;
inline constexpr unsigned kModbusMaster = 1;
inline constexpr unsigned kModbusSlave = 2;
// The multiplexer's own Modbus slave address (ModbusSlvAddr).
inline constexpr unsigned kMinModbusSlave = 1;
inline constexpr unsigned kMaxModbusSlave = 247;

// Data sources of the rotating mast wind sensor: the rows (source numbers 0-2) and
// the selector items; item n stands for the type character of the same text, item 0
// for no source.
inline constexpr std::array<std::string_view, 3> kDataSourceCaptions = {
    "Main Heading:", "Rot. Hdng/Mast:", "Rotating Wind:"};
inline constexpr std::array<std::string_view, 6> kDataSourceItems = {"--", "1", "2", "3", "4", "N"};

// Two-item selectors of one option bit each: item 1 selected = bit set.
inline constexpr std::array<std::string_view, 2> kAttitudeItems = {"XDR", "PFEC"};   // kN2kAttitudePFEC
inline constexpr std::array<std::string_view, 2> kDepthItems = {"DPT", "DBT"};       // kN2kDepthDBT
inline constexpr std::array<std::string_view, 2> kTrueHeadingItems = {"HDT", "THS"}; // kN2kTrueHeadingTHS
inline constexpr std::array<std::string_view, 2> kTrueWindItems = {"STW", "SOG"};    // kOptTrueWindSOG
inline constexpr std::array<std::string_view, 2> kModeFilterItems = {"Default", "Block"}; // kOptModeFilter

} // namespace kvl
