#include "n2k/N2KMfgTable.h"

#include "sentence/NmeaText.h"

namespace kvl {

void TMfgTable::Load(std::string_view text) {
    for (auto& name : Names)
        name.clear();
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos)
            continue;
        const auto code = ParseDecimal(line.substr(0, tab), kCodes - 1);
        if (!code)
            continue;
        Names[*code] = std::string(line.substr(tab + 1, kNameLength));
    }
}

const std::string& TMfgTable::operator[](std::uint32_t code) const {
    static const std::string kNone;
    return code < kCodes ? Names[code] : kNone;
}

std::string TMfgTable::MakerName(std::uint32_t code) const {
    const std::string& name = (*this)[code];
    return name.empty() ? "Unknown (code " + std::to_string(code) + ")" : name;
}

std::size_t TMfgTable::Count() const {
    std::size_t count = 0;
    for (const auto& name : Names)
        if (!name.empty())
            ++count;
    return count;
}

} // namespace kvl
