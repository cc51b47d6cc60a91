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
