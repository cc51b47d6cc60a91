// IPv4 socket addresses for the loopback links.
#pragma once

#include <netinet/in.h>

#include <cstdint>
#include <string>

namespace kvl::sim {

// Throws std::runtime_error when text is not a dotted IPv4 address.
sockaddr_in MakeAddress(const std::string& text, std::uint16_t port);
std::string AddressText(const sockaddr_in& address); // "127.0.0.1:40123"
// The port a socket is bound to.
std::uint16_t BoundPort(int fd);
// "what: strerror(errno)" as an exception.
[[noreturn]] void ThrowSystemError(const std::string& what);

} // namespace kvl::sim
