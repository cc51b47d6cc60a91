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

} // namespace kvl
