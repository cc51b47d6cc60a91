#include "XPortModule.h"

#include "SocketAddress.h"
#include "UniqueFd.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <thread>

namespace kvl::sim {

namespace {

using Clock = std::chrono::steady_clock;

void RequireLoopback(const std::string& address) {
    const sockaddr_in parsed = MakeAddress(address, 0);
    if ((ntohl(parsed.sin_addr.s_addr) >> 24) != 127)
        throw std::runtime_error("the XPort module lives on loopback (127.x.x.x), not " + address);
}

UniqueFd OpenSocket(int type, const std::string& address, std::uint16_t port) {
    UniqueFd fd(::socket(AF_INET, type | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!fd.Valid())
        ThrowSystemError("socket");
    // Several modules hear the same broadcast address, and a module that moves
    // back finds its old TCP port in TIME_WAIT.
    const int on = 1;
    ::setsockopt(fd.Get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    const sockaddr_in local = MakeAddress(address, port);
    if (::bind(fd.Get(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0)
        ThrowSystemError("bind " + AddressText(local));
    if (type == SOCK_STREAM && ::listen(fd.Get(), 8) != 0)
        ThrowSystemError("listen");
    return fd;
}

struct Connection {
    UniqueFd fd;
    XPortPacket pending;
};

struct DelayedDatagram {
    Clock::time_point due;
    sockaddr_in to;
    XPortPacket bytes;
};

} // namespace

struct XPortModule::Running {
    explicit Running(const XPortModuleOptions& options) : device(options) {}

    mutable std::mutex mutex; // guards device, answering
    mutable std::condition_variable changed;
    XPortDevice device;
    bool answering = false; // TCP listener open at the device's address
    std::uint16_t port = 0;

    UniqueFd hear;     // the broadcast address
    UniqueFd own;      // the module's own address: unicast searches and every answer
    UniqueFd listener; // TCP at the module's own address
    std::vector<Connection> connections;
    std::vector<DelayedDatagram> delayed;
    std::optional<Clock::time_point> restartEnds;
    UniqueFd wakeRead;
    UniqueFd wakeWrite;
    std::atomic<bool> stop{false};
    std::thread thread;

    void OpenOwn() {
        own = OpenSocket(SOCK_DGRAM, device.Address(), port);
        listener = OpenSocket(SOCK_STREAM, device.Address(), port);
    }
};

XPortModule::XPortModule(XPortModuleOptions options) : Options(std::move(options)) {}

XPortModule::~XPortModule() {
    Stop();
}

void XPortModule::Start() {
    if (Active)
        throw std::runtime_error("the XPort module is already started");
    RequireLoopback(Options.address);
    RequireLoopback(Options.broadcast);
    auto active = std::make_unique<Running>(Options);
    int pipeFds[2];
    if (::pipe2(pipeFds, O_NONBLOCK | O_CLOEXEC) != 0)
        ThrowSystemError("pipe2");
    active->wakeRead.Reset(pipeFds[0]);
    active->wakeWrite.Reset(pipeFds[1]);
    active->listener = OpenSocket(SOCK_STREAM, Options.address, Options.port);
    active->port = BoundPort(active->listener.Get());
    active->own = OpenSocket(SOCK_DGRAM, Options.address, active->port);
    active->hear = OpenSocket(SOCK_DGRAM, Options.broadcast, active->port);
    active->answering = true;
    Active = std::move(active);
    Active->thread = std::thread([this] { Run(); });
}

void XPortModule::Stop() {
    if (!Active)
        return;
    Active->stop = true;
    const char wake = 1;
    [[maybe_unused]] const ssize_t written = ::write(Active->wakeWrite.Get(), &wake, 1);
    if (Active->thread.joinable())
        Active->thread.join();
    Active.reset();
}

namespace {

int PollTimeout(const std::vector<DelayedDatagram>& delayed,
                const std::optional<Clock::time_point>& restart) {
    std::optional<Clock::time_point> next = restart;
    for (const auto& d : delayed)
        if (!next || d.due < *next)
            next = d.due;
    if (!next)
        return 1000;
    const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(*next - Clock::now());
    return static_cast<int>(std::clamp<std::chrono::milliseconds::rep>(wait.count() + 1, 0, 1000));
}

void SendDatagram(int fd, const sockaddr_in& to, const XPortPacket& bytes) {
    ::sendto(fd, bytes.data(), bytes.size(), MSG_DONTWAIT | MSG_NOSIGNAL,
             reinterpret_cast<const sockaddr*>(&to), sizeof to);
}

// chunk: bytes per send with a short gap between, so that the reader sees the
// answer in pieces; 0 sends it whole.
void SendAll(int fd, const XPortPacket& bytes, std::size_t chunk) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        if (chunk != 0 && sent != 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        const std::size_t piece = chunk == 0 ? bytes.size() - sent : std::min(chunk, bytes.size() - sent);
        const ssize_t n = ::send(fd, bytes.data() + sent, piece, MSG_NOSIGNAL);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EAGAIN) {
            pollfd p{fd, POLLOUT, 0};
            if (::poll(&p, 1, 1000) > 0)
                continue;
        }
        return;
    }
}

} // namespace

void XPortModule::Run() {
    Running& a = *Active;
    std::vector<pollfd> fds;
    std::array<std::uint8_t, 2048> buffer{};
    try {
        while (!a.stop) {
            fds.clear();
            fds.push_back({a.wakeRead.Get(), POLLIN, 0});
            fds.push_back({a.hear.Get(), POLLIN, 0});
            fds.push_back({a.own.Get(), POLLIN, 0});
            fds.push_back({a.listener.Valid() ? a.listener.Get() : -1, POLLIN, 0});
            for (const auto& c : a.connections)
                fds.push_back({c.fd.Get(), POLLIN, 0});
            if (::poll(fds.data(), fds.size(), PollTimeout(a.delayed, a.restartEnds)) < 0 && errno != EINTR)
                break;
            const auto now = Clock::now();

            // Datagrams due.
            for (auto it = a.delayed.begin(); it != a.delayed.end();) {
                if (it->due <= now) {
                    SendDatagram(a.own.Get(), it->to, it->bytes);
                    it = a.delayed.erase(it);
                } else {
                    ++it;
                }
            }

            // Searches and set-IP datagrams.
            for (std::size_t i : {1u, 2u}) {
                if ((fds[i].revents & POLLIN) == 0)
                    continue;
                sockaddr_in sender{};
                socklen_t length = sizeof sender;
                const ssize_t got = ::recvfrom(fds[i].fd, buffer.data(), buffer.size(), MSG_DONTWAIT,
                                               reinterpret_cast<sockaddr*>(&sender), &length);
                if (got < 0)
                    continue;
                std::vector<XPortPacket> answers;
                {
                    std::lock_guard lock(a.mutex);
                    answers = a.device.OnDatagram(XPortPacket(buffer.begin(), buffer.begin() + got));
                }
                const auto due = now + std::chrono::milliseconds(Options.answerDelayMs);
                for (auto& answer : answers)
                    a.delayed.push_back({due, sender, std::move(answer)});
            }

            // New connections are polled from the next round on.
            const std::size_t polled = fds.size() - 4;
            if (fds[3].fd >= 0 && (fds[3].revents & POLLIN) != 0) {
                UniqueFd client(::accept4(a.listener.Get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
                if (client.Valid())
                    a.connections.push_back({std::move(client), {}});
            }

            // Configuration exchanges.
            for (std::size_t i = 0; i < polled; ++i) {
                if ((fds[4 + i].revents & (POLLIN | POLLHUP | POLLERR)) == 0)
                    continue;
                Connection& c = a.connections[i];
                const ssize_t got = ::recv(c.fd.Get(), buffer.data(), buffer.size(), MSG_DONTWAIT);
                bool keep = got > 0 || (got < 0 && errno == EAGAIN);
                if (got > 0) {
                    c.pending.insert(c.pending.end(), buffer.begin(), buffer.begin() + got);
                    XPortPacket answer;
                    {
                        std::lock_guard lock(a.mutex);
                        answer = a.device.OnStream(c.pending, keep);
                    }
                    SendAll(c.fd.Get(), answer, Options.answerChunk);
                }
                if (!keep)
                    c.fd.Reset();
            }
            std::erase_if(a.connections, [](const Connection& c) { return !c.fd.Valid(); });

            // New address or restart: the module leaves its address for the restart time.
            std::unique_lock lock(a.mutex);
            const auto move = a.device.TakeMove();
            const bool restart = a.device.TakeRestart();
            if (move || (restart && Options.restartMs > 0)) {
                if (move)
                    a.device.SetAddress(*move);
                a.listener.Reset();
                a.own.Reset();
                a.answering = false;
                a.restartEnds = Clock::now() + std::chrono::milliseconds(Options.restartMs);
            }
            if (a.restartEnds && Clock::now() >= *a.restartEnds) {
                a.restartEnds.reset();
                a.OpenOwn();
                a.answering = true;
                a.changed.notify_all();
            }
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "XPort module stopped: %s\n", error.what());
    }
}

std::string XPortModule::Address() const {
    if (!Active)
        return Options.address;
    std::lock_guard lock(Active->mutex);
    return Active->device.Address();
}

std::uint16_t XPortModule::Port() const {
    return Active ? Active->port : Options.port;
}

std::string XPortModule::ReadyText() const {
    char mac[24];
    std::snprintf(mac, sizeof mac, "%02X-%02X-%02X-%02X-%02X-%02X", Options.mac[0], Options.mac[1],
                  Options.mac[2], Options.mac[3], Options.mac[4], Options.mac[5]);
    return "xport " + Address() + ":" + std::to_string(Port()) + " mac " + mac + " search " +
           Options.broadcast;
}

XPortPacket XPortModule::Setup() const {
    if (!Active)
        return XPortDevice(Options).Setup();
    std::lock_guard lock(Active->mutex);
    return Active->device.Setup();
}

XPortPacket XPortModule::Extended() const {
    if (!Active)
        return XPortDevice(Options).Extended();
    std::lock_guard lock(Active->mutex);
    return Active->device.Extended();
}

std::vector<XPortPacket> XPortModule::Received() const {
    if (!Active)
        return {};
    std::lock_guard lock(Active->mutex);
    return Active->device.Received();
}

int XPortModule::Resets() const {
    if (!Active)
        return 0;
    std::lock_guard lock(Active->mutex);
    return Active->device.Resets();
}

bool XPortModule::WaitForAddress(const std::string& address, std::chrono::milliseconds timeout) const {
    if (!Active)
        return false;
    std::unique_lock lock(Active->mutex);
    return Active->changed.wait_for(lock, timeout,
                                    [&] { return Active->answering && Active->device.Address() == address; });
}

} // namespace kvl::sim
