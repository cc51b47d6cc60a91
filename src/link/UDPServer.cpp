#include "link/UDPServer.h"

#include "link/Comms.h"

#include <QSocketNotifier>

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <netdb.h>
#include <sys/socket.h>

namespace kvl {

namespace {

constexpr std::size_t kMaxDatagram = 65536;
// Datagrams handled per wake-up; the notifier fires again for the rest, so a
// flood cannot starve the window.
constexpr int kMaxDatagramsPerWake = 256;

std::string AddressText(const sockaddr_in& address) {
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &address.sin_addr, text, sizeof text);
    return text;
}

// A multiplexer at a loopback address is a device simulated on this computer: it
// holds the same port at its own loopback address, which a listener on all
// addresses would collide with. Listening on 127.0.0.1 alone leaves it room.
in_addr_t ListenAddress(const std::string& host) {
    in_addr address{};
    const bool loopback = host == "localhost" || (::inet_pton(AF_INET, host.c_str(), &address) == 1 &&
                                                  (ntohl(address.s_addr) >> 24) == 127);
    return loopback ? htonl(INADDR_LOOPBACK) : htonl(INADDR_ANY);
}

} // namespace

TUDPServer::TUDPServer(TComm& parent) : Parent(parent) {}

TUDPServer::~TUDPServer() {
    Close();
}

void TUDPServer::Open(int port, const std::string& host) {
    Close();
    TFileDescriptor sock(::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!sock.Valid())
        throw ECommError(ErrorText(errno));
    // No SO_REUSEADDR: a port another program (or a second copy of the tool)
    // already listens on must fail the bind, or the link would receive nothing.
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = ListenAddress(host);
    local.sin_port = htons(static_cast<std::uint16_t>(port));
    if (::bind(sock.Get(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0)
        throw ECommError(ErrorText(errno));

    Socket = std::move(sock);
    Port = port;
    Host = host;
    Datagram.resize(kMaxDatagram);
    Notifier = std::make_unique<QSocketNotifier>(Socket.Get(), QSocketNotifier::Read);
    QObject::connect(Notifier.get(), &QSocketNotifier::activated, [this] {
        try {
            OnReadable();
        } catch (const std::exception&) {
            // Only memory exhaustion gets here; no exception may cross the event loop.
        }
    });
}

void TUDPServer::Close() {
    Notifier.reset(); // before the descriptor number can be reused
    Socket.Close();
    Senders.clear();
    ResolvedHost.reset();
}

const sockaddr_in& TUDPServer::Destination() {
    if (ResolvedHost)
        return *ResolvedHost;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* list = nullptr;
    const int rc = ::getaddrinfo(Host.c_str(), nullptr, &hints, &list);
    if (rc != 0)
        throw ECommError(rc == EAI_SYSTEM ? ErrorText(errno) : ::gai_strerror(rc));
    sockaddr_in address{};
    std::copy_n(reinterpret_cast<const std::uint8_t*>(list->ai_addr), sizeof address,
                reinterpret_cast<std::uint8_t*>(&address));
    ::freeaddrinfo(list);
    address.sin_port = htons(static_cast<std::uint16_t>(Port));
    ResolvedHost = address;
    return *ResolvedHost;
}

void TUDPServer::Send(const std::string& text) {
    if (!Socket.Valid())
        return;
    const sockaddr_in& to = Destination();
    const ssize_t n = ::sendto(Socket.Get(), text.data(), text.size(), MSG_NOSIGNAL,
                               reinterpret_cast<const sockaddr*>(&to), sizeof to);
    if (n < 0)
        throw ECommError(ErrorText(errno));
}

TLineFraming& TUDPServer::FramingFor(const std::string& key) {
    ++UseCounter;
    auto it = std::find_if(Senders.begin(), Senders.end(), [&](const TSender& s) { return s.Key == key; });
    if (it == Senders.end()) {
        if (Senders.size() < kMaxSenders) {
            Senders.emplace_back();
            it = Senders.end() - 1;
        } else {
            it = std::min_element(Senders.begin(), Senders.end(),
                                  [](const TSender& a, const TSender& b) { return a.LastUse < b.LastUse; });
            *it = TSender{};
        }
        it->Key = key;
    }
    it->LastUse = UseCounter;
    return it->Framing;
}

void TUDPServer::UDPRead(const std::uint8_t* data, std::size_t size, const std::string& senderAddress,
                         std::uint16_t senderPort) {
    if (Parent.FilterUDP && senderAddress != Host)
        return;
    TLineFraming& framing = FramingFor(senderAddress + ":" + std::to_string(senderPort));
    framing.FeedAll(data, size, [this](const std::string& line) { Parent.QueueLine(line); });
}

void TUDPServer::OnReadable() {
    for (int i = 0; i < kMaxDatagramsPerWake && Socket.Valid(); ++i) {
        sockaddr_in from{};
        socklen_t fromLen = sizeof from;
        const ssize_t n = ::recvfrom(Socket.Get(), Datagram.data(), Datagram.size(), MSG_DONTWAIT,
                                     reinterpret_cast<sockaddr*>(&from), &fromLen);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return; // EAGAIN: all read
        UDPRead(Datagram.data(), static_cast<std::size_t>(n), AddressText(from), ntohs(from.sin_port));
    }
}

} // namespace kvl
