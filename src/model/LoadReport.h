// What a configuration file load left out or replaced, one note per finding, so
// that the user can be told before the configuration goes to the multiplexer.
#pragma once

#include <string>
#include <vector>

namespace kvl {

struct TLoadReport {
    std::vector<std::string> Notes;

    bool Empty() const { return Notes.empty(); }
    void Add(std::string note) { Notes.push_back(std::move(note)); }
};

} // namespace kvl
