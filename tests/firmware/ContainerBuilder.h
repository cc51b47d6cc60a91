// Containers made to order for the tests: a format-1 image or format-2 records
// with correct (or deliberately broken) checksums.
#pragma once

#include "firmware/Container.h"
#include "firmware/ImageChecksum.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace fwtest {

using Bytes = std::vector<std::uint8_t>;

inline Bytes Pattern(std::size_t size, std::uint8_t seed) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(seed + i * 7 + (i >> 8));
    return bytes;
}

// The 24-bit checksum of an AVR image as programmed: the image, then erased flash.
inline std::uint32_t AvrSum(const Bytes& image) {
    Bytes flash(std::max<std::size_t>(image.size(), kvl::kAvrFlashSize), 0xFF);
    std::copy(image.begin(), image.end(), flash.begin());
    return kvl::ImageCrc24(flash.data(), kvl::kAvrFlashSize);
}

inline Bytes FormatV1(const Bytes& image, std::uint32_t hardwareId = 0) {
    Bytes out;
    kvl::AppendHeader(out, 1, 3, 30, 1);
    kvl::THeaderV1 header;
    header.HardwareID = hardwareId;
    header.ImageCRC = 0x11223344;
    header.EncImageCRC = AvrSum(image);
    header.IV.fill(0x5A);
    kvl::AppendHeaderV1(out, header);
    out.insert(out.end(), image.begin(), image.end());
    return out;
}

struct Record {
    std::uint16_t hardwareId = 0x10;
    std::uint16_t mask = 0x70;
    std::uint16_t pageSize = 512;
    std::uint16_t pageCount = 4;
    std::uint8_t seed = 1;
    // Stored unencrypted: the programmed checksum is the stored image's.
    bool unencrypted = false;
};

inline kvl::THeaderV2 HeaderFor(const Record& r, const Bytes& image) {
    kvl::THeaderV2 header;
    header.HardwareID = r.hardwareId;
    header.HardwareIDMask = r.mask;
    header.PageSize = r.pageSize;
    header.PageCount = r.pageCount;
    header.ImageCRC = 0xC0DE0000u + r.seed;
    if (r.hardwareId == kvl::kFamilyAvr)
        header.EncImageCRC = AvrSum(image);
    else if (r.hardwareId == kvl::kFamilyArm)
        header.EncImageCRC = kvl::ImageCrc32(image.data(), image.size());
    if (r.unencrypted)
        header.ImageCRC = header.EncImageCRC;
    for (std::size_t i = 0; i < header.IV.size(); ++i)
        header.IV[i] = static_cast<std::uint8_t>(r.seed + i);
    return header;
}

inline Bytes FormatV2(const std::vector<Record>& records) {
    Bytes out;
    kvl::AppendHeader(out, 2, 3, 29, 4);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const Record& r = records[i];
        const Bytes image = Pattern(std::size_t{r.pageSize} * r.pageCount, r.seed);
        kvl::AppendHeaderV2(out, HeaderFor(r, image));
        out.insert(out.end(), image.begin(), image.end());
        if (i + 1 < records.size())
            out.insert(out.end(), 8, 0xEE);
    }
    return out;
}

} // namespace fwtest
