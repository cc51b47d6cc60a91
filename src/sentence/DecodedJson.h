// The decoded line as one JSON object on one line (JSON Lines), for
// `kvlconfig3 --decode`. The field names are stable; the README lists them.
#pragma once

#include "sentence/DecodedLine.h"

#include <cstddef>
#include <string>

namespace kvl {

// Appends the object for the line (1-based number in its file) and a newline.
void AppendJson(const TDecodedLine& line, std::size_t lineNumber, std::string& out);

} // namespace kvl
