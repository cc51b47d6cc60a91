// The order in which the traffic generator's sentences come. "rotation" sends
// each of its ten sentences in turn; "lively" follows a one-second cycle of 20
// lines as a boat's instruments send them (position and heading once a second,
// apparent wind five times, depth three times, true wind, speed through the
// water and AIS twice), which is plausible at 20 lines per second.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kvl::sim {

enum class TrafficProfile { Rotation, Lively };

// The generator's slot (0..9) for the line at position of the profile's cycle.
unsigned ProfileSlot(TrafficProfile profile, std::uint64_t position);

// "rotation" or "lively".
std::optional<TrafficProfile> ProfileNamed(const std::string& name);

} // namespace kvl::sim
