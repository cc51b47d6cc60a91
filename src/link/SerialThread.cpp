#include "link/SerialThread.h"

#include <cerrno>
#include <chrono>
#include <thread>
#include <unistd.h>

namespace kvl {

namespace {
constexpr auto kIdleSleep = std::chrono::milliseconds(10);
} // namespace

// One read attempt; false when the port has failed for good.
bool TSerialThread::Fill() {
    const ssize_t n = ::read(Fd, RxBuffer.data(), RxBuffer.size());
    if (n > 0) {
        RxIdx = 0;
        RxCnt = static_cast<std::uint32_t>(n);
        return true;
    }
    // With VMIN = VTIME = 0 an empty port reads 0 bytes (or EAGAIN): not an end.
    if (n == 0 || errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)
        return true;
    return false; // EIO, ENXIO, ENODEV: the device has gone (USB adapter unplugged)
}

std::optional<std::uint8_t> TSerialThread::NextByte() {
    while (RxCnt == 0) {
        if (StopRequested())
            return std::nullopt;
        if (!Fill()) {
            MarkLost();
            return std::nullopt;
        }
        if (RxCnt == 0)
            std::this_thread::sleep_for(kIdleSleep);
    }
    --RxCnt;
    return RxBuffer[RxIdx++];
}

} // namespace kvl
