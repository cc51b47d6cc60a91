// Link and bootloader failures, apart from the link class so that the
// standard-C++ bootloader procedures can raise them without Qt.
#pragma once

#include <stdexcept>

namespace kvl {

// Link and bootloader failures; the message is shown to the user unchanged.
class ECommError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace kvl
