// EFileError: a file the user chose could not be read or written. The message
// names the file and the system's reason and is shown to the user as it is. It
// is the program's one file error, the same as the logs' and firmware files'.
#pragma once

#include "model/InOutError.h"

namespace kvl {

using EFileError = EInOutError;

} // namespace kvl
