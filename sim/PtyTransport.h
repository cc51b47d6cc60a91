// The USB model's host link: a pseudo-terminal whose slave side the tool opens as
// its serial port, reached through a symbolic link of the user's choice. Bytes
// pass both ways at the line's byte time, as over the real serial line.
#pragma once

#include "LinePacer.h"
#include "OutputQueue.h"
#include "Transport.h"
#include "UniqueFd.h"
#include "link/LineFraming.h"

#include <string>

namespace kvl::sim {

class PtyTransport : public Transport {
public:
    // Replaces an existing symbolic link at linkPath, never another kind of file.
    // baud: the line rate the bytes are paced at (8N1), 0 for none.
    explicit PtyTransport(std::string linkPath, unsigned baud = 460800);
    ~PtyTransport() override;

    const std::string& SlavePath() const { return Slave; }
    const std::string& LinkPath() const { return Link; }

    std::string Describe() const override { return "pty " + Link + " -> " + Slave; }
    bool Connected() const override { return true; }
    void AppendPollFds(std::vector<pollfd>& fds) const override;
    void HandlePoll(const pollfd* fds, TransportEvents& events) override;
    void Send(std::string_view line, LineKind kind) override;
    std::optional<std::chrono::steady_clock::time_point> NextDue() const override;

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
    LinePacer TxPacer; // device to host
    LinePacer RxPacer; // host to device
};

} // namespace kvl::sim
