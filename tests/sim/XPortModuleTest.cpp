// The simulated XPort module, seen from the network on loopback.
#include "XPortModule.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <optional>

using kvl::sim::XPortModule;
using kvl::sim::XPortModuleOptions;
using kvl::sim::XPortPacket;

namespace {

sockaddr_in Address(const std::string& dotted, std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    ::inet_pton(AF_INET, dotted.c_str(), &address.sin_addr);
    return address;
}

class Socket {
public:
    explicit Socket(int type) : Fd(::socket(AF_INET, type | SOCK_CLOEXEC, 0)) {}
    ~Socket() { ::close(Fd); }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int Fd;
};

// One datagram back within a second, with its sender's address.
std::optional<std::pair<XPortPacket, std::string>> Receive(int fd) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 1000) <= 0)
        return std::nullopt;
    XPortPacket bytes(2048);
    sockaddr_in sender{};
    socklen_t length = sizeof sender;
    const ssize_t got =
        ::recvfrom(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&sender), &length);
    if (got < 0)
        return std::nullopt;
    bytes.resize(static_cast<std::size_t>(got));
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &sender.sin_addr, text, sizeof text);
    return std::make_pair(bytes, std::string(text));
}

// Sends request over a new TCP connection and reads `size` answer bytes.
XPortPacket Exchange(const std::string& host, std::uint16_t port, const XPortPacket& request,
                     std::size_t size) {
    Socket tcp(SOCK_STREAM);
    const sockaddr_in to = Address(host, port);
    if (::connect(tcp.Fd, reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0)
        return {};
    ::send(tcp.Fd, request.data(), request.size(), MSG_NOSIGNAL);
    XPortPacket answer;
    while (answer.size() < size) {
        pollfd p{tcp.Fd, POLLIN, 0};
        if (::poll(&p, 1, 1000) <= 0)
            break;
        std::uint8_t buffer[256];
        const ssize_t got = ::recv(tcp.Fd, buffer, sizeof buffer, 0);
        if (got <= 0)
            break;
        answer.insert(answer.end(), buffer, buffer + got);
    }
    return answer;
}

XPortModuleOptions FreePort(const std::string& address) {
    XPortModuleOptions options;
    options.address = address;
    options.port = 0;
    return options;
}

TEST(XPortModule, AnswersASearchOnTheLoopbackBroadcastFromItsOwnAddress) {
    XPortModule module(FreePort("127.0.0.41"));
    module.Start();
    Socket udp(SOCK_DGRAM);
    const sockaddr_in to = Address("127.255.255.255", module.Port());
    const int on = 1;
    ::setsockopt(udp.Fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    const std::uint8_t search[] = {0, 0, 0, 0xF6};
    ::sendto(udp.Fd, search, sizeof search, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    const auto answer = Receive(udp.Fd);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->second, "127.0.0.41");
    ASSERT_EQ(answer->first.size(), 30u);
    EXPECT_EQ(answer->first[3], 0xF7);
    EXPECT_EQ(XPortPacket(answer->first.begin() + 24, answer->first.end()),
              (XPortPacket{0x00, 0x20, 0x4A, 0x5E, 0x11, 0x07}));
}

TEST(XPortModule, SetupRecordRoundTripAndMove) {
    XPortModule module(FreePort("127.0.0.42"));
    module.Start();
    const XPortPacket setup = Exchange("127.0.0.42", module.Port(), {0, 0, 0, 0xF8}, 124);
    ASSERT_EQ(setup, module.Setup());
    EXPECT_EQ(setup[3], 0xF9);
    EXPECT_EQ(XPortPacket(setup.begin() + 4, setup.begin() + 8), (XPortPacket{127, 0, 0, 42}));

    XPortPacket write = setup;
    write[3] = 0xFD;
    write[7] = 43;
    EXPECT_EQ(Exchange("127.0.0.42", module.Port(), write, 4), (XPortPacket{0, 0, 0, 0xFB}));
    ASSERT_TRUE(module.WaitForAddress("127.0.0.43", std::chrono::seconds(5)));
    XPortPacket expected = write;
    expected[3] = 0xF9;
    EXPECT_EQ(Exchange("127.0.0.43", module.Port(), {0, 0, 0, 0xF8}, 124), expected);
}

TEST(XPortModule, SetIPDatagramForItsMacMovesIt) {
    XPortModule module(FreePort("127.0.0.44"));
    module.Start();
    Socket udp(SOCK_DGRAM);
    const int on = 1;
    ::setsockopt(udp.Fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    const sockaddr_in to = Address("127.255.255.255", module.Port());
    const std::uint8_t otherMac[] = {0,   0,   0, 0xFC, 'I',  'P',  '-', 'S', 'E', 'T',
                                     'U', 'P', 0, 0,    0x11, 0x08, 127, 0,   0,   46};
    ::sendto(udp.Fd, otherMac, sizeof otherMac, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    const std::uint8_t ours[] = {0,   0,   0, 0xFC, 'I',  'P',  '-', 'S', 'E', 'T',
                                 'U', 'P', 0, 0,    0x11, 0x07, 127, 0,   0,   45};
    ::sendto(udp.Fd, ours, sizeof ours, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    EXPECT_TRUE(module.WaitForAddress("127.0.0.45", std::chrono::seconds(5)));
    EXPECT_EQ(module.Received().size(), 2u);
}

TEST(XPortModule, RefusesAddressesOutsideLoopback) {
    XPortModuleOptions options = FreePort("192.168.1.20");
    XPortModule module(options);
    EXPECT_THROW(module.Start(), std::runtime_error);
}

} // namespace
