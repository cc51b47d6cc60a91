// POSIX TCP client of the link: connect with a time-out, write everything.
#pragma once

#include "link/FileDescriptor.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace kvl {

// Resolves host and connects, waiting at most timeoutMs in all; the socket is
// blocking afterwards. Throws ECommError with the resolver's or the socket
// layer's message ("Connection refused", "Connection timed out", ...).
TFileDescriptor ConnectTcp(const std::string& host, int port, int timeoutMs = 5000);

// Writes all bytes (never raising SIGPIPE). Throws ECommError with the socket
// layer's message when the connection is closed, reset or stuck.
void WriteTcp(int fd, const std::uint8_t* data, std::size_t size);

} // namespace kvl
