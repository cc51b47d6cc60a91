#include "link/TCPThread.h"

#include <cerrno>
#include <sys/socket.h>

namespace kvl {

std::optional<std::uint8_t> TTCPThread::NextByte() {
    while (RxCnt == 0) {
        if (StopRequested())
            return std::nullopt;
        const ssize_t n = ::recv(Fd, RxBuffer.data(), RxBuffer.size(), 0);
        if (n > 0) {
            RxIdx = 0;
            RxCnt = static_cast<std::uint32_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            if (!StopRequested())
                MarkLost(); // closed or reset by the multiplexer
            return std::nullopt;
        }
    }
    --RxCnt;
    return RxBuffer[RxIdx++];
}

void TTCPThread::Unblock() {
    ::shutdown(Fd, SHUT_RDWR);
}

} // namespace kvl
