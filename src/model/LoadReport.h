// What a configuration file load left out or replaced, one note per finding, so
// that the user can be told before the configuration goes to the multiplexer.
#pragma once

#include <string>
#include <vector>

namespace kvl {

struct TLoadReport {
    std::vector<std::string> Notes;   // values refused or replaced, rows left out
    std::vector<std::string> Missing; // keys the file does not hold

    bool Empty() const { return Notes.empty() && Missing.empty(); }
    void Add(std::string note) { Notes.push_back(std::move(note)); }
    void AddMissing(std::string note) { Missing.push_back(std::move(note)); }
    // Everything to tell the user: the missing keys first, then the other notes.
    std::vector<std::string> All() const {
        std::vector<std::string> all = Missing;
        all.insert(all.end(), Notes.begin(), Notes.end());
        return all;
    }
};

} // namespace kvl
