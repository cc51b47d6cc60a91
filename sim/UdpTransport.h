// The network model's datagram link: the device sits on a second loopback
// address, sends its traffic to the host's port on 127.0.0.1 and answers each
// command to the address it came from.
#pragma once

#include "Transport.h"
#include "UniqueFd.h"
#include "link/LineFraming.h"

#include <netinet/in.h>

#include <cstdint>
#include <optional>
#include <string>

namespace kvl::sim {

class UdpTransport : public Transport {
public:
    // bindAddress must be a loopback address; port 0 picks a free port, which
    // then is also the host's port.
    UdpTransport(const std::string& bindAddress, std::uint16_t port);

    std::uint16_t Port() const { return BoundPortNumber; }

    std::string Describe() const override;
    bool Connected() const override { return true; }
    void AppendPollFds(std::vector<pollfd>& fds) const override;
    void HandlePoll(const pollfd* fds, TransportEvents& events) override;
    void Send(std::string_view line, LineKind kind) override;

private:
    UniqueFd Socket;
    sockaddr_in Own{};
    sockaddr_in Host{};                 // where traffic and reports go
    std::optional<sockaddr_in> AskedBy; // sender of the datagram being handled
    std::uint16_t BoundPortNumber = 0;
    TLineFraming Framing;
};

} // namespace kvl::sim
