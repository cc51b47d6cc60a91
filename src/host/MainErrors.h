// Errors raised by the main window's operations.
#pragma once

#include "model/InOutError.h"

#include <stdexcept>

namespace kvl {

// No answer came within the time-out of a wait.
class ETimeOut : public std::runtime_error {
public:
    ETimeOut() : std::runtime_error("Multiplexer does not respond") {}
};

// The link closed (the user disconnected, or a write failed and closed it) while
// an operation waited for an answer: no answer can come, and the operation must
// not carry on as if one had.
class ELinkClosed : public std::runtime_error {
public:
    ELinkClosed() : std::runtime_error("The link to the multiplexer is closed") {}
};

} // namespace kvl
