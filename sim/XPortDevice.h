// The XPort module of a simulated Korvelan-3E, as the module sees its
// configuration protocol: it answers the search, hands out and stores its setup
// and extended records, takes a new address from a set-IP datagram addressed to
// its MAC, and restarts on the reset command. Written from the module's side of
// the protocol, independently of the tool's record code.
//
// The records start with distinct filler bytes everywhere the protocol gives no
// meaning, so that a test sees any byte the tool failed to pass back unchanged.
// Sockets and threads are XPortModule's; this class only reads and answers bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kvl::sim {

using XPortPacket = std::vector<std::uint8_t>;

struct XPortModuleOptions {
    std::string address = "127.0.0.5";         // the module's own loopback address
    std::string broadcast = "127.255.255.255"; // where it hears searches and set-IP datagrams
    std::uint16_t port = 30718;                // UDP and TCP; 0: a free port
    std::array<std::uint8_t, 6> mac = {0x00, 0x20, 0x4A, 0x5E, 0x11, 0x07};
    std::uint16_t dataPort = 10110;         // the multiplexer's data port in the setup record
    int restartMs = 0;                      // unreachable for so long after taking new settings
    int answerDelayMs = 0;                  // before answering a search
    std::size_t answerChunk = 0;            // TCP answers go out in pieces of this size, 0: whole
    std::vector<XPortPacket> searchAnswers; // instead of the one true answer, when not empty
};

class XPortDevice {
public:
    static constexpr std::size_t kSetupSize = 124;
    static constexpr std::size_t kExtendedSize = 130;

    explicit XPortDevice(const XPortModuleOptions& options);

    // A datagram heard; the datagrams to send back to its sender.
    std::vector<XPortPacket> OnDatagram(const XPortPacket& datagram);

    // Bytes from one TCP connection, appended to that connection's pending bytes
    // (consumed as whole packets); the bytes to send back. false in `keep` when
    // the connection is to be closed.
    XPortPacket OnStream(XPortPacket& pending, bool& keep);

    // The address the module is to move to, set by a set-IP datagram or a written
    // setup record with another loopback address; taken (and cleared) by the caller.
    std::optional<std::string> TakeMove();
    // Whether the module restarts (reset command or new settings): it is then
    // unreachable for the restart time.
    bool TakeRestart();

    const std::string& Address() const { return Own; }
    void SetAddress(const std::string& address) { Own = address; }
    const XPortPacket& Setup() const { return SetupRecord; }
    const XPortPacket& Extended() const { return ExtendedRecord; }
    // Every packet received, UDP and TCP, in order.
    const std::vector<XPortPacket>& Received() const { return Log; }
    int Resets() const { return ResetCount; }

private:
    XPortPacket Answer(std::uint8_t code) const;
    XPortPacket HandlePacket(const XPortPacket& packet);
    void TakeSetup(const XPortPacket& packet);
    static std::size_t PacketSize(std::uint8_t code);

    XPortModuleOptions Options;
    std::string Own;
    XPortPacket SetupRecord;
    XPortPacket ExtendedRecord;
    std::vector<XPortPacket> Log;
    std::optional<std::string> Move;
    bool Restart = false;
    int ResetCount = 0;
};

// The module's dotted address read back from four record bytes.
std::string DottedAddress(const std::uint8_t* bytes);

} // namespace kvl::sim
