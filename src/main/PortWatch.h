// Polls the serial ports present on the computer, so that the port selector
// follows USB serial adapters being plugged in and pulled out. The enumeration
// can be replaced (tests inject their own).
#pragma once

#include "link/PortList.h"

#include <QTimer>

#include <functional>
#include <vector>

namespace kvl {

class TPortWatch {
public:
    using TEnumerator = std::function<std::vector<TSerialPortEntry>()>;
    static constexpr int kPollMs = 1500;

    TPortWatch() : Enumerator(TSerialPortPoll()) { PortListTimer.setInterval(kPollMs); }

    QTimer PortListTimer;   // the poll
    TEnumerator Enumerator; // the present serial ports, sorted
};

} // namespace kvl
