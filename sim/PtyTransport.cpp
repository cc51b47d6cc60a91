#include "PtyTransport.h"

#include "SocketAddress.h"

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <stdexcept>

namespace kvl::sim {

PtyTransport::PtyTransport(std::string linkPath, unsigned baud)
    : Link(std::move(linkPath)), TxPacer(baud), RxPacer(baud) {
    if (Link.empty())
        throw std::runtime_error("no path given for the pseudo-terminal link");
    OpenMaster();
    MakeLink();
    // Without inotify the port still works; only stale lines stay in the buffer.
    Watch.Reset(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
    if (Watch.Valid() && ::inotify_add_watch(Watch.Get(), Slave.c_str(), IN_OPEN | IN_CLOSE) < 0)
        Watch.Reset();
}

PtyTransport::~PtyTransport() {
    std::array<char, 256> target{};
    const ssize_t length = ::readlink(Link.c_str(), target.data(), target.size() - 1);
    if (length > 0 && std::string(target.data(), static_cast<std::size_t>(length)) == Slave)
        ::unlink(Link.c_str());
}

void PtyTransport::OpenMaster() {
    Master.Reset(::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!Master.Valid())
        ThrowSystemError("posix_openpt");
    if (::grantpt(Master.Get()) != 0 || ::unlockpt(Master.Get()) != 0)
        ThrowSystemError("grantpt/unlockpt");
    std::array<char, 128> name{};
    if (::ptsname_r(Master.Get(), name.data(), name.size()) != 0)
        ThrowSystemError("ptsname_r");
    Slave = name.data();
    SlaveKeeper.Reset(::open(Slave.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!SlaveKeeper.Valid())
        ThrowSystemError("open " + Slave);
    termios settings{};
    if (::tcgetattr(SlaveKeeper.Get(), &settings) != 0)
        ThrowSystemError("tcgetattr");
    ::cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD;
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    ::cfsetspeed(&settings, B460800);
    if (::tcsetattr(SlaveKeeper.Get(), TCSANOW, &settings) != 0)
        ThrowSystemError("tcsetattr");
}

void PtyTransport::MakeLink() {
    struct stat info {};
    if (::lstat(Link.c_str(), &info) == 0) {
        if (!S_ISLNK(info.st_mode))
            throw std::runtime_error(Link + " exists and is not a symbolic link");
        ::unlink(Link.c_str());
    }
    if (::symlink(Slave.c_str(), Link.c_str()) != 0)
        ThrowSystemError("symlink " + Link);
}

void PtyTransport::AppendPollFds(std::vector<pollfd>& fds) const {
    // A paced direction waits for its turn (NextDue) instead of its descriptor.
    const auto now = LinePacer::Clock::now();
    short masterEvents = 0;
    if (RxPacer.Allowed(now) > 0)
        masterEvents |= POLLIN;
    if (!Queue.Empty() && TxPacer.Allowed(now) > 0)
        masterEvents |= POLLOUT;
    fds.push_back({Master.Get(), masterEvents, 0});
    fds.push_back({Watch.Valid() ? Watch.Get() : -1, POLLIN, 0});
}

std::optional<std::chrono::steady_clock::time_point> PtyTransport::NextDue() const {
    std::optional<std::chrono::steady_clock::time_point> due;
    const auto now = LinePacer::Clock::now();
    if (RxPacer.Paced() && RxPacer.Allowed(now) == 0)
        due = RxPacer.NextDue();
    if (TxPacer.Paced() && !Queue.Empty())
        due = due ? std::min(*due, TxPacer.NextDue()) : TxPacer.NextDue();
    return due;
}

void PtyTransport::HandlePoll(const pollfd* fds, TransportEvents& events) {
    // Opens come first: stale output must be gone before anything is answered.
    if ((fds[1].revents & POLLIN) != 0)
        HandleOpenClose(events);
    if ((fds[0].revents & POLLIN) != 0)
        ReadMaster(events);
    if (!Queue.Empty())
        FlushMaster();
}

void PtyTransport::FlushMaster() {
    const auto now = LinePacer::Clock::now();
    const std::size_t allowed = TxPacer.Allowed(now);
    if (allowed == 0)
        return;
    std::size_t written = 0;
    if (Queue.Flush(Master.Get(), false, allowed, &written) == OutputQueue::FlushResult::Failed)
        Queue.Clear();
    TxPacer.Used(written, now);
}

void PtyTransport::HandleOpenClose(TransportEvents& events) {
    alignas(inotify_event) std::array<char, 4096> buffer{};
    for (;;) {
        const ssize_t got = ::read(Watch.Get(), buffer.data(), buffer.size());
        if (got <= 0)
            return;
        std::size_t offset = 0;
        while (offset + sizeof(inotify_event) <= static_cast<std::size_t>(got)) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer.data() + offset);
            if ((event->mask & IN_OPEN) != 0) {
                // A port that was closed holds only lines nobody asked for.
                ::tcflush(SlaveKeeper.Get(), TCIFLUSH);
                Queue.Clear();
                Framing.Reset();
                events.OnPeerConnected();
            }
            if ((event->mask & IN_CLOSE) != 0) {
                // The tool's exclusive hold must end with its close, although
                // the device keeps the terminal open.
                ::ioctl(SlaveKeeper.Get(), TIOCNXCL);
            }
            offset += sizeof(inotify_event) + event->len;
        }
    }
}

void PtyTransport::ReadMaster(TransportEvents& events) {
    std::array<std::uint8_t, 4096> buffer{};
    const auto now = LinePacer::Clock::now();
    const std::size_t allowed = std::min(buffer.size(), RxPacer.Allowed(now));
    if (allowed == 0)
        return;
    const ssize_t got = ::read(Master.Get(), buffer.data(), allowed);
    if (got <= 0)
        return;
    RxPacer.Used(static_cast<std::size_t>(got), now);
    if (events.TakesBytes()) {
        events.OnBytes(buffer.data(), static_cast<std::size_t>(got));
        return;
    }
    Framing.FeedAll(buffer.data(), static_cast<std::size_t>(got),
                    [&](const std::string& line) { events.OnLine(line); });
}

void PtyTransport::Send(std::string_view line, LineKind kind) {
    if (Queue.Push(line, kind))
        FlushMaster();
}

} // namespace kvl::sim
