// Shared set-up of the simulator tests: a quiet device on a free TCP port and a
// host connected to it.
#pragma once

#include "Simulator.h"
#include "WireClient.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace simtest {

// No traffic, a free port: only what the test provokes arrives.
inline kvl::sim::SimOptions Quiet() {
    kvl::sim::SimOptions options;
    options.tcpPort = 0;
    options.udpPort = 0;
    options.trafficRate = 0;
    return options;
}

// The factory dump of a default device, as sentences without checksum.
inline std::vector<std::string> FactoryDump() {
    return {"$PQZXCF,R,3,3",
            "$PQZXSP,R,0,0,0,3,0",
            "$PQZXID,R,,,,,",
            "$PQZXUI,R,KV3SIM",
            "$PQZXDR,R,9F,1,1F,0",
            "$PQZXIN,R,0,0,0,0",
            "$PQZXPR,R,0,0,0,0,0",
            "$PQZXOP,R,00000008",
            "$PQZXCNV,R,00000000",
            "$PQZXNO,R,0000020F",
            "$PQZXNF,R,1,0,0,0,2,0",
            "$PQZXNA,R,34,35,36,37,38,39",
            "$PQZXND,R,0,0,0,0,0,0",
            "$PQZXDS,R,0,0",
            "$PQZXDS,R,1,0",
            "$PQZXDS,R,2,0",
            "$PQZXMB,R,M,0,1",
            "$PQZXMB,R,R,100,10",
            "$PQZXRDY"};
}

// Sentences as they must arrive: each with its checksum, CR LF removed.
inline std::vector<std::string> AllOnWire(const std::vector<std::string>& bodies) {
    std::vector<std::string> lines;
    for (const auto& body : bodies)
        lines.push_back(body + "*" + Checksum(body));
    return lines;
}

inline std::string OnWire(const std::string& body) {
    return body + "*" + Checksum(body);
}

// A running device with a host on TCP. With NMEA 2000 the host first takes the
// NA and ND reports the device sends on every new connection, so that later
// lines are only answers.
class TcpDevice {
public:
    explicit TcpDevice(kvl::sim::SimOptions options = Quiet())
        : N2K(options.identity.HasN2K()), Sim(std::move(options)) {
        Sim.Start();
        Host = WireClient::Tcp(Sim.TcpPort());
        if (N2K)
            Settled = Host->WaitForPrefix("$PQZXND,R").has_value();
    }

    // Sends body and returns the first "$PQZX" line after it that is not
    // "$PQZXRDY" (nullopt when none comes in time).
    std::optional<std::string> Ask(const std::string& body) {
        Host->Send(body);
        return Host->WaitFor([](const std::string& l) { return StartsWith(l, "$PQZX"); });
    }

    // True when body is left unanswered: a unique UI probe sent after it is
    // answered first.
    bool Unanswered(const std::string& body) {
        static int probe = 0;
        const std::string uid = "PROBE" + std::to_string(++probe);
        Host->Send(body);
        Host->Send("$PQZXUI,C," + uid);
        const auto first = Host->WaitFor([](const std::string& l) { return StartsWith(l, "$PQZX"); });
        return first == OnWire("$PQZXUI,R," + uid);
    }

    const bool N2K;
    kvl::sim::Simulator Sim;
    std::unique_ptr<WireClient> Host;
    bool Settled = false; // the NA and ND reports of the connection have come
};

} // namespace simtest
