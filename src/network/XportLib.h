// TXPort: the tool's side of the XPort module's configuration protocol. UDP
// broadcasts find the modules and set an address by MAC; short TCP exchanges read
// and write the setup record and restore the factory network settings. Every
// exchange is synchronous and leaves the TCP connection closed.
#pragma once

#include "network/records/DiscoveryTargets.h"
#include "network/records/XPortRecords.h"

#include <QTcpSocket>
#include <QUdpSocket>

#include <string>
#include <vector>

namespace kvl {

// The waits of the exchanges. Process-wide so that tests can shorten them.
struct TXPortTiming {
    int ConnectTimeoutMs = 5000;
    int ReadTimeoutMs = 500;
    int PauseMs = 500; // between the steps of the factory restore
    // The waits the dialogs show in the progress window.
    int FactoryStepMs = 500;          // 21 positions after a factory restore
    int AssignStepMs = 200;           // 51 positions after a set-IP datagram
    int VerifyStepMs = 200;           // the first 24 steps after new settings
    int VerifyConnectTimeoutMs = 200; // each try to reach the module in the last 26 steps
};
TXPortTiming& XPortTiming();

// The broadcast addresses of this computer's up IPv4 interfaces, with 255.255.255.255 first.
std::vector<std::string> InterfaceBroadcastTargets();

class TXPort {
public:
    TXPort();
    TXPort(const TXPort&) = delete;
    TXPort& operator=(const TXPort&) = delete;

    // Searches the network; returns the number of modules found, listed in FoundList.
    int Discover();
    const std::vector<std::string>& FoundList() const { return Found; }

    bool GetSetup(const std::string& host, TXPortSetup0& record);
    bool SetSetup(const std::string& host, const TXPortSetup0& record, bool changeIP);
    bool RestoreDefaults(const std::string& host);
    // Broadcasts the set-IP datagram; no answer comes.
    void SendSetIP(const TXPortSetIP& setIP);
    // Whether the module at host accepts a connection within the connect time-out.
    bool TryConnect(const std::string& host);

    void SetConnectTimeout(int ms) { ConnectTimeoutMs = ms; }
    int ConnectTimeout() const { return ConnectTimeoutMs; }

    // Where the search and the set-IP datagram go, and the module's port.
    std::vector<std::string> Targets() const;
    std::uint16_t Port() const;

private:
    void Broadcast(const TXPortBytes& bytes);
    bool Connect(const std::string& host);
    bool Send(const TXPortBytes& bytes);
    // Exactly size bytes, gathered over as many reads as they take; empty on time-out.
    TXPortBytes ReadExactly(std::size_t size);
    // Sends and reads the answer of the given size; the answer's code must be expected.
    bool Exchange(const TXPortBytes& bytes, std::size_t answerSize, std::uint8_t expected,
                  TXPortBytes* answer = nullptr);
    void Disconnect();
    static void Pause(int ms);

    QUdpSocket UdpClient;
    QTcpSocket TcpClient;
    int ConnectTimeoutMs;
    std::vector<std::string> Found;
};

} // namespace kvl
