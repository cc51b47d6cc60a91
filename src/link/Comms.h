// TComm: the tool's one link to a multiplexer, over a serial port, UDP or TCP,
// or to a simulated multiplexer running inside the program (no port opened).
// It owns the receive thread of a serial or TCP link (joined on close, never
// detached), the line queue that thread fills, and the UDP receiver.
#pragma once

#include "link/CommError.h"
#include "link/FileDescriptor.h"
#include "link/FramingState.h"
#include "link/PacketFraming.h"
#include "link/PortList.h"

#include <QObject>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

namespace kvl {

enum class TCommMode { cmClosed, cmSerial, cmUDP, cmTCP, cmSim };

// A port text that is not a number from 1 to 65535 (shown like any conversion error).
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TRXThread;
class TUDPServer;
namespace sim {
class HostPipe;
class Simulator;
} // namespace sim

class TComm : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultPort = 10110;
    static constexpr std::size_t kQueueLimit = 10000; // lines; the oldest are dropped beyond

    // Speed table: index 0..8 -> 4800 .. 921600 baud; any other index gives 115200.
    static int BaudForIndex(int speedIndex);

    explicit TComm(QObject* parent = nullptr);
    ~TComm() override; // closes the link and joins the receive thread

    // Link names, parallel lists: "UDP All", "UDP", "TCP", then the serial ports
    // (device path in Ports, display name in FriendlyPorts). The simulated
    // multiplexer (cmSim) has no entry here: the window shows it after these.
    const std::vector<std::string>& Ports() const { return PortNames; }
    const std::vector<std::string>& FriendlyPorts() const { return FriendlyNames; }
    // Adds a serial entry by hand (pseudo-terminals are never enumerated).
    void AddSerialPort(const std::string& friendlyName, const std::string& portName);
    // Replaces the enumerated serial entries by the ports present now (sorted);
    // the network entries and the entries added by hand stay. True when the
    // lists changed.
    bool UpdateSerialPorts(const std::vector<TSerialPortEntry>& present);
    // errno of the last serial open that failed (EACCES: no permission).
    int SerialOpenError() const { return OpenError; }

    // Opens a link and returns the resulting mode (cmClosed on failure).
    // cmSerial: resource is the device path, option the speed index; failures
    // return cmClosed. cmUDP (option 0 "UDP All", 1 "UDP") and cmTCP: resource is
    // "host" or "host:port"; failures throw ECommError with the socket layer's
    // message, or EConvertError for a bad port text. cmSim: resource is the code
    // of a simulated model ("3N"); an unknown code throws ECommError.
    TCommMode OpenPort(TCommMode mode, const std::string& resource, int option);
    void ClosePort();
    TCommMode CommMode() const { return Mode; }

    // Completes one sentence ("*", two upper-case hex digits, CR LF unless the
    // text already holds a '*') and writes it. Writes nothing in link mode or on
    // a closed link. Network write failures throw ECommError.
    void SendNmea(const std::string& text);

    // Link mode (bootloader): packet framing instead of line framing.
    void EnterLinkMode();
    void ExitLinkMode();
    bool InLinkMode() const;
    void Send(const TPacket& packet); // one frame, one write; nothing on UDP
    TRxState Recv(TPacket& packet);   // waits up to 2000 ms for a packet

    // The line queue. The lock is held only to append or take one line. Each line
    // carries the time it was received (stamped by the receiving side, so that
    // intervals measured from it do not depend on when the window drains).
    using Clock = std::chrono::steady_clock;
    bool TakeLine(std::string& line);
    bool TakeLine(std::string& line, Clock::time_point& arrival);
    std::size_t QueuedLines() const;
    std::size_t DroppedLines() const { return Dropped.load(std::memory_order_relaxed); }
    void QueueLine(const std::string& line); // receive side (thread or UDP receiver): stamped now
    void QueueLine(const std::string& line, Clock::time_point arrival);

    int Port = kDefaultPort; // network port of the current link
    bool FilterUDP = false;  // "UDP": accept datagrams only from the host

private:
    void OpenSerial(const std::string& path, int speedIndex);
    void OpenUDP(const std::string& resource, int option);
    void OpenTCP(const std::string& resource);
    void OpenSim(const std::string& model);
    void Write(const std::uint8_t* data, std::size_t size);

    void RebuildPortLists();

    std::vector<TSerialPortEntry> Enumerated; // serial ports found on the computer
    std::vector<TSerialPortEntry> Added;      // serial entries added by hand, after them
    std::vector<std::string> PortNames;
    std::vector<std::string> FriendlyNames;
    int OpenError = 0;
    TCommMode Mode = TCommMode::cmClosed;
    mutable std::recursive_mutex QueueSection;
    struct TQueuedLine {
        std::string Text;
        Clock::time_point Arrival;
    };
    std::deque<TQueuedLine> Queue;
    std::atomic<std::size_t> Dropped{0};

    TFileDescriptor Handle;            // the serial port or the TCP socket
    std::unique_ptr<TRXThread> Thread; // reads Handle; joined before Handle closes
    std::unique_ptr<TUDPServer> UDPServer;
    std::shared_ptr<sim::HostPipe> SimPipe;    // the simulated link's bytes
    std::unique_ptr<sim::Simulator> SimDevice; // stopped after Thread is joined
};

} // namespace kvl
