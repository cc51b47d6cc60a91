// Intel HEX export of a memory read-out: an extended linear address record for
// the upper half of each address, data records of up to 16 bytes, an end record.
// Lines end in CR LF and the digits are upper case.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kvl {

// The whole file's text for data that came from memory at address. A record
// never crosses a 64 KiB boundary, and a new extended linear address record
// precedes the first record of each 64 KiB block, so the file loads where the
// memory came from.
std::string IntelHexText(const std::vector<std::uint8_t>& data, std::uint32_t address);

// TBinaryData: the bytes of one read-out, appended as the blocks arrive.
class TBinaryData {
public:
    void Append(const std::vector<std::uint8_t>& bytes) {
        Bytes.insert(Bytes.end(), bytes.begin(), bytes.end());
    }
    std::size_t Size() const { return Bytes.size(); }
    const std::vector<std::uint8_t>& Data() const { return Bytes; }

    // Writes the Intel HEX file atomically (a temporary file renamed over the
    // target); a failure throws EInOutError with the system's message and
    // leaves any previous file as it was.
    void SaveToHexFile(const std::string& fileName, std::uint32_t address) const;

private:
    std::vector<std::uint8_t> Bytes;
};

} // namespace kvl
