#include "ReceivedLog.h"

namespace kvl::sim {

void ReceivedLog::Append(const std::string& line) {
    {
        std::lock_guard lock(Mutex);
        Kept.push_back(line);
        if (Kept.size() > kCapacity) {
            Kept.pop_front();
            ++Dropped;
        }
    }
    Arrived.notify_all();
}

std::size_t ReceivedLog::Count() const {
    std::lock_guard lock(Mutex);
    return Dropped + Kept.size();
}

std::vector<std::string> ReceivedLog::Lines() const {
    std::lock_guard lock(Mutex);
    return {Kept.begin(), Kept.end()};
}

std::optional<std::string> ReceivedLog::WaitFor(const std::function<bool(const std::string&)>& match,
                                                std::chrono::milliseconds timeout, std::size_t from) const {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::unique_lock lock(Mutex);
    std::size_t next = from;
    for (;;) {
        if (next < Dropped)
            next = Dropped;
        for (; next < Dropped + Kept.size(); ++next)
            if (match(Kept[next - Dropped]))
                return Kept[next - Dropped];
        if (Arrived.wait_until(lock, deadline) == std::cv_status::timeout && next == Dropped + Kept.size())
            return std::nullopt;
    }
}

} // namespace kvl::sim
