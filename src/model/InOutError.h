// File input and output errors (configuration files, logs, firmware containers,
// Intel HEX files), each carrying the message shown to the user.
#pragma once

#include <stdexcept>

namespace kvl {

class EInOutError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace kvl
