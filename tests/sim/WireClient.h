// A host that speaks only the wire format: raw sockets or a terminal, its own
// checksums and its own line splitting, so nothing of the simulator is trusted.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace simtest {

using namespace std::chrono_literals;

// Generous for a loaded two-core machine; only ever reached when something is wrong.
inline constexpr std::chrono::milliseconds kWait = 10s;

// The XOR of the characters between the start character and the end of text.
std::string Checksum(const std::string& text);
// body + "*" + checksum + CR LF.
std::string Framed(const std::string& body);
// True when a line (without CR LF) ends in "*hh" matching its sentence and its
// TAG block, if any, carries a matching checksum as well.
bool ChecksumsRight(const std::string& line);
// The fields of a line's sentence (TAG block and "*hh" removed), split at commas.
std::vector<std::string> FieldsOf(const std::string& line);
// The TAG block of a line ("" without), and the line without it.
std::string TagOf(const std::string& line);
std::string SentenceOf(const std::string& line);
bool StartsWith(const std::string& text, const std::string& prefix);

class WireClient {
public:
    static std::unique_ptr<WireClient> Tcp(std::uint16_t port);
    static std::unique_ptr<WireClient> Serial(const std::string& path);
    // A UDP host bound to 127.0.0.1:hostPort (0: a free port, see LocalPort())
    // that sends to deviceAddress:devicePort once Target() is set.
    static std::unique_ptr<WireClient> Udp(std::uint16_t hostPort);
    void Target(const std::string& deviceAddress, std::uint16_t devicePort);
    std::uint16_t LocalPort() const;

    ~WireClient();

    void Send(const std::string& body) { SendRaw(Framed(body)); }
    void SendRaw(const std::string& bytes);

    // The next complete line (CR LF removed), or nullopt on time-out or end.
    std::optional<std::string> Next(std::chrono::milliseconds timeout = kWait);
    // The first line that matches; every line read on the way is kept in Seen().
    std::optional<std::string> WaitFor(const std::function<bool(const std::string&)>& match,
                                       std::chrono::milliseconds timeout = kWait);
    // The first line starting with prefix.
    std::optional<std::string> WaitForPrefix(const std::string& prefix,
                                             std::chrono::milliseconds timeout = kWait);
    // Lines up to and including "$PQZXRDY..." that start with "$PQZX" (traffic skipped).
    std::vector<std::string> ReadDump(std::chrono::milliseconds timeout = kWait);
    // True when the peer closed the connection within timeout (lines still read).
    bool WaitClosed(std::chrono::milliseconds timeout = kWait);
    bool Closed() const { return PeerClosed; }

    // Link mode: the bytes are no longer cut into lines; NextFrame takes one
    // packet (FE .. FD, escapes removed) from them.
    void SetRawMode(bool raw) { Raw = raw; }
    std::optional<std::vector<std::uint8_t>> NextFrame(std::chrono::milliseconds timeout = kWait);
    // Sends one packet framed and escaped.
    void SendFrame(const std::vector<std::uint8_t>& data);

    const std::vector<std::string>& Seen() const { return SeenLines; }
    // Bytes that arrived with a bare LF or CR inside a line: must stay 0.
    std::size_t BadLineEnds() const { return BadEnds; }

private:
    explicit WireClient(int fd, bool datagram);
    bool Fill(std::chrono::steady_clock::time_point deadline);

    int Fd = -1;
    bool Datagram = false;
    bool PeerClosed = false;
    bool Raw = false;
    std::string Pending;
    std::deque<std::string> Ready;
    std::vector<std::string> SeenLines;
    std::size_t BadEnds = 0;
    std::vector<unsigned char> TargetAddress; // sockaddr_in bytes for UDP
};

} // namespace simtest
