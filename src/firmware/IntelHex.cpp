#include "firmware/IntelHex.h"

#include "model/FileAccess.h"

#include <algorithm>
#include <cstdio>

namespace kvl {

namespace {

constexpr std::size_t kRecordBytes = 16;

void AppendRecord(std::string& out, std::uint8_t type, std::uint16_t address, const std::uint8_t* data,
                  std::size_t count) {
    char digits[3];
    unsigned sum = static_cast<unsigned>(count) + (address >> 8) + (address & 0xFFu) + type;
    std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned>(count));
    out += ':';
    out += digits;
    char addressDigits[5];
    std::snprintf(addressDigits, sizeof addressDigits, "%04X", static_cast<unsigned>(address));
    out += addressDigits;
    std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned>(type));
    out += digits;
    for (std::size_t i = 0; i < count; ++i) {
        std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned>(data[i]));
        out += digits;
        sum += data[i];
    }
    std::snprintf(digits, sizeof digits, "%02X", (0x100u - (sum & 0xFFu)) & 0xFFu);
    out += digits;
    out += "\r\n";
}

void AppendExtendedAddress(std::string& out, std::uint16_t upper) {
    const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(upper >> 8), static_cast<std::uint8_t>(upper)};
    AppendRecord(out, 4, 0, bytes, 2);
}

} // namespace

std::string IntelHexText(const std::vector<std::uint8_t>& data, std::uint32_t address) {
    std::string out;
    out.reserve(data.size() * 3 + 64);
    std::uint64_t at = address; // 64-bit: a read-out may end beyond 4 GiB
    auto upper = static_cast<std::uint16_t>(at >> 16);
    AppendExtendedAddress(out, upper);
    std::size_t done = 0;
    while (done < data.size()) {
        if (static_cast<std::uint16_t>(at >> 16) != upper) {
            upper = static_cast<std::uint16_t>(at >> 16);
            AppendExtendedAddress(out, upper);
        }
        const std::size_t toBoundary = 0x10000 - static_cast<std::size_t>(at & 0xFFFF);
        const std::size_t count = std::min({kRecordBytes, data.size() - done, toBoundary});
        AppendRecord(out, 0, static_cast<std::uint16_t>(at), data.data() + done, count);
        done += count;
        at += count;
    }
    out += ":00000001FF\r\n";
    return out;
}

void TBinaryData::SaveToHexFile(const std::string& fileName, std::uint32_t address) const {
    WriteFileAtomically(fileName, IntelHexText(Bytes, address));
}

} // namespace kvl
