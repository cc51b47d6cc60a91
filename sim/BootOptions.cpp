#include "BootOptions.h"

#include "SimFields.h"

namespace kvl::sim {

namespace {

std::optional<BootStep> ReadStep(std::string_view name) {
    if (name == "ldr")
        return BootStep::Ldr;
    if (name == "erase")
        return BootStep::Erase;
    if (name == "encryption")
        return BootStep::Encryption;
    if (name == "page")
        return BootStep::Page;
    if (name == "crc")
        return BootStep::Crc;
    if (name == "restart")
        return BootStep::Restart;
    return std::nullopt;
}

std::vector<std::string_view> SplitColons(std::string_view text) {
    std::vector<std::string_view> parts;
    for (;;) {
        const auto colon = text.find(':');
        parts.push_back(text.substr(0, colon));
        if (colon == std::string_view::npos)
            return parts;
        text.remove_prefix(colon + 1);
    }
}

} // namespace

std::optional<BootFault> ParseBootFault(const std::string& text) {
    const auto parts = SplitColons(text);
    BootFault fault;
    if (parts.size() == 1 && parts[0] == "badcrc") {
        fault.kind = BootFault::Kind::BadCrc;
        fault.step = BootStep::Crc;
        return fault;
    }
    if (parts.size() == 1 && parts[0] == "reannounce") {
        fault.kind = BootFault::Kind::Reannounce;
        fault.step = BootStep::Restart;
        return fault;
    }
    if (parts.size() < 2)
        return std::nullopt;
    if (parts[0] == "silent")
        fault.kind = BootFault::Kind::Silent;
    else if (parts[0] == "error")
        fault.kind = BootFault::Kind::Error;
    else if (parts[0] == "size")
        fault.kind = BootFault::Kind::WrongSize;
    else if (parts[0] == "drop")
        fault.kind = BootFault::Kind::Drop;
    else
        return std::nullopt;
    const auto step = ReadStep(parts[1]);
    if (!step)
        return std::nullopt;
    fault.step = *step;
    std::size_t next = 2;
    if (fault.step == BootStep::Page) {
        if (parts.size() <= next)
            return std::nullopt;
        const auto page = ReadDecimal(parts[next++], 65535);
        if (!page)
            return std::nullopt;
        fault.page = *page;
    }
    if (fault.kind == BootFault::Kind::Error) {
        if (parts.size() <= next)
            return std::nullopt;
        const auto code = ReadHex(parts[next++], 2, 2);
        if (!code)
            return std::nullopt;
        fault.code = static_cast<std::uint8_t>(*code);
    }
    const bool packetStep = fault.step != BootStep::Ldr && fault.step != BootStep::Restart;
    if (parts.size() != next || (fault.kind != BootFault::Kind::Silent && !packetStep))
        return std::nullopt;
    return fault;
}

} // namespace kvl::sim
