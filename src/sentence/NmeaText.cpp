#include "sentence/NmeaText.h"

#include <algorithm>

namespace kvl {

namespace {

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

std::uint8_t NmeaChecksum(std::string_view text, std::size_t n) {
    std::uint8_t sum = 0;
    const std::size_t end = std::min(n, text.size());
    for (std::size_t i = 1; i < end; ++i)
        sum ^= static_cast<std::uint8_t>(text[i]);
    return sum;
}

bool CheckNmeaChecksum(std::string_view text, std::size_t starPos) {
    if (starPos >= text.size())
        return false;
    const std::string_view digits = text.substr(starPos + 1, 2);
    const auto value = ParseHex(digits);
    if (!value)
        return false;
    return static_cast<std::uint8_t>(*value & 0xFF) == NmeaChecksum(text, starPos);
}

std::string ChecksumHex(std::uint8_t checksum) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    return {kDigits[checksum >> 4], kDigits[checksum & 0x0F]};
}

std::size_t Decode6Bit(std::string_view payload, std::vector<std::uint8_t>& out) {
    out.clear();
    out.reserve(payload.size() * 6 / 8);
    unsigned accumulator = 0;
    unsigned bits = 0;
    for (const char c : payload) {
        unsigned v = static_cast<std::uint8_t>(static_cast<std::uint8_t>(c) - 48);
        if (v > 40)
            v -= 8;
        // Characters outside the armouring alphabet must not spill into earlier bytes.
        v &= 0x3F;
        accumulator = ((accumulator << 6) | v) & 0xFFF;
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out.push_back(static_cast<std::uint8_t>(accumulator >> bits));
        }
    }
    return out.size();
}

bool IsNmeaChar(char c) {
    const auto code = static_cast<unsigned char>(c);
    if (code < 0x20 || code > 0x7D)
        return false;
    switch (c) {
    case '!':
    case '$':
    case '*':
    case ',':
    case '\\':
    case '^':
        return false;
    default:
        return true;
    }
}

bool IsNmeaText(std::string_view text) {
    return std::all_of(text.begin(), text.end(), IsNmeaChar);
}

TTalkerIDCheck CheckTalkerID(std::string_view text) {
    if (text.empty())
        return TTalkerIDCheck::tcEmpty;
    if (text.size() != 2 || text[0] == ' ')
        return TTalkerIDCheck::tcIllegal;
    if (text[0] == 'P')
        return TTalkerIDCheck::tcProprietary;
    return TTalkerIDCheck::tcValid;
}

void SetBit(std::uint32_t& word, unsigned bit, bool on) {
    const std::uint32_t mask = std::uint32_t{1} << (bit % 32);
    word = on ? (word | mask) : (word & ~mask);
}

bool TestBit(std::uint32_t word, unsigned bit) {
    return (word & (std::uint32_t{1} << (bit % 32))) != 0;
}

std::optional<std::uint64_t> ParseDecimal(std::string_view text, std::uint64_t max) {
    if (text.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        const unsigned digit = static_cast<unsigned>(c - '0');
        // A digit above the limit must be caught before max - digit wraps round.
        if (digit > max || value > (max - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

std::optional<std::uint64_t> ParseHex(std::string_view text, std::uint64_t max) {
    if (text.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        const int digit = HexDigitValue(c);
        if (digit < 0)
            return std::nullopt;
        if (static_cast<unsigned>(digit) > max || value > (max - static_cast<unsigned>(digit)) / 16)
            return std::nullopt;
        value = value * 16 + static_cast<unsigned>(digit);
    }
    return value;
}

} // namespace kvl
