// Owns one POSIX file descriptor (serial port or socket) and closes it exactly once.
#pragma once

#include <string>

namespace kvl {

class TFileDescriptor {
public:
    TFileDescriptor() = default;
    explicit TFileDescriptor(int fd) : Fd(fd) {}
    ~TFileDescriptor() { Close(); }

    TFileDescriptor(const TFileDescriptor&) = delete;
    TFileDescriptor& operator=(const TFileDescriptor&) = delete;
    TFileDescriptor(TFileDescriptor&& other) noexcept : Fd(other.Release()) {}
    TFileDescriptor& operator=(TFileDescriptor&& other) noexcept;

    int Get() const { return Fd; }
    bool Valid() const { return Fd >= 0; }
    int Release() noexcept;
    void Close() noexcept;

private:
    int Fd = -1;
};

// The system's text for an errno value (thread-safe).
std::string ErrorText(int err);

} // namespace kvl
