// Bytes waiting for a non-blocking descriptor that the host reads at its own pace.
#pragma once

#include "Transport.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace kvl::sim {

class OutputQueue {
public:
    // Beyond these sizes traffic, and then everything, is dropped: a host that
    // stopped reading must not make the device run out of memory.
    static constexpr std::size_t kTrafficLimit = 64 * 1024;
    static constexpr std::size_t kHardLimit = 1024 * 1024;

    // False when the line was dropped.
    bool Push(std::string_view line, LineKind kind);

    enum class FlushResult { Done, Pending, Failed };
    // Writes what the descriptor takes now, at most maxBytes; Failed on a broken
    // link. written: how many bytes went.
    FlushResult Flush(int fd, bool isSocket, std::size_t maxBytes = static_cast<std::size_t>(-1),
                      std::size_t* written = nullptr);

    bool Empty() const { return Offset >= Buffer.size(); }
    void Clear();

private:
    std::size_t Pending() const { return Buffer.size() - Offset; }

    std::string Buffer;
    std::size_t Offset = 0;
};

} // namespace kvl::sim
