#include "MemoryReadout.h"

#include "SentenceFrame.h"
#include "SimFields.h"

#include <algorithm>

namespace kvl::sim {

namespace {

char ArmourChar(unsigned value) {
    return static_cast<char>(value < 40 ? '0' + value : '`' + (value - 40));
}

// Largest read-out the device sends at once.
constexpr std::uint32_t kMaxReadout = 1024 * 1024;

} // namespace

std::string Armour6Bit(const std::uint8_t* bytes, std::size_t size) {
    std::string text;
    std::uint32_t bits = 0;
    unsigned count = 0;
    for (std::size_t i = 0; i < size; ++i) {
        bits = bits << 8 | bytes[i];
        count += 8;
        while (count >= 6) {
            count -= 6;
            text += ArmourChar((bits >> count) & 0x3F);
        }
        bits &= (1u << count) - 1;
    }
    if (count > 0)
        text += ArmourChar((bits << (6 - count)) & 0x3F);
    return text;
}

std::vector<std::string> MemoryReadoutSentences(std::uint32_t address, const std::vector<std::uint8_t>& bytes,
                                                std::size_t blockBytes) {
    blockBytes = std::max<std::size_t>(blockBytes, 1);
    const std::size_t blocks = (bytes.size() + blockBytes - 1) / blockBytes;
    std::vector<std::string> sentences;
    sentences.push_back("$PQZXMEM,R," + WriteHex(address, 8) + "," + WriteHex(bytes.size(), 8) + "," +
                        std::to_string(blocks));
    for (std::size_t block = 0; block < blocks; ++block) {
        const std::size_t from = block * blockBytes;
        const std::size_t count = std::min(blockBytes, bytes.size() - from);
        sentences.push_back("$PQZXBIN," + std::to_string(block + 1) + "," +
                            Armour6Bit(bytes.data() + from, count));
    }
    return sentences;
}

std::optional<ReadoutFault> ParseReadoutFault(std::string_view text) {
    ReadoutFault fault;
    if (text.starts_with("badline:"))
        fault.kind = ReadoutFault::Kind::BadChecksum;
    else if (text.starts_with("stall:"))
        fault.kind = ReadoutFault::Kind::Stall;
    else
        return std::nullopt;
    const auto block = ReadDecimal(text.substr(text.find(':') + 1), 1000000);
    if (!block || *block == 0)
        return std::nullopt;
    fault.block = *block;
    return fault;
}

std::string ReadoutOnWire(std::uint32_t address, const std::vector<std::uint8_t>& bytes,
                          std::size_t blockBytes, ReadoutFault fault) {
    const auto sentences = MemoryReadoutSentences(address, bytes, blockBytes);
    std::string wire;
    for (std::size_t i = 0; i < sentences.size(); ++i) {
        const bool faulty = fault.kind != ReadoutFault::Kind::None && i == fault.block; // MEM is line 0
        if (faulty && fault.kind == ReadoutFault::Kind::Stall)
            break;
        wire += FrameSentence(sentences[i], faulty);
    }
    return wire;
}

std::vector<std::uint8_t> SimulatedMemory(std::uint32_t address, std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        std::uint32_t x = address + static_cast<std::uint32_t>(i);
        x = (x ^ (x >> 16)) * 0x45D9F3Bu;
        x ^= x >> 16;
        bytes[i] = static_cast<std::uint8_t>(x);
    }
    return bytes;
}

std::optional<ReadoutRequest> ParseReadoutRequest(std::string_view body) {
    const Fields f = SplitFields(body);
    if (f.size() != 3 || f[0] != "$PSIMMEM")
        return std::nullopt;
    const auto address = ReadHex(f[1], 1, 8);
    const auto size = ReadHex(f[2], 1, 8);
    if (!address || !size || *size == 0 || *size > kMaxReadout)
        return std::nullopt;
    return ReadoutRequest{static_cast<std::uint32_t>(*address), static_cast<std::uint32_t>(*size)};
}

} // namespace kvl::sim
