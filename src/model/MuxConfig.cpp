#include "model/MuxConfig.h"

namespace kvl {

TMuxConfig::TMuxConfig() : NameForSourceAddress([](std::uint8_t) -> std::uint64_t { return 0; }) {}

TMuxConfig::~TMuxConfig() {
    OnRoutingChange = nullptr;
    OnModbusChange = nullptr;
    OnMobChange = nullptr;
    RouteClear();
    ModbusClear();
    MobClear();
    DataSrcClear();
}

void TMuxConfig::Notify(const TOnChange& onChange) {
    if (onChange)
        onChange();
}

int TMuxConfig::RouteAdd(std::string_view Address, std::uint16_t Inputs, std::uint8_t Divisor,
                         std::uint16_t Route, TName Name, std::uint8_t SA) {
    if (RoutingTable.size() >= kMaxRoutes)
        return kRoutingFull;
    RoutingTable.push_back(std::make_unique<TRoute>(Address, Inputs, Divisor, Route, Name, SA));
    Notify(OnRoutingChange);
    return kDone;
}

int TMuxConfig::RouteCapture(std::string_view Address, std::uint16_t Inputs, std::uint8_t SA) {
    if (RoutingTable.size() >= kMaxRoutes)
        return kRoutingFull;
    if (const auto index = FindRoute(Address, SA)) {
        RoutingTable[*index]->Inputs |= Inputs;
        Notify(OnRoutingChange);
        return kDone;
    }
    // The NAME is looked up before the entry is added, so that the redraw the
    // notification schedules already finds it in place.
    return RouteAdd(Address, Inputs, 0, kCaptureRoute, LookUpName(SA), SA);
}

std::uint64_t TMuxConfig::LookUpName(std::uint8_t SA) const {
    if (SA == kNoSourceAddress || !NameForSourceAddress)
        return 0;
    return NameForSourceAddress(SA);
}

std::optional<std::size_t> TMuxConfig::FindRoute(std::string_view Address, std::uint8_t SA) const {
    const std::string_view key = Address.substr(0, TRoute::kAddressLength);
    for (std::size_t i = 0; i < RoutingTable.size(); ++i) {
        const TRoute& route = *RoutingTable[i];
        if (route.Address == key && route.SA == SA)
            return i;
    }
    return std::nullopt;
}

void TMuxConfig::RouteClear() {
    RoutingTable.clear();
    Notify(OnRoutingChange);
}

int TMuxConfig::ModbusAdd(std::uint8_t Slave, std::uint16_t Reg, char RType, char DType, std::uint8_t Rev,
                          std::uint8_t Prec, char XdrType, char XdrUnit, std::string_view XdrID,
                          std::uint8_t Status) {
    if (ModbusTable.size() >= kMaxModbus)
        return kModbusFull;
    ModbusTable.push_back(
        std::make_unique<TModbus>(Slave, Reg, RType, DType, Rev, Prec, XdrType, XdrUnit, XdrID, Status));
    Notify(OnModbusChange);
    return kDone;
}

void TMuxConfig::ModbusClear() {
    ModbusTable.clear();
    Notify(OnModbusChange);
}

void TMuxConfig::ModbusClearStatus() {
    for (const auto& entry : ModbusTable)
        entry->Status = TModbus::kStatusUnknown;
    Notify(OnModbusChange);
}

int TMuxConfig::MobAdd(std::string_view MMSI, char Status) {
    if (MOBTable.size() >= kMaxMob)
        return kMobFull;
    MOBTable.push_back(std::make_unique<TMob>(MMSI, Status));
    Notify(OnMobChange);
    return kDone;
}

void TMuxConfig::MobClear() {
    MOBTable.clear();
    Notify(OnMobChange);
}

int TMuxConfig::DataSrcAdd(unsigned ID, char AInput, TName AName) {
    if (ID >= kDataSources)
        return kDataSrcRange;
    DataSrcTable[ID] = TDataSource{AInput, AName};
    return kDone;
}

void TMuxConfig::DataSrcClear() {
    DataSrcTable.fill(TDataSource{});
}

} // namespace kvl
