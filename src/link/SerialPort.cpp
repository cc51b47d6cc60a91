#include "link/SerialPort.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace kvl {

namespace {

speed_t SpeedConstant(int baud) {
    switch (baud) {
    case 4800:
        return B4800;
    case 9600:
        return B9600;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 230400:
        return B230400;
    case 460800:
        return B460800;
    case 921600:
        return B921600;
    default:
        return B115200;
    }
}

// Settings the device rejects are not fatal: the port is used as it is.
void ConfigureRaw(int fd, int baud) {
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0)
        return;
    ::cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cflag &= ~(CSTOPB | PARENB | CRTSCTS);
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    ::cfsetispeed(&tio, SpeedConstant(baud));
    ::cfsetospeed(&tio, SpeedConstant(baud));
    ::tcsetattr(fd, TCSANOW, &tio);
    // Pseudo-terminals have no modem lines; the failure does not matter there.
    int lines = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(fd, TIOCMBIC, &lines);
}

} // namespace

TFileDescriptor OpenSerialPort(const std::string& path, int baud) {
    if (path.empty()) {
        errno = ENOENT;
        return {};
    }
    TFileDescriptor port(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!port.Valid())
        return {};
    if (!::isatty(port.Get()))
        return {};
    // The lock first: TIOCEXCL is a flag of the terminal, not of this descriptor,
    // so setting and clearing it on a port another program holds would spoil its hold.
    if (::flock(port.Get(), LOCK_EX | LOCK_NB) != 0)
        return {};
    if (::ioctl(port.Get(), TIOCEXCL) != 0)
        return {};
    ConfigureRaw(port.Get(), baud);
    ::tcflush(port.Get(), TCIOFLUSH);
    return port;
}

void ReleaseSerialPort(TFileDescriptor& port) {
    if (!port.Valid())
        return;
    ::ioctl(port.Get(), TIOCNXCL);
    ::flock(port.Get(), LOCK_UN);
    port.Close();
}

void WriteSerial(int fd, const std::uint8_t* data, std::size_t size, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n > 0) {
            data += n;
            size -= static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
            return;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return;
        pollfd pfd{fd, POLLOUT, 0};
        if (::poll(&pfd, 1, static_cast<int>(left.count())) < 0 && errno != EINTR)
            return;
    }
}

} // namespace kvl
