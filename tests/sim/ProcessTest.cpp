// build/sim/kvl3sim as the tool and the run command start it.
#include "SimProcess.h"
#include "WireClient.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace simtest;

namespace {

const std::string kVersionAnswer = "$PQZXVER,3.30.2,Korvelan-3N (simulator),K3N-20417,A010";

bool EndedCleanly(const std::optional<int>& status) {
    return status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0;
}

// Starts the program on a free TCP port and returns the port from its ready line.
std::uint16_t StartTcp(SimProcess& process) {
    const auto ready = process.ReadLine(kWait);
    const std::string prefix = "kvl3sim ready tcp 127.0.0.1:";
    if (!ready || !StartsWith(*ready, prefix) || ready->size() == prefix.size() ||
        ready->size() > prefix.size() + 5 ||
        ready->find_first_not_of("0123456789", prefix.size()) != std::string::npos) {
        ADD_FAILURE() << "ready line: " << ready.value_or("(none)") << " " << process.ErrorText();
        return 0;
    }
    return static_cast<std::uint16_t>(std::stoul(ready->substr(prefix.size())));
}

} // namespace

TEST(Program, ServesTcpAndEndsCleanlyOnSigterm) {
    SimProcess process({"--tcp", "0"});
    const auto port = StartTcp(process);
    ASSERT_NE(port, 0);
    auto host = WireClient::Tcp(port);
    host->Send("$PQZXVER");
    const auto answer = host->WaitForPrefix("$PQZXVER");
    ASSERT_TRUE(answer);
    EXPECT_EQ(*answer, kVersionAnswer + "*" + Checksum(kVersionAnswer));
    // Default traffic: a few lines a second with good checksums.
    const auto traffic = host->WaitFor([](const std::string& l) { return SentenceOf(l).find("PQZX") != 1; });
    ASSERT_TRUE(traffic);
    EXPECT_TRUE(ChecksumsRight(*traffic)) << *traffic;

    EXPECT_TRUE(EndedCleanly(process.Signal(SIGTERM, kWait)));
    EXPECT_TRUE(host->WaitClosed());
}

TEST(Program, EndsCleanlyOnSigintWithAHostConnected) {
    SimProcess process({"--tcp", "0", "--traffic", "500"});
    const auto port = StartTcp(process);
    ASSERT_NE(port, 0);
    auto host = WireClient::Tcp(port);
    ASSERT_TRUE(host->Next());
    EXPECT_TRUE(EndedCleanly(process.Signal(SIGINT, kWait)));
}

TEST(Program, EchoPrintsWhatTheHostSent) {
    SimProcess process({"--tcp", "0", "--traffic", "0", "--echo"});
    const auto port = StartTcp(process);
    ASSERT_NE(port, 0);
    auto host = WireClient::Tcp(port);
    host->SendRaw("$GPGLL,1*5B\r\n$PQZXCF,A*5E\r\n");
    EXPECT_EQ(process.ReadLine(kWait), "$GPGLL,1*5B");
    EXPECT_EQ(process.ReadLine(kWait), "$PQZXCF,A*5E");
}

TEST(Program, FaultsFromTheCommandLine) {
    SimProcess process({"--tcp", "0", "--traffic", "0", "--caps", "8000", "--version", "3.28.9", "--silent",
                        "CFQ", "--bad-checksum", "--close-after", "2"});
    const auto port = StartTcp(process);
    ASSERT_NE(port, 0);
    auto host = WireClient::Tcp(port);
    host->Send("$PQZXCFQ");
    host->Send("$PQZXVER");
    const auto answer = host->WaitForPrefix("$PQZXVER");
    ASSERT_TRUE(answer);
    const std::string body = "$PQZXVER,3.28.9,Korvelan-3N (simulator),K3N-20417,8000";
    EXPECT_TRUE(StartsWith(*answer, body + "*"));
    EXPECT_FALSE(ChecksumsRight(*answer));
    host->Send("$PQZXVER");
    host->Send("$PQZXVER");
    EXPECT_TRUE(host->WaitClosed());
    // No dump (CFQ silent), and the connection ends after two answers.
    ASSERT_EQ(host->Seen().size(), 2u);
    EXPECT_EQ(host->Seen()[1], *answer);
}

