#include "model/FileAccess.h"

#include "model/FileError.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace kvl {

namespace {

std::string Reason(int error) {
    return std::strerror(error);
}

[[noreturn]] void ReadFailed(const std::string& path, const std::string& reason) {
    throw EFileError("Unable to read " + path + "\r" + reason);
}

[[noreturn]] void WriteFailed(const std::string& path, const std::string& reason) {
    throw EFileError("Unable to write to " + path + "\r" + reason);
}

// Closes the descriptor on every path.
class TFd {
public:
    explicit TFd(int fd) : Fd(fd) {}
    ~TFd() {
        if (Fd >= 0)
            ::close(Fd);
    }
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    int Get() const { return Fd; }

private:
    int Fd;
};

std::optional<std::string> ReadFile(const std::string& path, bool missingIsEmpty) {
    TFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0) {
        if (missingIsEmpty && errno == ENOENT)
            return std::nullopt;
        ReadFailed(path, Reason(errno));
    }
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0)
        ReadFailed(path, Reason(errno));
    if (S_ISDIR(info.st_mode))
        ReadFailed(path, Reason(EISDIR));
    std::string content;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            ReadFailed(path, Reason(errno));
        }
        if (got == 0)
            return content;
        if (content.size() + static_cast<std::size_t>(got) > kMaxReadFileSize)
            ReadFailed(path, "The file is too large");
        content.append(buffer, static_cast<std::size_t>(got));
    }
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

void WriteAll(int fd, std::string_view content, const std::string& path) {
    while (!content.empty()) {
        const ssize_t put = ::write(fd, content.data(), content.size());
        if (put < 0) {
            if (errno == EINTR)
                continue;
            WriteFailed(path, Reason(errno));
        }
        content.remove_prefix(static_cast<std::size_t>(put));
    }
}

// The temporary file beside the target; removed again unless Keep() was called.
class TTempFile {
public:
    explicit TTempFile(const std::string& target) {
        std::string pattern = target + ".XXXXXX";
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        const int fd = ::mkstemp(name.data());
        if (fd < 0)
            WriteFailed(target, Reason(errno));
        Fd = fd;
        Name = name.data();
    }
    ~TTempFile() {
        if (Fd >= 0)
            ::close(Fd);
        if (!Kept)
            ::unlink(Name.c_str());
    }
    TTempFile(const TTempFile&) = delete;
    TTempFile& operator=(const TTempFile&) = delete;

    int Get() const { return Fd; }
    const std::string& Path() const { return Name; }
    // Closes with a check: a write error may only show at close.
    int Close() { return ::close(std::exchange(Fd, -1)); }
    void Keep() { Kept = true; }

private:
    int Fd = -1;
    std::string Name;
    bool Kept = false;
};

// The file a path finally names: a symbolic link is followed (link by link, so
// that a link to a file not yet made is followed too), so that a save replaces
// the file it points to and the link stays.
std::string FollowLinks(const std::string& path) {
    constexpr int kMaxLinks = 40; // as the system's own limit
    std::string target = path;
    for (int hops = 0; hops < kMaxLinks; ++hops) {
        struct stat info {};
        if (::lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return target;
        std::vector<char> buffer(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 1);
        const ssize_t size = ::readlink(target.c_str(), buffer.data(), buffer.size());
        if (size < 0 || static_cast<std::size_t>(size) >= buffer.size())
            WriteFailed(path, Reason(size < 0 ? errno : ENAMETOOLONG));
        std::string next(buffer.data(), static_cast<std::size_t>(size));
        if (!next.starts_with('/')) {
            const std::size_t slash = target.rfind('/');
            if (slash != std::string::npos)
                next.insert(0, target.substr(0, slash + 1));
        }
        target = std::move(next);
    }
    WriteFailed(path, Reason(ELOOP));
}

} // namespace

std::string ReadWholeFile(const std::string& path) {
    return *ReadFile(path, false);
}

std::optional<std::string> ReadFileIfExists(const std::string& path) {
    return ReadFile(path, true);
}

void WriteFileAtomically(const std::string& path, std::string_view content) {
    const std::string target = FollowLinks(path);
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    const mode_t mode = exists ? (old.st_mode & 07777) : NewFileMode();
    TTempFile temp(target);
    WriteAll(temp.Get(), content, path);
    if (::fchmod(temp.Get(), mode) != 0 || ::fsync(temp.Get()) != 0)
        WriteFailed(path, Reason(errno));
    if (temp.Close() != 0)
        WriteFailed(path, Reason(errno));
    if (::rename(temp.Path().c_str(), target.c_str()) != 0)
        WriteFailed(path, Reason(errno));
    temp.Keep();
}

} // namespace kvl
