// The receive thread of a serial or TCP link: turns the incoming bytes into lines
// for the link's queue or, in link mode, into packets for TComm::Recv.
//
// The thread alone owns both framings. The window thread never writes framing
// state; it posts requests (switch mode and start afresh, or drop a partial
// packet) that the thread applies before it handles the next byte, so a reset
// can never be overwritten by a state the framing stores a moment later.
#pragma once

#include "link/LineFraming.h"
#include "link/PacketFraming.h"
#include "link/FramingState.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <thread>

namespace kvl {

class TComm;

class TRXThread {
public:
    explicit TRXThread(TComm& parent);
    virtual ~TRXThread(); // the owner has joined the thread before
    TRXThread(const TRXThread&) = delete;
    TRXThread& operator=(const TRXThread&) = delete;

    void Start();
    // Asks the loop to end and wakes a blocked read; Join() then waits for it.
    void RequestStop();
    void Join();

    // Window thread: line or link mode, taking effect from the next byte with
    // both framings started afresh.
    void RequestMode(bool linkMode);
    bool LinkMode() const { return (Posted & 1U) != 0; }
    // Window thread: copies a completed packet and frees the framing for the next.
    bool TakePacket(TPacket& packet);
    // Window thread: forgets a partly received packet but keeps a completed one.
    void RequestDropPartial();

    // The reader met end of file or a read error: the link is gone.
    bool Lost() const { return LostFlag.load(std::memory_order_acquire); }
    TRxState CurrentState() const { return State.load(std::memory_order_acquire); }

protected:
    // The next received byte, waiting as long as needed; nothing when the loop
    // must end (stop requested, end of file or read error: see MarkLost).
    virtual std::optional<std::uint8_t> NextByte() = 0;
    // Called by RequestStop after the stop flag is set, to wake a blocked read.
    virtual void Unblock() {}
    bool StopRequested() const { return StopFlag.load(std::memory_order_acquire); }
    // For the destructors of derived threads, whose Unblock() is gone by the time
    // the base destructor runs.
    void StopAndJoin();
    void MarkLost() { LostFlag.store(true, std::memory_order_release); }

private:
    void Execute();
    void ApplyRequests();
    void Publish(TRxState state);
    void HandleByte(std::uint8_t byte);

    TComm& Parent;
    std::thread Worker;
    std::atomic<bool> StopFlag{false};
    std::atomic<bool> LostFlag{false};

    // Published framing state: stReady is stored with release after the packet
    // is complete, and TakePacket loads it with acquire before copying P.
    std::atomic<TRxState> State{TRxState::stIdle};

    // Mode requests: bit 0 the link mode, the rest a sequence number, so that two
    // requests never look alike. Written by the window thread only.
    std::atomic<std::uint32_t> ModeRequest{0};
    std::atomic<std::uint32_t> DropRequest{0};
    // The last mode request the thread has applied (its framings are fresh since).
    std::atomic<std::uint32_t> ModeApplied{0};
    std::uint32_t Posted = 0;     // window thread's copy of ModeRequest
    std::uint32_t DropPosted = 0; // window thread's copy of DropRequest

    // Owned by the receive thread.
    bool ActiveLinkMode = false;
    std::uint32_t DropApplied = 0;
    TLineFraming Lines;
    TPacketFraming Packets;
};

} // namespace kvl
