// The firmware container file: a common header, then one format-1 image or a
// sequence of format-2 image records. All integers are little-endian.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kvl {

inline constexpr std::size_t kHeaderSize = 8;
inline constexpr std::size_t kHeaderV1Size = 28;
inline constexpr std::size_t kHeaderV2Size = 32;
inline constexpr std::size_t kRecordGap = 8; // between two format-2 records, skipped

inline constexpr std::size_t kCodeAreaSize = 0x100000; // the largest image
inline constexpr std::size_t kAvrFlashSize = 0x40000;  // the AVR application flash
inline constexpr std::uint16_t kAvrPageSize = 512;     // format-1 pages
// A page and its command header must fit one packet of 8192 bytes.
inline constexpr std::uint16_t kMaxPageSize = 8188;

// Processor families, from bits 4 to 6 of the hardware ID.
inline constexpr std::uint16_t kFamilyMask = 0x70;
inline constexpr std::uint16_t kFamilyAvr = 0x10;
inline constexpr std::uint16_t kFamilyArm = 0x20;

using TIV = std::array<std::uint8_t, 16>;

struct THeader {
    std::array<std::uint8_t, 4> Signature{}; // "KVL" and a zero byte
    std::uint8_t Version = 0;                // container format, 1 or 2
    std::uint8_t VerMaj = 0;
    std::uint8_t VerMin = 0;
    std::uint8_t VerPatch = 0;
};

struct THeaderV1 {
    std::uint32_t HardwareID = 0; // 0 fits every AVR multiplexer
    std::uint32_t ImageCRC = 0;   // what the multiplexer reports after programming
    std::uint32_t EncImageCRC = 0;
    TIV IV{};
};

struct THeaderV2 {
    std::uint16_t HardwareID = 0;
    std::uint16_t HardwareIDMask = 0;
    std::uint16_t PageSize = 0;
    std::uint16_t PageCount = 0;
    std::uint32_t ImageCRC = 0;
    std::uint32_t EncImageCRC = 0;
    TIV IV{};
};

bool HasKorvelanSignature(const THeader& header);

// Decoding of the fixed-size headers from exactly their size in bytes.
THeader DecodeHeader(const std::uint8_t* bytes);
THeaderV1 DecodeHeaderV1(const std::uint8_t* bytes);
THeaderV2 DecodeHeaderV2(const std::uint8_t* bytes);

// Writing containers (for tests and the build's synthetic images).
void AppendHeader(std::vector<std::uint8_t>& out, std::uint8_t format, std::uint8_t major, std::uint8_t minor,
                  std::uint8_t patch);
void AppendHeaderV1(std::vector<std::uint8_t>& out, const THeaderV1& header);
void AppendHeaderV2(std::vector<std::uint8_t>& out, const THeaderV2& header);

} // namespace kvl
