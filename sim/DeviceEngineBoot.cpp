// The device's bootloader and memory read-out, beside its normal work.
#include "DeviceEngine.h"

#include "MemoryReadout.h"
#include "SentenceFrame.h"

namespace kvl::sim {

bool DeviceEngine::OnBootOrReadoutLine(const std::string& line) {
    if (Boot.OnHostLine(line, Clock::now()))
        return true;
    const auto body = CheckedBody(line);
    if (!body)
        return false;
    const auto request = ParseReadoutRequest(*body);
    if (!request)
        return false;
    const auto memory = SimulatedMemory(request->address, request->size);
    if (Options.readoutFault.kind != ReadoutFault::Kind::None) {
        Link.Send(ReadoutOnWire(request->address, memory, kReadoutBlockBytes, Options.readoutFault),
                  LineKind::Answer);
        return true;
    }
    const auto sentences = MemoryReadoutSentences(request->address, memory);
    for (const auto& sentence : sentences)
        SendOwn(sentence, LineKind::Answer);
    return true;
}

void DeviceEngine::OnBytes(const std::uint8_t* data, std::size_t size) {
    const BootSession::Output output = Boot.OnBytes(data, size, Clock::now());
    for (const auto& bytes : output.send)
        Link.Send(bytes, LineKind::Answer);
    if (output.drop)
        Link.DropPeer();
}

bool DeviceEngine::TickBootloader(Clock::time_point now, Clock::time_point& next) {
    const BootSession::Due due = Boot.Tick(now);
    for (const auto& bytes : due.send)
        Link.Send(bytes, LineKind::Answer);
    if (due.restarted) {
        std::string answer;
        {
            std::lock_guard lock(StateMutex);
            State.identity.version = Options.boot.versionAfterUpdate;
            answer = VersionAnswer(State.identity);
        }
        if (due.announce)
            SendOwn(answer, LineKind::Answer);
    }
    next = Boot.NextDue();
    return Boot.Active();
}

} // namespace kvl::sim
