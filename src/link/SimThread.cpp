#include "link/SimThread.h"

#include "HostPipe.h"

namespace kvl {

std::optional<std::uint8_t> TSimThread::NextByte() {
    if (RxCnt == 0) {
        if (StopRequested())
            return std::nullopt;
        RxCnt = Pipe->HostRead(RxBuffer.data(), RxBuffer.size());
        RxIdx = 0;
        if (RxCnt == 0)
            return std::nullopt; // interrupted: the link is closing
    }
    --RxCnt;
    return RxBuffer[RxIdx++];
}

void TSimThread::Unblock() {
    Pipe->Interrupt();
}

} // namespace kvl
