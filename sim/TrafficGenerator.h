// The ordinary NMEA traffic the multiplexer forwards to its host: position, wind,
// depth, heading and AIS from its inputs, sentences of its conversions and data
// from the NMEA 2000 bus, each with a TAG block when the option word asks for one.
#pragma once

#include "DeviceConfig.h"
#include "TrafficProfile.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

namespace kvl::sim {

class TrafficGenerator {
public:
    // The next line in the device's rotation, CR LF included. NMEA 2000 data only
    // comes from models with the interface.
    std::string NextLine(const DeviceConfig& config, bool hasN2K);

    std::uint64_t LinesMade() const { return Count; }
    void SetProfile(TrafficProfile profile) { Profile = profile; }

private:
    enum class Origin : std::uint8_t { Input, N2K };
    struct Piece {
        Origin origin;
        unsigned source; // input 1..4, 5 conversions; or the NMEA 2000 source address
        bool decimalTag; // NMEA 2000 address written with "=" instead of "#"
        std::string body;
    };

    Piece MakePiece(unsigned slot);
    static std::string SourceTag(const Piece& piece, const std::string& uid);
    static void ApplyTalker(std::string& body, const DeviceConfig& config, const Piece& piece);

    std::uint64_t Count = 0;
    std::uint64_t Slot = 0;  // position in the profile's cycle
    std::size_t AisTurn = 0; // AIS reports take turns whatever the rotation skips
    TrafficProfile Profile = TrafficProfile::Rotation;
};

// Spreads a rate in lines per second over time, without drifting and without
// bursting after the loop was held up.
class TrafficPacer {
public:
    using Clock = std::chrono::steady_clock;

    TrafficPacer(double linesPerSecond, Clock::time_point start);

    // Lines that became due up to now, at most a quarter second's worth.
    std::size_t Due(Clock::time_point now);
    // When the next line becomes due (far away when the rate is 0).
    Clock::time_point NextDue() const;

private:
    double Rate;
    Clock::time_point Start;
    std::uint64_t Emitted = 0;
};

} // namespace kvl::sim
