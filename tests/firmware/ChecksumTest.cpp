#include "firmware/ImageChecksum.h"

#include <gtest/gtest.h>

#include <vector>

using namespace kvl;

namespace {

const std::uint8_t kAbcd[] = {'a', 'b', 'c', 'd'};

} // namespace

TEST(ImageChecksum, Crc24CheckValues) {
    EXPECT_EQ(ImageCrc24(kAbcd, 4), 0x00A0A1u);
    const std::vector<std::uint8_t> empty(262144, 0xFF);
    EXPECT_EQ(ImageCrc24(empty.data(), empty.size()), 0x050005u);
}

TEST(ImageChecksum, Crc32CheckValues) {
    EXPECT_EQ(ImageCrc32(kAbcd, 4), 0xA62F1C36u);
    const std::uint8_t zero[4] = {};
    EXPECT_EQ(ImageCrc32(zero, 4), 0xC704DD7Bu);
}

TEST(ImageChecksum, OnlyWholeWordsCount) {
    const std::uint8_t abcde[] = {'a', 'b', 'c', 'd', 'e'};
    EXPECT_EQ(ImageCrc24(abcde, 5), 0x00A0A1u);
    EXPECT_EQ(ImageCrc32(abcde, 5), 0xA62F1C36u);
}

// The padded checksum skips the erased flash without building it: it must equal
// the checksum over the image copied into a flash of erased bytes.
TEST(ImageChecksum, Crc24OfAnImageInErasedFlash) {
    constexpr std::size_t kFlash = 262144;
    for (const std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{511}, std::size_t{512},
                                   std::size_t{3000}, kFlash - 1, kFlash}) {
        std::vector<std::uint8_t> flash(kFlash, 0xFF);
        for (std::size_t i = 0; i < size; ++i)
            flash[i] = static_cast<std::uint8_t>(i * 31 + 7);
        EXPECT_EQ(ImageCrc24Padded(flash.data(), size, kFlash), ImageCrc24(flash.data(), kFlash)) << size;
    }
}
