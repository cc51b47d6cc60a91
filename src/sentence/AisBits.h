// The bit string of an AIS message: the armoured six-bit payload characters
// de-armoured, read as big-endian fields by bit position (bit 0 first).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kvl {

class TAisBits {
public:
    // Appends the six-bit values of payload; false (and nothing appended) when a
    // character is outside the armouring alphabet ("0".."W", "`".."w").
    bool Append(std::string_view payload);
    // Drops fill bits from the end (the fill of the last fragment).
    void DropFill(unsigned fillBits);
    void Clear();

    unsigned Size() const { return Length; }
    bool Has(unsigned start, unsigned length) const { return start + length <= Length; }
    std::uint64_t Unsigned(unsigned start, unsigned length) const;
    std::int64_t Signed(unsigned start, unsigned length) const;
    // Six-bit text of length / 6 characters, cut at the first '@' and trimmed of
    // trailing blanks.
    std::string Text(unsigned start, unsigned length) const;

private:
    std::vector<std::uint8_t> Sixes; // one six-bit value a character
    unsigned Length = 0;             // bits, after the fill
};

} // namespace kvl
