// Every line the device received from its host, in order, for tests to look at
// from another thread.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace kvl::sim {

class ReceivedLog {
public:
    // The oldest lines are dropped beyond this many; numbering goes on.
    static constexpr std::size_t kCapacity = 100000;

    void Append(const std::string& line);

    // Lines ever received (the number the next line will get).
    std::size_t Count() const;
    // The lines still kept, oldest first.
    std::vector<std::string> Lines() const;
    // The first line numbered from `from` on that matches, waiting up to timeout.
    std::optional<std::string> WaitFor(const std::function<bool(const std::string&)>& match,
                                       std::chrono::milliseconds timeout, std::size_t from) const;

private:
    mutable std::mutex Mutex;
    mutable std::condition_variable Arrived;
    std::deque<std::string> Kept;
    std::size_t Dropped = 0; // number of the first kept line
};

} // namespace kvl::sim
