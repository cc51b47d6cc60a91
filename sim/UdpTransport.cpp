#include "UdpTransport.h"

#include "SocketAddress.h"

#include <arpa/inet.h>
#include <sys/socket.h>

#include <array>
#include <stdexcept>

namespace kvl::sim {

UdpTransport::UdpTransport(const std::string& bindAddress, std::uint16_t port) {
    Own = MakeAddress(bindAddress, port);
    if ((ntohl(Own.sin_addr.s_addr) >> 24) != 127)
        throw std::runtime_error("the UDP link binds a loopback address (127.x.x.x), not " + bindAddress);
    Socket.Reset(::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!Socket.Valid())
        ThrowSystemError("socket");
    // The host's socket on all addresses shares the port number.
    const int on = 1;
    ::setsockopt(Socket.Get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (::bind(Socket.Get(), reinterpret_cast<const sockaddr*>(&Own), sizeof Own) != 0)
        ThrowSystemError("bind " + AddressText(Own));
    BoundPortNumber = BoundPort(Socket.Get());
    Own.sin_port = htons(BoundPortNumber);
    Host = MakeAddress("127.0.0.1", BoundPortNumber);
}

std::string UdpTransport::Describe() const {
    return "udp " + AddressText(Own);
}

void UdpTransport::AppendPollFds(std::vector<pollfd>& fds) const {
    fds.push_back({Socket.Get(), POLLIN, 0});
}

void UdpTransport::HandlePoll(const pollfd* fds, TransportEvents& events) {
    if ((fds[0].revents & POLLIN) == 0)
        return;
    std::array<std::uint8_t, 65536> datagram{};
    for (int count = 0; count < 64; ++count) {
        sockaddr_in sender{};
        socklen_t length = sizeof sender;
        const ssize_t got = ::recvfrom(Socket.Get(), datagram.data(), datagram.size(), MSG_DONTWAIT,
                                       reinterpret_cast<sockaddr*>(&sender), &length);
        if (got < 0)
            return;
        // Each datagram holds whole lines; a half line never continues in the next.
        Framing.Reset();
        AskedBy = sender;
        Framing.FeedAll(datagram.data(), static_cast<std::size_t>(got),
                        [&](const std::string& line) { events.OnLine(line); });
        AskedBy.reset();
    }
}

void UdpTransport::Send(std::string_view line, LineKind kind) {
    const sockaddr_in& target = (kind == LineKind::Answer && AskedBy) ? *AskedBy : Host;
    ::sendto(Socket.Get(), line.data(), line.size(), MSG_DONTWAIT | MSG_NOSIGNAL,
             reinterpret_cast<const sockaddr*>(&target), sizeof target);
}

} // namespace kvl::sim
