// Decode6Bit with any payload text: it yields exactly payload*6/8 bytes, and for
// every character of the armouring alphabet whose six bits lie within those bytes,
// the bytes hold that character's value at its place, most significant bit first.
#include "FuzzCheck.h"

#include "sentence/NmeaText.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

using namespace kvl;

namespace {

// The six-bit value of an armouring character, or -1 outside the alphabet.
int SixBitValue(unsigned char c) {
    if (c >= '0' && c <= 'W')
        return c - '0';
    if (c >= '`' && c <= 'w')
        return c - '`' + 40;
    return -1;
}

unsigned BitsAt(const std::vector<std::uint8_t>& bytes, std::size_t firstBit) {
    unsigned value = 0;
    for (std::size_t bit = firstBit; bit < firstBit + 6; ++bit)
        value = (value << 1) | ((bytes[bit / 8] >> (7 - bit % 8)) & 1U);
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view payload(reinterpret_cast<const char*>(data), size);
    std::vector<std::uint8_t> out(3, 0xA5); // earlier contents are replaced, never kept
    const std::size_t count = Decode6Bit(payload, out);

    KVL_FUZZ_CHECK(count == size * 6 / 8);
    KVL_FUZZ_CHECK(out.size() == count);
    for (std::size_t i = 0; (i + 1) * 6 <= count * 8; ++i) {
        const int expected = SixBitValue(static_cast<unsigned char>(payload[i]));
        if (expected >= 0)
            KVL_FUZZ_CHECK(BitsAt(out, i * 6) == static_cast<unsigned>(expected));
    }
    return 0;
}
