#include "link/FileDescriptor.h"

#include <cstring>
#include <unistd.h>

namespace kvl {

TFileDescriptor& TFileDescriptor::operator=(TFileDescriptor&& other) noexcept {
    if (this != &other) {
        Close();
        Fd = other.Release();
    }
    return *this;
}

int TFileDescriptor::Release() noexcept {
    const int fd = Fd;
    Fd = -1;
    return fd;
}

void TFileDescriptor::Close() noexcept {
    if (Fd >= 0)
        ::close(Fd); // never retried on EINTR: Linux has released the number already
    Fd = -1;
}

std::string ErrorText(int err) {
    char buffer[256];
    // GNU strerror_r returns the text, which may or may not live in buffer.
    return ::strerror_r(err, buffer, sizeof buffer);
}

} // namespace kvl
