// Bit numbers of the multiplexer's option words and default-route words, for
// SetBit/TestBit. Bits without a name here are the multiplexer's own and are sent
// back exactly as read.
#pragma once

namespace kvl {

// Options ("$PQZXOP").
inline constexpr unsigned kOptModeFilter = 0; // routing "No Match:": 1 = "Block", 0 = "Default"
inline constexpr unsigned kOptSeaTalkIn1 = 1; // input 1 runs in mode 6 or 7; follows the input mode
inline constexpr unsigned kOptRawST = 2;
inline constexpr unsigned kOptPrioGPSStatus = 3;
inline constexpr unsigned kOptNoPinning = 4;
inline constexpr unsigned kOptTagBlocks = 5;
inline constexpr unsigned kOptNmeaV15 = 6;
inline constexpr unsigned kOptAISMobAlarm = 9; // input 4 becomes the alarm mute input
inline constexpr unsigned kOptStDepthM = 10;
inline constexpr unsigned kOptNoDiv = 11;
inline constexpr unsigned kOptAIStoGNSS = 12;
inline constexpr unsigned kOptModbusError = 14;
inline constexpr unsigned kOptTrueWindSOG = 15; // true wind from 1 = "SOG", 0 = "STW"
inline constexpr unsigned kOptIntVariation = 16;
inline constexpr unsigned kOptHiSpeed = 17;
inline constexpr unsigned kOptAutoReverse = 18;

// Conversions ("$PQZXCNV").
inline constexpr unsigned kCnvHDGConv = 0;
inline constexpr unsigned kCnvRevHdng = 1;
inline constexpr unsigned kCnvCOGtoHDT = 2;
inline constexpr unsigned kCnvVWRtoMWV = 3;
inline constexpr unsigned kCnvReltoTheorWind = 4;
inline constexpr unsigned kCnvWindDir = 5;
inline constexpr unsigned kCnvRevWind = 6;
inline constexpr unsigned kCnvVTGConv = 7;
inline constexpr unsigned kCnvVHWConv = 8;
inline constexpr unsigned kCnvRevSpeed = 9;
inline constexpr unsigned kCnvHDGInVHW = 10;
inline constexpr unsigned kCnvHDTtoTHS = 11;
inline constexpr unsigned kCnvTLLtoWPL = 12;

// N2kOptions ("$PQZXNO"): bits 0-16 "NMEA 0183 from...", 17 a conversion,
// 30 and 31 "Generate $QJPGN".
inline constexpr unsigned kN2kTxRMC = 0;
inline constexpr unsigned kN2kTxGGA = 1;
inline constexpr unsigned kN2kTxGLL = 2;
inline constexpr unsigned kN2kTxVTG = 3;
inline constexpr unsigned kN2kTxGSx = 4;
inline constexpr unsigned kN2kTxRMB = 5;
inline constexpr unsigned kN2kTxAPB = 6;
inline constexpr unsigned kN2kTxXTE = 7;
inline constexpr unsigned kN2kTxBWX = 8;
inline constexpr unsigned kN2kTxZDA = 9;
inline constexpr unsigned kN2kDepthDBT = 10; // depth as 1 = "DBT", 0 = "DPT"
inline constexpr unsigned kN2kGNSS10Hz = 11;
inline constexpr unsigned kN2kAttitudePFEC = 12; // attitude as 1 = "PFEC", 0 = "XDR"
inline constexpr unsigned kN2kTxZTG = 13;
inline constexpr unsigned kN2kSpeed10Hz = 14;
inline constexpr unsigned kN2kTxMDA = 15;
inline constexpr unsigned kN2kTrueHeadingTHS = 16; // true heading as 1 = "THS", 0 = "HDT"
inline constexpr unsigned kN2kCnvTLLtoPGN130074 = 17;
inline constexpr unsigned kN2kConvUnknownPGNs = 30;
inline constexpr unsigned kN2kConvAllPGNs = 31;

// Default-route words DefRouteOut1 and DefRouteOut2 ("$PQZXDR"). Bits 5 and 6 are
// never set by the tool.
inline constexpr unsigned kDefRouteIn1 = 0;
inline constexpr unsigned kDefRouteIn2 = 1;
inline constexpr unsigned kDefRouteIn3 = 2;
inline constexpr unsigned kDefRouteIn4 = 3;
inline constexpr unsigned kDefRouteConv = 4;
inline constexpr unsigned kDefRouteN2K = 7;

} // namespace kvl
