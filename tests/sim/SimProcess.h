// build/sim/kvl3sim as a child process: its ready line, its stdout, its end.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace simtest {

class SimProcess {
public:
    explicit SimProcess(const std::vector<std::string>& args);
    ~SimProcess(); // kills a process still running

    // The next stdout line (without LF), or nullopt on time-out or end of output.
    std::optional<std::string> ReadLine(std::chrono::milliseconds timeout);
    // Sends the signal and waits for the exit; the exit status as from waitpid,
    // or nullopt when the process did not end in time.
    std::optional<int> Signal(int signal, std::chrono::milliseconds timeout);
    // Waits for the process to end by itself.
    std::optional<int> Wait(std::chrono::milliseconds timeout);
    // Everything written to stderr so far (read after the end).
    std::string ErrorText();

private:
    pid_t Pid = -1;
    int Out = -1;
    int Err = -1;
    std::string Buffer;
};

} // namespace simtest
