// The answers the main window is waiting for. Waits nest (a handler dispatched
// during a wait may itself send and wait): each has its own awaited command and
// completion flag, so an inner wait's end never releases an outer one.
#pragma once

#include "sentence/Sentence.h"

#include <algorithm>
#include <vector>

namespace kvl {

class TReplyWaits {
public:
    struct TWait {
        TPQZXCmd Command;
        bool Answered = false;
    };

    // Registers a wait for as long as the returned guard lives.
    class TScope {
    public:
        TScope(TReplyWaits& waits, TPQZXCmd command) : Waits(waits), Wait{command} {
            Waits.Stack.push_back(&Wait);
        }
        ~TScope() { std::erase(Waits.Stack, &Wait); }
        TScope(const TScope&) = delete;
        TScope& operator=(const TScope&) = delete;
        bool Answered() const { return Wait.Answered; }

    private:
        TReplyWaits& Waits;
        TWait Wait;
    };

    // A received command completes the waits for it; "$PQZXRDY" completes them all.
    void Received(TPQZXCmd command) {
        for (TWait* wait : Stack)
            if (command == TPQZXCmd::PQZXRDY || command == wait->Command)
                wait->Answered = true;
    }
    // A disconnect releases every wait.
    void ReleaseAll() {
        for (TWait* wait : Stack)
            wait->Answered = true;
    }
    // The command the innermost open wait is waiting for, PQZXNone when none.
    TPQZXCmd Innermost() const {
        for (auto it = Stack.rbegin(); it != Stack.rend(); ++it)
            if (!(*it)->Answered)
                return (*it)->Command;
        return TPQZXCmd::PQZXNone;
    }
    bool Empty() const { return Stack.empty(); }

private:
    std::vector<TWait*> Stack;
};

} // namespace kvl
