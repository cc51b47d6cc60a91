// The bootloader's packet commands and the judging of its answers. Each command
// and answer is the data of one link-mode packet.
#pragma once

#include "link/PacketFraming.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace kvl {

// Command codes; 2, 7 and 8 are never sent but named in messages.
enum class TBootCommand : std::uint8_t {
    EraseApplication = 1,
    EraseApplicationPage = 2,
    ProgramApplicationPage = 3,
    EraseProgramApplicationPage = 4,
    CalculateCrc = 5,
    Encryption = 6,
    ProgramUsr = 7,
    ReadUsr = 8,
};

inline constexpr std::uint8_t kAnswerAck = 0xC0;
inline constexpr std::uint8_t kAnswerFrameSize = 0xE0;
inline constexpr std::uint8_t kAnswerUnknownCommand = 0xE1;
inline constexpr std::uint8_t kAnswerUnknownMethod = 0xE2;
inline constexpr std::uint8_t kDecryptionAvr = 2;
inline constexpr std::uint8_t kDecryptionArm = 3;

TPacket StartPatternPacket();
TPacket EraseApplicationPacket();
// Encryption set-up: the method and the first ivLength bytes of the vector.
TPacket EncryptionPacket(std::uint8_t method, const std::uint8_t* iv, std::size_t ivLength);
// The page's bytes follow the page number (and for code 4 a zero byte).
TPacket ProgramPagePacket(std::uint16_t page, const std::uint8_t* data, std::uint16_t pageSize);
TPacket EraseProgramPagePacket(std::uint16_t page, const std::uint8_t* data, std::uint16_t pageSize);
TPacket CalculateCrcPacket();                        // AVR
TPacket CalculateCrcPacket(std::uint16_t pageCount); // ARM

// The checksum of a 5-byte answer to Calculate CRC (05 or 85, then 32 bits
// little-endian); nullopt for any other answer.
std::optional<std::uint32_t> CrcAnswerValue(const TPacket& answer);

// Passes a lone acknowledgement; throws ECommError with the command's name line
// (codes 1..8) and the fault for anything else.
void CheckBootloaderAnswer(int code, const TPacket& answer);

} // namespace kvl
