// Errors raised by the main window's operations.
#pragma once

#include <stdexcept>

namespace kvl {

// No answer came within the time-out of a wait.
class ETimeOut : public std::runtime_error {
public:
    ETimeOut() : std::runtime_error("Multiplexer does not respond") {}
};

// A file could not be created, written or closed.
class EInOutError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace kvl
