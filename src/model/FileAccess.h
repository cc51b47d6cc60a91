// Whole-file reading and atomic writing for the files that matter (configuration
// files, exports). A write goes to a temporary file beside the target, which is
// renamed over the target only once every byte has reached the disk: a failed
// write never leaves a half-written file where the old one was.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kvl {

// Larger files are refused: nothing the tool reads whole is anywhere near this.
inline constexpr std::size_t kMaxReadFileSize = 16 * 1024 * 1024;

// The bytes of the file. Throws EFileError "Unable to read <path>" with the reason.
std::string ReadWholeFile(const std::string& path);
// As ReadWholeFile, but a file that does not exist gives nullopt.
std::optional<std::string> ReadFileIfExists(const std::string& path);

// Replaces the file with content; through a symbolic link, the file it points to
// (the link stays). An existing file keeps its permissions; a new
// one gets the usual ones (0666 less the umask). Throws EFileError
// "Unable to write to <path>" with the reason; the old file is then untouched and
// no temporary file is left behind.
void WriteFileAtomically(const std::string& path, std::string_view content);

} // namespace kvl
