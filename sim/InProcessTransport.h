// The host link of a simulated multiplexer that runs inside the tool itself: the
// bytes go through a HostPipe that the tool's receive side shares.
#pragma once

#include "HostPipe.h"
#include "Transport.h"
#include "link/LineFraming.h"

#include <memory>

namespace kvl::sim {

class InProcessTransport : public Transport {
public:
    explicit InProcessTransport(std::shared_ptr<HostPipe> pipe) : Pipe(std::move(pipe)) {}

    std::string Describe() const override { return "in-process"; }
    bool Connected() const override { return true; } // the host is there from the start
    void AppendPollFds(std::vector<pollfd>& fds) const override;
    void HandlePoll(const pollfd* fds, TransportEvents& events) override;
    void Send(std::string_view line, LineKind kind) override { Pipe->DeviceSend(line, kind); }

private:
    std::shared_ptr<HostPipe> Pipe;
    TLineFraming Framing;
};

} // namespace kvl::sim
