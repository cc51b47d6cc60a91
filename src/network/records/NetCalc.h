// TNetCalc: the dotted IPv4 addresses and network masks of the network dialogs.
#pragma once

#include "network/records/XPortRecords.h"

#include <optional>
#include <string>
#include <string_view>

namespace kvl {

class TNetCalc {
public:
    // Four decimal numbers 0 to 255 joined by dots; nullopt for anything else.
    static std::optional<TIPv4> ParseAddress(std::string_view text);
    static std::string FormatAddress(TIPv4 address);
    // The prefix length of a contiguous mask (ones, then zeros); nullopt otherwise.
    static std::optional<unsigned> PrefixLength(TIPv4 mask);
    // prefix 0 to 32.
    static TIPv4 MaskOfPrefix(unsigned prefix);
};

} // namespace kvl
