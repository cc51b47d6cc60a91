// The NMEA 2000 bus behind the simulated multiplexer: the devices on it, as the
// multiplexer sees them. The host asks with "$PQZXNR,<pgn>,<destination>" and
// the multiplexer forwards what the devices answer: an "$PQZXNC,R,<NAME>,<address>"
// report per address claim and "$PQZXNP,<part>,..." product information parts,
// tagged with the answering device's source address. "$PQZXNC,C,<NAME>,<address>"
// moves a device to a new address and "$PQZXNI,<address>,<instance>,<system>"
// changes its instances; each is followed by the device's new address claim.
// Some devices are awkward about an instance change: one takes it only after a
// while (claiming its unchanged NAME at once, the changed one later), one refuses
// it (claiming its unchanged NAME).
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kvl::sim {

struct N2kDevice {
    std::uint64_t name = 0;   // the 64-bit NAME, instances included
    std::uint8_t address = 0; // claimed source address 0..251
    std::string n2kVersion = "2.100";
    std::string productCode = "1234"; // as sent: a number, or any text ("n/a")
    std::string certLevel = "1";
    std::string loadEquivalency = "2";
    std::string modelId;
    std::string serialCode;
    std::string softwareVersion = "1.0";
    std::string modelVersion;
    bool answersPartC = true; // a device that never completes its product information
    // A device that, when first asked for its product information, claims this
    // address instead of answering (an address conflict lost to another device).
    std::optional<std::uint8_t> movesTo;
    // How an instance change is taken: at once, only after instanceDelay, or never.
    enum class InstanceChange : std::uint8_t { Immediate, Delayed, Refused };
    InstanceChange instanceChange = InstanceChange::Immediate;
    std::chrono::milliseconds instanceDelay{1000};
};

// The name the devices are built with: unique number, manufacturer code, device
// instance, function, class, system instance, industry group 4 (marine).
std::uint64_t MakeName(std::uint32_t unique, std::uint16_t manufacturer, std::uint8_t instance,
                       std::uint8_t function, std::uint8_t deviceClass, std::uint8_t systemInstance);

// A bus of several makers' devices: a Raymarine SeaTalk-STNG converter (product
// 16763), an Airmar sensor, a Garmin display, a device that answers only parts A
// and B, one that moves to another address when first asked, two Furuno sensors
// that differ only in their instances, a Maretron device that takes a changed
// instance only after a second and a Victron device that refuses one.
std::vector<N2kDevice> DemoBus();

class N2kBus {
public:
    using Clock = std::chrono::steady_clock;

    explicit N2kBus(std::vector<N2kDevice> devices = {}) : Devices(std::move(devices)) {}

    // Lines the multiplexer sends to the host in answer to a command from it,
    // framed with checksum and CR LF; NP lines carry the TAG block "s:<uid>#hh".
    // Empty for commands that are not the bus's.
    std::vector<std::string> Handle(std::string_view name, const std::vector<std::string_view>& fields,
                                    const std::string& uid);

    const std::vector<N2kDevice>& GetDevices() const { return Devices; }

    // The claims of the instance changes that are due at now, framed; the
    // changes take effect with them.
    std::vector<std::string> TakeDue(Clock::time_point now);
    // When the next delayed change is due; max() when none is pending.
    Clock::time_point NextDue() const;

private:
    struct Delayed {
        Clock::time_point due;
        std::uint64_t from; // the device's NAME when it was asked
        std::uint64_t to;
    };

    std::vector<std::string> Request(const std::vector<std::string_view>& f, const std::string& uid);
    std::vector<std::string> ChangeAddress(const std::vector<std::string_view>& f);
    std::vector<std::string> ChangeInstance(const std::vector<std::string_view>& f);
    std::vector<std::string> ProductInformation(N2kDevice& device, const std::string& uid);
    N2kDevice* At(std::uint8_t address);

    std::vector<N2kDevice> Devices;
    std::vector<std::uint64_t> Asked; // NAMEs already asked for product information
    std::vector<Delayed> Pending;
};

std::string AddressClaim(const N2kDevice& device);

} // namespace kvl::sim
