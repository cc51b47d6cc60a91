#include "SimProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>
#include <thread>

namespace simtest {

SimProcess::SimProcess(const std::vector<std::string>& args) {
    int out[2];
    int err[2];
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe");
    std::vector<std::string> all{KVL3SIM_PATH};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    Pid = ::fork();
    if (Pid == 0) {
        ::dup2(out[1], 1);
        ::dup2(err[1], 2);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    ::close(err[1]);
    Out = out[0];
    Err = err[0];
    if (Pid < 0)
        throw std::runtime_error("fork");
}

SimProcess::~SimProcess() {
    if (Pid > 0) {
        ::kill(Pid, SIGKILL);
        ::waitpid(Pid, nullptr, 0);
    }
    ::close(Out);
    ::close(Err);
}

std::optional<std::string> SimProcess::ReadLine(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const auto lf = Buffer.find('\n');
        if (lf != std::string::npos) {
            std::string line = Buffer.substr(0, lf);
            Buffer.erase(0, lf + 1);
            return line;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return std::nullopt;
        pollfd p{Out, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left.count()) + 1) <= 0)
            continue;
        char chunk[4096];
        const ssize_t n = ::read(Out, chunk, sizeof chunk);
        if (n <= 0)
            return std::nullopt;
        Buffer.append(chunk, static_cast<std::size_t>(n));
    }
}

std::optional<int> SimProcess::Wait(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        const pid_t done = ::waitpid(Pid, &status, WNOHANG);
        if (done == Pid) {
            Pid = -1;
            return status;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return std::nullopt;
}

std::optional<int> SimProcess::Signal(int signal, std::chrono::milliseconds timeout) {
    if (Pid <= 0)
        return std::nullopt;
    ::kill(Pid, signal);
    return Wait(timeout);
}

std::string SimProcess::ErrorText() {
    std::string text;
    char chunk[4096];
    pollfd p{Err, POLLIN, 0};
    while (::poll(&p, 1, 0) > 0) {
        const ssize_t n = ::read(Err, chunk, sizeof chunk);
        if (n <= 0)
            break;
        text.append(chunk, static_cast<std::size_t>(n));
    }
    return text;
}

} // namespace simtest
