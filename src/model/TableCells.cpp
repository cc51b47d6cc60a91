#include "model/TableCells.h"

#include "model/TextRules.h"
#include "model/WireFormat.h"
#include "sentence/NmeaText.h"

#include <cstdint>

namespace kvl {

namespace {

constexpr std::uint64_t kMaxDivisor = 99;
constexpr std::uint64_t kMaxSlave = 247;
constexpr std::uint64_t kMaxReg = 65535;
constexpr std::uint64_t kMaxPrec = 9;

std::string Letter(char c) {
    return c == 0 ? std::string() : std::string(1, c);
}

// A decimal cell: its value, or the message. Over max is refused as well, so a
// number never wraps round when it is narrowed.
std::string ReadNumber(std::string_view text, std::uint64_t max, std::uint64_t& value) {
    const auto number = ParseDecimal(text);
    if (!number)
        return NotAnInteger(text);
    if (*number > max)
        return "'" + std::string(text) + "' is out of range (0-" + FormatDec(max) + ")";
    value = *number;
    return {};
}

// A one-letter cell (XDR type or unit). Empty text leaves the field as it was:
// the Delete key is the way to clear it.
std::string CommitLetter(char& field, std::string_view text, std::string_view what) {
    if (text.empty())
        return {};
    const char c = text.front();
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')))
        return "The " + std::string(what) + " must be a letter";
    field = c;
    return {};
}

} // namespace

std::string NotAnInteger(std::string_view text) {
    return "'" + std::string(text) + "' is not a valid integer value";
}

std::string RouteCellText(const TRoute& route, int col) {
    if (col == kRouteColSentence)
        return route.Address;
    if (col == kRouteColDivisor)
        return route.Divisor == 0 ? std::string() : FormatDec(route.Divisor);
    return {};
}

std::string ModbusCellText(const TModbus& entry, int col) {
    switch (col) {
    case kModbusColSlave:
        return FormatDec(entry.Slave);
    case kModbusColReg:
        return FormatDec(entry.Reg);
    case kModbusColPrec:
        return FormatDec(entry.Prec);
    case kModbusColXdrType:
        return Letter(entry.XdrType);
    case kModbusColXdrUnit:
        return Letter(entry.XdrUnit);
    case kModbusColXdrID:
        return entry.XdrID;
    default:
        return {};
    }
}

std::string MobCellText(const TMob& entry, int col) {
    return col == kMobColMMSI ? entry.MMSI : std::string();
}

std::string CommitRouteCell(TRoute& route, int col, std::string_view text) {
    if (col == kRouteColSentence) {
        const std::string address = CutAtBlank(text).substr(0, TRoute::kAddressLength);
        if (address.size() != TRoute::kAddressLength || !IsWordText(address))
            return "A sentence address is five characters; \",\", \"*\" and blanks cannot be sent";
        route.Address = address;
        return {};
    }
    if (col == kRouteColDivisor) {
        const auto number = ParseDecimal(text, kMaxDivisor);
        route.Divisor = static_cast<std::uint8_t>(number.value_or(0)); // a cell without a number means none
    }
    return {};
}

std::string CommitModbusCell(TModbus& entry, int col, std::string_view text) {
    std::uint64_t value = 0;
    std::string error;
    switch (col) {
    case kModbusColSlave:
        if ((error = ReadNumber(text, kMaxSlave, value)).empty())
            entry.Slave = static_cast<std::uint8_t>(value);
        return error;
    case kModbusColReg:
        if ((error = ReadNumber(text, kMaxReg, value)).empty())
            entry.Reg = static_cast<std::uint16_t>(value);
        return error;
    case kModbusColPrec:
        if ((error = ReadNumber(text, kMaxPrec, value)).empty())
            entry.Prec = static_cast<std::uint8_t>(value);
        return error;
    case kModbusColXdrType:
        return CommitLetter(entry.XdrType, text, "transducer type");
    case kModbusColXdrUnit:
        return CommitLetter(entry.XdrUnit, text, "unit");
    case kModbusColXdrID: {
        const std::string id = CutAtBlank(text).substr(0, TModbus::kXdrIDLength);
        if (!IsWordText(id))
            return "A transducer ID cannot hold \",\", \"*\" or similar characters";
        entry.XdrID = id;
        return {};
    }
    default:
        return {};
    }
}

std::string CommitMobCell(TMob& entry, int col, std::string_view text) {
    if (col != kMobColMMSI)
        return {};
    const std::string_view mmsi = text.substr(0, TMob::kMMSILength);
    if (mmsi.size() != TMob::kMMSILength || !IsMMSIText(mmsi))
        return "An MMSI has nine digits";
    entry.MMSI = mmsi;
    return {};
}

} // namespace kvl
