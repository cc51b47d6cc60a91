#include "ReportWriter.h"

#include "SimFields.h"
#include "TableCommands.h"

#include <array>

namespace kvl::sim {

namespace {

template <typename Array>
std::string DecimalList(std::string text, const Array& values) {
    for (const auto value : values) {
        text.push_back(',');
        text.append(std::to_string(static_cast<unsigned>(value)));
    }
    return text;
}

std::string AddressText(std::uint8_t address) {
    return address == kNoAddress ? std::string("-") : std::to_string(static_cast<unsigned>(address));
}

} // namespace

std::string ReportCF(const DeviceConfig& config) {
    return "$PQZXCF,R,3," + std::to_string(static_cast<unsigned>(config.prioTimeout));
}

std::string ReportSP(const DeviceConfig& config) {
    return DecimalList("$PQZXSP,R", config.baud);
}

std::string ReportID(const DeviceConfig& config) {
    std::string text = "$PQZXID,R";
    for (const auto& id : config.talkerId)
        text += "," + id;
    return text;
}

std::string ReportUI(const DeviceConfig& config) {
    return "$PQZXUI,R," + config.uid;
}

std::string ReportDR(const DeviceConfig& config) {
    return "$PQZXDR,R," + WriteHex(config.defRouteOut1, 2) + "," + std::to_string(config.modeOut1) + "," +
           WriteHex(config.defRouteOut2, 2) + "," + std::to_string(config.modeOut2);
}

std::string ReportIN(const DeviceConfig& config) {
    return DecimalList("$PQZXIN,R", config.modeIn);
}

std::string ReportPR(const DeviceConfig& config) {
    return DecimalList("$PQZXPR,R", config.priority);
}

std::string ReportOP(const DeviceConfig& config) {
    return "$PQZXOP,R," + WriteHex(config.options, 8);
}

std::string ReportCNV(const DeviceConfig& config) {
    return "$PQZXCNV,R," + WriteHex(config.conversions, 8);
}

std::string ReportNO(const DeviceConfig& config) {
    return "$PQZXNO,R," + WriteHex(config.n2kOptions, 8);
}

std::string ReportNF(const DeviceConfig& config) {
    return DecimalList("$PQZXNF,R", config.deviceFunction);
}

std::string ReportNA(const DeviceConfig& config) {
    std::string text = "$PQZXNA,R";
    for (const auto address : config.sourceAddress)
        text += "," + AddressText(address);
    return text;
}

std::string ReportND(const DeviceConfig& config) {
    return DecimalList("$PQZXND,R", config.deviceInstance);
}

std::string ReportDS(const DeviceConfig& config, std::size_t source) {
    const DataSource& entry = config.dataSource.at(source);
    std::string text = "$PQZXDS,R," + std::to_string(source) + "," + std::string(1, entry.type);
    if (entry.type == 'N')
        text += "," + WriteHex(entry.name, 16);
    return text;
}

std::string ReportMBMode(const DeviceConfig& config) {
    return "$PQZXMB,R,M," + std::to_string(config.modbusMode) + "," +
           std::to_string(config.modbusSlaveAddress);
}

std::string ReportMBIntervals(const DeviceConfig& config) {
    return "$PQZXMB,R,R," + std::to_string(config.modbusXdrInterval) + "," +
           std::to_string(config.modbusPollInterval);
}

std::optional<std::string> SettingReport(std::string_view name, const DeviceConfig& config) {
    using Writer = std::string (*)(const DeviceConfig&);
    struct Entry {
        std::string_view name;
        Writer writer;
    };
    static constexpr std::array<Entry, 13> kWriters{{{"CF", ReportCF},
                                                     {"SP", ReportSP},
                                                     {"ID", ReportID},
                                                     {"UI", ReportUI},
                                                     {"DR", ReportDR},
                                                     {"IN", ReportIN},
                                                     {"PR", ReportPR},
                                                     {"OP", ReportOP},
                                                     {"CNV", ReportCNV},
                                                     {"NO", ReportNO},
                                                     {"NF", ReportNF},
                                                     {"NA", ReportNA},
                                                     {"ND", ReportND}}};
    for (const auto& entry : kWriters)
        if (entry.name == name)
            return entry.writer(config);
    return std::nullopt;
}

std::string VersionAnswer(const DeviceIdentity& identity) {
    const std::string device = identity.device + std::string(identity.marked ? kSimulatorMarker : "");
    return "$PQZXVER," + identity.version + "," + device + "," + identity.serial + "," + identity.caps;
}

std::vector<std::string> ConfigurationDump(const DeviceConfig& config, bool hasN2K) {
    std::vector<std::string> dump{ReportCF(config),  ReportSP(config), ReportID(config), ReportUI(config),
                                  ReportDR(config),  ReportIN(config), ReportPR(config), ReportOP(config),
                                  ReportCNV(config), ReportNO(config)};
    if (hasN2K) {
        dump.push_back(ReportNF(config));
        dump.push_back(ReportNA(config));
        dump.push_back(ReportND(config));
    }
    for (std::size_t source = 0; source < config.dataSource.size(); ++source)
        dump.push_back(ReportDS(config, source));
    dump.push_back(ReportMBMode(config));
    dump.push_back(ReportMBIntervals(config));
    for (auto& report : TableReports(config))
        dump.push_back(std::move(report));
    dump.emplace_back(kReady);
    return dump;
}

std::string StatReport(const LoadFigures& load) {
    return "$PQZXSTAT,R," + std::to_string(load.processTime) + "," + std::to_string(load.dbUse) + "," +
           std::to_string(load.canRx) + "," + std::to_string(load.canTx) + "," +
           std::to_string(load.queueOut1) + "," + std::to_string(load.queueOut2);
}

std::string OverflowReport(std::uint32_t bits) {
    return "$PQZXOV," + WriteHex(bits, 1);
}

} // namespace kvl::sim
