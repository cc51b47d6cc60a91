// How the simulated bootloader behaves: its hardware ID, its timing and the one
// fault it shows on purpose (in the first update attempt only, so that a second
// attempt can succeed).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kvl::sim {

// The points of an update where a fault can be placed.
enum class BootStep { Ldr, Erase, Encryption, Page, Crc, Restart };

struct BootFault {
    enum class Kind {
        None,
        Silent,     // no answer at the step (at Ldr: no LDR sentence; at Restart: no VER)
        Error,      // a one-byte error answer (code) instead of the acknowledgement
        WrongSize,  // a two-byte answer
        BadCrc,     // the checksum answer reports a different value
        Drop,       // TCP: the connection ends when the step's packet arrives
        Reannounce, // after the checksum the bootloader announces itself again (the
                    // new firmware did not start) instead of restarting
    };
    Kind kind = Kind::None;
    BootStep step = BootStep::Ldr;
    unsigned page = 0;        // with BootStep::Page
    std::uint8_t code = 0xE1; // with Kind::Error
};

// "silent:erase", "silent:page:5", "error:encryption:E2", "error:page:3:E0",
// "size:crc", "badcrc", "drop:page:7", "silent:ldr", "silent:restart", "reannounce".
std::optional<BootFault> ParseBootFault(const std::string& text);

struct BootOptions {
    std::uint8_t hardwareId = 0x10;    // in the LDR sentence; bits 4-6: 1 AVR, 2 ARM
    unsigned ldrDelayMs = 30;          // from "$PQZXRESET" to the LDR sentence
    unsigned restartDelayMs = 50;      // from the checksum answer to the VER sentence
    std::uint8_t crcAnswerCode = 0x05; // 05 or 85
    std::string versionAfterUpdate = "3.29.0";
    BootFault fault;
};

} // namespace kvl::sim
