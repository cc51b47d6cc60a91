// Helpers of the link tests: waiting with event processing, a pseudo-terminal
// pair, and loopback TCP and UDP peers.
#pragma once

#include "link/Comms.h"
#include "link/FileDescriptor.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kvl::test {

using namespace std::chrono_literals;

// Generous: the machine may be loaded.
inline constexpr std::chrono::milliseconds kWait = 5000ms;

// Polls condition, processing Qt events in between, until it holds or timeout passes.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = kWait);

// Waits until the link's queue holds count lines and takes every queued line.
std::vector<std::string> WaitForLines(TComm& comm, std::size_t count,
                                      std::chrono::milliseconds timeout = kWait);

// Threads of this process.
std::size_t ThreadCount();

std::string Bytes(std::initializer_list<std::uint8_t> bytes);

// Reads exactly count bytes (or fewer when the time runs out).
std::string ReadBytes(int fd, std::size_t count, std::chrono::milliseconds timeout = kWait);

// Reads what arrives until nothing more comes for quiet (or timeout).
std::string ReadUntilQuiet(int fd, std::chrono::milliseconds quiet,
                           std::chrono::milliseconds timeout = kWait);

void WriteAll(int fd, const std::string& bytes);

// A pseudo-terminal pair: the link opens the slave, the test plays the device on the master.
class TPtyPair {
public:
    TPtyPair();
    int Master() const { return MasterFd.Get(); }
    const std::string& SlavePath() const { return Path; }

private:
    TFileDescriptor MasterFd;
    std::string Path;
};

// A listener on 127.0.0.1 with a port chosen by the system, accepting one peer.
class TTcpPeer {
public:
    TTcpPeer();
    int Port() const { return ListenPort; }
    std::string Resource() const { return "127.0.0.1:" + std::to_string(ListenPort); }
    bool Accept(std::chrono::milliseconds timeout = kWait);
    int Client() const { return ClientFd.Get(); }
    void CloseClient() { ClientFd.Close(); }

private:
    TFileDescriptor Listener;
    TFileDescriptor ClientFd;
    int ListenPort = 0;
};

// A loopback TCP port with nothing listening on it.
int ClosedTcpPort();

// A UDP socket bound to address:port (port 0: chosen by the system).
class TUdpPeer {
public:
    TUdpPeer(const std::string& address, int port, bool reuse);
    int Port() const { return BoundPort; }
    void SendTo(const std::string& address, int port, const std::string& bytes);
    // One datagram, or empty when none arrives in time.
    std::string Receive(std::chrono::milliseconds timeout = kWait);

private:
    TFileDescriptor Socket;
    int BoundPort = 0;
};

// A UDP port that was free a moment ago.
int FreeUdpPort();

} // namespace kvl::test
