// What a table store puts on the wire, step by step: the table's DELETE, one
// sentence per entry with its pause, and the waits for "$PQZXRDY". The main
// window's side runs the steps; composing them first means that an entry unfit
// for the wire stops the store before anything is sent.
//
// The end of a store: the multiplexer answers the DELETE of the routing and
// Modbus tables with RDY, and the end of the store with one more RDY, also when
// the table is empty. An empty store waits for that end as well (up to 1000 ms,
// its absence is no error), so that a late RDY never releases the next wait
// early. The AIS MOB table answers nothing: its DELETE is followed by a 100 ms pause.
#pragma once

#include "model/MuxConfig.h"

#include <string>
#include <vector>

namespace kvl {

struct TStoreStep {
    enum class TKind {
        Send,             // send the text, wait for nothing
        SendAndWaitReady, // send the text and wait up to 1000 ms for RDY
        WaitReady,        // wait up to 1000 ms for RDY
        WaitReadyIfAny,   // wait up to 1000 ms for RDY; none coming is no error
        Pause,            // pause Ms milliseconds
    };
    TKind Kind = TKind::Send;
    std::string Text;
    int Ms = 0;

    friend bool operator==(const TStoreStep&, const TStoreStep&) = default;
};
using TStorePlan = std::vector<TStoreStep>;

inline constexpr int kEntryPauseMs = 5;
inline constexpr int kMobDeletePauseMs = 100;

// Each throws ETableEntry for the first entry that cannot be sent as it is,
// naming its row ("Row 3: ...") and giving its index.
TStorePlan RouteStorePlan(const TMuxConfig& config);
TStorePlan ModbusStorePlan(const TMuxConfig& config);
TStorePlan MobStorePlan(const TMuxConfig& config);

} // namespace kvl
