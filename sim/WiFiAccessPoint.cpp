#include "WiFiAccessPoint.h"

#include "DeviceConfig.h"

namespace kvl::sim {

namespace {

constexpr std::uint16_t kInterfaceBits = 0x0007;
constexpr std::uint16_t kInterfaceWiFi = 3;

bool IsApText(std::string_view text, std::size_t minSize, std::size_t maxSize) {
    return text.size() >= minSize && text.size() <= maxSize && IsFieldText(text);
}

std::string Report(const WiFiAccessPoint& ap) {
    return "$PQZXWI,AP," + ap.ssid + "," + ap.passPhrase + "," + std::to_string(ap.channel);
}

} // namespace

WiFiAccessPoint WiFiAccessPoint::Factory(const DeviceIdentity& identity) {
    WiFiAccessPoint ap;
    ap.ssid = "Korvelan-" + identity.serial;
    return ap;
}

std::vector<std::string> HandleWiFi(WiFiAccessPoint& ap, const DeviceIdentity& identity, const Fields& f) {
    if ((identity.CapsWord() & kInterfaceBits) != kInterfaceWiFi || f.size() < 2)
        return {};
    if (f.size() == 2 && f[1] == "Q")
        return {Report(ap)};
    if (f.size() == 2 && f[1] == "A") {
        ap = WiFiAccessPoint::Factory(identity);
        return {Report(ap)};
    }
    if (f.size() != 5 || f[1] != "W" || !IsApText(f[2], 1, 32) || !IsApText(f[3], 8, 31))
        return {};
    const auto channel = ReadDecimal(f[4], 11);
    if (!channel)
        return {};
    ap.ssid = std::string(f[2]);
    ap.passPhrase = std::string(f[3]);
    // Channel 0 is no choice: the radio stays where it is.
    if (*channel != 0)
        ap.channel = *channel;
    return {Report(ap)};
}

} // namespace kvl::sim
