#include "network/records/NetCalc.h"

namespace kvl {

std::optional<TIPv4> TNetCalc::ParseAddress(std::string_view text) {
    TIPv4 address = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (text.empty() || text.front() != '.')
                return std::nullopt;
            text.remove_prefix(1);
        }
        std::size_t digits = 0;
        unsigned value = 0;
        while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9' && digits < 3)
            value = value * 10 + static_cast<unsigned>(text[digits++] - '0');
        if (digits == 0 || value > 255)
            return std::nullopt;
        text.remove_prefix(digits);
        address = (address << 8) | value;
    }
    if (!text.empty())
        return std::nullopt;
    return address;
}

std::string TNetCalc::FormatAddress(TIPv4 address) {
    return std::to_string(address >> 24) + "." + std::to_string((address >> 16) & 0xFF) + "." +
           std::to_string((address >> 8) & 0xFF) + "." + std::to_string(address & 0xFF);
}

std::optional<unsigned> TNetCalc::PrefixLength(TIPv4 mask) {
    unsigned prefix = 0;
    while (prefix < 32 && (mask & (0x80000000u >> prefix)) != 0)
        ++prefix;
    if (MaskOfPrefix(prefix) != mask)
        return std::nullopt;
    return prefix;
}

TIPv4 TNetCalc::MaskOfPrefix(unsigned prefix) {
    if (prefix == 0)
        return 0;
    if (prefix >= 32)
        return 0xFFFFFFFFu;
    return ~TIPv4{0} << (32 - prefix);
}

} // namespace kvl
