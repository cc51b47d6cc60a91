// The serial (pseudo-terminal) and UDP host links of the in-process device.
#include "SimFixture.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <fstream>

using namespace simtest;

namespace {

const std::string kVersionAnswer = OnWire("$PQZXVER,3.30.2,Korvelan-3N (simulator),K3N-20417,A010");

std::string TempPath(const std::string& name) {
    return ::testing::TempDir() + "kvl3sim-" + name + "-" + std::to_string(::getpid());
}

std::string LinkTarget(const std::string& path) {
    char target[PATH_MAX] = {};
    const ssize_t n = ::readlink(path.c_str(), target, sizeof target - 1);
    return n > 0 ? std::string(target, static_cast<std::size_t>(n)) : std::string();
}

} // namespace

TEST(PseudoTerminal, LinkLeadsToTheSlaveThatAnswers) {
    auto options = Quiet();
    options.transport = kvl::sim::TransportKind::Pty;
    options.ptyLink = TempPath("pty");
    kvl::sim::Simulator sim(options);
    sim.Start();
    ASSERT_TRUE(StartsWith(sim.PtySlavePath(), "/dev/pts/"));
    EXPECT_EQ(LinkTarget(options.ptyLink), sim.PtySlavePath());
    EXPECT_EQ(sim.ReadyText(), "pty " + options.ptyLink + " -> " + sim.PtySlavePath());
    EXPECT_EQ(sim.TcpPort(), 0);

    auto port = WireClient::Serial(options.ptyLink);
    port->Send("$PQZXVER");
    EXPECT_EQ(port->WaitForPrefix("$PQZXVER"), kVersionAnswer);
    port->Send("$PQZXSP,C,1,2,3,4,5");
    EXPECT_EQ(port->WaitForPrefix("$PQZXSP"), OnWire("$PQZXSP,R,1,2,3,4,5"));

    sim.Stop();
    struct stat info {};
    EXPECT_NE(::lstat(options.ptyLink.c_str(), &info), 0) << "the link is removed on stop";
}

TEST(PseudoTerminal, ReopeningThePortFindsTheDeviceStillAnswering) {
    auto options = Quiet();
    options.transport = kvl::sim::TransportKind::Pty;
    options.ptyLink = TempPath("reopen");
    options.trafficRate = 200;
    kvl::sim::Simulator sim(options);
    sim.Start();
    {
        auto port = WireClient::Serial(options.ptyLink);
        port->Send("$PQZXOP,C,00000004");
        EXPECT_EQ(port->WaitForPrefix("$PQZXOP"), OnWire("$PQZXOP,R,00000004"));
    }
    // While the port is closed, traffic goes on; a device reading EIO in a loop
    // would stop answering.
    const std::size_t before = sim.ReceivedCount();
    auto port = WireClient::Serial(options.ptyLink);
    port->Send("$PQZXVER");
    ASSERT_TRUE(
        sim.WaitForReceived([](const std::string& l) { return StartsWith(l, "$PQZXVER"); }, kWait, before));
    EXPECT_EQ(port->WaitForPrefix("$PQZXVER"), kVersionAnswer);
    EXPECT_TRUE(sim.IsRunning());
    for (const auto& line : port->Seen())
        EXPECT_TRUE(ChecksumsRight(line)) << line;
}

TEST(PseudoTerminal, RefusesToReplaceAnOrdinaryFile) {
    const std::string path = TempPath("file");
    std::ofstream(path) << "keep me";
    auto options = Quiet();
    options.transport = kvl::sim::TransportKind::Pty;
    options.ptyLink = path;
    kvl::sim::Simulator sim(options);
    EXPECT_THROW(sim.Start(), std::runtime_error);
    std::ifstream kept(path);
    std::string text;
    std::getline(kept, text);
    EXPECT_EQ(text, "keep me");
    ::unlink(path.c_str());
}

TEST(PseudoTerminal, ReplacesAStaleLink) {
    const std::string path = TempPath("stale");
    ::unlink(path.c_str());
    ASSERT_EQ(::symlink("/nonexistent/kvl3sim", path.c_str()), 0);
    auto options = Quiet();
    options.transport = kvl::sim::TransportKind::Pty;
    options.ptyLink = path;
    kvl::sim::Simulator sim(options);
    sim.Start();
    EXPECT_EQ(LinkTarget(path), sim.PtySlavePath());
}

TEST(Udp, AnswersTheSenderAndSendsTrafficToTheHostPort) {
    auto host = WireClient::Udp(0);
    auto options = Quiet();
    options.transport = kvl::sim::TransportKind::Udp;
    options.udpPort = host->LocalPort();
    options.trafficRate = 50;
    kvl::sim::Simulator sim(options);
    sim.Start();
    EXPECT_EQ(sim.UdpPort(), host->LocalPort());
    EXPECT_EQ(sim.ReadyText(), "udp 127.0.0.2:" + std::to_string(sim.UdpPort()));
    host->Target("127.0.0.2", sim.UdpPort());

    EXPECT_TRUE(host->WaitFor([](const std::string& l) { return StartsWith(l, "$GP"); }));
    host->Send("$PQZXVER");
    EXPECT_EQ(host->WaitForPrefix("$PQZXVER"), kVersionAnswer);
    host->SendRaw(Framed("$PQZXSP,C,1,2,3,4,5") + Framed("$PQZXCFQ"));
    EXPECT_EQ(host->WaitForPrefix("$PQZXSP"), OnWire("$PQZXSP,R,1,2,3,4,5"));
    const auto dump = host->ReadDump();
    ASSERT_FALSE(dump.empty());
    EXPECT_EQ(dump.back(), OnWire("$PQZXRDY"));
    for (const auto& line : host->Seen())
        EXPECT_TRUE(ChecksumsRight(line)) << line;
}

TEST(Udp, AnswersGoToAnotherSenderToo) {
    auto host = WireClient::Udp(0);
    auto other = WireClient::Udp(0);
    auto options = Quiet();
    options.transport = kvl::sim::TransportKind::Udp;
    options.udpPort = host->LocalPort();
    kvl::sim::Simulator sim(options);
    sim.Start();
    other->Target("127.0.0.2", sim.UdpPort());
    other->Send("$PQZXVER");
    EXPECT_EQ(other->WaitForPrefix("$PQZXVER"), kVersionAnswer);
}

TEST(Udp, OnlyLoopbackAddresses) {
    auto options = Quiet();
    options.transport = kvl::sim::TransportKind::Udp;
    options.udpBind = "192.0.2.1";
    kvl::sim::Simulator sim(options);
    EXPECT_THROW(sim.Start(), std::runtime_error);
}
