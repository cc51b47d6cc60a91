// Whether a multiplexer holds the configuration of a file: the differences in
// everything the file keeps (the "Configuration" keys, the rows of the three
// tables and the data sources), one line each, named as in the file.
#pragma once

#include "model/MuxConfig.h"

#include <string>
#include <vector>

namespace kvl {

// Empty when they agree. Entry states, source addresses and the identity are
// not compared: the file does not keep them.
std::vector<std::string> CompareConfigurations(const TMuxConfig& file, const TMuxConfig& device);

} // namespace kvl
