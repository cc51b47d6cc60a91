#include "Simulator.h"

#include "DeviceEngine.h"
#include "InProcessTransport.h"
#include "MemoryReadout.h"
#include "PtyTransport.h"
#include "ReceivedLog.h"
#include "SentenceFrame.h"
#include "SocketAddress.h"
#include "TcpTransport.h"
#include "UdpTransport.h"
#include "UniqueFd.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace kvl::sim {

// Everything that lives from Start() to Stop().
struct Simulator::Running {
    SimOptions options; // the engine's copy, whose callback also fills the received log
    std::unique_ptr<Transport> link;
    std::unique_ptr<DeviceEngine> engine;
    std::uint16_t tcpPort = 0;
    std::uint16_t udpPort = 0;
    std::string ptySlave;
    UniqueFd wakeRead;
    UniqueFd wakeWrite;
    std::atomic<bool> stop{false};
    std::atomic<bool> running{false};
    std::mutex outboxMutex;
    std::vector<std::string> outbox; // SendToHost, handed to the device's thread
    std::thread thread;
};

namespace {

int PollTimeout(DeviceEngine::Clock::time_point next) {
    using namespace std::chrono;
    const auto now = DeviceEngine::Clock::now();
    if (next <= now)
        return 0;
    const auto wait = duration_cast<milliseconds>(next - now) + milliseconds(1);
    return static_cast<int>(std::min<milliseconds::rep>(wait.count(), 1000));
}

void DrainWakePipe(int fd) {
    char buffer[64];
    while (::read(fd, buffer, sizeof buffer) > 0) {
    }
}

} // namespace

Simulator::Simulator(SimOptions options)
    : Options(std::move(options)), Received(std::make_unique<ReceivedLog>()) {}

Simulator::~Simulator() {
    Stop();
}

void Simulator::Start() {
    if (Active)
        throw std::runtime_error("the simulator is already started");
    auto active = std::make_unique<Running>();
    int pipeFds[2];
    if (::pipe2(pipeFds, O_NONBLOCK | O_CLOEXEC) != 0)
        ThrowSystemError("pipe2");
    active->wakeRead.Reset(pipeFds[0]);
    active->wakeWrite.Reset(pipeFds[1]);

    switch (Options.transport) {
    case TransportKind::Pty: {
        auto pty = std::make_unique<PtyTransport>(Options.ptyLink, Options.ptyBaud);
        active->ptySlave = pty->SlavePath();
        active->link = std::move(pty);
        break;
    }
    case TransportKind::Udp: {
        auto udp = std::make_unique<UdpTransport>(Options.udpBind, Options.udpPort);
        active->udpPort = udp->Port();
        active->link = std::move(udp);
        break;
    }
    case TransportKind::InProcess:
        if (!Options.hostPipe)
            throw std::runtime_error("no host pipe given for the in-process link");
        active->link = std::make_unique<InProcessTransport>(Options.hostPipe);
        break;
    case TransportKind::Tcp: {
        auto tcp = std::make_unique<TcpTransport>(Options.tcpPort, Options.closeAfter);
        active->tcpPort = tcp->Port();
        active->link = std::move(tcp);
        break;
    }
    }

    active->options = Options;
    ReceivedLog& received = *Received;
    auto userCallback = Options.onReceived;
    active->options.onReceived = [&received, userCallback](const std::string& line) {
        received.Append(line);
        if (userCallback)
            userCallback(line);
    };
    active->engine =
        std::make_unique<DeviceEngine>(active->options, *active->link, DeviceEngine::Clock::now());
    if (active->link->Connected())
        active->engine->OnPeerConnected();

    Active = std::move(active);
    Active->running = true;
    Active->thread = std::thread([this] { Run(); });
}

void Simulator::Run() {
    Running& active = *Active;
    std::vector<pollfd> fds;
    try {
        while (!active.stop) {
            auto next = active.engine->Tick(DeviceEngine::Clock::now());
            if (const auto due = active.link->NextDue())
                next = std::min(next, *due);
            const int timeout = PollTimeout(next);
            fds.clear();
            fds.push_back({active.wakeRead.Get(), POLLIN, 0});
            active.link->AppendPollFds(fds);
            const int ready = ::poll(fds.data(), fds.size(), timeout);
            if (ready < 0 && errno != EINTR)
                break;
            if (ready <= 0)
                continue;
            if ((fds[0].revents & POLLIN) != 0) {
                DrainWakePipe(active.wakeRead.Get());
                std::vector<std::string> outbox;
                {
                    std::lock_guard lock(active.outboxMutex);
                    outbox.swap(active.outbox);
                }
                for (const auto& bytes : outbox)
                    active.engine->SendRaw(bytes);
            }
            active.link->HandlePoll(fds.data() + 1, *active.engine);
        }
    } catch (...) {
        // A device that fails stops talking; Stop() still cleans up.
    }
    active.running = false;
}

void Simulator::Stop() {
    if (!Active)
        return;
    Active->stop = true;
    const char wake = 1;
    [[maybe_unused]] const ssize_t written = ::write(Active->wakeWrite.Get(), &wake, 1);
    if (Active->thread.joinable())
        Active->thread.join();
    Active->engine.reset();
    Active->link.reset();
    Active.reset();
}

bool Simulator::IsRunning() const {
    return Active && Active->running;
}

std::string Simulator::ReadyText() const {
    return Active ? Active->link->Describe() : std::string();
}

std::uint16_t Simulator::TcpPort() const {
    return Active ? Active->tcpPort : 0;
}

std::uint16_t Simulator::UdpPort() const {
    return Active ? Active->udpPort : 0;
}

std::string Simulator::PtySlavePath() const {
    return Active ? Active->ptySlave : std::string();
}

std::size_t Simulator::ReceivedCount() const {
    return Received->Count();
}

std::vector<std::string> Simulator::ReceivedLines() const {
    return Received->Lines();
}

std::optional<std::string> Simulator::WaitForReceived(const std::function<bool(const std::string&)>& match,
                                                      std::chrono::milliseconds timeout,
                                                      std::size_t from) const {
    return Received->WaitFor(match, timeout, from);
}

DeviceConfig Simulator::Config() const {
    if (!Active)
        return Options.initialConfig.value_or(FactoryConfig(Options.uid));
    return Active->engine->Config();
}

std::vector<N2kDevice> Simulator::BusDevices() const {
    if (!Active)
        return Options.n2kBus;
    return Active->engine->BusDevices();
}

void Simulator::SendToHost(std::string bytes) {
    if (!Active)
        return;
    {
        std::lock_guard lock(Active->outboxMutex);
        Active->outbox.push_back(std::move(bytes));
    }
    const char wake = 1;
    [[maybe_unused]] const ssize_t written = ::write(Active->wakeWrite.Get(), &wake, 1);
}

} // namespace kvl::sim

namespace kvl::sim {

std::optional<std::uint32_t> Simulator::BootChecksum() const {
    return Active ? Active->engine->Bootloader().LastChecksum() : std::nullopt;
}

unsigned Simulator::CompletedUpdates() const {
    return Active ? Active->engine->Bootloader().CompletedUpdates() : 0;
}

void Simulator::SendMemoryReadout(std::uint32_t address, const std::vector<std::uint8_t>& bytes,
                                  std::size_t blockBytes, ReadoutFault fault) {
    SendToHost(ReadoutOnWire(address, bytes, blockBytes, fault));
}

} // namespace kvl::sim
