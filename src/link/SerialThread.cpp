#include "link/SerialThread.h"

#include <cerrno>
#include <chrono>
#include <poll.h>
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
    bool woken = false; // the last wait ended because the port said it was readable
    while (RxCnt == 0) {
        if (StopRequested())
            return std::nullopt;
        if (!Fill()) {
            MarkLost();
            return std::nullopt;
        }
        if (RxCnt > 0)
            break;
        // Waits for the next bytes rather than sleeping past them (an answer of the
        // bootloader is taken at once), and looks at the stop flag every 10 ms. A
        // port that says it is readable and then reads nothing must not spin.
        if (woken) {
            std::this_thread::sleep_for(kIdleSleep);
            woken = false;
            continue;
        }
        pollfd wait{Fd, POLLIN, 0};
        woken = ::poll(&wait, 1, static_cast<int>(kIdleSleep.count())) > 0;
    }
    --RxCnt;
    return RxBuffer[RxIdx++];
}

} // namespace kvl
