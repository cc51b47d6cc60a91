// The multiplexer's bootloader as the device runs it: it takes the data of one
// packet from the host and says what to answer. Pages are "decrypted" with the
// identity (the project's firmware images are stored unencrypted) and written
// to its flash; the checksum command reports the checksum of that flash.
#pragma once

#include "BootOptions.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace kvl::sim {

class Bootloader {
public:
    // fault: the fault of this session, or Kind::None.
    Bootloader(std::uint8_t hardwareId, std::uint8_t crcAnswerCode, BootFault fault);

    struct Reply {
        std::vector<std::uint8_t> answer; // empty: no answer
        bool drop = false;                // end the host's connection instead
        bool finished = false;            // the checksum was reported: restart into the firmware
    };
    Reply OnPacket(const std::uint8_t* data, std::size_t size);

    bool IsArm() const { return Arm; }
    std::uint32_t FlashChecksum(std::size_t pageCount) const;
    std::optional<std::uint32_t> ReportedChecksum() const { return Reported; }
    unsigned PagesProgrammed() const { return Programmed; }

private:
    using Bytes = std::vector<std::uint8_t>;
    std::optional<Reply> Faulty(BootStep step, unsigned page) const;
    Bytes Erase(std::size_t size);
    Bytes Encryption(const std::uint8_t* data, std::size_t size);
    Bytes ProgramPage(const std::uint8_t* data, std::size_t size, std::size_t header);
    Bytes Checksum(const std::uint8_t* data, std::size_t size);
    bool FaultAt(BootStep step, unsigned page) const;

    bool Arm;
    std::size_t PageSize;
    std::uint8_t CrcAnswerCode;
    BootFault Fault;
    bool Started = false;
    bool DecryptionSet = false;
    std::vector<std::uint8_t> Flash;
    std::optional<std::uint32_t> Reported;
    unsigned Programmed = 0;
};

} // namespace kvl::sim
