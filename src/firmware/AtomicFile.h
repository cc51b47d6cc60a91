// Writing a file that matters: into a temporary file beside the target, then
// renamed over it, so a failed write never destroys the previous file.
#pragma once

#include <string>
#include <string_view>

namespace kvl {

// Throws EInOutError with the system's message; the target is untouched then.
void WriteFileAtomically(const std::string& fileName, std::string_view contents);

} // namespace kvl
