// The simulated multiplexer behind its host link: answers commands, keeps its
// clock (traffic, statistics, overflow and NMEA 2000 address reports) and sends
// everything through the transport. Runs on the simulator's thread; only
// Config() may be called from elsewhere.
#pragma once

#include "CommandHandler.h"
#include "DeviceState.h"
#include "ReportWriter.h"
#include "SimOptions.h"
#include "TrafficGenerator.h"
#include "Transport.h"

#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

namespace kvl::sim {

class DeviceEngine : public TransportEvents {
public:
    using Clock = std::chrono::steady_clock;

    DeviceEngine(const SimOptions& options, Transport& transport, Clock::time_point now);

    void OnLine(const std::string& line) override;
    void OnPeerConnected() override;

    // Does what is due at now; returns when something is due next.
    Clock::time_point Tick(Clock::time_point now);

    // Sends bytes to the host exactly as given.
    void SendRaw(std::string_view bytes);

    DeviceConfig Config() const;

private:
    void SendOwn(std::string_view body, LineKind kind);
    void SendReports(Clock::time_point now);
    LoadFigures Load() const;
    bool IsSilent(std::string_view name) const { return Options.silent.contains(std::string(name)); }

    const SimOptions& Options;
    Transport& Link;

    mutable std::mutex StateMutex; // guards State against Config() from other threads
    DeviceState State;
    CommandHandler Handler;

    TrafficGenerator Traffic;
    TrafficPacer Pacer;
    bool StatWasOn = false;
    Clock::time_point NextStat;
    Clock::time_point NextOverflow;
    unsigned OverflowTurn = 0;
    Clock::time_point N2kReportsAt = Clock::time_point::max();
    // The RDY that ends a table store, due once no entry has come for a while.
    Clock::time_point StoreEndAt = Clock::time_point::max();
    std::string StoreCommand;
};

} // namespace kvl::sim
