// Where the search for XPort modules is sent. 255.255.255.255 leaves a computer
// with several interfaces by one of them only, so the search also goes to the
// broadcast address of every IPv4 interface that is up. A discovery address given
// by the user (--discovery-address ADDRESS[:PORT]) replaces that list with one
// address; its port is then also the port of the module's TCP exchanges.
#pragma once

#include "network/records/XPortRecords.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kvl {

struct TXPortEndpoint {
    std::string Address; // dotted IPv4
    std::uint16_t Port = kXPortPort;
    bool operator==(const TXPortEndpoint&) const = default;
};

// "ADDRESS" or "ADDRESS:PORT" with a dotted IPv4 address and a port 1 to 65535;
// nullopt otherwise.
std::optional<TXPortEndpoint> ParseDiscoveryAddress(std::string_view text);

// What the search needs to know of one network interface.
struct TInterfaceFacts {
    bool Up = false;
    bool CanBroadcast = false;
    std::vector<std::string> Broadcasts; // the broadcast address of each IPv4 entry, empty when none
};

// 255.255.255.255 first, then each up interface's IPv4 broadcast addresses, each once.
std::vector<std::string> BroadcastTargetList(const std::vector<TInterfaceFacts>& interfaces);

// The process-wide discovery address; nullopt: the computed list on port 30718.
void SetDiscoveryAddress(std::optional<TXPortEndpoint> endpoint);
const std::optional<TXPortEndpoint>& DiscoveryAddress();
// The value of --discovery-address: sets the discovery address, or returns false
// (changing nothing) when the text is not ADDRESS[:PORT].
bool SetDiscoveryAddressOption(std::string_view text);

} // namespace kvl
