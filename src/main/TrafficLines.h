// The lines the traffic view shows (`NmeaData`), oldest first, with a record of
// what changed since the view last took them: the view is brought up to date by
// appending the new lines and rewriting the changed rows, never rebuilt whole
// on every refresh.
#pragma once

#include <cstddef>
#include <deque>
#include <set>
#include <string>

namespace kvl {

class TTrafficLines {
public:
    static constexpr std::size_t kScrollLines = 101;   // the newest lines while scrolling
    static constexpr std::size_t kNoScrollLines = 500; // rows of the "No Scroll" table at most

    struct TChanges {
        bool Rebuild = false;            // the view must be emptied and filled anew
        std::size_t Appended = 0;        // the last so many lines are new
        std::set<std::size_t> Rewritten; // rows (now) whose text changed in place
        bool Any() const { return Rebuild || Appended > 0 || !Rewritten.empty(); }
    };

    // Scrolling: appends the line; beyond 101 lines the oldest goes.
    void Add(std::string text);
    // "No Scroll": replaces the first row containing address, or appends the
    // line when none does (always when address is empty).
    void Put(std::string text, const std::string& address);
    void Clear();

    const std::deque<std::string>& Lines() const { return Data; }

    bool Changed() const { return Pending.Any(); }
    // What changed since the last call; the record starts empty again.
    TChanges TakeChanges();

private:
    void Append(std::string text, std::size_t limit);

    std::deque<std::string> Data;
    TChanges Pending;
};

} // namespace kvl
