// The command line's --decode: explains a file of NMEA lines (a capture, or the
// tool's own traffic log with its direction tags) as JSON Lines, one object per
// line, without a window and without a display.
#pragma once

#include <istream>
#include <ostream>
#include <string>

namespace kvl {

// Exit codes.
inline constexpr int kDecodeDone = 0;
inline constexpr int kDecodeUnreadable = 2;

// Decodes every non-empty line of in, in order (AIS fragments join across lines).
// False when reading failed before the end.
bool DecodeStream(std::istream& in, std::ostream& out);

// FILE "-" is standard input. 2 with the reason on err when the file cannot be read.
int RunDecode(const std::string& path, std::ostream& out, std::ostream& err);

} // namespace kvl
