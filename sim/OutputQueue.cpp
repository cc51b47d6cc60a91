#include "OutputQueue.h"

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace kvl::sim {

bool OutputQueue::Push(std::string_view line, LineKind kind) {
    const std::size_t limit = kind == LineKind::Traffic ? kTrafficLimit : kHardLimit;
    if (Pending() + line.size() > limit)
        return false;
    if (Offset > 0 && Offset >= Buffer.size() / 2) {
        Buffer.erase(0, Offset);
        Offset = 0;
    }
    Buffer.append(line);
    return true;
}

OutputQueue::FlushResult OutputQueue::Flush(int fd, bool isSocket, std::size_t maxBytes,
                                            std::size_t* written) {
    std::size_t sent = 0;
    const auto result = [&](FlushResult value) {
        if (written != nullptr)
            *written = sent;
        return value;
    };
    while (!Empty()) {
        if (sent >= maxBytes)
            return result(FlushResult::Pending);
        const char* data = Buffer.data() + Offset;
        const std::size_t size = std::min(Pending(), maxBytes - sent);
        const ssize_t n =
            isSocket ? ::send(fd, data, size, MSG_NOSIGNAL | MSG_DONTWAIT) : ::write(fd, data, size);
        if (n > 0) {
            Offset += static_cast<std::size_t>(n);
            sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return result(FlushResult::Pending);
        return result(FlushResult::Failed);
    }
    Clear();
    return result(FlushResult::Done);
}

void OutputQueue::Clear() {
    Buffer.clear();
    Offset = 0;
}

} // namespace kvl::sim