TEST(Program, PseudoTerminalLinkFromTheReadyLine) {
    const std::string link = ::testing::TempDir() + "kvl3sim-prog-" + std::to_string(::getpid());
    SimProcess process({"--pty", link, "--traffic", "0"});
    const auto ready = process.ReadLine(kWait);
    ASSERT_TRUE(ready);
    const std::string prefix = "kvl3sim ready pty " + link + " -> /dev/pts/";
    ASSERT_TRUE(StartsWith(*ready, prefix)) << *ready;
    EXPECT_EQ(ready->find_first_not_of("0123456789", prefix.size()), std::string::npos) << *ready;
    auto port = WireClient::Serial(link);
    port->Send("$PQZXVER");
    EXPECT_EQ(port->WaitForPrefix("$PQZXVER"), kVersionAnswer + "*" + Checksum(kVersionAnswer));
    port.reset();
    EXPECT_TRUE(EndedCleanly(process.Signal(SIGTERM, kWait)));
    struct stat info {};
    EXPECT_NE(::lstat(link.c_str(), &info), 0);
}

TEST(Program, UdpOnTheSecondLoopbackAddress) {
    auto host = WireClient::Udp(0);
    const std::string port = std::to_string(host->LocalPort());
    SimProcess process({"--udp", port, "--traffic", "0"});
    EXPECT_EQ(process.ReadLine(kWait), "kvl3sim ready udp 127.0.0.2:" + port);
    host->Target("127.0.0.2", host->LocalPort());
    host->Send("$PQZXVER");
    EXPECT_EQ(host->WaitForPrefix("$PQZXVER"), kVersionAnswer + "*" + Checksum(kVersionAnswer));
    EXPECT_TRUE(EndedCleanly(process.Signal(SIGTERM, kWait)));
}

TEST(Program, HelpAndMistakes) {
    SimProcess help({"--help"});
    std::string text;
    while (auto line = help.ReadLine(kWait))
        text += *line + "\n";
    EXPECT_TRUE(EndedCleanly(help.Wait(kWait)));
    EXPECT_NE(text.find("--close-after"), std::string::npos);

    SimProcess wrong({"--tcp", "banana"});
    const auto status = wrong.Wait(kWait);
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 2);
    EXPECT_NE(wrong.ErrorText().find("not a port number"), std::string::npos);
}

TEST(Program, XPortModuleBesideTheMultiplexer) {
    SimProcess process({"--tcp", "0", "--xport", "127.0.0.51:0"});
    const auto line = process.ReadLine(kWait);
    ASSERT_TRUE(line);
    const std::string prefix = "kvl3sim xport 127.0.0.51:";
    ASSERT_EQ(line->rfind(prefix, 0), 0u) << *line;
    EXPECT_NE(line->find(" mac 00-20-4A-5E-11-07 search 127.255.255.255"), std::string::npos) << *line;
    ASSERT_NE(StartTcp(process), 0);

    // The module's setup record over TCP at its address.
    const auto port = static_cast<std::uint16_t>(std::stoul(line->substr(prefix.size())));
    const int tcp = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    ::inet_pton(AF_INET, "127.0.0.51", &to.sin_addr);
    ASSERT_EQ(::connect(tcp, reinterpret_cast<const sockaddr*>(&to), sizeof to), 0);
    const unsigned char request[] = {0, 0, 0, 0xF8};
    ::send(tcp, request, sizeof request, MSG_NOSIGNAL);
    unsigned char reply[124] = {};
    std::size_t got = 0;
    while (got < sizeof reply) {
        const ssize_t n = ::recv(tcp, reply + got, sizeof reply - got, 0);
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    ::close(tcp);
    EXPECT_EQ(got, sizeof reply);
    EXPECT_EQ(reply[3], 0xF9);
    EXPECT_TRUE(EndedCleanly(process.Signal(SIGTERM, kWait)));
}
