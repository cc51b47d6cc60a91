#include "firmware/BootloaderPackets.h"

#include "link/CommError.h"

#include <algorithm>
#include <string>

namespace kvl {

namespace {

TPacket PacketOf(std::initializer_list<std::uint8_t> bytes) {
    TPacket packet;
    std::copy(bytes.begin(), bytes.end(), packet.Data.begin());
    packet.Length = static_cast<std::uint16_t>(bytes.size());
    return packet;
}

// header bytes, then the page's bytes; pageSize is at most 8188.
TPacket PagePacket(std::initializer_list<std::uint8_t> header, const std::uint8_t* data,
                   std::uint16_t pageSize) {
    TPacket packet = PacketOf(header);
    const std::size_t size = std::min<std::size_t>(pageSize, kMaxPacketData - header.size());
    std::copy_n(data, size, packet.Data.begin() + static_cast<std::ptrdiff_t>(header.size()));
    packet.Length = static_cast<std::uint16_t>(header.size() + size);
    return packet;
}

std::uint8_t Low(std::uint16_t v) {
    return static_cast<std::uint8_t>(v);
}

std::uint8_t High(std::uint16_t v) {
    return static_cast<std::uint8_t>(v >> 8);
}

const char* CommandNameLine(int code) {
    switch (code) {
    case 1:
        return "Erase application command:\r";
    case 2:
        return "Erase application page command:\r";
    case 3:
        return "Programm application page command:\r";
    case 4:
        return "Erase/program application page command:\r";
    case 5:
        return "Calculate CRC command:\r";
    case 6:
        return "Encryption command:\r";
    case 7:
        return "Program USR command:\r";
    case 8:
        return "Read USR command:\r";
    default:
        return "";
    }
}

const char* FaultText(const TPacket& answer) {
    if (answer.Length != 1)
        return "Response has wrong size";
    switch (answer.Data[0]) {
    case kAnswerFrameSize:
        return "Frame size error";
    case kAnswerUnknownCommand:
        return "Unknown command";
    case kAnswerUnknownMethod:
        return "Unknown decryption method";
    default:
        return "Unknown response";
    }
}

} // namespace

TPacket StartPatternPacket() {
    return PacketOf({0xF0, 0xF1, 0xF2, 0xF3});
}

TPacket EraseApplicationPacket() {
    return PacketOf({1});
}

TPacket EncryptionPacket(std::uint8_t method, const std::uint8_t* iv, std::size_t ivLength) {
    TPacket packet = PacketOf({6, method});
    ivLength = std::min<std::size_t>(ivLength, 16);
    std::copy_n(iv, ivLength, packet.Data.begin() + 2);
    packet.Length = static_cast<std::uint16_t>(2 + ivLength);
    return packet;
}

TPacket ProgramPagePacket(std::uint16_t page, const std::uint8_t* data, std::uint16_t pageSize) {
    return PagePacket({3, Low(page), High(page)}, data, pageSize);
}

TPacket EraseProgramPagePacket(std::uint16_t page, const std::uint8_t* data, std::uint16_t pageSize) {
    return PagePacket({4, Low(page), High(page), 0}, data, pageSize);
}

TPacket CalculateCrcPacket() {
    return PacketOf({5});
}

TPacket CalculateCrcPacket(std::uint16_t pageCount) {
    return PacketOf({5, Low(pageCount), High(pageCount)});
}

std::optional<std::uint32_t> CrcAnswerValue(const TPacket& answer) {
    if (answer.Length != 5 || (answer.Data[0] != 0x05 && answer.Data[0] != 0x85))
        return std::nullopt;
    std::uint32_t value = 0;
    for (int i = 4; i >= 1; --i)
        value = value << 8 | answer.Data[static_cast<std::size_t>(i)];
    return value;
}

void CheckBootloaderAnswer(int code, const TPacket& answer) {
    if (answer.Length == 1 && answer.Data[0] == kAnswerAck)
        return;
    throw ECommError(std::string(CommandNameLine(code)) + FaultText(answer));
}

} // namespace kvl
