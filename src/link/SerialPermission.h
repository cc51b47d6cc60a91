// Why a serial port could not be opened, in words a Linux user can act on: a
// USB serial adapter belongs to a group (usually "dialout") whose members alone
// may open it, and a new membership counts only from the next login.
#pragma once

#include <string>

namespace kvl {

// The name of the group that owns the device file; empty when it cannot be told.
std::string SerialDeviceGroup(const std::string& path);

// The line that names the cause and the cure when an open failed with error
// (an errno value) for lack of permission; empty for any other error. group is
// the device's group ("dialout" is named when it is empty).
std::string SerialPermissionHint(int error, const std::string& group);

} // namespace kvl
