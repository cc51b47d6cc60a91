// ParseDecimal and ParseHex, the readers of every number that comes from outside,
// against std::from_chars: the same value for the same text, and nothing above the
// limit. The first input byte chooses the limit, the rest is the text.
#include "FuzzCheck.h"

#include "sentence/NmeaText.h"

#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

using namespace kvl;

namespace {

constexpr std::array<std::uint64_t, 12> kLimits = {
    0, 1, 2, 5, 9, 10, 15, 99, 255, 65535, UINT32_MAX, UINT64_MAX,
};

std::uint64_t LimitFor(std::uint8_t selector) {
    if (selector < kLimits.size())
        return kLimits[selector];
    return selector; // small limits around the single-digit values catch off-by-one faults
}

std::optional<std::uint64_t> Reference(std::string_view text, int base, std::uint64_t max) {
    std::uint64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value, base);
    if (text.empty() || ec != std::errc() || ptr != end || value > max)
        return std::nullopt;
    // from_chars takes a leading '-' for unsigned types on some libraries; the wire never has one.
    if (text[0] == '-' || text[0] == '+')
        return std::nullopt;
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::uint64_t max = LimitFor(data[0]);
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    KVL_FUZZ_CHECK(ParseDecimal(text, max) == Reference(text, 10, max));
    KVL_FUZZ_CHECK(ParseHex(text, max) == Reference(text, 16, max));
    return 0;
}
