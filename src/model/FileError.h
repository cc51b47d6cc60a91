// EFileError: a file the user chose could not be read or written. The message
// names the file and the system's reason and is shown to the user as it is.
#pragma once

#include <stdexcept>
#include <string>

namespace kvl {

class EFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace kvl
