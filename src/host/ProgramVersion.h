// The program's own version, major.minor.release, from the build.
#pragma once

#include "Version.h"

namespace kvl {

inline const char* GetProgramVersion() {
    return kVersionText;
}

} // namespace kvl
