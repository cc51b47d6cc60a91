#include "HostPipe.h"

#include "SocketAddress.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace kvl::sim {

HostPipe::HostPipe() : Wake(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
    if (!Wake.Valid())
        ThrowSystemError("eventfd");
}

void HostPipe::HostWrite(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return;
    {
        std::lock_guard lock(ToDeviceMutex);
        ToDevice.append(reinterpret_cast<const char*>(data), size);
    }
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(Wake.Get(), &one, sizeof one);
}

std::size_t HostPipe::HostRead(std::uint8_t* buffer, std::size_t capacity) {
    std::unique_lock lock(ToHostMutex);
    ToHostReady.wait(lock, [this] { return Interrupted || ToHostOffset < ToHost.size(); });
    if (Interrupted)
        return 0;
    const std::size_t count = std::min(capacity, ToHost.size() - ToHostOffset);
    std::memcpy(buffer, ToHost.data() + ToHostOffset, count);
    ToHostOffset += count;
    if (ToHostOffset == ToHost.size()) {
        ToHost.clear();
        ToHostOffset = 0;
    }
    return count;
}

void HostPipe::Interrupt() {
    {
        std::lock_guard lock(ToHostMutex);
        Interrupted = true;
    }
    ToHostReady.notify_all();
}

std::string HostPipe::DeviceTake() {
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t got = ::read(Wake.Get(), &count, sizeof count);
    std::lock_guard lock(ToDeviceMutex);
    std::string bytes;
    bytes.swap(ToDevice);
    return bytes;
}

bool HostPipe::DeviceSend(std::string_view bytes, LineKind kind) {
    {
        std::lock_guard lock(ToHostMutex);
        const std::size_t limit = kind == LineKind::Traffic ? kTrafficLimit : kHardLimit;
        if (ToHost.size() - ToHostOffset + bytes.size() > limit)
            return false;
        ToHost.append(bytes);
    }
    ToHostReady.notify_one();
    return true;
}

} // namespace kvl::sim
