// The device's reading of one line from the host: check it, act on it, and say
// what to answer. Invalid commands change nothing and get no answer.
#pragma once

#include "DeviceState.h"
#include "SimFields.h"

#include <string>
#include <string_view>
#include <vector>

namespace kvl::sim {

struct CommandResult {
    // The command's name after "$PQZX" ("VER", "SP", ...), "OV" for the
    // simulator's own "$PSIMOV"; empty when the line is no command of the device.
    std::string command;
    // Sentences to answer with, in order, without checksum.
    std::vector<std::string> answers;
    // An entry of a routing or Modbus table store: the device answers the end of
    // the store with RDY once the entries stop.
    bool storeEntry = false;
    // The factory settings were restored: the NMEA 2000 addresses change back
    // and are announced again.
    bool factoryReset = false;
};

class CommandHandler {
public:
    explicit CommandHandler(DeviceState& state) : State(state) {}

    // line: one received line without CR LF, as the framing delivered it.
    CommandResult Handle(std::string_view line);

private:
    using Answers = std::vector<std::string>;

    Answers Dispatch(std::string_view name, const Fields& f);
    Answers HandleCF(const Fields& f);
    Answers HandleSP(const Fields& f);
    Answers HandleID(const Fields& f);
    Answers HandleUI(const Fields& f);
    Answers HandleDR(const Fields& f);
    Answers HandleIN(const Fields& f);
    Answers HandlePR(const Fields& f);
    Answers HandleWord(std::string_view name, const Fields& f);
    Answers HandleNF(const Fields& f);
    Answers HandleNA(const Fields& f);
    Answers HandleND(const Fields& f);
    Answers HandleDS(const Fields& f);
    Answers HandleMB(const Fields& f);
    Answers HandleTable(std::string_view name, const Fields& f);
    Answers HandleReset(const Fields& f);
    Answers HandleStat(const Fields& f);
    Answers HandleSimOverflow(const Fields& f);

    DeviceConfig& Config() { return State.config; }
    bool HasN2K() const { return State.identity.HasN2K(); }

    DeviceState& State;
    bool StoreEntry = false; // set by HandleTable for the line in hand
    bool FactoryResetDone = false;
};

} // namespace kvl::sim
