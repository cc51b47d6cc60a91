// TMfgTable: manufacturer names by the 11-bit manufacturer code of a NAME, read
// from the program's "MFRCODES" resource (one "code TAB name" line per maker,
// lines ended by CR LF, single-byte text).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kvl {

class TMfgTable {
public:
    static constexpr std::size_t kCodes = 2048;
    static constexpr std::size_t kNameLength = 255;

    // Lines whose code is not a number from 0 to 2047, or which have no TAB, are
    // left out; a name longer than 255 characters is cut.
    void Load(std::string_view text);

    // Empty for a code not in the table.
    const std::string& operator[](std::uint32_t code) const;
    // The name as shown wherever a maker is named: "Unknown (code N)" for a code
    // the table does not name, never an empty text.
    std::string MakerName(std::uint32_t code) const;
    std::size_t Count() const;

private:
    std::array<std::string, kCodes> Names;
};

} // namespace kvl
