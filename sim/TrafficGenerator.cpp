#include "TrafficGenerator.h"

#include "SentenceFrame.h"
#include "SimFields.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace kvl::sim {

namespace {

// NMEA 2000 devices on the bus; the multiplexer's own addresses (34 to 39 at the
// factory) are kept clear of them.
constexpr unsigned kN2kDecimalSource = 66;

// Plausible AIS position reports (type 1 and 3, 168 bits each).
constexpr std::array<const char*, 4> kAisPayloads{
    "13u?etPv2;0n:dDPwUM1U1Cb069D", "15MgK45P3@G?fl0E`JbR0OwT0@MS", "33aEP6hP00PD2wVMdLDRhgvL289?",
    "14eG;o@034o8sd<L9i:a;WF>062D"};

std::string Fixed(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string Padded(double value, int width, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%0*.*f", width, decimals, value);
    return text;
}

struct UtcNow {
    std::string time; // hhmmss.00
    std::string date; // ddmmyy
};

UtcNow Utc() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    gmtime_r(&now, &parts);
    char time[48];
    char date[48];
    std::snprintf(time, sizeof time, "%02d%02d%02d.00", parts.tm_hour, parts.tm_min, parts.tm_sec);
    std::snprintf(date, sizeof date, "%02d%02d%02d", parts.tm_mday, parts.tm_mon + 1, parts.tm_year % 100);
    return {time, date};
}

// The boat sails slowly east-north-east off the coast; the numbers only need to look alive.
struct Boat {
    explicit Boat(std::uint64_t step) {
        const double t = static_cast<double>(step);
        latMinutes = 30.1234 + std::fmod(t * 0.0003, 20.0);
        lonMinutes = 12.3456 + std::fmod(t * 0.0007, 40.0);
        heading = std::fmod(72.0 + 4.0 * std::sin(t / 50.0) + 360.0, 360.0);
        speed = 5.2 + 0.4 * std::sin(t / 30.0);
        windAngle = std::fmod(45.0 + 10.0 * std::sin(t / 20.0) + 360.0, 360.0);
        windSpeed = 12.4 + 2.0 * std::sin(t / 15.0);
        depth = 12.3 + 1.5 * std::sin(t / 40.0);
    }
    double latMinutes, lonMinutes, heading, speed, windAngle, windSpeed, depth;
};

std::string Position(const Boat& boat) {
    return "54" + Padded(boat.latMinutes, 7, 4) + ",N,010" + Padded(boat.lonMinutes, 7, 4) + ",E";
}

} // namespace

std::string TrafficGenerator::NextLine(const DeviceConfig& config, bool hasN2K) {
    Piece piece = MakePiece(ProfileSlot(Profile, Slot++));
    while (piece.origin == Origin::N2K && !hasN2K)
        piece = MakePiece(ProfileSlot(Profile, Slot++));
    ++Count;
    ApplyTalker(piece.body, config, piece);
    std::string line;
    if ((config.options & kOptionTagBlocks) != 0)
        line = TagBlock(SourceTag(piece, config.uid));
    line += FrameSentence(piece.body);
    return line;
}

TrafficGenerator::Piece TrafficGenerator::MakePiece(unsigned slot) {
    const Boat boat(Count);
    const UtcNow utc = Utc();
    switch (slot) {
    case 0:
        return {Origin::Input, 1, false,
                "$GPRMC," + utc.time + ",A," + Position(boat) + "," + Fixed(boat.speed, 1) + "," +
                    Fixed(boat.heading, 1) + "," + utc.date + ",2.1,E,A"};
    case 1:
        return {Origin::Input, 2, false,
                "$WIMWV," + Padded(boat.windAngle, 5, 1) + ",R," + Fixed(boat.windSpeed, 1) + ",N,A"};
    case 2:
        return {Origin::Input, 3, false, "$SDDPT," + Fixed(boat.depth, 1) + ",0.5"};
    case 3:
        return {Origin::N2K, 0x0B, false, "$IIHDG," + Fixed(boat.heading - 2.1, 1) + ",,,2.1,E"};
    case 4:
        return {Origin::Input, 1, false,
                "$GPGGA," + utc.time + "," + Position(boat) + ",1,08,0.9,12.3,M,41.2,M,,"};
    case 5:
        return {Origin::Input, 4, false,
                std::string("!AIVDM,1,1,,A,") + kAisPayloads[AisTurn++ % kAisPayloads.size()] + ",0"};
    case 6:
        return {Origin::Input, 5, false, "$IIHDT," + Fixed(boat.heading, 1) + ",T"};
    case 7:
        return {Origin::Input, 3, false,
                "$SDDBT," + Fixed(boat.depth * 3.2808, 1) + ",f," + Fixed(boat.depth, 1) + ",M," +
                    Fixed(boat.depth * 0.5468, 1) + ",F"};
    case 8:
        return {Origin::N2K, kN2kDecimalSource, true,
                "$IIMWV," + Padded(std::fmod(boat.windAngle + 12.0, 360.0), 5, 1) + ",T," +
                    Fixed(boat.windSpeed - 1.3, 1) + ",N,A"};
    default:
        return {Origin::N2K, kN2kDecimalSource, true,
                "$IIVHW," + Fixed(boat.heading, 1) + ",T," + Fixed(boat.heading - 2.1, 1) + ",M," +
                    Fixed(boat.speed, 1) + ",N," + Fixed(boat.speed * 1.852, 1) + ",K"};
    }
}

std::string TrafficGenerator::SourceTag(const Piece& piece, const std::string& uid) {
    std::string tag = "s:" + uid;
    if (piece.origin == Origin::Input)
        return tag + "-" + std::to_string(piece.source);
    if (piece.decimalTag)
        return tag + "=" + std::to_string(piece.source);
    return tag + "#" + WriteHex(piece.source, 2);
}

void TrafficGenerator::ApplyTalker(std::string& body, const DeviceConfig& config, const Piece& piece) {
    // The multiplexer replaces the talker of NMEA 0183 sentences from an input
    // or its conversions when a talker ID is set for it.
    if (piece.origin != Origin::Input || body.size() < 3 || body[0] != '$')
        return;
    const std::string& id = config.talkerId.at(piece.source - 1);
    if (id.size() == 2)
        body.replace(1, 2, id);
}

TrafficPacer::TrafficPacer(double linesPerSecond, Clock::time_point start)
    : Rate(linesPerSecond > 0 ? linesPerSecond : 0), Start(start) {}

std::size_t TrafficPacer::Due(Clock::time_point now) {
    if (Rate <= 0 || now < Start)
        return 0;
    const double elapsed = std::chrono::duration<double>(now - Start).count();
    const auto target = static_cast<std::uint64_t>(elapsed * Rate);
    if (target <= Emitted)
        return 0;
    const auto backlogLimit = static_cast<std::uint64_t>(Rate / 4) + 1;
    if (target - Emitted > backlogLimit)
        Emitted = target - backlogLimit;
    const auto due = static_cast<std::size_t>(target - Emitted);
    Emitted = target;
    return due;
}

TrafficPacer::Clock::time_point TrafficPacer::NextDue() const {
    if (Rate <= 0)
        return Clock::time_point::max();
    const std::chrono::duration<double> offset(static_cast<double>(Emitted + 1) / Rate);
    return Start + std::chrono::duration_cast<Clock::duration>(offset);
}

} // namespace kvl::sim
