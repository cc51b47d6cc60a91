// The one host link of the simulated multiplexer (TCP, pseudo-terminal or UDP),
// driven by the simulator's poll loop.
#pragma once

#include <poll.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>

#include <string>
#include <string_view>
#include <vector>

namespace kvl::sim {

// Answers go to whoever asked (matters for UDP); traffic gives way first when
// the host does not read fast enough.
enum class LineKind { Answer, Report, Traffic };

class TransportEvents {
public:
    virtual ~TransportEvents() = default;
    // One line from the host, without CR LF, as the line framing cut it.
    virtual void OnLine(const std::string& line) = 0;
    // A host has just come (a TCP connection, an open of the serial port).
    virtual void OnPeerConnected() = 0;
    // While the bootloader runs the device reads raw bytes instead of lines.
    virtual bool TakesBytes() const { return false; }
    virtual void OnBytes(const std::uint8_t* /*data*/, std::size_t /*size*/) {}
};

class Transport {
public:
    virtual ~Transport() = default;

    // What the link listens on, e.g. "tcp 127.0.0.1:40123".
    virtual std::string Describe() const = 0;
    // True while a host can receive (always for the serial port and UDP).
    virtual bool Connected() const = 0;

    // Appends a fixed number of entries for this transport to the poll set, and
    // later handles the same entries (starting at fds) after poll returned.
    virtual void AppendPollFds(std::vector<pollfd>& fds) const = 0;
    virtual void HandlePoll(const pollfd* fds, TransportEvents& events) = 0;

    // Sends one complete line (CR LF included). Silently dropped without a host.
    virtual void Send(std::string_view line, LineKind kind) = 0;

    // Ends the host's connection where the link has one (TCP); a fault.
    virtual void DropPeer() {}

    // A link that paces its bytes: when the poll loop must come back to move the
    // next ones (nothing when it waits only for its descriptors).
    virtual std::optional<std::chrono::steady_clock::time_point> NextDue() const { return std::nullopt; }
};

} // namespace kvl::sim
