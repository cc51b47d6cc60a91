#include "model/TableStore.h"

#include "model/ConfigSentences.h"
#include "model/TableError.h"
#include "model/WireFormat.h"

namespace kvl {

namespace {

using TKind = TStoreStep::TKind;

// An entry that cannot be sent is named by its row, as the editor numbers it.
template <typename List, typename Encoder>
void AddEntries(TStorePlan& plan, const List& list, Encoder encode) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        try {
            plan.push_back({TKind::Send, encode(*list[i]), 0});
        } catch (const ETableEntry& e) {
            throw ETableEntry("Row " + FormatDec(i + 1) + ": " + e.what(), static_cast<int>(i));
        }
        plan.push_back({TKind::Pause, {}, kEntryPauseMs});
    }
}

template <typename List, typename Encoder>
TStorePlan ReadyStore(std::string_view deleteText, const List& list, Encoder encode) {
    TStorePlan plan{{TKind::SendAndWaitReady, std::string(deleteText), 0}};
    AddEntries(plan, list, encode);
    // The end of every store is answered, an empty one's too; an empty store
    // waits for it as well, so that a late answer cannot release a later wait.
    plan.push_back({list.empty() ? TKind::WaitReadyIfAny : TKind::WaitReady, {}, 0});
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
