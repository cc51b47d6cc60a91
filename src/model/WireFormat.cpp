#include "model/WireFormat.h"

#include <algorithm>

namespace kvl {

std::string FormatDec(std::uint64_t value) {
    return std::to_string(value);
}

std::string FormatHex(std::uint64_t value, unsigned minDigits) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    do {
        text.push_back(kDigits[value & 0x0F]);
        value >>= 4;
    } while (value != 0);
    if (text.size() < minDigits)
        text.append(minDigits - text.size(), '0');
    std::reverse(text.begin(), text.end());
    return text;
}

} // namespace kvl
