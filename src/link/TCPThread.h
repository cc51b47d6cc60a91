// Receive thread of a TCP link: blocking reads on the connected socket. End of
// file or a read error ends the loop and marks the link lost; the next write
// reports it. Unblock() shuts the socket down so a blocked read returns.
#pragma once

#include "link/RXThread.h"

#include <array>
#include <cstdint>

namespace kvl {

class TTCPThread : public TRXThread {
public:
    static constexpr std::size_t kBufferSize = 1024;

    // fd stays owned by the link, which closes it only after Join().
    TTCPThread(TComm& parent, int fd) : TRXThread(parent), Fd(fd) {}
    ~TTCPThread() override { StopAndJoin(); }

protected:
    std::optional<std::uint8_t> NextByte() override;
    void Unblock() override;

private:
    int Fd;
    std::array<std::uint8_t, kBufferSize> RxBuffer{};
    std::uint32_t RxIdx = 0;
    std::uint32_t RxCnt = 0;
};

} // namespace kvl
