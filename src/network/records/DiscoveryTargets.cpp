#include "network/records/DiscoveryTargets.h"

#include "network/records/NetCalc.h"

#include <algorithm>

namespace kvl {

namespace {
std::optional<TXPortEndpoint>& StoredAddress() {
    static std::optional<TXPortEndpoint> address;
    return address;
}
} // namespace

std::optional<TXPortEndpoint> ParseDiscoveryAddress(std::string_view text) {
    TXPortEndpoint endpoint;
    const auto colon = text.find(':');
    const std::string_view address = text.substr(0, colon);
    if (!TNetCalc::ParseAddress(address))
        return std::nullopt;
    endpoint.Address = std::string(address);
    if (colon == std::string_view::npos)
        return endpoint;
    const std::string_view port = text.substr(colon + 1);
    if (port.empty() || port.size() > 5)
        return std::nullopt;
    unsigned value = 0;
    for (char c : port) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value == 0 || value > 65535)
        return std::nullopt;
    endpoint.Port = static_cast<std::uint16_t>(value);
    return endpoint;
}

std::vector<std::string> BroadcastTargetList(const std::vector<TInterfaceFacts>& interfaces) {
    std::vector<std::string> targets{"255.255.255.255"};
    for (const auto& facts : interfaces) {
        if (!facts.Up || !facts.CanBroadcast)
            continue;
        for (const auto& broadcast : facts.Broadcasts)
            if (TNetCalc::ParseAddress(broadcast) &&
                std::find(targets.begin(), targets.end(), broadcast) == targets.end())
                targets.push_back(broadcast);
    }
    return targets;
}

void SetDiscoveryAddress(std::optional<TXPortEndpoint> endpoint) {
    StoredAddress() = std::move(endpoint);
}

const std::optional<TXPortEndpoint>& DiscoveryAddress() {
    return StoredAddress();
}

bool SetDiscoveryAddressOption(std::string_view text) {
    auto endpoint = ParseDiscoveryAddress(text);
    if (!endpoint)
        return false;
    SetDiscoveryAddress(std::move(endpoint));
    return true;
}

} // namespace kvl
