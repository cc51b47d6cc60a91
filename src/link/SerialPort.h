// POSIX serial port access for the link: exclusive open in raw 8N1 mode and
// writes bounded in time.
#pragma once

#include "link/FileDescriptor.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace kvl {

// Opens a serial device for exclusive use (TIOCEXCL and an flock, since root
// ignores TIOCEXCL), raw 8N1 at baud without flow control, reads returning at
// once, DTR and RTS cleared. An invalid descriptor when the device cannot be
// opened, is not a terminal or is held by another program.
TFileDescriptor OpenSerialPort(const std::string& path, int baud);

// Releases the exclusive hold before the descriptor is closed.
void ReleaseSerialPort(TFileDescriptor& port);

// Writes all bytes, waiting for the port at most timeoutMs in all. Failures are
// not reported: a serial link notices a lost device through missing answers.
void WriteSerial(int fd, const std::uint8_t* data, std::size_t size, int timeoutMs = 1000);

} // namespace kvl
