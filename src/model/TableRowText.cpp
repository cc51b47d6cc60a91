#include "model/TableRowText.h"

#include "model/WireFormat.h"

#include <cstdint>
#include <utility>

namespace kvl {

namespace {

// Column captions of the route editor by bit.
constexpr std::pair<unsigned, const char*> kSourceColumns[] = {
    {kSrcIn1, "1"},  {kSrcIn2, "2"},  {kSrcIn3, "3"}, {kSrcIn4, "4"},
    {kSrcConv, "C"}, {kSrcHost, "H"}, {kSrcN2K, "N"}};
constexpr std::pair<unsigned, const char*> kDestinationColumns[] = {
    {kDstOut1, "1"}, {kDstOut2, "2"}, {kDstSeaTalk, "ST"}, {kDstHost, "PC"}, {kDstWiFi, "W"}};

template <std::size_t N>
std::string BitList(std::uint16_t bits, const std::pair<unsigned, const char*> (&columns)[N]) {
    std::string out;
    auto add = [&out](const std::string& item) { out += (out.empty() ? "" : ",") + item; };
    std::uint16_t named = 0;
    for (const auto& [bit, caption] : columns) {
        named |= static_cast<std::uint16_t>(1u << bit);
        if (bits & (1u << bit))
            add(caption);
    }
    for (unsigned bit = 0; bit < 16; ++bit)
        if ((bits & ~named) & (1u << bit))
            add("bit " + FormatDec(bit));
    return out.empty() ? "none" : out;
}

std::string Letter(char c) {
    return c == 0 ? std::string("-") : std::string(1, c);
}

} // namespace

std::string RouteRowText(const TRoute& route) {
    std::string out = (route.Address.empty() ? std::string("(no sentence)") : route.Address) + " from " +
                      BitList(route.Inputs, kSourceColumns) + " to " +
                      BitList(route.Route, kDestinationColumns);
    if (route.Divisor != 0)
        out += ", Div " + FormatDec(route.Divisor);
    if (!route.Name.IsEmpty())
        out += ", Device " + route.Name.ToHex();
    return out;
}

std::string ModbusRowText(const TModbus& e) {
    return "Slv " + FormatDec(e.Slave) + ", Reg " + FormatDec(e.Reg) + ", " + Letter(e.RType) + ", " +
           Letter(e.DType) + (e.Rev != 0 ? ", reversed" : "") + ", P " + FormatDec(e.Prec) + ", XDR " +
           Letter(e.XdrType) + " " + Letter(e.XdrUnit) + " " + (e.XdrID.empty() ? std::string("-") : e.XdrID);
}

std::string MobRowText(const TMob& entry) {
    return entry.MMSI.empty() ? std::string("(no MMSI)") : entry.MMSI;
}

} // namespace kvl
