// The USB model's host link: a pseudo-terminal whose slave side the tool opens as
// its serial port, reached through a symbolic link of the user's choice.
#pragma once

#include "OutputQueue.h"
#include "Transport.h"
#include "UniqueFd.h"
#include "link/LineFraming.h"

#include <string>

namespace kvl::sim {

class PtyTransport : public Transport {
public:
    // Replaces an existing symbolic link at linkPath, never another kind of file.
    explicit PtyTransport(std::string linkPath);
    ~PtyTransport() override;

    const std::string& SlavePath() const { return Slave; }
    const std::string& LinkPath() const { return Link; }

    std::string Describe() const override { return "pty " + Link + " -> " + Slave; }
    bool Connected() const override { return true; }
    void AppendPollFds(std::vector<pollfd>& fds) const override;
    void HandlePoll(const pollfd* fds, TransportEvents& events) override;
    void Send(std::string_view line, LineKind kind) override;

private:
    void OpenMaster();
    void MakeLink();
    void HandleOpenClose(TransportEvents& events);
    void ReadMaster(TransportEvents& events);
    void FlushMaster();

    std::string Link;
    std::string Slave;
    UniqueFd Master;
    // Held open so that the master never reads EIO while the tool has the port
    // closed, and so that the raw settings survive between the tool's opens.
    UniqueFd SlaveKeeper;
    UniqueFd Watch; // inotify: the tool opening and closing the port
    OutputQueue Queue;
    TLineFraming Framing;
};

} // namespace kvl::sim
