// ETableEntry: a table entry that cannot be sent to the multiplexer as it is.
// The message names the entry and what is wrong, for the user.
#pragma once

#include <stdexcept>
#include <string>

namespace kvl {

class ETableEntry : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    // The entry's index in its table, when the message names the row.
    ETableEntry(const std::string& message, int row) : std::runtime_error(message), Row(row) {}
    int Row = -1;
};

} // namespace kvl
