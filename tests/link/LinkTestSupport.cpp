#include "LinkTestSupport.h"

#include <QCoreApplication>

#include <arpa/inet.h>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace kvl::test {

namespace {

using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

bool WaitReadable(int fd, int timeoutMs) {
    pollfd pfd{fd, POLLIN, 0};
    return ::poll(&pfd, 1, timeoutMs) > 0;
}

sockaddr_in Ipv4(const std::string& address, int port) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(static_cast<std::uint16_t>(port));
    if (::inet_pton(AF_INET, address.c_str(), &sa.sin_addr) != 1)
        throw std::runtime_error("bad test address " + address);
    return sa;
}

int BoundPortOf(int fd) {
    sockaddr_in sa{};
    socklen_t len = sizeof sa;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &len);
    return ntohs(sa.sin_port);
}

} // namespace

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        if (condition())
            return true;
        if (Clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(2ms);
    }
}

std::vector<std::string> WaitForLines(TComm& comm, std::size_t count, std::chrono::milliseconds timeout) {
    WaitUntil([&] { return comm.QueuedLines() >= count; }, timeout);
    std::vector<std::string> lines;
    std::string line;
    while (comm.TakeLine(line))
        lines.push_back(line);
    return lines;
}

std::size_t ThreadCount() {
    std::size_t count = 0;
    DIR* dir = ::opendir("/proc/self/task");
    if (dir == nullptr)
        return 0;
    while (const dirent* entry = ::readdir(dir))
        if (entry->d_name[0] != '.')
            ++count;
    ::closedir(dir);
    return count;
}

std::string Bytes(std::initializer_list<std::uint8_t> bytes) {
    std::string out;
    for (std::uint8_t b : bytes)
        out.push_back(static_cast<char>(b));
    return out;
}

std::string ReadBytes(int fd, std::size_t count, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    std::string out;
    char buffer[4096];
    while (out.size() < count && WaitReadable(fd, MsLeft(deadline))) {
        const ssize_t n = ::read(fd, buffer, std::min(sizeof buffer, count - out.size()));
        if (n <= 0)
            break;
        out.append(buffer, static_cast<std::size_t>(n));
    }
    return out;
}

std::string ReadUntilQuiet(int fd, std::chrono::milliseconds quiet, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    std::string out;
    char buffer[4096];
    while (MsLeft(deadline) > 0 &&
           WaitReadable(fd, std::min(MsLeft(deadline), static_cast<int>(quiet.count())))) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        out.append(buffer, static_cast<std::size_t>(n));
    }
    return out;
}

void WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n < 0 && errno == ENOTSOCK) {
            const ssize_t w = ::write(fd, bytes.data() + done, bytes.size() - done);
            if (w <= 0)
                throw std::runtime_error("test write failed");
            done += static_cast<std::size_t>(w);
            continue;
        }
        if (n <= 0)
            throw std::runtime_error("test write failed");
        done += static_cast<std::size_t>(n);
    }
}

TPtyPair::TPtyPair() : MasterFd(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC)) {
    if (!MasterFd.Valid() || ::grantpt(MasterFd.Get()) != 0 || ::unlockpt(MasterFd.Get()) != 0)
        throw std::runtime_error("no pseudo-terminal");
    char name[128] = {};
    if (::ptsname_r(MasterFd.Get(), name, sizeof name) != 0)
        throw std::runtime_error("no pseudo-terminal name");
    Path = name;
    // The device side sends and receives bytes unchanged.
    termios tio{};
    ::tcgetattr(MasterFd.Get(), &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(MasterFd.Get(), TCSANOW, &tio);
}

TTcpPeer::TTcpPeer() : Listener(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    const sockaddr_in sa = Ipv4("127.0.0.1", 0);
    if (::bind(Listener.Get(), reinterpret_cast<const sockaddr*>(&sa), sizeof sa) != 0 ||
        ::listen(Listener.Get(), 4) != 0)
        throw std::runtime_error("test listener failed");
    ListenPort = BoundPortOf(Listener.Get());
}

bool TTcpPeer::Accept(std::chrono::milliseconds timeout) {
    if (!WaitReadable(Listener.Get(), static_cast<int>(timeout.count())))
        return false;
    ClientFd = TFileDescriptor(::accept4(Listener.Get(), nullptr, nullptr, SOCK_CLOEXEC));
    return ClientFd.Valid();
}

int ClosedTcpPort() {
    TFileDescriptor sock(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    const sockaddr_in sa = Ipv4("127.0.0.1", 0);
    ::bind(sock.Get(), reinterpret_cast<const sockaddr*>(&sa), sizeof sa);
    return BoundPortOf(sock.Get()); // bound, never listening: connects are refused
}

TUdpPeer::TUdpPeer(const std::string& address, int port, bool reuse)
    : Socket(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {
    int on = 1;
    if (reuse)
        ::setsockopt(Socket.Get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    const sockaddr_in sa = Ipv4(address, port);
    if (::bind(Socket.Get(), reinterpret_cast<const sockaddr*>(&sa), sizeof sa) != 0)
        throw std::runtime_error("test UDP bind failed on " + address);
    BoundPort = BoundPortOf(Socket.Get());
}

void TUdpPeer::SendTo(const std::string& address, int port, const std::string& bytes) {
    const sockaddr_in to = Ipv4(address, port);
    if (::sendto(Socket.Get(), bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&to),
                 sizeof to) != static_cast<ssize_t>(bytes.size()))
        throw std::runtime_error("test UDP send failed");
}

std::string TUdpPeer::Receive(std::chrono::milliseconds timeout) {
    if (!WaitReadable(Socket.Get(), static_cast<int>(timeout.count())))
        return {};
    char buffer[65536];
    const ssize_t n = ::recv(Socket.Get(), buffer, sizeof buffer, 0);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

int FreeUdpPort() {
    TFileDescriptor sock(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    const sockaddr_in sa = Ipv4("0.0.0.0", 0);
    ::bind(sock.Get(), reinterpret_cast<const sockaddr*>(&sa), sizeof sa);
    return BoundPortOf(sock.Get());
}

} // namespace kvl::test
