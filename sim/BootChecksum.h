// The checksums the bootloader computes over what it programmed, written here
// from the device's side and on purpose apart from the tool's own code.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kvl::sim {

// The AVR bootloader: 16-bit words, shifted in one at a time, folded at bit 24.
std::uint32_t FlashSum24(const std::uint8_t* flash, std::size_t size);

// The ARM bootloader: CRC-32/MPEG-2 over the flash read as 32-bit words, each
// word's most significant byte first (a byte-wise table implementation).
std::uint32_t FlashCrc32(const std::uint8_t* flash, std::size_t size);

} // namespace kvl::sim
