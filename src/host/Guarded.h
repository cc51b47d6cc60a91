// Runs an event handler and shows an escaping error in a message box, as the
// program's general error display does; the event loop then carries on.
// Exceptions must never cross Qt's event loop.
#pragma once

#include "host/Dialogs.h"

#include <exception>
#include <utility>

namespace kvl {

template <typename Handler>
void Guarded(Handler&& handler) {
    try {
        std::forward<Handler>(handler)();
    } catch (const std::exception& e) {
        Dialogs().ShowMessage(QString::fromLocal8Bit(e.what()));
    }
}

// Wraps a handler without arguments for QObject::connect.
template <typename Handler>
auto GuardedSlot(Handler handler) {
    return [handler = std::move(handler)] { Guarded(handler); };
}

// Wraps a handler taking the signal's one argument.
template <typename Arg, typename Handler>
auto GuardedSlot1(Handler handler) {
    return [handler = std::move(handler)](Arg arg) { Guarded([&] { handler(arg); }); };
}

} // namespace kvl
