#include "model/MuxVersion.h"

#include "sentence/NmeaText.h"

#include <cstdint>

namespace kvl {

TMuxVersion ParseVersion(std::string_view text) {
    TMuxVersion version;
    std::uint32_t* const parts[] = {&version.Major, &version.Minor, &version.Patchlevel};
    for (std::uint32_t* part : parts) {
        const std::size_t dot = text.find('.');
        if (dot == std::string_view::npos)
            break;
        const auto number = ParseDecimal(text.substr(0, dot), UINT32_MAX);
        if (!number)
            break;
        *part = static_cast<std::uint32_t>(*number);
        text.remove_prefix(dot + 1);
    }
    return version;
}

bool IsFirmwareCompatible(const TMuxVersion& version) {
    constexpr std::uint32_t kOldestMajor = 3;
    constexpr std::uint32_t kOldestMinor = 29;
    if (version.Major != kOldestMajor)
        return version.Major > kOldestMajor;
    return version.Minor >= kOldestMinor;
}

} // namespace kvl
