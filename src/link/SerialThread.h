// Receive thread of a serial link: reads the port (opened non-blocking) up to 1024
// bytes at a time and, while nothing arrives, waits for it at most 10 ms at a time.
#pragma once

#include "link/RXThread.h"

#include <array>
#include <cstdint>

namespace kvl {

class TSerialThread : public TRXThread {
public:
    static constexpr std::size_t kBufferSize = 1024;

    // fd stays owned by the link, which closes it only after Join().
    TSerialThread(TComm& parent, int fd) : TRXThread(parent), Fd(fd) {}
    ~TSerialThread() override { StopAndJoin(); }

protected:
    std::optional<std::uint8_t> NextByte() override;

private:
    bool Fill();

    int Fd;
    std::array<std::uint8_t, kBufferSize> RxBuffer{};
    std::uint32_t RxIdx = 0;
    std::uint32_t RxCnt = 0;
};

} // namespace kvl
