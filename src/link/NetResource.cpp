#include "link/NetResource.h"

#include "link/Comms.h"
#include "sentence/NmeaText.h"

namespace kvl {

namespace {
constexpr std::size_t kMaxPortText = 255;
constexpr std::uint64_t kMaxPort = 65535;
} // namespace

TNetResource SplitResource(const std::string& resource, int defaultPort) {
    TNetResource result;
    result.Port = defaultPort;
    const std::size_t colon = resource.find(':');
    if (colon == std::string::npos) {
        result.Host = resource;
        return result;
    }
    const std::string portText = resource.substr(colon + 1, kMaxPortText);
    const bool digitsOnly =
        !portText.empty() && portText.find_first_not_of("0123456789") == std::string::npos;
    if (!digitsOnly)
        throw EConvertError("'" + portText + "' is not a valid integer value");
    const auto port = ParseDecimal(portText, kMaxPort);
    if (!port || *port == 0) // a number, but no port: 0 or beyond 65535
        throw EConvertError("'" + portText + "' is not a valid port number");
    result.Port = static_cast<int>(*port);
    result.Host = resource.substr(0, colon);
    return result;
}

} // namespace kvl
