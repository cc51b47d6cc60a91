#include "model/ConfigRows.h"

#include "model/TextRules.h"
#include "model/WireFormat.h"
#include "sentence/NmeaText.h"

#include <cstdint>
#include <limits>

namespace kvl {

namespace {

constexpr char kQuote = '"';
constexpr std::size_t kRoutingFields = 5;
constexpr std::size_t kModbusFields = 9;
constexpr std::uint64_t kMaxSlave = 247; // the highest Modbus slave address
constexpr std::uint64_t kMaxReg = 65535;
constexpr std::uint64_t kMaxPrec = 9;
constexpr std::uint64_t kMaxDivisor = 255;
constexpr std::uint64_t kMaxBits = 0xFFFF;
constexpr std::string_view kRegTypes = "HI";
constexpr std::string_view kDataTypes = "IULF";
constexpr std::uint8_t kNoSourceAddress = 255; // a loaded route was captured from no device

bool IsSeparator(char c) {
    const auto code = static_cast<unsigned char>(c);
    return code >= 1 && code <= ' ';
}

bool EndsPlainField(char c) {
    return static_cast<unsigned char>(c) <= ' ' || c == ',';
}

bool NeedsQuotes(std::string_view field) {
    for (const char c : field) {
        if (static_cast<unsigned char>(c) <= ' ' || c == ',' || c == kQuote)
            return true;
    }
    return false;
}

// The quoted field starting at text[i] (the quote); i ends after the closing quote.
std::string ReadQuoted(std::string_view text, std::size_t& i) {
    std::string field;
    ++i;
    while (i < text.size()) {
        if (text[i] != kQuote) {
            field.push_back(text[i++]);
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == kQuote) {
            field.push_back(kQuote);
            i += 2;
            continue;
        }
        ++i;
        break;
    }
    return field;
}

void SkipSeparators(std::string_view text, std::size_t& i) {
    while (i < text.size() && IsSeparator(text[i]))
        ++i;
}

std::string Padded(unsigned value, std::size_t digits) {
    std::string text = FormatDec(value);
    if (text.size() < digits)
        text.insert(0, digits - text.size(), '0');
    return text;
}

std::string Letter(char c) {
    return c == 0 ? std::string() : std::string(1, c);
}

std::optional<std::uint64_t> ReadRanged(std::string_view text, std::uint64_t max) {
    const auto value = ParseFileInteger(text);
    if (!value || *value < 0 || static_cast<std::uint64_t>(*value) > max)
        return std::nullopt;
    return static_cast<std::uint64_t>(*value);
}

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

// The first character of a one-letter field, when it is one of allowed (or any
// character fit for a sentence when allowed is empty).
std::optional<char> ReadLetter(std::string_view field, std::string_view allowed) {
    if (field.empty())
        return std::nullopt;
    const char c = field.front();
    if (allowed.empty() ? (!IsNmeaChar(c) || c == ' ') : allowed.find(c) == std::string_view::npos)
        return std::nullopt;
    return c;
}

template <typename T>
TRowRead<T> LeftOut(std::string problem) {
    return {std::nullopt, std::move(problem)};
}

} // namespace

std::vector<std::string> SplitRow(std::string_view value) {
    // A NUL ends the value, as it always has.
    value = value.substr(0, value.find('\0'));
    std::vector<std::string> fields;
    std::size_t i = 0;
    SkipSeparators(value, i);
    while (i < value.size()) {
        if (value[i] == kQuote) {
            fields.push_back(ReadQuoted(value, i));
        } else {
            const std::size_t start = i;
            while (i < value.size() && !EndsPlainField(value[i]))
                ++i;
            fields.emplace_back(value.substr(start, i - start));
        }
        SkipSeparators(value, i);
        if (i < value.size() && value[i] == ',') {
            if (i + 1 == value.size())
                fields.emplace_back();
            ++i;
            SkipSeparators(value, i);
        }
    }
    return fields;
}

std::string JoinRow(const std::vector<std::string>& fields) {
    if (fields.size() == 1 && fields[0].empty())
        return "\"\""; // an empty value would read back as no field at all
    std::string row;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            row.push_back(',');
        if (!NeedsQuotes(fields[i])) {
            row += fields[i];
            continue;
        }
        row.push_back(kQuote);
        for (const char c : fields[i]) {
            row.push_back(c);
            if (c == kQuote)
                row.push_back(kQuote);
        }
        row.push_back(kQuote);
    }
    return row;
}

std::optional<long long> ParseFileInteger(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::optional<std::uint64_t> magnitude;
    const auto limit = static_cast<std::uint64_t>(std::numeric_limits<long long>::max());
    if (text.starts_with('$'))
        magnitude = ParseHex(text.substr(1), limit);
    else if (text.starts_with("0x") || text.starts_with("0X"))
        magnitude = ParseHex(text.substr(2), limit);
    else
        magnitude = ParseDecimal(text, limit);
    if (!magnitude)
        return std::nullopt;
    const auto value = static_cast<long long>(*magnitude);
    return negative ? -value : value;
}

