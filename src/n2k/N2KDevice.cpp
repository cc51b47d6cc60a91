#include "n2k/N2KDevice.h"

#include "sentence/NmeaText.h"

namespace kvl {

bool IsBarePartNumber(const TDeviceInfo& device) {
    if (device.Name.ManufacturerCode() != kMfgRaymarine)
        return false;
    const std::string& id = device.ModelID;
    if (id.size() < 4 || id[0] < 'A' || id[0] > 'Z')
        return false;
    std::size_t i = 1;
    while (i < id.size() && id[i] >= '0' && id[i] <= '9')
        ++i;
    for (; i < id.size(); ++i)
        if (id[i] != ' ')
            return false;
    return true;
}

std::string CutField(std::string_view text, std::size_t max) {
    return std::string(text.substr(0, max));
}

std::string TrimmedField(std::string_view text, std::size_t max) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(' ');
    return CutField(text.substr(first, last - first + 1), max);
}

std::uint32_t NumberOr(std::string_view text, std::uint32_t max, std::uint32_t unknown) {
    const auto value = ParseDecimal(text, max);
    return value ? static_cast<std::uint32_t>(*value) : unknown;
}

} // namespace kvl
