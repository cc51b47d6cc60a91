// ETableEntry: a table entry that cannot be sent to the multiplexer as it is.
// The message names the entry and what is wrong, for the user.
#pragma once

#include <stdexcept>

namespace kvl {

class ETableEntry : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace kvl
