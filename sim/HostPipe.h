// The bytes between a host and a simulated multiplexer in the same process: no
// port, socket or terminal of the machine is opened. The host writes commands and
// reads what the device sends; the device's poll loop is woken through an eventfd
// whenever the host has written.
#pragma once

#include "Transport.h"
#include "UniqueFd.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

namespace kvl::sim {

class HostPipe {
public:
    // Beyond these sizes unread traffic, and then everything, is dropped: a host
    // that stopped reading must not make the device run out of memory.
    static constexpr std::size_t kTrafficLimit = 64 * 1024;
    static constexpr std::size_t kHardLimit = 1024 * 1024;

    HostPipe(); // throws std::runtime_error when no eventfd can be made

    // Host side, any thread.
    void HostWrite(const std::uint8_t* data, std::size_t size);
    // Waits until the device has sent something and copies up to capacity bytes;
    // 0 once Interrupt() was called.
    std::size_t HostRead(std::uint8_t* buffer, std::size_t capacity);
    // Ends every HostRead, now and later (the host's receive thread is stopping).
    void Interrupt();

    // Device side: readable while the host has written bytes the device has not taken.
    int DeviceWakeFd() const { return Wake.Get(); }
    std::string DeviceTake();
    // False when the bytes were dropped.
    bool DeviceSend(std::string_view bytes, LineKind kind);

private:
    UniqueFd Wake;
    std::mutex ToDeviceMutex;
    std::string ToDevice;
    std::mutex ToHostMutex;
    std::condition_variable ToHostReady;
    std::string ToHost;
    std::size_t ToHostOffset = 0;
    bool Interrupted = false;
};

} // namespace kvl::sim
