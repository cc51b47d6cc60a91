// kvl3sim: the simulated Korvelan-3 multiplexer as a program. See --help.
#include "SimOptions.h"
#include "Simulator.h"
#include "XPortModule.h"

#include <csignal>
#include <cstdio>
#include <exception>
#include <iostream>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    using namespace kvl::sim;
    const std::vector<std::string> args(argv + 1, argv + argc);
    CommandLine commandLine = ParseCommandLine(args);
    if (commandLine.help) {
        std::cout << UsageText() << std::flush;
        return 0;
    }
    if (!commandLine.error.empty()) {
        std::cerr << "kvl3sim: " << commandLine.error << "\n\n" << UsageText();
        return 2;
    }

    // Block the ending signals before any thread exists, so that only sigwait below sees them.
    sigset_t endSignals;
    sigemptyset(&endSignals);
    sigaddset(&endSignals, SIGINT);
    sigaddset(&endSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &endSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    std::mutex stdoutMutex;
    if (commandLine.echo) {
        commandLine.options.onReceived = [&stdoutMutex](const std::string& line) {
            std::lock_guard lock(stdoutMutex);
            std::fwrite(line.data(), 1, line.size(), stdout);
            std::fputc('\n', stdout);
            std::fflush(stdout);
        };
    }

    Simulator simulator(commandLine.options);
    std::unique_ptr<XPortModule> xport;
    if (commandLine.xport)
        xport = std::make_unique<XPortModule>(*commandLine.xport);
    {
        // Held until the ready line is out, so that no echoed line comes before it.
        std::lock_guard lock(stdoutMutex);
        try {
            simulator.Start();
            if (xport) {
                xport->Start();
                std::printf("kvl3sim %s\n", xport->ReadyText().c_str());
            }
        } catch (const std::exception& error) {
            std::cerr << "kvl3sim: " << error.what() << "\n";
            return 1;
        }
        std::printf("kvl3sim ready %s\n", simulator.ReadyText().c_str());
        std::fflush(stdout);
    }

    int signal = 0;
    sigwait(&endSignals, &signal);
    if (xport)
        xport->Stop();
    simulator.Stop();
    return 0;
}
