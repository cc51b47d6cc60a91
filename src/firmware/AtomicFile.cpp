#include "firmware/AtomicFile.h"

#include "firmware/FirmwareError.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace kvl {

namespace {

[[noreturn]] void RaiseSystemError(const std::string& what, int error) {
    throw EInOutError(what + ": " + std::strerror(error));
}

bool WriteAll(int fd, std::string_view contents) {
    while (!contents.empty()) {
        const ssize_t written = ::write(fd, contents.data(), contents.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        contents.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

} // namespace

void WriteFileAtomically(const std::string& fileName, std::string_view contents) {
    std::string pattern = fileName + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0)
        RaiseSystemError("Cannot create file \"" + fileName + "\"", errno);
    const std::string tempName(name.data());
    // mkstemp makes the file private; a saved file gets the usual permissions.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    const bool written = WriteAll(fd, contents) && ::fsync(fd) == 0;
    const int writeError = errno;
    if (::close(fd) != 0 || !written) {
        const int error = written ? errno : writeError;
        ::unlink(tempName.c_str());
        RaiseSystemError("Write error on \"" + fileName + "\"", error);
    }
    if (::rename(tempName.c_str(), fileName.c_str()) != 0) {
        const int error = errno;
        ::unlink(tempName.c_str());
        RaiseSystemError("Cannot create file \"" + fileName + "\"", error);
    }
}

} // namespace kvl
