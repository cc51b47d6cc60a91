// The Ethernet model's host link: a TCP server on 127.0.0.1. A new connection
// replaces the previous one, as the device serves one host at a time.
#pragma once

#include "OutputQueue.h"
#include "Transport.h"
#include "UniqueFd.h"
#include "link/LineFraming.h"

#include <cstddef>
#include <cstdint>

namespace kvl::sim {

class TcpTransport : public Transport {
public:
    // port 0 picks a free port. closeAfter > 0 ends each connection after that
    // many lines were sent on it (a fault for the tool's tests).
    TcpTransport(std::uint16_t port, std::size_t closeAfter);

    std::uint16_t Port() const { return BoundPortNumber; }

    std::string Describe() const override;
    bool Connected() const override { return Client.Valid() && !Closing; }
    void AppendPollFds(std::vector<pollfd>& fds) const override;
    void HandlePoll(const pollfd* fds, TransportEvents& events) override;
    void Send(std::string_view line, LineKind kind) override;
    void DropPeer() override { DropClient(); }

private:
    void Accept(TransportEvents& events);
    void ReadClient(TransportEvents& events);
    void FlushClient();
    void DropClient();
    void BeginClose();

    UniqueFd Listener;
    UniqueFd Client;
    std::uint16_t BoundPortNumber = 0;
    std::size_t CloseAfter = 0;
    std::size_t LinesSent = 0;
    bool Closing = false; // the write side is shut; waiting for the host to close
    OutputQueue Queue;
    TLineFraming Framing;
};

} // namespace kvl::sim
