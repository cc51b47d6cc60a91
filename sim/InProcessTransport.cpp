#include "InProcessTransport.h"

namespace kvl::sim {

void InProcessTransport::AppendPollFds(std::vector<pollfd>& fds) const {
    fds.push_back({Pipe->DeviceWakeFd(), POLLIN, 0});
}

void InProcessTransport::HandlePoll(const pollfd* fds, TransportEvents& events) {
    if ((fds[0].revents & POLLIN) == 0)
        return;
    const std::string bytes = Pipe->DeviceTake();
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    if (events.TakesBytes()) {
        events.OnBytes(data, bytes.size());
        return;
    }
    Framing.FeedAll(data, bytes.size(), [&](const std::string& line) { events.OnLine(line); });
}

} // namespace kvl::sim
