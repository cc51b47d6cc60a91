// The NMEA 2000 bus behind the simulated multiplexer: the devices on it, as the
// multiplexer sees them. The host asks with "$PQZXNR,<pgn>,<destination>" and
// the multiplexer forwards what the devices answer: an "$PQZXNC,R,<NAME>,<address>"
// report per address claim and "$PQZXNP,<part>,..." product information parts,
// tagged with the answering device's source address. "$PQZXNC,C,<NAME>,<address>"
// moves a device to a new address and "$PQZXNI,<address>,<instance>,<system>"
// changes its instances; each is followed by the device's new address claim.
#pragma once

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
};

// The name the devices are built with: unique number, manufacturer code, device
// instance, function, class, system instance, industry group 4 (marine).
std::uint64_t MakeName(std::uint32_t unique, std::uint16_t manufacturer, std::uint8_t instance,
                       std::uint8_t function, std::uint8_t deviceClass, std::uint8_t systemInstance);

// A bus of several makers' devices: a Raymarine SeaTalk-STNG converter (product
// 16763), an Airmar sensor, a Garmin display, a device that answers only parts A
// and B, and one that moves to another address when first asked.
std::vector<N2kDevice> DemoBus();

class N2kBus {
public:
    explicit N2kBus(std::vector<N2kDevice> devices = {}) : Devices(std::move(devices)) {}

    // Lines the multiplexer sends to the host in answer to a command from it,
    // framed with checksum and CR LF; NP lines carry the TAG block "s:<uid>#hh".
    // Empty for commands that are not the bus's.
    std::vector<std::string> Handle(std::string_view name, const std::vector<std::string_view>& fields,
                                    const std::string& uid);

    const std::vector<N2kDevice>& GetDevices() const { return Devices; }

private:
    std::vector<std::string> Request(const std::vector<std::string_view>& f, const std::string& uid);
    std::vector<std::string> ChangeAddress(const std::vector<std::string_view>& f);
    std::vector<std::string> ChangeInstance(const std::vector<std::string_view>& f);
    std::vector<std::string> ProductInformation(N2kDevice& device, const std::string& uid);
    N2kDevice* At(std::uint8_t address);

    std::vector<N2kDevice> Devices;
    std::vector<std::uint64_t> Asked; // NAMEs already asked for product information
};

std::string AddressClaim(const N2kDevice& device);

} // namespace kvl::sim
