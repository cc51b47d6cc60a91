// The two image checksums of firmware containers, the same that the
// multiplexer's bootloader computes over what it programmed.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kvl {

// 24-bit checksum over 16-bit little-endian words (an odd last byte is ignored).
std::uint32_t ImageCrc24(const std::uint8_t* data, std::size_t size);

// The 24-bit checksum of an image followed by erased bytes (0xFF) up to
// paddedSize, as the bootloader computes it over its flash, without building
// the flash: the erased words are skipped in at most 18 steps. An odd last
// image byte pairs with an erased byte. paddedSize must not be below size.
std::uint32_t ImageCrc24Padded(const std::uint8_t* data, std::size_t size, std::size_t paddedSize);

// CRC-32/MPEG-2 fed one 32-bit little-endian word at a time, most significant
// bit first; the size is taken in whole words.
std::uint32_t ImageCrc32(const std::uint8_t* data, std::size_t size);

} // namespace kvl
