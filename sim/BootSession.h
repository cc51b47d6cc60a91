// The device between "$PQZXRESET" and the restart of its firmware: it announces
// its bootloader with "$PQZXLDR,<hardware ID>", then reads packets instead of
// lines and answers each one, until the checksum has been reported and the
// firmware starts again. A "$PQZXRESET" line sent to a waiting bootloader
// starts it over; any other line is answered with the announcement. Runs on the simulator's thread; the two
// figures at the end may be read from any thread.
#pragma once

#include "BootOptions.h"
#include "Bootloader.h"
#include "link/LineFraming.h"
#include "link/PacketFraming.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kvl::sim {

class BootSession {
public:
    using Clock = std::chrono::steady_clock;

    explicit BootSession(const BootOptions& options) : Options(options) {}

    // True while the bootloader runs: the host's bytes go to OnBytes.
    bool Active() const { return Loader != nullptr; }

    // A line received while the firmware runs; true when it was "$PQZXRESET",
    // which starts the bootloader.
    bool OnHostLine(const std::string& line, Clock::time_point now);

    struct Output {
        std::vector<std::string> send; // bytes for the host, in order
        bool drop = false;             // end the host's connection
    };
    Output OnBytes(const std::uint8_t* data, std::size_t size, Clock::time_point now);

    struct Due {
        std::vector<std::string> send;
        bool restarted = false; // the firmware runs again
        bool announce = false;  // and announces itself with VER
    };
    Due Tick(Clock::time_point now);
    Clock::time_point NextDue() const;

    // The checksum of the flash as the bootloader last computed it on request.
    std::optional<std::uint32_t> LastChecksum() const;
    // Updates that ended with the firmware restarted.
    unsigned CompletedUpdates() const { return Completed.load(); }

private:
    void Start(Clock::time_point now);
    void OnPacket(const TPacket& packet, Output& output, Clock::time_point now);
    void OnLineWhileWaiting(const std::string& line, Clock::time_point now);

    const BootOptions& Options;
    std::unique_ptr<Bootloader> Loader;
    bool FaultUsed = false;
    bool SessionFaulty = false;
    bool SilentLoader = false; // this session never announces itself
    bool Reannounces = false;  // this session announces itself again after the checksum
    TPacketFraming Packets;
    TLineFraming Lines;
    Clock::time_point LdrAt = Clock::time_point::max();
    Clock::time_point RestartAt = Clock::time_point::max();
    std::atomic<std::uint64_t> Checksum{kNoChecksum};
    std::atomic<unsigned> Completed{0};
    static constexpr std::uint64_t kNoChecksum = 1ull << 32;
};

} // namespace kvl::sim
