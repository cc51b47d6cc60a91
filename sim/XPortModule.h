// A simulated XPort module on loopback, running on its own thread: it hears
// searches and set-IP datagrams on a loopback broadcast address (127.255.255.255),
// answers from its own loopback address, and serves the configuration exchanges
// over TCP at that address. Loopback only: it refuses any other address.
//
//   kvl::sim::XPortModuleOptions options;
//   options.address = "127.0.0.5";
//   options.port = 0;                       // a free port; tests run in parallel
//   kvl::sim::XPortModule module(options);
//   module.Start();                         // throws std::runtime_error when a socket cannot open
//   search 127.255.255.255:module.Port(), connect to module.Address():module.Port() ...
//
// Start(), Stop() and the destructor belong to the owning thread; the readers may
// be called from any thread while the module runs.
#pragma once

#include "XPortDevice.h"

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace kvl::sim {

class XPortModule {
public:
    explicit XPortModule(XPortModuleOptions options);
    ~XPortModule();
    XPortModule(const XPortModule&) = delete;
    XPortModule& operator=(const XPortModule&) = delete;

    void Start();
    void Stop();

    std::string Address() const; // where it answers now (it moves when given a new address)
    std::uint16_t Port() const;
    // "xport 127.0.0.5:30718 mac 00-20-4A-5E-11-07 search 127.255.255.255"
    std::string ReadyText() const;

    XPortPacket Setup() const;
    XPortPacket Extended() const;
    std::vector<XPortPacket> Received() const;
    int Resets() const;
    // Waits until the module answers at address (it has moved there and finished restarting).
    bool WaitForAddress(const std::string& address, std::chrono::milliseconds timeout) const;

private:
    struct Running;
    void Run();

    XPortModuleOptions Options;
    std::unique_ptr<Running> Active;
};

} // namespace kvl::sim
