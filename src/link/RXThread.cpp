#include "link/RXThread.h"

#include "link/Comms.h"

#include <cerrno>
#include <sys/resource.h>
#include <unistd.h>

namespace kvl {

namespace {
constexpr std::uint32_t kModeBit = 1U;
constexpr std::uint32_t kSequenceStep = 2U;
} // namespace

TRXThread::TRXThread(TComm& parent) : Parent(parent) {}

TRXThread::~TRXThread() {
    // Never detach: a thread that outlived this object would read freed memory.
    // The owner joins first; this is the last line of defence.
    if (Worker.joinable()) {
        RequestStop();
        Worker.join();
    }
}

void TRXThread::Start() {
    Worker = std::thread([this] { Execute(); });
}

void TRXThread::RequestStop() {
    StopFlag.store(true, std::memory_order_release);
    Unblock();
}

void TRXThread::Join() {
    if (Worker.joinable())
        Worker.join();
}

void TRXThread::StopAndJoin() {
    if (Worker.joinable()) {
        RequestStop();
        Worker.join();
    }
}

void TRXThread::RequestMode(bool linkMode) {
    Posted = ((Posted & ~kModeBit) + kSequenceStep) | (linkMode ? kModeBit : 0U);
    ModeRequest.store(Posted, std::memory_order_release);
}

bool TRXThread::TakePacket(TPacket& packet) {
    // A packet seen before the thread applied our last request would be the one
    // already taken (or one from the previous mode).
    if (ModeApplied.load(std::memory_order_acquire) != Posted)
        return false;
    if (State.load(std::memory_order_acquire) != TRxState::stReady)
        return false;
    packet = Packets.Packet(); // the thread leaves P alone while it is stReady
    RequestMode(LinkMode());
    return true;
}

void TRXThread::RequestDropPartial() {
    DropRequest.store(++DropPosted, std::memory_order_release);
}

void TRXThread::Publish(TRxState state) {
    if (State.load(std::memory_order_relaxed) != state)
        State.store(state, std::memory_order_release);
}

void TRXThread::ApplyRequests() {
    const std::uint32_t mode = ModeRequest.load(std::memory_order_acquire);
    const std::uint32_t drop = DropRequest.load(std::memory_order_acquire);
    if (mode != ModeApplied.load(std::memory_order_relaxed)) {
        ActiveLinkMode = (mode & kModeBit) != 0;
        Lines.Reset();
        Packets.Reset();
        DropApplied = drop; // a fresh start drops everything anyway
        Publish(TRxState::stIdle);
        ModeApplied.store(mode, std::memory_order_release);
    } else if (drop != DropApplied) {
        DropApplied = drop;
        if (ActiveLinkMode && Packets.CurrentState() != TRxState::stReady) {
            Packets.Reset();
            Publish(TRxState::stIdle);
        }
    }
}

void TRXThread::HandleByte(std::uint8_t byte) {
    if (ActiveLinkMode) {
        Packets.Feed(byte);
        Publish(Packets.CurrentState());
    } else {
        if (Lines.Feed(byte))
            Parent.QueueLine(Lines.Line(), TComm::Clock::now()); // stamped as it arrives
        Publish(Lines.CurrentState());
    }
}

void TRXThread::Execute() {
    // One step below normal, like every reader of the tool: the window comes first.
    errno = 0;
    const int nice = ::getpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()));
    if (errno == 0)
        ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), nice + 1);
    while (!StopRequested()) {
        const std::optional<std::uint8_t> byte = NextByte();
        if (!byte)
            break;
        ApplyRequests();
        HandleByte(*byte);
    }
}

} // namespace kvl
