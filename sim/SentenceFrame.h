// Checksums and TAG blocks as the device puts them on the wire, and the check of
// received lines. Only the checksum arithmetic is borrowed from the sentence layer.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kvl::sim {

// "$PQZXSP,R,0,0,0,3,0" -> the same text, "*", two upper-case hex digits, CR LF.
// With corrupt set the checksum digits are deliberately wrong (still valid hex).
std::string FrameSentence(std::string_view body, bool corrupt = false);

// TAG block around the given parameters: "\" parameters "*" checksum "\"; the
// checksum covers the characters between the opening "\" and the "*".
std::string TagBlock(std::string_view parameters);

// The part of a received line (without CR LF) from its start character up to its
// "*", when the line ends in "*" and two hex digits that match; a leading TAG
// block is skipped. Anything else (no checksum, wrong checksum, trailing text) is
// not a sentence the device acts on.
std::optional<std::string_view> CheckedBody(std::string_view line);

} // namespace kvl::sim
