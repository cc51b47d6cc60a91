#include "network/records/XPortRecords.h"

#include <algorithm>
#include <cstdio>

namespace kvl {

using namespace xport;

std::optional<TXPortSetup0> TXPortSetup0::FromBytes(const TXPortBytes& bytes) {
    if (bytes.size() != kSetupSize)
        return std::nullopt;
    TXPortSetup0 record;
    std::copy(bytes.begin(), bytes.end(), record.Raw.begin());
    return record;
}

TIPv4 TXPortSetup0::ReadIP(std::size_t offset) const {
    return (TIPv4{Raw[offset]} << 24) | (TIPv4{Raw[offset + 1]} << 16) | (TIPv4{Raw[offset + 2]} << 8) |
           TIPv4{Raw[offset + 3]};
}

void TXPortSetup0::WriteIP(std::size_t offset, TIPv4 ip) {
    for (std::size_t i = 0; i < 4; ++i)
        Raw[offset + i] = static_cast<std::uint8_t>(ip >> (24 - 8 * i));
}

std::uint16_t TXPortSetup0::ReadU16(std::size_t offset) const {
    return static_cast<std::uint16_t>(Raw[offset] | (Raw[offset + 1] << 8));
}

void TXPortSetup0::WriteU16(std::size_t offset, std::uint16_t value) {
    Raw[offset] = static_cast<std::uint8_t>(value & 0xFF);
    Raw[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

void TXPortSetup0::SetPort(std::uint16_t port) {
    WriteU16(24, port);
    WriteU16(26, port);
}

void TXPortSetup0::SetTcp() {
    WriteIP(28, 0);
    Raw[32] = kConnectTcp;
    Raw[33] = 0x00;
    Raw[39] = 0x00;
}

void TXPortSetup0::SetUdp(TIPv4 destination) {
    WriteIP(28, destination);
    Raw[32] = kConnectUdp;
    Raw[33] = 0x01;
    Raw[39] = 0x30;
}

TXPortBytes TXPortSetIP::Encode() const {
    TXPortBytes bytes(kSetIPSize, 0);
    bytes[kCodeOffset] = kSetIP;
    const char tag[] = "IP-SETUP";
    std::copy(tag, tag + 8, bytes.begin() + 4);
    bytes[14] = MacTail[0];
    bytes[15] = MacTail[1];
    for (std::size_t i = 0; i < 4; ++i)
        bytes[16 + i] = static_cast<std::uint8_t>(IPAddress >> (24 - 8 * i));
    return bytes;
}

TXPortBytes XPortRequest(std::uint8_t code) {
    return {0, 0, 0, code};
}

TSearchAnswer DecodeSearchAnswer(const TXPortBytes& datagram) {
    TSearchAnswer answer;
    if (datagram.size() != kSearchReplySize)
        return answer;
    if (datagram[kCodeOffset] != kSearchReply) {
        answer.Kind = TSearchAnswer::TKind::Skipped;
        return answer;
    }
    answer.Kind = TSearchAnswer::TKind::Module;
    std::copy(datagram.begin() + 24, datagram.begin() + 30, answer.Mac.begin());
    return answer;
}

std::optional<TXPortSetup0> DecodeSetupReply(const TXPortBytes& reply) {
    auto record = TXPortSetup0::FromBytes(reply);
    if (!record || record->OpCode() != kSetupReply)
        return std::nullopt;
    return record;
}

TXPortBytes EncodeSetupWrite(const TXPortSetup0& record, bool changeIP) {
    TXPortBytes bytes(record.Bytes().begin(), record.Bytes().end());
    bytes[kCodeOffset] = changeIP ? kSetupWriteNewIP : kSetupWrite;
    return bytes;
}

bool IsXPortAck(const TXPortBytes& answer, std::uint8_t code) {
    return answer.size() >= kAckSize && answer[kCodeOffset] == code;
}

std::optional<TXPortBytes> ExtendedWriteFromReply(const TXPortBytes& reply) {
    if (reply.size() != kExtendedSize || reply[kCodeOffset] != kExtendedReply)
        return std::nullopt;
    TXPortBytes write = reply;
    write[1] = 0x01;
    write[kCodeOffset] = kExtendedWrite;
    write[120] = static_cast<std::uint8_t>((write[120] & ~0x20u) | 0x80u);
    return write;
}

TXPortBytes XPortResetCommand() {
    TXPortBytes bytes(kExtendedSize, 0);
    bytes[1] = 0x01;
    bytes[kCodeOffset] = kResetCommand;
    bytes[5] = 0x06;
    bytes[6] = 0x01;
    return bytes;
}

TXPortSetup0 FactorySetup() {
    TXPortSetup0 record;
    record.SetOpCode(kSetupWriteNewIP);
    record[11] = 0x2D;
    record[20] = 0x4C;
    record[21] = 0x0B;
    record[22] = 0x02;
    record.SetPort(10110);
    record.SetUdp(kBroadcast);
    record[36] = 0x0D;
    record[37] = 0x0A;
    record[38] = 0xF7;
    return record;
}

std::string FoundLine(const std::string& ip, const TMacAddress& mac) {
    char text[40];
    std::snprintf(text, sizeof text, "  (%02X-%02X-%02X-%02X-%02X-%02X)", mac[0], mac[1], mac[2], mac[3],
                  mac[4], mac[5]);
    return ip + text;
}

} // namespace kvl
