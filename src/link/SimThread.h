// Receive thread of the in-process simulated multiplexer: reads what the device
// sends from the byte pipe both share. Unblock() interrupts the pipe so that a
// waiting read returns.
#pragma once

#include "link/RXThread.h"

#include <array>
#include <cstdint>
#include <memory>

namespace kvl {

namespace sim {
class HostPipe;
}

class TSimThread : public TRXThread {
public:
    static constexpr std::size_t kBufferSize = 1024;

    TSimThread(TComm& parent, std::shared_ptr<sim::HostPipe> pipe)
        : TRXThread(parent), Pipe(std::move(pipe)) {}
    ~TSimThread() override { StopAndJoin(); }

protected:
    std::optional<std::uint8_t> NextByte() override;
    void Unblock() override;

private:
    std::shared_ptr<sim::HostPipe> Pipe;
    std::array<std::uint8_t, kBufferSize> RxBuffer{};
    std::size_t RxIdx = 0;
    std::size_t RxCnt = 0;
};

} // namespace kvl
