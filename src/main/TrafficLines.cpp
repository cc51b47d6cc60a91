#include "main/TrafficLines.h"

#include <utility>

namespace kvl {

void TTrafficLines::Add(std::string text) {
    Append(std::move(text), kScrollLines);
}

void TTrafficLines::Put(std::string text, const std::string& address) {
    if (!address.empty()) {
        for (std::size_t row = 0; row < Data.size(); ++row) {
            if (Data[row].find(address) != std::string::npos) {
                Data[row] = std::move(text);
                Pending.Rewritten.insert(row);
                return;
            }
        }
    }
    // Lines without an address would pile up without end: keep the newest.
    Append(std::move(text), kNoScrollLines);
}

void TTrafficLines::Append(std::string text, std::size_t limit) {
    if (Data.size() >= limit) {
        // The view drops its first row the same way (its block limit is this
        // limit), so the rows recorded so far move up by one.
        Data.pop_front();
        std::set<std::size_t> moved;
        for (std::size_t row : Pending.Rewritten)
            if (row > 0)
                moved.insert(row - 1);
        Pending.Rewritten = std::move(moved);
    }
    Data.push_back(std::move(text));
    ++Pending.Appended;
}

void TTrafficLines::Clear() {
    Data.clear();
    Pending = TChanges{};
}

TTrafficLines::TChanges TTrafficLines::TakeChanges() {
    TChanges changes = std::move(Pending);
    Pending = TChanges{};
    if (changes.Appended >= Data.size() && !Data.empty()) {
        // Nothing of what the view shows is left: filling it anew is cheaper.
        changes.Rebuild = true;
    }
    if (changes.Rebuild) {
        changes.Appended = Data.size();
        changes.Rewritten.clear();
    } else {
        // Rows appended in this round are written with their newest text anyway.
        const std::size_t firstNew = Data.size() - changes.Appended;
        changes.Rewritten.erase(changes.Rewritten.lower_bound(firstNew), changes.Rewritten.end());
    }
    return changes;
}

} // namespace kvl
