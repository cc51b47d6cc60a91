#include "TcpTransport.h"

#include "SocketAddress.h"

#include <sys/socket.h>

#include <array>
#include <cerrno>

namespace kvl::sim {

TcpTransport::TcpTransport(std::uint16_t port, std::size_t closeAfter) : CloseAfter(closeAfter) {
    Listener.Reset(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!Listener.Valid())
        ThrowSystemError("socket");
    const int on = 1;
    ::setsockopt(Listener.Get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    const sockaddr_in address = MakeAddress("127.0.0.1", port);
    if (::bind(Listener.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        ThrowSystemError("bind 127.0.0.1:" + std::to_string(port));
    if (::listen(Listener.Get(), 4) != 0)
        ThrowSystemError("listen");
    BoundPortNumber = BoundPort(Listener.Get());
}

std::string TcpTransport::Describe() const {
    return "tcp 127.0.0.1:" + std::to_string(BoundPortNumber);
}

void TcpTransport::AppendPollFds(std::vector<pollfd>& fds) const {
    fds.push_back({Listener.Get(), POLLIN, 0});
    short clientEvents = POLLIN;
    if (!Queue.Empty())
        clientEvents |= POLLOUT;
    fds.push_back({Client.Valid() ? Client.Get() : -1, clientEvents, 0});
}

void TcpTransport::HandlePoll(const pollfd* fds, TransportEvents& events) {
    if (Client.Valid() && fds[1].fd == Client.Get()) {
        if ((fds[1].revents & POLLOUT) != 0)
            FlushClient();
        if (Client.Valid() && (fds[1].revents & (POLLIN | POLLHUP | POLLERR)) != 0)
            ReadClient(events);
    }
    if ((fds[0].revents & POLLIN) != 0)
        Accept(events);
}

void TcpTransport::Accept(TransportEvents& events) {
    const int fd = ::accept4(Listener.Get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0)
        return;
    DropClient();
    Client.Reset(fd);
    events.OnPeerConnected();
}

void TcpTransport::ReadClient(TransportEvents& events) {
    std::array<std::uint8_t, 4096> buffer{};
    const ssize_t got = ::recv(Client.Get(), buffer.data(), buffer.size(), MSG_DONTWAIT);
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
        return;
    if (got <= 0) {
        DropClient();
        return;
    }
    if (Closing)
        return; // the device has hung up; whatever still comes is not read
    if (events.TakesBytes()) {
        events.OnBytes(buffer.data(), static_cast<std::size_t>(got));
        return;
    }
    // An answer sent while these lines are handled may end the connection
    // (close-after), so the framing works on a copy and lines stop counting then.
    const int fd = Client.Get();
    Framing.FeedAll(buffer.data(), static_cast<std::size_t>(got), [&](const std::string& line) {
        if (Client.Get() == fd && !Closing)
            events.OnLine(line);
    });
}

void TcpTransport::Send(std::string_view line, LineKind kind) {
    if (!Connected())
        return;
    if (!Queue.Push(line, kind))
        return;
    ++LinesSent;
    FlushClient();
    if (Client.Valid() && CloseAfter > 0 && LinesSent >= CloseAfter)
        BeginClose();
}

void TcpTransport::FlushClient() {
    if (Queue.Flush(Client.Get(), true) == OutputQueue::FlushResult::Failed) {
        DropClient();
        return;
    }
    if (Closing && Queue.Empty())
        ::shutdown(Client.Get(), SHUT_WR);
}

void TcpTransport::BeginClose() {
    Closing = true;
    if (Queue.Empty())
        ::shutdown(Client.Get(), SHUT_WR);
}

void TcpTransport::DropClient() {
    Client.Reset();
    Queue.Clear();
    Framing.Reset();
    LinesSent = 0;
    Closing = false;
}

} // namespace kvl::sim
