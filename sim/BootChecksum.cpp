#include "BootChecksum.h"

#include <array>

namespace kvl::sim {

namespace {

constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t value = i << 24;
        for (int k = 0; k < 8; ++k)
            value = (value << 1) ^ ((value >> 31) * 0x04C11DB7u);
        table[i] = value;
    }
    return table;
}

constexpr auto kCrcTable = MakeCrcTable();

} // namespace

std::uint32_t FlashSum24(const std::uint8_t* flash, std::size_t size) {
    std::uint32_t sum = 0;
    for (std::size_t at = 0; at + 2 <= size; at += 2) {
        const std::uint32_t word = flash[at] + 256u * flash[at + 1];
        sum = sum * 2 ^ word;
        if (sum >= 0x1000000u)
            sum = (sum ^ 0x80001Bu) % 0x1000000u;
    }
    return sum;
}

std::uint32_t FlashCrc32(const std::uint8_t* flash, std::size_t size) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t word = 0; word + 4 <= size; word += 4) {
        for (int byte = 3; byte >= 0; --byte) {
            const std::uint8_t b = flash[word + static_cast<std::size_t>(byte)];
            crc = (crc << 8) ^ kCrcTable[(crc >> 24) ^ b];
        }
    }
    return crc;
}

} // namespace kvl::sim
