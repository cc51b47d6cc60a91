#include "Bootloader.h"

#include "BootChecksum.h"

#include <algorithm>

namespace kvl::sim {

namespace {

constexpr std::uint8_t kAck = 0xC0;
constexpr std::uint8_t kFrameSize = 0xE0;
constexpr std::uint8_t kUnknownCommand = 0xE1;
constexpr std::uint8_t kUnknownMethod = 0xE2;

constexpr std::size_t kAvrFlash = 256 * 1024;
constexpr std::size_t kArmFlash = 1024 * 1024;

unsigned PageNumber(const std::uint8_t* data) {
    return data[1] + 256u * data[2];
}

} // namespace

Bootloader::Bootloader(std::uint8_t hardwareId, std::uint8_t crcAnswerCode, BootFault fault)
    : Arm((hardwareId & 0x70) == 0x20), PageSize(Arm ? 2048 : 512), CrcAnswerCode(crcAnswerCode),
      Fault(fault), Flash(Arm ? kArmFlash : kAvrFlash, 0xFF) {}

bool Bootloader::FaultAt(BootStep step, unsigned page) const {
    return Fault.kind != BootFault::Kind::None && Fault.step == step &&
           (step != BootStep::Page || Fault.page == page);
}

std::optional<Bootloader::Reply> Bootloader::Faulty(BootStep step, unsigned page) const {
    if (!FaultAt(step, page))
        return std::nullopt;
    Reply reply;
    switch (Fault.kind) {
    case BootFault::Kind::Error:
        reply.answer = {Fault.code};
        break;
    case BootFault::Kind::WrongSize:
        reply.answer = {kAck, 0x00};
        break;
    case BootFault::Kind::Drop:
        reply.drop = true;
        break;
    case BootFault::Kind::BadCrc:
        return std::nullopt; // answered, with another value
    default:
        break; // silent
    }
    return reply;
}

Bootloader::Reply Bootloader::OnPacket(const std::uint8_t* data, std::size_t size) {
    static constexpr std::uint8_t kPattern[] = {0xF0, 0xF1, 0xF2, 0xF3};
    if (size == 4 && std::equal(data, data + 4, kPattern)) {
        Started = true; // the start pattern is never answered
        return {};
    }
    if (!Started || size == 0)
        return {};
    BootStep step = BootStep::Ldr;
    unsigned page = 0;
    switch (data[0]) {
    case 1:
        step = BootStep::Erase;
        break;
    case 3:
    case 4:
        step = BootStep::Page;
        page = size >= 3 ? PageNumber(data) : 0;
        break;
    case 5:
        step = BootStep::Crc;
        break;
    case 6:
        step = BootStep::Encryption;
        break;
    default:
        return {{kUnknownCommand}};
    }
    if (auto faulty = Faulty(step, page))
        return *faulty;
    Reply reply;
    switch (step) {
    case BootStep::Erase:
        reply.answer = Erase(size);
        break;
    case BootStep::Encryption:
        reply.answer = Encryption(data, size);
        break;
    case BootStep::Page: {
        const std::uint8_t own = Arm ? 4 : 3;
        reply.answer = data[0] == own ? ProgramPage(data, size, Arm ? 4 : 3) : Bytes{kUnknownCommand};
        break;
    }
    default:
        reply.answer = Checksum(data, size);
        reply.finished = reply.answer.size() == 5;
        break;
    }
    return reply;
}

Bootloader::Bytes Bootloader::Erase(std::size_t size) {
    if (size != 1)
        return {kFrameSize};
    std::fill(Flash.begin(), Flash.end(), 0xFF);
    Programmed = 0;
    return {kAck};
}

Bootloader::Bytes Bootloader::Encryption(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return {kFrameSize};
    const std::uint8_t method = Arm ? 3 : 2;
    if (data[1] != method)
        return {kUnknownMethod};
    if (size != (Arm ? 6u : 18u))
        return {kFrameSize};
    DecryptionSet = true;
    return {kAck};
}

Bootloader::Bytes Bootloader::ProgramPage(const std::uint8_t* data, std::size_t size, std::size_t header) {
    if (size != header + PageSize || (Arm && data[3] != 0))
        return {kFrameSize};
    if (!DecryptionSet)
        return {kUnknownMethod};
    const std::size_t offset = PageNumber(data) * PageSize;
    if (offset + PageSize > Flash.size())
        return {kFrameSize};
    // The images are stored unencrypted: decryption is the identity.
    std::copy(data + header, data + size, Flash.begin() + static_cast<std::ptrdiff_t>(offset));
    ++Programmed;
    return {kAck};
}

std::uint32_t Bootloader::FlashChecksum(std::size_t pageCount) const {
    if (!Arm)
        return FlashSum24(Flash.data(), Flash.size());
    return FlashCrc32(Flash.data(), std::min(Flash.size(), pageCount * PageSize));
}

Bootloader::Bytes Bootloader::Checksum(const std::uint8_t* data, std::size_t size) {
    if (size != (Arm ? 3u : 1u))
        return {kFrameSize};
    const std::size_t pages = Arm ? PageNumber(data) : 0;
    if (pages * PageSize > Flash.size())
        return {kFrameSize};
    std::uint32_t value = FlashChecksum(pages);
    Reported = value;
    if (FaultAt(BootStep::Crc, 0) && Fault.kind == BootFault::Kind::BadCrc)
        value ^= 0x00010001u;
    return {CrcAnswerCode, static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

} // namespace kvl::sim
