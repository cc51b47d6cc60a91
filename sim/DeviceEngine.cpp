#include "DeviceEngine.h"

#include "QuirkyReports.h"
#include "SampleTables.h"
#include "SentenceFrame.h"
#include "TableCommands.h"

#include <algorithm>

namespace kvl::sim {

namespace {

using namespace std::chrono_literals;

// A device that has just met its host announces its NMEA 2000 addresses a little later.
constexpr auto kN2kReportDelay = 300ms;
constexpr auto kStatInterval = 1000ms;

DeviceState InitialState(const SimOptions& options) {
    DeviceState state;
    state.identity = options.identity;
    state.factory = FactoryConfig(options.uid);
    state.config = options.initialConfig.value_or(state.factory);
    state.wifi = WiFiAccessPoint::Factory(options.identity);
    state.bus = N2kBus(options.n2kBus);
    if (options.fullTables)
        FillSampleTables(state.config);
    if (options.quirkyReports)
        AddQuirkyEntry(state.config);
    return state;
}

} // namespace

DeviceEngine::DeviceEngine(const SimOptions& options, Transport& transport, Clock::time_point now)
    : Options(options), Link(transport), State(InitialState(options)), Handler(State), Boot(options.boot),
      Pacer(options.trafficRate, now), NextStat(now),
      NextOverflow(now + std::chrono::milliseconds(options.overflowEveryMs)) {
    Traffic.SetProfile(options.trafficProfile);
}

void DeviceEngine::OnLine(const std::string& line) {
    if (Options.onReceived)
        Options.onReceived(line);
    if (OnBootOrReadoutLine(line))
        return;
    CommandResult result;
    {
        std::lock_guard lock(StateMutex);
        result = Handler.Handle(line);
    }
    if (result.storeEntry) {
        StoreEndAt = Clock::now() + kStoreEndGap;
        StoreCommand = result.command;
    }
    if (result.factoryReset)
        N2kReportsAt = Clock::now() + kN2kReportDelay; // the addresses changed back
    if (IsSilent(result.command))
        return;
    for (const auto& answer : result.answers)
        SendOwn(Options.quirkyReports ? QuirkyReport(answer) : answer, LineKind::Answer);
    for (const auto& line : result.busLines)
        Link.Send(line, LineKind::Answer);
}

void DeviceEngine::OnPeerConnected() {
    N2kReportsAt = Clock::now() + kN2kReportDelay;
}

DeviceEngine::Clock::time_point DeviceEngine::Tick(Clock::time_point now) {
    Clock::time_point bootNext;
    if (TickBootloader(now, bootNext))
        return bootNext; // the bootloader sends no traffic and no reports
    const std::size_t due = Pacer.Due(now);
    if (due > 0) {
        std::lock_guard lock(StateMutex);
        const bool hasN2K = State.identity.HasN2K();
        for (std::size_t i = 0; i < due; ++i) {
            std::string line = Traffic.NextLine(State.config, hasN2K);
            if (Link.Connected())
                Link.Send(line, LineKind::Traffic);
        }
    }
    SendReports(now);
    Clock::time_point busNext;
    std::vector<std::string> busLines;
    {
        // Instance changes that a bus device takes only after a while.
        std::lock_guard lock(StateMutex);
        busLines = State.bus.TakeDue(now);
        busNext = State.bus.NextDue();
    }
    for (const auto& line : busLines)
        Link.Send(line, LineKind::Answer);
    if (now >= StoreEndAt) {
        StoreEndAt = Clock::time_point::max();
        if (!IsSilent(StoreCommand))
            SendOwn(kReady, LineKind::Answer);
    }
    Clock::time_point next = std::min(Pacer.NextDue(), StoreEndAt);
    if (StatWasOn)
        next = std::min(next, NextStat);
    if (Options.overflowEveryMs > 0)
        next = std::min(next, NextOverflow);
    return std::min({next, N2kReportsAt, busNext});
}

void DeviceEngine::SendReports(Clock::time_point now) {
    bool statOn = false;
    {
        std::lock_guard lock(StateMutex);
        statOn = State.statReports;
    }
    if (statOn && !StatWasOn)
        NextStat = now; // the first report right after the host asked
    StatWasOn = statOn;
    if (statOn && now >= NextStat) {
        if (!IsSilent("STAT"))
            SendOwn(StatReport(Load()), LineKind::Report);
        NextStat = std::max(NextStat + kStatInterval, now);
    }
    if (Options.overflowEveryMs > 0 && now >= NextOverflow) {
        OverflowTurn = OverflowTurn % 3 + 1;
        if (!IsSilent("OV"))
            SendOwn(OverflowReport(OverflowTurn), LineKind::Report);
        NextOverflow = std::max(NextOverflow + std::chrono::milliseconds(Options.overflowEveryMs), now);
    }
    if (now >= N2kReportsAt) {
        N2kReportsAt = Clock::time_point::max();
        std::string na;
        std::string nd;
        {
            std::lock_guard lock(StateMutex);
            if (!State.identity.HasN2K())
                return;
            na = ReportNA(State.config);
            nd = ReportND(State.config);
        }
        if (!IsSilent("NA"))
            SendOwn(na, LineKind::Report);
        if (!IsSilent("ND"))
            SendOwn(nd, LineKind::Report);
    }
}

LoadFigures DeviceEngine::Load() const {
    // Busier with more traffic; a little jitter from the traffic counter.
    const auto jitter = static_cast<unsigned>(Traffic.LinesMade() % 7);
    const double rate = std::min(Options.trafficRate, 600.0);
    LoadFigures load;
    load.processTime = 1800 + static_cast<unsigned>(rate * 12) + jitter * 40;
    load.dbUse = 23 + jitter;
    const bool hasN2K = State.identity.HasN2K();
    load.canRx = hasN2K ? 12 + jitter : 0;
    load.canTx = hasN2K ? 4 + jitter / 2 : 0;
    load.queueOut1 = static_cast<unsigned>(rate / 8) % 101;
    load.queueOut2 = jitter;
    return load;
}

void DeviceEngine::SendOwn(std::string_view body, LineKind kind) {
    if (body == kReady && IsSilent("RDY"))
        return;
    std::string line;
    {
        // With TAG blocks on, the device's own lines say they come from the device itself.
        std::lock_guard lock(StateMutex);
        if ((State.config.options & kOptionTagBlocks) != 0)
            line = TagBlock("s:" + State.config.uid + "-0");
    }
    line += FrameSentence(body, Options.badChecksum);
    Link.Send(line, kind);
}

void DeviceEngine::SendRaw(std::string_view bytes) {
    Link.Send(bytes, LineKind::Answer);
}

DeviceConfig DeviceEngine::Config() const {
    std::lock_guard lock(StateMutex);
    return State.config;
}

std::vector<N2kDevice> DeviceEngine::BusDevices() const {
    std::lock_guard lock(StateMutex);
    return State.bus.GetDevices();
}

} // namespace kvl::sim
