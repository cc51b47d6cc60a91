#include "link/TcpClient.h"

#include "link/Comms.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <memory>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>

namespace kvl {

namespace {

using Clock = std::chrono::steady_clock;

// A peer that stops reading must not freeze the window for ever.
constexpr int kSendTimeoutMs = 5000;

struct TAddrInfoDeleter {
    void operator()(addrinfo* list) const { ::freeaddrinfo(list); }
};
using TAddrInfoList = std::unique_ptr<addrinfo, TAddrInfoDeleter>;

TAddrInfoList Resolve(const std::string& host, int port) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* list = nullptr;
    const std::string service = std::to_string(port);
    const int rc = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &list);
    if (rc != 0)
        throw ECommError(rc == EAI_SYSTEM ? ErrorText(errno) : ::gai_strerror(rc));
    return TAddrInfoList(list);
}

void SetBlocking(int fd, bool blocking) {
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, blocking ? (flags & ~O_NONBLOCK) : (flags | O_NONBLOCK));
}

void TuneConnected(int fd) {
    timeval tv{kSendTimeoutMs / 1000, (kSendTimeoutMs % 1000) * 1000};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
    // Frames and sentences leave at once: each exchange waits for its answer.
    int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

// Connects one address; 0 on success, else the errno value.
int ConnectOne(int fd, const addrinfo& ai, Clock::time_point deadline) {
    if (::connect(fd, ai.ai_addr, ai.ai_addrlen) == 0)
        return 0;
    if (errno != EINPROGRESS)
        return errno;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return ETIMEDOUT;
        pollfd pfd{fd, POLLOUT, 0};
        const int rc = ::poll(&pfd, 1, static_cast<int>(left.count()));
        if (rc < 0 && errno == EINTR)
            continue;
        if (rc < 0)
            return errno;
        if (rc == 0)
            return ETIMEDOUT;
        int err = 0;
        socklen_t len = sizeof err;
        if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) != 0)
            return errno;
        return err;
    }
}

} // namespace

TFileDescriptor ConnectTcp(const std::string& host, int port, int timeoutMs) {
    const TAddrInfoList list = Resolve(host, port);
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    int lastError = ETIMEDOUT;
    for (const addrinfo* ai = list.get(); ai != nullptr; ai = ai->ai_next) {
        TFileDescriptor sock(
            ::socket(ai->ai_family, ai->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, ai->ai_protocol));
        if (!sock.Valid()) {
            lastError = errno;
            continue;
        }
        lastError = ConnectOne(sock.Get(), *ai, deadline);
        if (lastError == 0) {
            SetBlocking(sock.Get(), true);
            TuneConnected(sock.Get());
            return sock;
        }
        if (lastError == ETIMEDOUT)
            break; // the whole wait is used up
    }
    throw ECommError(ErrorText(lastError));
}

void WriteTcp(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::send(fd, data, size, MSG_NOSIGNAL);
        if (n > 0) {
            data += n;
            size -= static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            throw ECommError(ErrorText(ETIMEDOUT));
        } else {
            throw ECommError(ErrorText(n < 0 ? errno : EPIPE));
        }
    }
}

} // namespace kvl
