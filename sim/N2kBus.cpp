#include "N2kBus.h"

#include "SentenceFrame.h"
#include "SimFields.h"

#include <algorithm>

namespace kvl::sim {

namespace {

constexpr std::uint32_t kPgnAddressClaim = 60928;
constexpr std::uint32_t kPgnProductInformation = 126996;
constexpr std::uint8_t kGlobal = 255;
constexpr std::uint32_t kMaxAddress = 251;

std::string Hex2(std::uint8_t value) {
    return WriteHex(value, 2);
}

} // namespace

std::uint64_t MakeName(std::uint32_t unique, std::uint16_t manufacturer, std::uint8_t instance,
                       std::uint8_t function, std::uint8_t deviceClass, std::uint8_t systemInstance) {
    const std::uint64_t low = (unique & 0x1FFFFFu) | (std::uint64_t{manufacturer & 0x7FFu} << 21);
    const std::uint64_t byte7 = 0x80u | (4u << 4) | (systemInstance & 0x0Fu);
    return low | (std::uint64_t{instance} << 32) | (std::uint64_t{function} << 40) |
           (std::uint64_t{static_cast<std::uint8_t>(deviceClass << 1)} << 48) | (byte7 << 56);
}

std::vector<N2kDevice> DemoBus() {
    std::vector<N2kDevice> bus;
    N2kDevice converter;
    converter.name = MakeName(0x01A2B3, 1851, 0, 130, 25, 0);
    converter.address = 35;
    converter.productCode = "16763";
    converter.modelId = "E22158";
    converter.serialCode = "0960123";
    converter.softwareVersion = "2.04";
    converter.modelVersion = "SeaTalk-STNG-Converter";
    bus.push_back(converter);

    N2kDevice sensor;
    sensor.name = MakeName(0x00C0DE, 135, 0, 140, 60, 0);
    sensor.address = 12;
    sensor.productCode = "1769";
    sensor.modelId = "DST810";
    sensor.serialCode = "  AIR-3321  ";
    sensor.softwareVersion = "4.1";
    sensor.modelVersion = "Smart Transducer";
    sensor.loadEquivalency = "n/a";
    bus.push_back(sensor);

    N2kDevice display;
    display.name = MakeName(0x054321, 229, 1, 130, 120, 2);
    display.address = 40;
    display.productCode = "n/a";
    display.certLevel = "0";
    display.modelId = "GMI 20";
    display.serialCode = "3G1234567";
    display.softwareVersion = "3.30";
    display.modelVersion = "Marine Instrument";
    bus.push_back(display);

    N2kDevice halfway;
    halfway.name = MakeName(0x000777, 137, 0, 150, 40, 0);
    halfway.address = 20;
    halfway.modelId = "WSO100";
    halfway.serialCode = "M1";
    halfway.answersPartC = false;
    bus.push_back(halfway);

    N2kDevice mover;
    mover.name = MakeName(0x00ABCD, 1851, 3, 150, 25, 0);
    mover.address = 50;
    mover.movesTo = 60;
    mover.productCode = "19000";
    mover.modelId = "E70210";
    mover.serialCode = "0580001";
    mover.modelVersion = "p70 Pilot Controller";
    bus.push_back(mover);

    // Two of the same model, told apart only by their device instances.
    for (std::uint8_t instance : {0, 1}) {
        N2kDevice twin;
        twin.name = MakeName(0x002468, 1855, instance, 130, 60, 0);
        twin.address = static_cast<std::uint8_t>(70 + instance);
        twin.productCode = "2410";
        twin.modelId = "GP330B";
        twin.serialCode = instance == 0 ? "FUR-1001" : "FUR-1002";
        twin.softwareVersion = "1.30";
        twin.modelVersion = "GPS Antenna";
        bus.push_back(twin);
    }

    N2kDevice late;
    late.name = MakeName(0x0035AA, 137, 0, 145, 75, 0);
    late.address = 80;
    late.productCode = "7011";
    late.modelId = "DCR100";
    late.serialCode = "MAR-5501";
    late.softwareVersion = "1.0.11";
    late.modelVersion = "Circuit Controller";
    late.instanceChange = N2kDevice::InstanceChange::Delayed;
    bus.push_back(late);

    N2kDevice stubborn;
    stubborn.name = MakeName(0x0007F1, 358, 0, 170, 35, 0);
    stubborn.address = 90;
    stubborn.productCode = "41985";
    stubborn.modelId = "Cerbo GX";
    stubborn.serialCode = "HQ2210ABCDE";
    stubborn.softwareVersion = "3.10";
    stubborn.modelVersion = "GX Device";
    stubborn.instanceChange = N2kDevice::InstanceChange::Refused;
    bus.push_back(stubborn);
    return bus;
}

std::string AddressClaim(const N2kDevice& device) {
    return FrameSentence("$PQZXNC,R," + WriteHex(device.name, 16) + "," + std::to_string(device.address));
}

std::vector<std::string> N2kBus::Handle(std::string_view name, const std::vector<std::string_view>& fields,
                                        const std::string& uid) {
    if (name == "NR")
        return Request(fields, uid);
    if (name == "NC")
        return ChangeAddress(fields);
    if (name == "NI")
        return ChangeInstance(fields);
    return {};
}

N2kDevice* N2kBus::At(std::uint8_t address) {
    const auto found = std::find_if(Devices.begin(), Devices.end(),
                                    [&](const N2kDevice& d) { return d.address == address; });
    return found == Devices.end() ? nullptr : &*found;
}

std::vector<std::string> N2kBus::Request(const std::vector<std::string_view>& f, const std::string& uid) {
    if (f.size() != 3)
        return {};
    const auto pgn = ReadDecimal(f[1], 0x3FFFF);
    const auto destination = ReadDecimal(f[2], kGlobal);
    if (!pgn || !destination)
        return {};
    std::vector<std::string> lines;
    for (N2kDevice& device : Devices) {
        if (*destination != kGlobal && device.address != *destination)
            continue;
        if (*pgn == kPgnAddressClaim) {
            lines.push_back(AddressClaim(device));
        } else if (*pgn == kPgnProductInformation) {
            auto answer = ProductInformation(device, uid);
            lines.insert(lines.end(), answer.begin(), answer.end());
        }
    }
    return lines;
}

std::vector<std::string> N2kBus::ProductInformation(N2kDevice& device, const std::string& uid) {
    if (device.movesTo && std::find(Asked.begin(), Asked.end(), device.name) == Asked.end()) {
        Asked.push_back(device.name);
        device.address = *device.movesTo;
        return {AddressClaim(device)};
    }
    const std::string tag = TagBlock("s:" + uid + "#" + Hex2(device.address));
    std::vector<std::string> lines;
    lines.push_back(tag + FrameSentence("$PQZXNP,A,0," + device.n2kVersion + "," + device.productCode + "," +
                                        device.certLevel + "," + device.loadEquivalency));
    lines.push_back(tag + FrameSentence("$PQZXNP,B," + device.modelId + "," + device.serialCode));
    if (device.answersPartC)
        lines.push_back(tag +
                        FrameSentence("$PQZXNP,C," + device.softwareVersion + "," + device.modelVersion));
    return lines;
}

std::vector<std::string> N2kBus::ChangeAddress(const std::vector<std::string_view>& f) {
    if (f.size() != 4 || f[1] != "C")
        return {};
    const auto name = ReadHex(f[2], 16, 16);
    const auto address = ReadDecimal(f[3], kMaxAddress);
    if (!name || !address)
        return {};
    const auto device =
        std::find_if(Devices.begin(), Devices.end(), [&](const N2kDevice& d) { return d.name == *name; });
    if (device == Devices.end())
        return {};
    device->address = static_cast<std::uint8_t>(*address);
    return {AddressClaim(*device)};
}

std::vector<std::string> N2kBus::ChangeInstance(const std::vector<std::string_view>& f) {
    if (f.size() != 4)
        return {};
    const auto address = ReadDecimal(f[1], kMaxAddress);
    const auto instance = ReadDecimal(f[2], 255);
    const auto system = ReadDecimal(f[3], 15);
    if (!address || !instance || !system)
        return {};
    N2kDevice* device = At(static_cast<std::uint8_t>(*address));
    if (device == nullptr)
        return {};
    std::uint64_t name = device->name;
    name = (name & ~(std::uint64_t{0xFF} << 32)) | (std::uint64_t{*instance} << 32);
    name = (name & ~(std::uint64_t{0x0F} << 56)) | (std::uint64_t{*system} << 56);
    switch (device->instanceChange) {
    case N2kDevice::InstanceChange::Immediate:
        device->name = name;
        break;
    case N2kDevice::InstanceChange::Delayed:
        Pending.push_back({Clock::now() + device->instanceDelay, device->name, name});
        break;
    case N2kDevice::InstanceChange::Refused:
        break;
    }
    return {AddressClaim(*device)};
}

std::vector<std::string> N2kBus::TakeDue(Clock::time_point now) {
    std::vector<std::string> lines;
    for (auto it = Pending.begin(); it != Pending.end();) {
        if (it->due > now) {
            ++it;
            continue;
        }
        const auto device = std::find_if(Devices.begin(), Devices.end(),
                                         [&](const N2kDevice& d) { return d.name == it->from; });
        if (device != Devices.end()) {
            device->name = it->to;
            lines.push_back(AddressClaim(*device));
        }
        it = Pending.erase(it);
    }
    return lines;
}

N2kBus::Clock::time_point N2kBus::NextDue() const {
    Clock::time_point next = Clock::time_point::max();
    for (const Delayed& change : Pending)
        next = std::min(next, change.due);
    return next;
}

} // namespace kvl::sim
