// End to end: the link against the simulated multiplexer, in-process, over each
// of its host links.
#include "LinkTestSupport.h"
#include "link/Comms.h"
#include "sentence/NmeaText.h"

#include "SentenceFrame.h"
#include "Simulator.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace kvl {
namespace {

using namespace test;

sim::SimOptions Quiet(sim::TransportKind transport) {
    sim::SimOptions options;
    options.transport = transport;
    options.tcpPort = 0;
    options.udpPort = 0;
    options.trafficRate = 0;
    return options;
}

// Waits for a queued line starting with prefix; the lines before it are skipped.
std::string WaitForLineStarting(TComm& comm, const std::string& prefix) {
    std::string found;
    WaitUntil([&] {
        std::string line;
        while (comm.TakeLine(line))
            if (line.rfind(prefix, 0) == 0) {
                found = line;
                return true;
            }
        return false;
    });
    return found;
}

bool ChecksumHolds(const std::string& line) {
    const std::size_t star = line.rfind('*');
    return star != std::string::npos && star + 3 == line.size() && CheckNmeaChecksum(line, star);
}

void ExpectVersionAnswer(TComm& comm, sim::Simulator& device) {
    comm.SendNmea("$PQZXVER");
    const auto received =
        device.WaitForReceived([](const std::string& l) { return l.rfind("$PQZXVER", 0) == 0; }, kWait);
    ASSERT_TRUE(received.has_value());
    EXPECT_EQ(*received, "$PQZXVER*42");
    const std::string answer = WaitForLineStarting(comm, "$PQZXVER,");
    ASSERT_FALSE(answer.empty()) << "no version answer";
    EXPECT_TRUE(ChecksumHolds(answer)) << answer;
    EXPECT_NE(answer.find("Korvelan-3N"), std::string::npos) << answer;
}

TEST(SimulatorLink, VersionOverTcp) {
    sim::Simulator device(Quiet(sim::TransportKind::Tcp));
    device.Start();
    TComm comm;
    ASSERT_EQ(comm.OpenPort(TCommMode::cmTCP, "127.0.0.1:" + std::to_string(device.TcpPort()), 0),
              TCommMode::cmTCP);
    ExpectVersionAnswer(comm, device);
}

TEST(SimulatorLink, VersionOverThePseudoTerminal) {
    sim::SimOptions options = Quiet(sim::TransportKind::Pty);
    options.ptyLink = ::testing::TempDir() + "kvl-link-pty-" + std::to_string(::getpid());
    sim::Simulator device(options);
    device.Start();
    TComm comm;
    comm.AddSerialPort("Simulated Korvelan", options.ptyLink);
    ASSERT_EQ(comm.OpenPort(TCommMode::cmSerial, comm.Ports().back(), 7), TCommMode::cmSerial);
    ExpectVersionAnswer(comm, device);
}

TEST(SimulatorLink, VersionOverUdpFromTheHostOnly) {
    sim::Simulator device(Quiet(sim::TransportKind::Udp));
    device.Start();
    TComm comm;
    ASSERT_EQ(comm.OpenPort(TCommMode::cmUDP, "127.0.0.2:" + std::to_string(device.UdpPort()), 1),
              TCommMode::cmUDP);
    ExpectVersionAnswer(comm, device);
}

TEST(SimulatorLink, TrafficLinesArriveWhole) {
    sim::SimOptions options = Quiet(sim::TransportKind::Tcp);
    options.trafficRate = 200;
    sim::Simulator device(options);
    device.Start();
    TComm comm;
    ASSERT_EQ(comm.OpenPort(TCommMode::cmTCP, "127.0.0.1:" + std::to_string(device.TcpPort()), 0),
              TCommMode::cmTCP);
    const std::vector<std::string> lines = WaitForLines(comm, 20);
    ASSERT_GE(lines.size(), 20u);
    for (const std::string& line : lines) {
        EXPECT_TRUE(line[0] == '$' || line[0] == '!' || line[0] == '\\') << line;
        EXPECT_TRUE(ChecksumHolds(line)) << line;
    }
}

TEST(SimulatorLink, DeviceClosingTheConnectionIsNoticedAtAWrite) {
    sim::SimOptions options = Quiet(sim::TransportKind::Tcp);
    options.closeAfter = 1;
    sim::Simulator device(options);
    device.Start();
    TComm comm;
    ASSERT_EQ(comm.OpenPort(TCommMode::cmTCP, "127.0.0.1:" + std::to_string(device.TcpPort()), 0),
              TCommMode::cmTCP);
    bool failed = false;
    for (int attempt = 0; attempt < 50 && !failed; ++attempt) {
        try {
            comm.SendNmea("$PQZXVER");
            WaitUntil([] { return false; }, 100ms);
        } catch (const ECommError&) {
            failed = true;
        }
    }
    EXPECT_TRUE(failed);
}

} // namespace
} // namespace kvl
