#include "firmware/ImageChecksum.h"

#include <array>

namespace kvl {

namespace {

std::uint32_t WordLE16(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8;
}

std::uint32_t WordLE32(const std::uint8_t* p) {
    return WordLE16(p) | WordLE16(p + 2) << 16;
}

std::uint32_t Crc24Step(std::uint32_t crc, std::uint32_t word) {
    crc = (crc << 1) ^ word;
    if ((crc & 0x1000000u) != 0)
        crc = (crc ^ 0x80001Bu) & 0xFFFFFFu;
    return crc;
}

// One step of the 24-bit checksum is affine over GF(2): x -> L(x) ^ word. A run
// of k erased words is therefore an affine map too; the maps of 2^j words are
// kept, so that any run is a product of at most 18 of them.
struct TAffine24 {
    std::array<std::uint32_t, 24> Column{}; // the linear part, column i = L(bit i)
    std::uint32_t Constant = 0;

    std::uint32_t Apply(std::uint32_t x) const {
        std::uint32_t y = Constant;
        for (int i = 0; i < 24; ++i)
            if ((x >> i) & 1u)
                y ^= Column[static_cast<std::size_t>(i)];
        return y;
    }
    // This map after other: x -> this(other(x)).
    TAffine24 After(const TAffine24& other) const {
        TAffine24 result;
        for (std::size_t i = 0; i < 24; ++i)
            result.Column[i] = Apply(other.Column[i]) ^ Constant;
        result.Constant = Apply(other.Constant);
        return result;
    }
};

constexpr int kErasedPowers = 18; // 2^17 words fill 256 KiB

const std::array<TAffine24, kErasedPowers>& ErasedRuns() {
    static const std::array<TAffine24, kErasedPowers> runs = [] {
        std::array<TAffine24, kErasedPowers> r{};
        for (std::size_t i = 0; i < 24; ++i)
            r[0].Column[i] = Crc24Step(1u << i, 0);
        r[0].Constant = Crc24Step(0, 0xFFFF);
        for (std::size_t j = 1; j < r.size(); ++j)
            r[j] = r[j - 1].After(r[j - 1]);
        return r;
    }();
    return runs;
}

std::uint32_t SkipErasedWords(std::uint32_t crc, std::size_t words) {
    const auto& runs = ErasedRuns();
    for (std::size_t j = 0; words != 0; ++j, words >>= 1) {
        if (j >= runs.size()) { // beyond any flash: step through the rest
            for (std::size_t n = 0; n < (words << j); ++n)
                crc = Crc24Step(crc, 0xFFFF);
            break;
        }
        if (words & 1u)
            crc = runs[j].Apply(crc);
    }
    return crc;
}

} // namespace

std::uint32_t ImageCrc24Padded(const std::uint8_t* data, std::size_t size, std::size_t paddedSize) {
    std::uint32_t crc = ImageCrc24(data, size);
    std::size_t covered = size & ~std::size_t{1};
    if (size % 2 != 0 && paddedSize > size) {
        crc = Crc24Step(crc, data[size - 1] | 0xFF00u);
        covered = size + 1;
    }
    if (paddedSize > covered)
        crc = SkipErasedWords(crc, (paddedSize - covered) / 2);
    return crc;
}

std::uint32_t ImageCrc24(const std::uint8_t* data, std::size_t size) {
    std::uint32_t crc = 0;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        crc = Crc24Step(crc, WordLE16(data + i));
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
