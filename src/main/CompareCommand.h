// The command line's --compare-config: whether the connected multiplexer holds
// the configuration of a file. Only the configuration is read from the device;
// nothing else is sent to it.
#pragma once

#include "link/Comms.h"
#include "main/DeviceConfigRead.h"
#include "model/MuxConfig.h"

#include <QString>

#include <ostream>

namespace kvl {

struct TConnectTarget;

// Exit codes.
inline constexpr int kCompareSame = 0;
inline constexpr int kCompareDiffers = 1;
inline constexpr int kCompareFailed = 2;

// Reads the device over the open link and writes each difference from the
// file's configuration as a line to out, or the reason of a failure to err.
int PrintDifferences(TComm& link, const TMuxConfig& file, std::ostream& out, std::ostream& err,
                     int quietMs = kDeviceReadQuietMs);

// --connect LINK --compare-config FILE: reads the file first (an unreadable one
// is a failure before the link opens), opens the link, prints the differences.
int RunCompareConfig(const TConnectTarget& target, const QString& fileName, std::ostream& out,
                     std::ostream& err);

} // namespace kvl
