#include "firmware/ImageChecksum.h"

namespace kvl {

namespace {

std::uint32_t WordLE16(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8;
}

std::uint32_t WordLE32(const std::uint8_t* p) {
    return WordLE16(p) | WordLE16(p + 2) << 16;
}

} // namespace

std::uint32_t ImageCrc24(const std::uint8_t* data, std::size_t size) {
    std::uint32_t crc = 0;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        crc = (crc << 1) ^ WordLE16(data + i);
        if ((crc & 0x1000000u) != 0)
            crc = (crc ^ 0x80001Bu) & 0xFFFFFFu;
    }
    return crc;
}

std::uint32_t ImageCrc32(const std::uint8_t* data, std::size_t size) {
    constexpr std::uint32_t kPolynomial = 0x04C11DB7u;
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i + 3 < size; i += 4) {
        crc ^= WordLE32(data + i);
        for (int bit = 0; bit < 32; ++bit)
            crc = (crc & 0x80000000u) != 0 ? (crc << 1) ^ kPolynomial : crc << 1;
    }
    return crc;
}

} // namespace kvl
