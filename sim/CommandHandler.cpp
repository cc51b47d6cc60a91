#include "CommandHandler.h"

#include "ReportWriter.h"
#include "SentenceFrame.h"
#include "TableCommands.h"

#include <array>

#include <utility>

namespace kvl::sim {

namespace {

constexpr std::string_view kDevicePrefix = "$PQZX";
constexpr std::string_view kSimOverflow = "$PSIMOV";

bool IsSet(const Fields& f, std::size_t count) {
    return f.size() == count && f[1] == "C";
}

// Reads fields first..first+N-1 as decimals no larger than the matching limit.
template <std::size_t N>
std::optional<std::array<std::uint32_t, N>> ReadDecimals(const Fields& f, std::size_t first,
                                                         const std::array<std::uint32_t, N>& limits) {
    std::array<std::uint32_t, N> values{};
    for (std::size_t i = 0; i < N; ++i) {
        const auto value = ReadDecimal(f[first + i], limits[i]);
        if (!value)
            return std::nullopt;
        values[i] = *value;
    }
    return values;
}

template <std::size_t N>
std::array<std::uint32_t, N> Limits(std::uint32_t limit) {
    std::array<std::uint32_t, N> limits{};
    limits.fill(limit);
    return limits;
}

template <typename Target, std::size_t N>
void Store(Target& target, const std::array<std::uint32_t, N>& values) {
    for (std::size_t i = 0; i < N; ++i)
        target[i] = static_cast<typename Target::value_type>(values[i]);
}

// The device keeps up to two characters of field text; it does not judge them
// (a talker ID it was once given, even "g", is what it reports and takes back).
bool IsTalkerId(std::string_view id) {
    return id.size() <= 2 && IsFieldText(id);
}

} // namespace

CommandResult CommandHandler::Handle(std::string_view line) {
    const auto body = CheckedBody(line);
    if (!body)
        return {};
    const Fields f = SplitFields(*body);
    const std::string_view address = f[0];
    if (address == kSimOverflow)
        return {"OV", HandleSimOverflow(f)};
    if (!address.starts_with(kDevicePrefix))
        return {};
    const std::string_view name = address.substr(kDevicePrefix.size());
    StoreEntry = false;
    CommandResult result{std::string(name), Dispatch(name, f)};
    result.storeEntry = StoreEntry;
    result.factoryReset = std::exchange(FactoryResetDone, false);
    return result;
}

CommandHandler::Answers CommandHandler::Dispatch(std::string_view name, const Fields& f) {
    if (name == "VER")
        return f.size() == 1 ? Answers{VersionAnswer(State.identity)} : Answers{};
    if (name == "CFQ")
        return f.size() == 1 ? ConfigurationDump(Config(), HasN2K()) : Answers{};
    if (name == "RESET")
        return HandleReset(f);
    if (name == "STAT")
        return HandleStat(f);
    if (name == "DS")
        return HandleDS(f);
    if (name == "RTE" || name == "MOB" || (name == "MB" && IsModbusTableCommand(f)))
        return HandleTable(name, f);
    if (name == "MB")
        return HandleMB(f);

    const bool n2kOnly = name == "NF" || name == "NA" || name == "ND";
    if (n2kOnly && !HasN2K())
        return {};
    if (f.size() == 2 && f[1] == "Q") {
        if (auto report = SettingReport(name, Config()))
            return {*report};
        return {};
    }
    if (name == "CF")
        return HandleCF(f);
    if (name == "SP")
        return HandleSP(f);
    if (name == "ID")
        return HandleID(f);
    if (name == "UI")
        return HandleUI(f);
    if (name == "DR")
        return HandleDR(f);
    if (name == "IN")
        return HandleIN(f);
    if (name == "PR")
        return HandlePR(f);
    if (name == "OP" || name == "CNV" || name == "NO")
        return HandleWord(name, f);
    if (name == "NF")
        return HandleNF(f);
    if (name == "NA")
        return HandleNA(f);
    if (name == "ND")
        return HandleND(f);
    return {};
}

CommandHandler::Answers CommandHandler::HandleCF(const Fields& f) {
    // "$PQZXCF,A" is the host's periodic keep-alive: nothing to say.
    if (!IsSet(f, 4) || f[2] != "3")
        return {};
    const auto index = ReadDecimal(f[3], 5);
    if (!index)
        return {};
    Config().prioTimeout = static_cast<std::uint8_t>(*index);
    return {ReportCF(Config())};
}

CommandHandler::Answers CommandHandler::HandleSP(const Fields& f) {
    if (!IsSet(f, 7))
        return {};
    const auto values = ReadDecimals<5>(f, 2, Limits<5>(5));
    if (!values)
        return {};
    Store(Config().baud, *values);
    return {ReportSP(Config())};
}

CommandHandler::Answers CommandHandler::HandleID(const Fields& f) {
    if (!IsSet(f, 7))
        return {};
    for (std::size_t i = 2; i < 7; ++i)
        if (!IsTalkerId(f[i]))
            return {};
    for (std::size_t i = 0; i < 5; ++i)
        Config().talkerId[i] = std::string(f[i + 2]);
    return {ReportID(Config())};
}

CommandHandler::Answers CommandHandler::HandleUI(const Fields& f) {
    if (!IsSet(f, 3) || f[2].size() > 12 || !IsFieldText(f[2]))
        return {};
    Config().uid = std::string(f[2]);
    return {ReportUI(Config())};
}

CommandHandler::Answers CommandHandler::HandleDR(const Fields& f) {
    if (!IsSet(f, 6))
        return {};
    const auto route1 = ReadHex(f[2], 2, 2);
    const auto mode1 = ReadHex(f[3], 1, 1);
    const auto route2 = ReadHex(f[4], 2, 2);
    const auto mode2 = ReadHex(f[5], 1, 1);
    if (!route1 || !mode1 || !route2 || !mode2 || *mode1 > 2 || *mode2 > 2)
        return {};
    Config().defRouteOut1 = static_cast<std::uint8_t>(*route1);
    Config().modeOut1 = static_cast<std::uint8_t>(*mode1);
    Config().defRouteOut2 = static_cast<std::uint8_t>(*route2);
    Config().modeOut2 = static_cast<std::uint8_t>(*mode2);
    return {ReportDR(Config())};
}

CommandHandler::Answers CommandHandler::HandleIN(const Fields& f) {
    if (!IsSet(f, 6))
        return {};
    // SeaTalk (6) on input 1 always; SeaTalk-STNG (7) only with NMEA 2000.
    const std::uint32_t input1Max = HasN2K() ? 7 : 6;
    const auto values = ReadDecimals<4>(f, 2, {input1Max, 5, 5, 5});
    if (!values)
        return {};
    Store(Config().modeIn, *values);
    return {ReportIN(Config())};
}

CommandHandler::Answers CommandHandler::HandlePR(const Fields& f) {
    if (!IsSet(f, 7))
        return {};
    const std::uint32_t inputMax = HasN2K() ? 10 : 4;
    const auto values = ReadDecimals<5>(f, 2, {inputMax, inputMax, inputMax, inputMax, 6});
    if (!values)
        return {};
    Store(Config().priority, *values);
    return {ReportPR(Config())};
}

CommandHandler::Answers CommandHandler::HandleWord(std::string_view name, const Fields& f) {
    if (!IsSet(f, 3))
        return {};
    const auto word = ReadHex(f[2], 8, 8);
    if (!word)
        return {};
    const auto value = static_cast<std::uint32_t>(*word);
    if (name == "OP") {
        Config().options = value;
        return {ReportOP(Config())};
    }
    if (name == "CNV") {
        Config().conversions = value;
        return {ReportCNV(Config())};
    }
    Config().n2kOptions = value;
    return {ReportNO(Config())};
}

CommandHandler::Answers CommandHandler::HandleNF(const Fields& f) {
    if (!IsSet(f, 8))
        return {};
    const auto values = ReadDecimals<6>(f, 2, Limits<6>(33));
    if (!values)
        return {};
    Store(Config().deviceFunction, *values);
    return {ReportNF(Config())};
}

CommandHandler::Answers CommandHandler::HandleNA(const Fields& f) {
    if (!IsSet(f, 8))
        return {};
    const auto values = ReadDecimals<6>(f, 2, Limits<6>(kNoAddress));
    if (!values)
        return {};
    for (const auto value : *values)
        if (value > 251 && value != kNoAddress)
            return {};
    Store(Config().sourceAddress, *values);
    return {ReportNA(Config())};
}

CommandHandler::Answers CommandHandler::HandleND(const Fields& f) {
    if (!IsSet(f, 8))
        return {};
    const auto values = ReadDecimals<6>(f, 2, Limits<6>(255));
    if (!values)
        return {};
    Store(Config().deviceInstance, *values);
    return {ReportND(Config())};
}

CommandHandler::Answers CommandHandler::HandleDS(const Fields& f) {
    if (f.size() < 3 || f.size() > 5)
        return {};
    const auto source = ReadDecimal(f[2], 2);
    if (!source)
        return {};
    if (f.size() == 3 && f[1] == "Q")
        return {ReportDS(Config(), *source)};
    if (f[1] != "C")
        return {};
    DataSource entry;
    if (f.size() == 4) {
        if (f[3].size() != 1 || f[3][0] < '1' || f[3][0] > '4')
            return {};
        entry.type = f[3][0];
        entry.name = Config().dataSource[*source].name; // the device remembers the last device chosen
    } else if (f.size() == 5) {
        const auto name = ReadHex(f[4], 16, 16);
        if (f[3] != "N" || !name)
            return {};
        entry.type = 'N';
        entry.name = *name;
    } else {
        entry.name = Config().dataSource[*source].name;
    }
    Config().dataSource[*source] = entry;
    return {ReportDS(Config(), *source)};
}

CommandHandler::Answers CommandHandler::HandleMB(const Fields& f) {
    if (f.size() == 3 && f[1] == "Q") {
        if (f[2] == "M")
            return {ReportMBMode(Config())};
        if (f[2] == "R")
            return {ReportMBIntervals(Config())};
        return {};
    }
    if (f.size() < 4 || f[1] != "C")
        return {};
    if (f[2] == "M" && f.size() == 4) {
        const auto mode = ReadDecimal(f[3], 2);
        if (!mode)
            return {};
        Config().modbusMode = static_cast<std::uint8_t>(*mode);
        return {ReportMBMode(Config())};
    }
    if (f[2] == "S" && f.size() == 4) {
        const auto address = ReadDecimal(f[3], 247);
        if (!address || *address == 0)
            return {};
        Config().modbusSlaveAddress = static_cast<std::uint8_t>(*address);
        return {ReportMBMode(Config())};
    }
    if (f[2] == "R" && f.size() == 5) {
        const auto xdr = ReadDecimal(f[3], 65535);
        const auto poll = ReadDecimal(f[4], 255);
        if (!xdr || !poll || *xdr == 0 || *poll == 0)
            return {};
        Config().modbusXdrInterval = static_cast<std::uint16_t>(*xdr);
        Config().modbusPollInterval = static_cast<std::uint8_t>(*poll);
        return {ReportMBIntervals(Config())};
    }
    return {};
}

CommandHandler::Answers CommandHandler::HandleTable(std::string_view name, const Fields& f) {
    TableCommandResult result = HandleTableCommand(name, f, Config());
    StoreEntry = result.storeEntry;
    return std::move(result.answers);
}

CommandHandler::Answers CommandHandler::HandleReset(const Fields& f) {
    // The bare "$PQZXRESET" would start the bootloader, which this device lacks.
    if (f.size() == 2 && f[1] == "1") {
        Config() = State.factory;
        FactoryResetDone = true;
        State.statReports = false;
    }
    return {};
}

CommandHandler::Answers CommandHandler::HandleStat(const Fields& f) {
    if (!IsSet(f, 3))
        return {};
    if (f[2] == "0") {
        State.statReports = false;
        return {};
    }
    if (f[2] != "1")
        return {};
    State.statReports = true;
    return {}; // the first report follows at once from the device's clock
}

CommandHandler::Answers CommandHandler::HandleSimOverflow(const Fields& f) {
    if (f.size() != 2)
        return {};
    const auto bits = ReadHex(f[1], 1, 8);
    if (!bits)
        return {};
    return {OverflowReport(static_cast<std::uint32_t>(*bits))};
}

} // namespace kvl::sim
