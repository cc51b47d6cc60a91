// How a simulated multiplexer is set up: its host link, its model and identity,
// its traffic and the faults it shows on purpose. Filled by the command line of
// kvl3sim or directly by tests.
#pragma once

#include "BootOptions.h"
#include "DeviceConfig.h"
#include "MemoryReadout.h"
#include "N2kBus.h"
#include "TrafficProfile.h"
#include "XPortDevice.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace kvl::sim {

// InProcess: the host is in the same process and shares hostPipe with the device.
enum class TransportKind { Tcp, Pty, Udp, InProcess };

class HostPipe;

struct SimOptions {
    TransportKind transport = TransportKind::Tcp;
    std::uint16_t tcpPort = 10110;      // 0: a free port (see Simulator::TcpPort)
    std::string ptyLink;                // symbolic link made to the pseudo-terminal's slave side
    unsigned ptyBaud = 460800;          // the pty's bytes pass at this line rate (8N1); 0 unpaced
    std::uint16_t udpPort = 10110;      // 0: a free port
    std::string udpBind = "127.0.0.2";  // the device's own loopback address
    std::shared_ptr<HostPipe> hostPipe; // InProcess: the bytes between host and device

    DeviceIdentity identity;    // VER answer: version, device name, serial, capability text
    std::string uid = "KV3SIM"; // the factory unique ID (TAG block source name)
    // The settings to start with instead of the factory settings; "$PQZXRESET,1"
    // still restores the factory settings.
    std::optional<DeviceConfig> initialConfig;
    // The devices on the NMEA 2000 bus (models with NMEA 2000 only); none by default.
    std::vector<N2kDevice> n2kBus;
    bool fullTables = false; // start with all three tables full (SampleTables.h)
    // Report as some firmware does (QuirkyReports.h): an unset data source as "-",
    // the Modbus mode without the slave address, a transducer ID with a blank.
    bool quirkyReports = false;

    double trafficRate = 5;                                   // NMEA lines per second, 0 for none
    TrafficProfile trafficProfile = TrafficProfile::Rotation; // the order of the sentences
    unsigned overflowEveryMs = 0;                             // send "$PQZXOV" every so many ms, 0 never

    // Faults.
    std::set<std::string> silent; // commands left unanswered: "VER", "CFQ", "SP", ...; "RDY" drops every RDY
    std::size_t closeAfter = 0;   // TCP: close each connection after that many lines sent, 0 never
    bool badChecksum = false;     // the device's own sentences carry a wrong checksum

    BootOptions boot;          // the bootloader behind "$PQZXRESET"
    ReadoutFault readoutFault; // how the memory read-outs asked for with "$PSIMMEM" go wrong

    // Called on the simulator's thread with every line received from the host.
    std::function<void(const std::string&)> onReceived;
};

struct CommandLine {
    SimOptions options;
    bool help = false;
    bool echo = false;                       // print every received line to stdout
    std::optional<XPortModuleOptions> xport; // a simulated XPort module beside the multiplexer
    std::string error;                       // not empty when the command line is wrong
};

// args: the arguments after the program name.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// The --help text: every option with its default.
std::string UsageText();

} // namespace kvl::sim
