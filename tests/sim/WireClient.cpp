#include "WireClient.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace simtest {

namespace {

sockaddr_in Loopback(const std::string& address, std::uint16_t port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    if (inet_pton(AF_INET, address.c_str(), &a.sin_addr) != 1)
        throw std::runtime_error("bad address " + address);
    return a;
}

} // namespace

std::string Checksum(const std::string& text) {
    unsigned sum = 0;
    for (std::size_t i = 1; i < text.size(); ++i)
        sum ^= static_cast<unsigned char>(text[i]);
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02X", sum);
    return hex;
}

std::string Framed(const std::string& body) {
    return body + "*" + Checksum(body) + "\r\n";
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.rfind(prefix, 0) == 0;
}

std::string TagOf(const std::string& line) {
    if (!StartsWith(line, "\\"))
        return "";
    const auto close = line.find('\\', 1);
    return close == std::string::npos ? "" : line.substr(0, close + 1);
}

std::string SentenceOf(const std::string& line) {
    return line.substr(TagOf(line).size());
}

bool ChecksumsRight(const std::string& line) {
    const std::string tag = TagOf(line);
    if (!tag.empty()) {
        const auto star = tag.find('*');
        if (star == std::string::npos || star + 4 != tag.size())
            return false;
        if (tag.substr(star + 1, 2) != Checksum(tag.substr(0, star)))
            return false;
    }
    const std::string sentence = SentenceOf(line);
    const auto star = sentence.find('*');
    if (star == std::string::npos || star + 3 != sentence.size())
        return false;
    return sentence.substr(star + 1) == Checksum(sentence.substr(0, star));
}

std::vector<std::string> FieldsOf(const std::string& line) {
    std::string sentence = SentenceOf(line);
    sentence = sentence.substr(0, sentence.find('*'));
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const auto comma = sentence.find(',', start);
        fields.push_back(
            sentence.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos)
            return fields;
        start = comma + 1;
    }
}

WireClient::WireClient(int fd, bool datagram) : Fd(fd), Datagram(datagram) {}

WireClient::~WireClient() {
    if (Fd >= 0)
        ::close(Fd);
}

std::unique_ptr<WireClient> WireClient::Tcp(std::uint16_t port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in a = Loopback("127.0.0.1", port);
    if (fd < 0 || ::connect(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0) {
        if (fd >= 0)
            ::close(fd);
        throw std::runtime_error("cannot connect to 127.0.0.1:" + std::to_string(port));
    }
    return std::unique_ptr<WireClient>(new WireClient(fd, false));
}

std::unique_ptr<WireClient> WireClient::Serial(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        throw std::runtime_error("cannot open " + path + ": " + std::strerror(errno));
    termios settings{};
    ::tcgetattr(fd, &settings);
    ::cfmakeraw(&settings);
    ::tcsetattr(fd, TCSANOW, &settings);
    return std::unique_ptr<WireClient>(new WireClient(fd, false));
}

std::unique_ptr<WireClient> WireClient::Udp(std::uint16_t hostPort) {
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const sockaddr_in a = Loopback("127.0.0.1", hostPort);
    if (fd < 0 || ::bind(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0) {
        if (fd >= 0)
            ::close(fd);
        throw std::runtime_error("cannot bind 127.0.0.1:" + std::to_string(hostPort));
    }
    return std::unique_ptr<WireClient>(new WireClient(fd, true));
}

void WireClient::Target(const std::string& deviceAddress, std::uint16_t devicePort) {
    const sockaddr_in a = Loopback(deviceAddress, devicePort);
    const auto* bytes = reinterpret_cast<const unsigned char*>(&a);
    TargetAddress.assign(bytes, bytes + sizeof a);
}

std::uint16_t WireClient::LocalPort() const {
    sockaddr_in a{};
    socklen_t length = sizeof a;
    ::getsockname(Fd, reinterpret_cast<sockaddr*>(&a), &length);
    return ntohs(a.sin_port);
}

void WireClient::SendRaw(const std::string& bytes) {
    if (Datagram) {
        ::sendto(Fd, bytes.data(), bytes.size(), MSG_NOSIGNAL,
                 reinterpret_cast<const sockaddr*>(TargetAddress.data()),
                 static_cast<socklen_t>(TargetAddress.size()));
        return;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::send(Fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n < 0 && errno == ENOTSOCK) {
            const ssize_t w = ::write(Fd, bytes.data() + done, bytes.size() - done);
            if (w <= 0)
                return;
            done += static_cast<std::size_t>(w);
            continue;
        }
        if (n <= 0)
            return;
        done += static_cast<std::size_t>(n);
    }
}

bool WireClient::Fill(std::chrono::steady_clock::time_point deadline) {
    const auto now = std::chrono::steady_clock::now();
    if (PeerClosed || now >= deadline)
        return false;
    const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now).count() + 1;
    pollfd p{Fd, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(wait)) <= 0)
        return false;
    char buffer[65536];
    const ssize_t n = ::read(Fd, buffer, sizeof buffer);
    if (n <= 0) {
        if (!Datagram)
            PeerClosed = true;
        return false;
    }
    Pending.append(buffer, static_cast<std::size_t>(n));
    while (!Raw) {
        const auto end = Pending.find("\r\n");
        if (end == std::string::npos)
            break;
        std::string line = Pending.substr(0, end);
        Pending.erase(0, end + 2);
        if (line.find('\n') != std::string::npos || line.find('\r') != std::string::npos)
            ++BadEnds;
        Ready.push_back(std::move(line));
    }
    return true;
}

