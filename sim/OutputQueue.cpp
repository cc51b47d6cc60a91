#include "OutputQueue.h"

#include <sys/socket.h>
#include <unistd.h>

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

OutputQueue::FlushResult OutputQueue::Flush(int fd, bool isSocket) {
    while (!Empty()) {
        const char* data = Buffer.data() + Offset;
        const std::size_t size = Pending();
        const ssize_t written =
            isSocket ? ::send(fd, data, size, MSG_NOSIGNAL | MSG_DONTWAIT) : ::write(fd, data, size);
        if (written > 0) {
            Offset += static_cast<std::size_t>(written);
            continue;
        }
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return FlushResult::Pending;
        return FlushResult::Failed;
    }
    Clear();
    return FlushResult::Done;
}

void OutputQueue::Clear() {
    Buffer.clear();
    Offset = 0;
}

} // namespace kvl::sim
