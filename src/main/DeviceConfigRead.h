// Reads the configuration of the multiplexer at the other end of an open link
// without the window: sends the version request and the configuration request,
// nothing else, and decodes the dump until "$PQZXRDY".
#pragma once

#include "link/Comms.h"
#include "model/MuxConfig.h"

#include <cstdint>
#include <stdexcept>

namespace kvl {

// The read failed; the message says why, in the window's words.
class EDeviceRead : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The multiplexer answers the version request within 4000 ms, as the window
// expects; during the dump the same time may pass between two of its reports.
inline constexpr int kDeviceReadQuietMs = 4000;

// Fills config (which should be new) and returns the capability word. Runs the
// event loop meanwhile (UDP datagrams arrive through it). Throws EDeviceRead.
std::uint16_t ReadDeviceConfiguration(TComm& link, TMuxConfig& config, int quietMs = kDeviceReadQuietMs);

} // namespace kvl