std::string RoutingRow(const TRoute& route) {
    return JoinRow({route.Address, FormatHex(route.Inputs, 2), Padded(route.Divisor, 2),
                    FormatHex(route.Route, 2), route.Name.ToHex()});
}

std::string ModbusRow(const TModbus& entry) {
    return JoinRow({FormatDec(entry.Slave), FormatDec(entry.Reg), Letter(entry.RType), Letter(entry.DType),
                    FormatDec(entry.Rev), FormatDec(entry.Prec), Letter(entry.XdrType), Letter(entry.XdrUnit),
                    entry.XdrID});
}

std::string DataSourceRow(const TDataSource& source) {
    if (!source.IsSet())
        return {};
    return JoinRow({std::string(1, source.Input), source.Name.ToHex()});
}

std::string MobRow(const TMob& entry) {
    return entry.MMSI;
}

TRowRead<TRoute> ReadRoutingRow(std::string_view value) {
    const std::vector<std::string> f = SplitRow(value);
    if (f.size() < kRoutingFields)
        return LeftOut<TRoute>("it has fewer than five fields");
    const std::string address = CutAtBlank(f[0]).substr(0, TRoute::kAddressLength);
    if (!IsWordText(address))
        return LeftOut<TRoute>("the sentence address " + Quoted(address) + " cannot go into a sentence");
    const auto inputs = ParseHex(f[1], kMaxBits);
    const auto divisor = ReadRanged(f[2], kMaxDivisor);
    const auto route = ParseHex(f[3], kMaxBits);
    const auto name = ParseHex(f[4]);
    if (!inputs || !divisor || !route || !name)
        return LeftOut<TRoute>("a number is missing, not a number or out of range");
    return {TRoute(address, static_cast<std::uint16_t>(*inputs), static_cast<std::uint8_t>(*divisor),
                   static_cast<std::uint16_t>(*route), TName(*name), kNoSourceAddress),
            {}};
}

TRowRead<TModbus> ReadModbusRow(std::string_view value) {
    const std::vector<std::string> f = SplitRow(value);
    if (f.size() < kModbusFields)
        return LeftOut<TModbus>("it has fewer than nine fields");
    const auto slave = ReadRanged(f[0], kMaxSlave);
    const auto reg = ReadRanged(f[1], kMaxReg);
    const auto rev = ReadRanged(f[4], 1);
    const auto prec = ReadRanged(f[5], kMaxPrec);
    if (!slave || !reg || !rev || !prec)
        return LeftOut<TModbus>("a number is missing, not a number or out of range");
    const auto rtype = ReadLetter(f[2], kRegTypes);
    const auto dtype = ReadLetter(f[3], kDataTypes);
    if (!rtype || !dtype)
        return LeftOut<TModbus>("the register type must be H or I and the data type I, U, L or F");
    const auto xdrType = ReadLetter(f[6], {});
    const auto xdrUnit = ReadLetter(f[7], {});
    if (!xdrType || !xdrUnit)
        return LeftOut<TModbus>("the transducer type or unit is missing or cannot go into a sentence");
    const std::string id = CutAtBlank(f[8]).substr(0, TModbus::kXdrIDLength);
    if (!IsWordText(id))
        return LeftOut<TModbus>("the transducer ID " + Quoted(id) + " cannot go into a sentence");
    return {TModbus(static_cast<std::uint8_t>(*slave), static_cast<std::uint16_t>(*reg), *rtype, *dtype,
                    static_cast<std::uint8_t>(*rev), static_cast<std::uint8_t>(*prec), *xdrType, *xdrUnit, id,
                    TModbus::kStatusUnknown),
            {}};
}

TRowRead<TMob> ReadMobRow(std::string_view value) {
    const std::string_view mmsi = value.substr(0, TMob::kMMSILength);
    if (mmsi.empty() || !IsMMSIText(mmsi))
        return LeftOut<TMob>("the MMSI " + Quoted(mmsi) + " is not up to nine digits");
    return {TMob(mmsi, TMob::kAlarmInactive), {}};
}

TDataSource ReadDataSourceRow(std::string_view value, std::string& problem) {
    problem.clear();
    TDataSource source;
    const std::vector<std::string> f = SplitRow(value);
    if (f.empty())
        return source; // never set: no source
    if (f[0].size() == 1 && IsDataSourceType(f[0][0]))
        source.Input = f[0][0];
    if (f.size() > 1) {
        if (const auto name = ParseHex(f[1]))
            source.Name = *name;
        else if (source.Input == TDataSource::kN2K)
            problem = "the NAME " + Quoted(f[1]) + " is not hexadecimal";
    }
    return source;
}

} // namespace kvl
