// The records of the XPort module's configuration protocol (UDP and TCP port
// 30718). Every packet starts with three zero bytes and a command or reply code
// in byte 3; numbers are little-endian, IP addresses four bytes in dotted order.
// The tool interprets a few fields of the setup record; every other byte it reads
// goes back to the module exactly as it came.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kvl {

using TXPortBytes = std::vector<std::uint8_t>;
using TMacAddress = std::array<std::uint8_t, 6>;
// An IPv4 address with the first dotted number in the top byte.
using TIPv4 = std::uint32_t;

inline constexpr std::uint16_t kXPortPort = 30718;

namespace xport {
inline constexpr std::size_t kCodeOffset = 3;
inline constexpr std::uint8_t kSearchRequest = 0xF6;
inline constexpr std::uint8_t kSearchReply = 0xF7;
inline constexpr std::uint8_t kSetupRequest = 0xF8;
inline constexpr std::uint8_t kSetupReply = 0xF9;
inline constexpr std::uint8_t kSetupWrite = 0xFA;
inline constexpr std::uint8_t kSetupWriteNewIP = 0xFD;
inline constexpr std::uint8_t kSetupAck = 0xFB;
inline constexpr std::uint8_t kSetIP = 0xFC;
inline constexpr std::uint8_t kExtendedRequest = 0xE3;
inline constexpr std::uint8_t kExtendedReply = 0xD3;
inline constexpr std::uint8_t kExtendedWrite = 0xC3;
inline constexpr std::uint8_t kExtendedAck = 0xB3;
inline constexpr std::uint8_t kResetCommand = 0xC7;
inline constexpr std::uint8_t kResetAck = 0xB7;

inline constexpr std::size_t kSearchReplySize = 30;
inline constexpr std::size_t kSetupSize = 124;
inline constexpr std::size_t kSetIPSize = 20;
inline constexpr std::size_t kExtendedSize = 130;
inline constexpr std::size_t kAckSize = 4;

inline constexpr std::uint8_t kConnectTcp = 0xC0;
inline constexpr std::uint8_t kConnectUdp = 0xCC;
inline constexpr std::uint8_t kConnectUdpBits = 0x0C;
inline constexpr TIPv4 kBroadcast = 0xFFFFFFFFu;
} // namespace xport

// The module's basic setup record, TXPortSetup0: 124 bytes kept whole, with the
// fields the tool edits read and written in place.
class TXPortSetup0 {
public:
    TXPortSetup0() = default;
    // Exactly 124 bytes; nullopt for any other length.
    static std::optional<TXPortSetup0> FromBytes(const TXPortBytes& bytes);
    const std::array<std::uint8_t, xport::kSetupSize>& Bytes() const { return Raw; }

    std::uint8_t OpCode() const { return Raw[xport::kCodeOffset]; }
    void SetOpCode(std::uint8_t code) { Raw[xport::kCodeOffset] = code; }
    TIPv4 IPAddress() const { return ReadIP(4); }
    void SetIPAddress(TIPv4 ip) { WriteIP(4, ip); }
    // 32 minus the network prefix length.
    std::uint8_t HostBits() const { return Raw[10]; }
    void SetHostBits(std::uint8_t bits) { Raw[10] = bits; }
    TIPv4 Gateway() const { return ReadIP(16); }
    void SetGateway(TIPv4 ip) { WriteIP(16, ip); }
    std::uint16_t Port() const { return ReadU16(24); }
    std::uint16_t Port2() const { return ReadU16(26); }
    // The multiplexer's data port; the module keeps the same number in both fields.
    void SetPort(std::uint16_t port);
    TIPv4 RemoteIP() const { return ReadIP(28); }
    std::uint8_t ConnectMode() const { return Raw[32]; }
    bool IsUdp() const { return (ConnectMode() & xport::kConnectUdpBits) == xport::kConnectUdpBits; }
    // TCP server, or UDP to a destination (kBroadcast for broadcast).
    void SetTcp();
    void SetUdp(TIPv4 destination);

    std::uint8_t& operator[](std::size_t offset) { return Raw.at(offset); }
    std::uint8_t operator[](std::size_t offset) const { return Raw.at(offset); }

private:
    TIPv4 ReadIP(std::size_t offset) const;
    void WriteIP(std::size_t offset, TIPv4 ip);
    std::uint16_t ReadU16(std::size_t offset) const;
    void WriteU16(std::size_t offset, std::uint16_t value);

    std::array<std::uint8_t, xport::kSetupSize> Raw{};
};

// The set-IP datagram TXPortSetIP: gives the module whose MAC ends in macTail
// the address ip.
struct TXPortSetIP {
    std::array<std::uint8_t, 2> MacTail{};
    TIPv4 IPAddress = 0;
    TXPortBytes Encode() const;
};

// The three-byte prefix and one code: the search, setup and extended requests.
TXPortBytes XPortRequest(std::uint8_t code);

// What one datagram of a search is.
struct TSearchAnswer {
    enum class TKind { Module, Skipped, EndOfSearch };
    TKind Kind = TKind::EndOfSearch;
    TMacAddress Mac{};
};
// A 30-byte datagram is a module (code F7) or skipped; any other length ends the search.
TSearchAnswer DecodeSearchAnswer(const TXPortBytes& datagram);

// The setup reply: a 124-byte record with code F9, else nullopt.
std::optional<TXPortSetup0> DecodeSetupReply(const TXPortBytes& reply);
// The record as written: a copy with code FD when the IP address changed, else FA.
TXPortBytes EncodeSetupWrite(const TXPortSetup0& record, bool changeIP);
// A four-byte (or longer) answer whose code is the expected one.
bool IsXPortAck(const TXPortBytes& answer, std::uint8_t code);

// The extended record's reply (130 bytes, code D3) turned into the write that
// sets the module's network defaults; nullopt for anything else.
std::optional<TXPortBytes> ExtendedWriteFromReply(const TXPortBytes& reply);
// The command that restarts the module's network side.
TXPortBytes XPortResetCommand();
// The setup record of the factory: no address, no gateway, UDP broadcast on 10110.
TXPortSetup0 FactorySetup();

// "192.168.1.20  (00-20-4A-12-AB-CD)": a search result line.
std::string FoundLine(const std::string& ip, const TMacAddress& mac);

} // namespace kvl
