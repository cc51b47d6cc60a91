// Reads the configuration of a multiplexer without the window: the version
// request, then the whole configuration until "$PQZXRDY", decoded as the window
// decodes it. It asks for nothing else and changes nothing on the device.
#pragma once

#include "model/MuxConfig.h"
#include "sentence/Sentence.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kvl {

class TConfigDumpReader {
public:
    enum class TState { AwaitVersion, AwaitDump, Done, Failed };

    static constexpr std::string_view kVersionRequest = "$PQZXVER";

    // The model should be new: the reports fill it, the table reports append.
    explicit TConfigDumpReader(TMuxConfig& config) : Config(config) {}

    // Handles one received line. Returns the sentence to send next (the
    // configuration request once the version answer is understood), or empty.
    std::string Take(const std::string& line);

    TState State() const { return Current; }
    bool Finished() const { return Current == TState::Done || Current == TState::Failed; }
    // Why the read failed, in the window's words.
    const std::string& Error() const { return Failure; }
    // The capability word of the version answer.
    std::uint16_t Capabilities() const { return Caps; }
    const std::string& Device() const { return DeviceName; }

private:
    std::string TakeVersion(const TSentence& sentence);
    void TakeReport(const TSentence& sentence);
    void Fail(std::string message);

    TMuxConfig& Config;
    TState Current = TState::AwaitVersion;
    std::string Failure;
    std::uint16_t Caps = 0;
    std::string DeviceName;
};

} // namespace kvl
