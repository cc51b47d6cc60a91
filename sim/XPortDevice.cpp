#include "XPortDevice.h"

#include <arpa/inet.h>

#include <cstring>
#include <utility>

namespace kvl::sim {

namespace {

// The module's codes, byte 3 of every packet.
constexpr std::uint8_t kAskSearch = 0xF6;
constexpr std::uint8_t kTellSearch = 0xF7;
constexpr std::uint8_t kAskSetup = 0xF8;
constexpr std::uint8_t kTellSetup = 0xF9;
constexpr std::uint8_t kStoreSetup = 0xFA;
constexpr std::uint8_t kStoreSetupAndAddress = 0xFD;
constexpr std::uint8_t kSetupStored = 0xFB;
constexpr std::uint8_t kSetAddress = 0xFC;
constexpr std::uint8_t kAskExtended = 0xE3;
constexpr std::uint8_t kTellExtended = 0xD3;
constexpr std::uint8_t kStoreExtended = 0xC3;
constexpr std::uint8_t kExtendedStored = 0xB3;
constexpr std::uint8_t kRestart = 0xC7;
constexpr std::uint8_t kRestarting = 0xB7;

void PutAddress(XPortPacket& record, std::size_t at, const std::string& dotted) {
    in_addr address{};
    ::inet_pton(AF_INET, dotted.c_str(), &address);
    std::memcpy(record.data() + at, &address.s_addr, 4); // network order: first number first
}

bool IsLoopbackHost(const std::string& dotted) {
    in_addr address{};
    if (::inet_pton(AF_INET, dotted.c_str(), &address) != 1)
        return false;
    const std::uint32_t host = ntohl(address.s_addr);
    return (host >> 24) == 127 && (host & 0xFF) != 0 && (host & 0xFF) != 255;
}

} // namespace

std::string DottedAddress(const std::uint8_t* bytes) {
    return std::to_string(bytes[0]) + "." + std::to_string(bytes[1]) + "." + std::to_string(bytes[2]) + "." +
           std::to_string(bytes[3]);
}

XPortDevice::XPortDevice(const XPortModuleOptions& options) : Options(options), Own(options.address) {
    SetupRecord.resize(kSetupSize);
    for (std::size_t i = 0; i < kSetupSize; ++i)
        SetupRecord[i] = static_cast<std::uint8_t>(0xA1 + 13 * i);
    SetupRecord[0] = SetupRecord[1] = SetupRecord[2] = 0;
    SetupRecord[3] = kTellSetup;
    PutAddress(SetupRecord, 4, Own);
    SetupRecord[10] = 8; // 255.255.255.0
    PutAddress(SetupRecord, 16, "127.0.0.1");
    for (std::size_t at : {24u, 26u}) {
        SetupRecord[at] = static_cast<std::uint8_t>(options.dataPort & 0xFF);
        SetupRecord[at + 1] = static_cast<std::uint8_t>(options.dataPort >> 8);
    }
    PutAddress(SetupRecord, 28, "0.0.0.0");
    SetupRecord[32] = 0xC0; // TCP server
    SetupRecord[33] = 0x00;
    SetupRecord[39] = 0x00;

    ExtendedRecord.resize(kExtendedSize);
    for (std::size_t i = 0; i < kExtendedSize; ++i)
        ExtendedRecord[i] = static_cast<std::uint8_t>(0x35 + 11 * i);
    ExtendedRecord[0] = ExtendedRecord[1] = ExtendedRecord[2] = 0;
    ExtendedRecord[3] = kTellExtended;
    ExtendedRecord[120] = 0x25;
}

XPortPacket XPortDevice::Answer(std::uint8_t code) const {
    return {0, 0, 0, code};
}

std::vector<XPortPacket> XPortDevice::OnDatagram(const XPortPacket& datagram) {
    Log.push_back(datagram);
    if (datagram.size() == 4 && datagram[0] == 0 && datagram[1] == 0 && datagram[2] == 0 &&
        datagram[3] == kAskSearch) {
        if (!Options.searchAnswers.empty())
            return Options.searchAnswers;
        XPortPacket answer(30);
        for (std::size_t i = 4; i < 24; ++i)
            answer[i] = static_cast<std::uint8_t>(0x61 + i);
        answer[3] = kTellSearch;
        std::memcpy(answer.data() + 24, Options.mac.data(), 6);
        return {answer};
    }
    static const char tag[] = "IP-SETUP";
    if (datagram.size() == 20 && datagram[3] == kSetAddress &&
        std::memcmp(datagram.data() + 4, tag, 8) == 0 && datagram[14] == Options.mac[4] &&
        datagram[15] == Options.mac[5]) {
        const std::string address = DottedAddress(datagram.data() + 16);
        PutAddress(SetupRecord, 4, address);
        if (IsLoopbackHost(address) && address != Own)
            Move = address;
    }
    return {};
}

std::size_t XPortDevice::PacketSize(std::uint8_t code) {
    switch (code) {
    case kAskSetup:
    case kAskExtended:
        return 4;
    case kStoreSetup:
    case kStoreSetupAndAddress:
        return kSetupSize;
    case kStoreExtended:
    case kRestart:
        return kExtendedSize;
    default:
        return 0;
    }
}

XPortPacket XPortDevice::OnStream(XPortPacket& pending, bool& keep) {
    XPortPacket out;
    keep = true;
    while (pending.size() >= 4) {
        const std::size_t size = PacketSize(pending[3]);
        if (size == 0) {
            Log.push_back(pending);
            pending.clear();
            keep = false;
            break;
        }
        if (pending.size() < size)
            break;
        const XPortPacket packet(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(size));
        pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(size));
        Log.push_back(packet);
        const XPortPacket answer = HandlePacket(packet);
        out.insert(out.end(), answer.begin(), answer.end());
    }
    return out;
}

XPortPacket XPortDevice::HandlePacket(const XPortPacket& packet) {
    switch (packet[3]) {
    case kAskSetup:
        return SetupRecord;
    case kAskExtended:
        return ExtendedRecord;
    case kStoreSetup:
    case kStoreSetupAndAddress:
        TakeSetup(packet);
        return Answer(kSetupStored);
    case kStoreExtended:
        std::copy(packet.begin() + 4, packet.end(), ExtendedRecord.begin() + 4);
        return Answer(kExtendedStored);
    case kRestart:
        ++ResetCount;
        Restart = true;
        return Answer(kRestarting);
    default:
        return {};
    }
}

void XPortDevice::TakeSetup(const XPortPacket& packet) {
    std::copy(packet.begin() + 4, packet.end(), SetupRecord.begin() + 4);
    const std::string address = DottedAddress(packet.data() + 4);
    // No address (0.0.0.0) leaves the module where its network put it.
    if (IsLoopbackHost(address) && address != Own)
        Move = address;
    Restart = true;
}

std::optional<std::string> XPortDevice::TakeMove() {
    return std::exchange(Move, std::nullopt);
}

bool XPortDevice::TakeRestart() {
    return std::exchange(Restart, false);
}

} // namespace kvl::sim
