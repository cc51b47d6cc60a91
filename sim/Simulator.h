// kvl3sim in-process: a simulated Korvelan-3 multiplexer on one host link (TCP on
// 127.0.0.1, a pseudo-terminal or UDP on loopback), running on its own thread.
//
//   kvl::sim::SimOptions options;
//   options.tcpPort = 0;                         // a free port; tests run in parallel
//   kvl::sim::Simulator sim(options);
//   sim.Start();                                 // throws std::runtime_error when the link cannot open
//   connect to 127.0.0.1:sim.TcpPort() ...
//   auto line = sim.WaitForReceived([](const std::string& l) { return l.starts_with("$PQZXVER"); },
//                                   std::chrono::seconds(5));
//   sim.Stop();                                  // also done by the destructor
//
// The device answers "$PQZXVER", "$PQZXCFQ" and every configuration command
// with checksummed lines ending in CR LF, ignores lines with a wrong or missing
// checksum, and sends NMEA traffic at options.trafficRate lines per second.
//
// Start(), Stop() and the destructor belong to the thread that owns the object;
// every other member may be called from any thread while the device runs.
#pragma once

#include "DeviceConfig.h"
#include "MemoryReadout.h"
#include "SimOptions.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kvl::sim {

class ReceivedLog;

class Simulator {
public:
    explicit Simulator(SimOptions options);
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // Opens the host link and starts the device's thread. Throws std::runtime_error
    // (with the reason) when the link cannot be opened; calling it twice throws too.
    void Start();
    // Stops the thread and closes the link (removing the pty's symbolic link).
    // Safe to call more than once.
    void Stop();
    bool IsRunning() const;

    // What the link listens on, as in the ready line: "tcp 127.0.0.1:40123",
    // "pty /tmp/x -> /dev/pts/5", "udp 127.0.0.2:10110". Empty before Start().
    std::string ReadyText() const;
    std::uint16_t TcpPort() const;    // the bound TCP port; 0 for other links
    std::uint16_t UdpPort() const;    // the bound UDP port; 0 for other links
    std::string PtySlavePath() const; // "/dev/pts/N"; empty for other links

    // Lines received from the host, exactly as framed (without CR LF), numbered
    // from 0 for the life of this object (they stay readable after Stop()).
    std::size_t ReceivedCount() const;
    std::vector<std::string> ReceivedLines() const;
    // The first received line numbered `from` or later for which match is true,
    // waiting up to timeout; nullopt on time-out. match runs under a lock: it must
    // not call back into the simulator.
    std::optional<std::string> WaitForReceived(const std::function<bool(const std::string&)>& match,
                                               std::chrono::milliseconds timeout, std::size_t from = 0) const;

    // A copy of the device's current settings.
    DeviceConfig Config() const;
    // The devices on the NMEA 2000 bus as they are now (addresses and NAMEs change
    // with the host's NC and NI commands).
    std::vector<N2kDevice> BusDevices() const;

    // Sends bytes to the host exactly as given (use FrameSentence from
    // SentenceFrame.h for a checksummed line). Ignored while not running.
    void SendToHost(std::string bytes);

    // The bootloader: the checksum it last computed over its flash, and the
    // number of updates after which the firmware restarted.
    std::optional<std::uint32_t> BootChecksum() const;
    unsigned CompletedUpdates() const;
    // Sends a memory read-out of these bytes as from address ("$PQZXMEM" and
    // "$PQZXBIN" sentences of blockBytes bytes each).
    void SendMemoryReadout(std::uint32_t address, const std::vector<std::uint8_t>& bytes,
                           std::size_t blockBytes = 48, ReadoutFault fault = {});

private:
    struct Running;
    void Run();

    SimOptions Options;
    std::unique_ptr<ReceivedLog> Received;
    std::unique_ptr<Running> Active;
};

} // namespace kvl::sim
