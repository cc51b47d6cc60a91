#include "TrafficProfile.h"

#include <array>

namespace kvl::sim {

namespace {

constexpr unsigned kRotationSlots = 10;

// Slots of TrafficGenerator: 0 RMC, 1 apparent MWV, 2 DPT, 3 HDG (NMEA 2000),
// 4 GGA, 5 AIS, 6 HDT (conversion), 7 DBT, 8 true MWV (NMEA 2000), 9 VHW (NMEA 2000).
constexpr std::array<unsigned, 20> kLivelyCycle{0, 1, 2, 5, 1, 3, 7, 8, 1, 4, 2, 9, 1, 6, 5, 7, 1, 8, 2, 9};

} // namespace

unsigned ProfileSlot(TrafficProfile profile, std::uint64_t position) {
    if (profile == TrafficProfile::Lively)
        return kLivelyCycle[position % kLivelyCycle.size()];
    return static_cast<unsigned>(position % kRotationSlots);
}

std::optional<TrafficProfile> ProfileNamed(const std::string& name) {
    if (name == "rotation")
        return TrafficProfile::Rotation;
    if (name == "lively")
        return TrafficProfile::Lively;
    return std::nullopt;
}

} // namespace kvl::sim
