// A memory read-out as the device sends it: "$PQZXMEM,R,<address>,<size>,<last
// block>" (hexadecimal address and size, decimal block number), then one
// "$PQZXBIN,<block>,<6-bit armoured bytes>" per block, numbered from 1.
// The host may ask for one with "$PSIMMEM,<hex address>,<hex size>" (with
// checksum); the device then sends its memory from that address.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kvl::sim {

inline constexpr std::size_t kReadoutBlockBytes = 48;

// The sentences without checksum, MEM first.
std::vector<std::string> MemoryReadoutSentences(std::uint32_t address, const std::vector<std::uint8_t>& bytes,
                                                std::size_t blockBytes = kReadoutBlockBytes);

// Six-bit armouring: 3 bytes to 4 characters, missing bits filled with zeros.
std::string Armour6Bit(const std::uint8_t* bytes, std::size_t size);

// A read-out that goes wrong on purpose at one block (numbered from 1): the
// block's line carries a wrong checksum, or the device stops before it.
struct ReadoutFault {
    enum class Kind { None, BadChecksum, Stall };
    Kind kind = Kind::None;
    unsigned block = 0;
};
// "badline:N" or "stall:N"; nullopt for anything else.
std::optional<ReadoutFault> ParseReadoutFault(std::string_view text);

// The read-out's lines as they go on the wire (checksums, CR LF), with the fault.
std::string ReadoutOnWire(std::uint32_t address, const std::vector<std::uint8_t>& bytes,
                          std::size_t blockBytes = kReadoutBlockBytes, ReadoutFault fault = {});

// The simulated memory: a fixed pseudo-random byte for every address.
std::vector<std::uint8_t> SimulatedMemory(std::uint32_t address, std::size_t size);

// The address and size of a "$PSIMMEM" request body; nullopt for anything else.
struct ReadoutRequest {
    std::uint32_t address = 0;
    std::uint32_t size = 0;
};
std::optional<ReadoutRequest> ParseReadoutRequest(std::string_view body);

} // namespace kvl::sim
