#include "sentence/AisBits.h"

namespace kvl {

namespace {

constexpr unsigned kBitsPerChar = 6;

// The six-bit value of an armoured character, or -1 outside the alphabet.
int SixBitValue(char c) {
    const auto code = static_cast<unsigned char>(c);
    if (code >= '0' && code <= 'W')
        return code - '0';
    if (code >= '`' && code <= 'w')
        return code - '0' - 8;
    return -1;
}

} // namespace

bool TAisBits::Append(std::string_view payload) {
    const std::size_t before = Sixes.size();
    for (const char c : payload) {
        const int value = SixBitValue(c);
        if (value < 0) {
            Sixes.resize(before);
            return false;
        }
        Sixes.push_back(static_cast<std::uint8_t>(value));
    }
    Length = static_cast<unsigned>(Sixes.size() * kBitsPerChar);
    return true;
}

void TAisBits::DropFill(unsigned fillBits) {
    Length = fillBits >= Length ? 0 : Length - fillBits;
}

void TAisBits::Clear() {
    Sixes.clear();
    Length = 0;
}

std::uint64_t TAisBits::Unsigned(unsigned start, unsigned length) const {
    std::uint64_t value = 0;
    for (unsigned bit = start; bit < start + length && bit < Length; ++bit) {
        const unsigned six = Sixes[bit / kBitsPerChar];
        value = (value << 1) | ((six >> (kBitsPerChar - 1 - bit % kBitsPerChar)) & 1U);
    }
    return value;
}

std::int64_t TAisBits::Signed(unsigned start, unsigned length) const {
    const std::uint64_t value = Unsigned(start, length);
    if (length == 0 || length >= 64)
        return static_cast<std::int64_t>(value);
    const std::uint64_t sign = std::uint64_t{1} << (length - 1);
    // Two's complement of the field's width.
    return static_cast<std::int64_t>(value ^ sign) - static_cast<std::int64_t>(sign);
}

std::string TAisBits::Text(unsigned start, unsigned length) const {
    std::string text;
    for (unsigned pos = start; pos + kBitsPerChar <= start + length && pos + kBitsPerChar <= Length;
         pos += kBitsPerChar) {
        const auto value = static_cast<unsigned>(Unsigned(pos, kBitsPerChar));
        if (value == 0)
            break; // '@' ends the text; what follows is padding
        text += static_cast<char>(value < 32 ? value + 64 : value);
    }
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

} // namespace kvl
