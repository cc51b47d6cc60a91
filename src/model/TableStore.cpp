#include "model/TableStore.h"

#include "model/ConfigSentences.h"

namespace kvl {

namespace {

using TKind = TStoreStep::TKind;

template <typename List, typename Encoder>
void AddEntries(TStorePlan& plan, const List& list, Encoder encode) {
    for (const auto& entry : list) {
        plan.push_back({TKind::Send, encode(*entry), 0});
        plan.push_back({TKind::Pause, {}, kEntryPauseMs});
    }
}

template <typename List, typename Encoder>
TStorePlan ReadyStore(std::string_view deleteText, const List& list, Encoder encode) {
    TStorePlan plan{{TKind::SendAndWaitReady, std::string(deleteText), 0}};
    AddEntries(plan, list, encode);
    if (!list.empty())
        plan.push_back({TKind::WaitReady, {}, 0});
    return plan;
}

} // namespace

TStorePlan RouteStorePlan(const TMuxConfig& config) {
    return ReadyStore(kRouteDelete, config.RoutingTable, EncodeRTE);
}

TStorePlan ModbusStorePlan(const TMuxConfig& config) {
    return ReadyStore(kModbusDelete, config.ModbusTable, EncodeMBEntry);
}

TStorePlan MobStorePlan(const TMuxConfig& config) {
    TStorePlan plan{{TKind::Send, std::string(kMobDelete), 0}, {TKind::Pause, {}, kMobDeletePauseMs}};
    AddEntries(plan, config.MOBTable, EncodeMOB);
    return plan;
}

} // namespace kvl