std::optional<std::string> WireClient::Next(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (Ready.empty()) {
        if (!Fill(deadline) && (PeerClosed || std::chrono::steady_clock::now() >= deadline))
            return std::nullopt;
    }
    std::string line = std::move(Ready.front());
    Ready.pop_front();
    SeenLines.push_back(line);
    return line;
}

std::optional<std::string> WireClient::WaitFor(const std::function<bool(const std::string&)>& match,
                                               std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline)
            return std::nullopt;
        auto line = Next(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now));
        if (!line)
            return std::nullopt;
        if (match(*line))
            return line;
    }
}

std::optional<std::string> WireClient::WaitForPrefix(const std::string& prefix,
                                                     std::chrono::milliseconds timeout) {
    return WaitFor([&](const std::string& line) { return StartsWith(line, prefix); }, timeout);
}

std::vector<std::string> WireClient::ReadDump(std::chrono::milliseconds timeout) {
    std::vector<std::string> dump;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        auto line = WaitForPrefix("$PQZX", std::chrono::duration_cast<std::chrono::milliseconds>(
                                               deadline - std::chrono::steady_clock::now()));
        if (!line)
            break;
        dump.push_back(*line);
        if (StartsWith(*line, "$PQZXRDY"))
            break;
    }
    return dump;
}

bool WireClient::WaitClosed(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!PeerClosed && std::chrono::steady_clock::now() < deadline) {
        while (!Ready.empty()) {
            SeenLines.push_back(Ready.front());
            Ready.pop_front();
        }
        Fill(deadline);
    }
    while (!Ready.empty()) {
        SeenLines.push_back(Ready.front());
        Ready.pop_front();
    }
    return PeerClosed;
}

std::optional<std::vector<std::uint8_t>> WireClient::NextFrame(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const auto start = Pending.find('\xFE');
        const auto end = start == std::string::npos ? start : Pending.find('\xFD', start);
        // An escaped FD is data: look for an end byte not preceded by an escape.
        std::size_t stop = end;
        while (stop != std::string::npos && Pending[stop - 1] == '\xFF') {
            std::size_t escapes = 0;
            for (std::size_t i = stop - 1; i > start && Pending[i] == '\xFF'; --i)
                ++escapes;
            if (escapes % 2 == 0)
                break;
            stop = Pending.find('\xFD', stop + 1);
        }
        if (stop != std::string::npos) {
            std::vector<std::uint8_t> data;
            for (std::size_t i = start + 1; i < stop; ++i) {
                if (Pending[i] == '\xFF')
                    ++i;
                data.push_back(static_cast<std::uint8_t>(Pending[i]));
            }
            Pending.erase(0, stop + 1);
            return data;
        }
        if (!Fill(deadline) && (PeerClosed || std::chrono::steady_clock::now() >= deadline))
            return std::nullopt;
    }
}

void WireClient::SendFrame(const std::vector<std::uint8_t>& data) {
    std::string frame = "\xFE";
    for (const std::uint8_t b : data) {
        if (b >= 0xFD)
            frame += '\xFF';
        frame += static_cast<char>(b);
    }
    frame += '\xFD';
    SendRaw(frame);
}

} // namespace simtest
