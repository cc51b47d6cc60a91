// The resource text of a network link: "host" or "host:port".
#pragma once

#include <string>

namespace kvl {

struct TNetResource {
    std::string Host;
    int Port = 10110;
};

// Splits at the first ':'. The port text must be a decimal number from 1 to
// 65535; anything else throws EConvertError ("'10x110' is not a valid port number").
TNetResource SplitResource(const std::string& resource, int defaultPort = 10110);

} // namespace kvl
