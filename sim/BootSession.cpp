#include "BootSession.h"

#include "SentenceFrame.h"
#include "SimFields.h"

#include <algorithm>

namespace kvl::sim {

namespace {

bool IsBootloaderReset(const std::string& line) {
    const auto body = CheckedBody(line);
    return body && *body == "$PQZXRESET";
}

} // namespace

bool BootSession::OnHostLine(const std::string& line, Clock::time_point now) {
    if (!IsBootloaderReset(line))
        return false;
    Start(now);
    return true;
}

void BootSession::Start(Clock::time_point now) {
    // The fault belongs to the first attempt only: a second attempt succeeds.
    BootFault fault;
    if (!FaultUsed) {
        fault = Options.fault;
        FaultUsed = true;
    }
    SessionFaulty = fault.kind != BootFault::Kind::None;
    SilentLoader = fault.kind == BootFault::Kind::Silent && fault.step == BootStep::Ldr;
    Reannounces = fault.kind == BootFault::Kind::Reannounce;
    Loader = std::make_unique<Bootloader>(Options.hardwareId, Options.crcAnswerCode, fault);
    Packets.Reset();
    Lines.Reset();
    RestartAt = Clock::time_point::max();
    LdrAt = SilentLoader ? Clock::time_point::max() : now + std::chrono::milliseconds(Options.ldrDelayMs);
}

BootSession::Output BootSession::OnBytes(const std::uint8_t* data, std::size_t size, Clock::time_point now) {
    Output output;
    for (std::size_t i = 0; i < size && Loader; ++i) {
        const std::uint8_t byte = data[i];
        // Outside a frame the bootloader still listens for a restart request.
        if (Packets.CurrentState() == TRxState::stIdle && byte != kFrameStart) {
            if (Lines.Feed(byte))
                OnLineWhileWaiting(Lines.Line(), now);
            continue;
        }
        if (Packets.Feed(byte)) {
            OnPacket(Packets.Packet(), output, now);
            Packets.Reset();
        }
    }
    return output;
}

// A waiting bootloader restarts on "$PQZXRESET" and answers any other line
// with its announcement, so that a host that connects finds it.
void BootSession::OnLineWhileWaiting(const std::string& line, Clock::time_point now) {
    if (IsBootloaderReset(line)) {
        Start(now);
        return;
    }
    if (CheckedBody(line) && !SilentLoader)
        LdrAt = std::min(LdrAt, now);
}

void BootSession::OnPacket(const TPacket& packet, Output& output, Clock::time_point now) {
    const Bootloader::Reply reply = Loader->OnPacket(packet.Data.data(), packet.Length);
    if (const auto reported = Loader->ReportedChecksum())
        Checksum = *reported;
    if (reply.drop) {
        output.drop = true;
        return;
    }
    if (!reply.answer.empty()) {
        const auto frame = EncodeFrame(reply.answer.data(), reply.answer.size());
        output.send.emplace_back(frame.begin(), frame.end());
    }
    if (reply.finished && !SessionFaulty)
        RestartAt = now + std::chrono::milliseconds(Options.restartDelayMs);
    const bool silentRestart =
        Options.fault.kind == BootFault::Kind::Silent && Options.fault.step == BootStep::Restart;
    if (reply.finished && SessionFaulty && silentRestart)
        RestartAt = now + std::chrono::milliseconds(Options.restartDelayMs);
    if (reply.finished && Reannounces) {
        // The new firmware did not start: the bootloader runs again from its start.
        Loader = std::make_unique<Bootloader>(Options.hardwareId, Options.crcAnswerCode, BootFault{});
        LdrAt = now + std::chrono::milliseconds(Options.restartDelayMs);
    }
}

BootSession::Due BootSession::Tick(Clock::time_point now) {
    Due due;
    if (now >= LdrAt) {
        LdrAt = Clock::time_point::max();
        due.send.push_back(FrameSentence("$PQZXLDR," + WriteHex(Options.hardwareId, 2)));
    }
    if (Loader && now >= RestartAt) {
        due.restarted = true;
        due.announce = !SessionFaulty;
        Loader.reset();
        RestartAt = Clock::time_point::max();
        ++Completed;
    }
    return due;
}

BootSession::Clock::time_point BootSession::NextDue() const {
    return std::min(LdrAt, RestartAt);
}

std::optional<std::uint32_t> BootSession::LastChecksum() const {
    const std::uint64_t value = Checksum.load();
    if (value == kNoChecksum)
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

} // namespace kvl::sim
