// What a configuration file would change on the connected multiplexer: the
// device's configuration and the file's, setting by setting, each named as the
// window captions it and valued as the window shows it. Table rows are compared
// as rows. Settings the multiplexer does not have are kept apart, never counted
// as differences.
#pragma once

#include "model/MuxConfig.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kvl {

enum class TDiffKind {
    Changed,    // both hold the setting or row, with different values
    Added,      // a table row only the file holds
    Removed,    // a table row only the device holds
    NotOnDevice // a setting the multiplexer does not have
};

struct TConfigDifference {
    std::string Setting; // "In 1 / Speed", "Routing / row 3"
    std::string Device;  // empty for an added row
    std::string File;    // empty for a removed row
    TDiffKind Kind = TDiffKind::Changed;

    friend bool operator==(const TConfigDifference&, const TConfigDifference&) = default;
};

struct TConfigComparison {
    std::vector<TConfigDifference> Differences; // in the order of the tabs
    std::vector<TConfigDifference> NotOnDevice;
    std::size_t Same = 0; // settings and table rows alike on both sides

    bool HasDifferences() const { return !Differences.empty(); }
};

// capabilities is the device's capability word, which tells, as it does for the
// window, whether it has the NMEA 2000 settings. Entry states, source addresses
// and the identity are not compared: a file does not keep them.
TConfigComparison CompareWithDevice(const TMuxConfig& device, const TMuxConfig& file,
                                    std::uint16_t capabilities);

// "12 settings differ, 140 are the same, 3 are not on this device".
std::string ComparisonSummary(const TConfigComparison& comparison);

// One difference as a line: In 1 / Speed: device "4800", file "9600"; an added
// row has no device value (device none), a removed one no file value.
std::string DifferenceLine(const TConfigDifference& difference);

} // namespace kvl
