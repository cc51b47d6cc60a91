// Misbehaviour on purpose, and a device that survives a host's misbehaviour.
#include "SimFixture.h"

#include <gtest/gtest.h>

#include <random>

using namespace simtest;

TEST(Faults, SilentCommandsGetNoAnswerButStillAct) {
    auto options = Quiet();
    options.silent = {"VER", "SP"};
    TcpDevice device(options);
    EXPECT_TRUE(device.Unanswered("$PQZXVER"));
    EXPECT_TRUE(device.Unanswered("$PQZXSP,C,1,1,1,1,1"));
    EXPECT_EQ(device.Sim.Config().baud, (std::array<std::uint8_t, 5>{1, 1, 1, 1, 1}));
    // The dump is no answer to SP: it still reports the speeds.
    device.Host->Send("$PQZXCFQ");
    const auto dump = device.Host->ReadDump();
    ASSERT_GE(dump.size(), 2u);
    EXPECT_EQ(dump[1], OnWire("$PQZXSP,R,1,1,1,1,1"));
    EXPECT_EQ(dump.back(), OnWire("$PQZXRDY"));
}

TEST(Faults, SilentReadyLeavesTheDumpOpen) {
    auto options = Quiet();
    options.silent = {"RDY"};
    TcpDevice device(options);
    device.Host->Send("$PQZXCFQ");
    device.Host->Send("$PQZXVER");
    std::vector<std::string> lines;
    while (auto line = device.Host->WaitForPrefix("$PQZX")) {
        lines.push_back(*line);
        if (StartsWith(*line, "$PQZXVER"))
            break;
    }
    auto expected = FactoryDump();
    expected.back() = "$PQZXVER,3.30.2,Korvelan-3N (simulator),K3N-20417,A010"; // instead of RDY
    EXPECT_EQ(lines, AllOnWire(expected));
}

TEST(Faults, SilentDumpRequest) {
    auto options = Quiet();
    options.silent = {"CFQ"};
    TcpDevice device(options);
    EXPECT_TRUE(device.Unanswered("$PQZXCFQ"));
}

TEST(Faults, CloseAfterEndsEachConnectionAfterThatManyLines) {
    auto options = Quiet();
    options.identity.caps = "A000"; // no spontaneous NMEA 2000 reports
    options.closeAfter = 3;
    TcpDevice device(options);
    device.Host->Send("$PQZXCFQ");
    ASSERT_TRUE(device.Host->WaitClosed());
    EXPECT_EQ(device.Host->Seen(), AllOnWire({"$PQZXCF,R,3,3", "$PQZXSP,R,0,0,0,3,0", "$PQZXID,R,,,,,"}));

    // The next connection gets its own three lines.
    auto again = WireClient::Tcp(device.Sim.TcpPort());
    again->Send("$PQZXVER");
    again->Send("$PQZXVER");
    again->Send("$PQZXVER");
    again->Send("$PQZXVER");
    ASSERT_TRUE(again->WaitClosed());
    EXPECT_EQ(again->Seen().size(), 3u);
}

TEST(Faults, BadChecksumSpoilsTheDevicesOwnSentencesOnly) {
    auto options = Quiet();
    options.trafficRate = 100;
    options.badChecksum = true;
    TcpDevice device(options);
    device.Host->Send("$PQZXVER");
    const auto answer = device.Host->WaitForPrefix("$PQZXVER");
    ASSERT_TRUE(answer);
    const std::string body = "$PQZXVER,3.30.2,Korvelan-3N (simulator),K3N-20417,A010";
    ASSERT_EQ(answer->size(), body.size() + 3);
    EXPECT_TRUE(StartsWith(*answer, body + "*"));
    EXPECT_NE(*answer, OnWire(body));
    EXPECT_EQ(answer->substr(body.size() + 1).find_first_not_of("0123456789ABCDEF"), std::string::npos);
    const auto traffic = device.Host->WaitFor([](const std::string& l) { return StartsWith(l, "$GP"); });
    ASSERT_TRUE(traffic);
    EXPECT_TRUE(ChecksumsRight(*traffic)) << *traffic;
}

TEST(Robustness, GarbageNeverStopsTheDevice) {
    auto options = Quiet();
    options.trafficRate = 50;
    TcpDevice device(options);
    std::mt19937 random(7);
    std::string noise;
    for (int i = 0; i < 20000; ++i)
        noise.push_back(static_cast<char>(random() & 0xFF));
    device.Host->SendRaw(noise);
    device.Host->SendRaw("\r\n" + std::string(300, 'A') + "\r\n");
    device.Host->SendRaw("$" + std::string(1000, 'B') + "\r\n");
    device.Host->SendRaw("$PQZXSP,C,1,2\r\n$PQZXSP,C,1,2,3,4,5*\r\n\r\r\n\n$PQZX*42\r\n");
    device.Host->SendRaw("$PQZXSP,C,1,2,3,4,5*72\r$PQZXVER*42\n\r\n");
    device.Host->SendRaw(std::string("$PQZX\0VER*42\r\n", 14));
    // A good sentence cut into pieces is still one sentence.
    const std::string ver = Framed("$PQZXVER");
    device.Host->SendRaw(ver.substr(0, 4));
    device.Host->SendRaw(ver.substr(4));
    EXPECT_EQ(device.Host->WaitForPrefix("$PQZXVER"),
              OnWire("$PQZXVER,3.30.2,Korvelan-3N (simulator),K3N-20417,A010"));
    EXPECT_EQ(device.Ask("$PQZXSP,C,1,2,3,4,5"), OnWire("$PQZXSP,R,1,2,3,4,5"));
}

TEST(Robustness, ANewConnectionReplacesTheOldOne) {
    TcpDevice device;
    auto second = WireClient::Tcp(device.Sim.TcpPort());
    EXPECT_TRUE(device.Host->WaitClosed());
    second->Send("$PQZXVER");
    EXPECT_EQ(second->WaitForPrefix("$PQZXVER"),
              OnWire("$PQZXVER,3.30.2,Korvelan-3N (simulator),K3N-20417,A010"));
}

TEST(Robustness, HostThatNeverReadsDoesNotStopTheDevice) {
    auto options = Quiet();
    options.trafficRate = 2000;
    TcpDevice device(options);
    // Far more answers than any socket buffer holds, none of them read.
    std::string requests;
    for (int i = 0; i < 3000; ++i)
        requests += Framed("$PQZXCFQ");
    requests += Framed("$PQZXUI,C,LAST");
    device.Host->SendRaw(requests);
    EXPECT_TRUE(device.Sim.WaitForReceived(
        [](const std::string& l) { return StartsWith(l, "$PQZXUI,C,LAST"); }, kWait));
    auto reader = WireClient::Tcp(device.Sim.TcpPort());
    reader->Send("$PQZXVER");
    EXPECT_TRUE(reader->WaitForPrefix("$PQZXVER,"));
    EXPECT_EQ(device.Sim.Config().uid, "LAST");
}

TEST(Lifecycle, StopEndsTheDeviceAndItsConnection) {
    auto options = Quiet();
    kvl::sim::Simulator sim(options);
    EXPECT_FALSE(sim.IsRunning());
    EXPECT_EQ(sim.ReadyText(), "");
    sim.Start();
    EXPECT_TRUE(sim.IsRunning());
    EXPECT_THROW(sim.Start(), std::runtime_error);
    const auto port = sim.TcpPort();
    EXPECT_NE(port, 0);
    EXPECT_EQ(sim.ReadyText(), "tcp 127.0.0.1:" + std::to_string(port));
    auto host = WireClient::Tcp(port);
    sim.Stop();
    EXPECT_FALSE(sim.IsRunning());
    EXPECT_TRUE(host->WaitClosed());
    sim.Stop(); // twice is harmless
}

TEST(Lifecycle, PortInUseIsReported) {
    kvl::sim::Simulator first(Quiet());
    first.Start();
    auto options = Quiet();
    options.tcpPort = first.TcpPort();
    kvl::sim::Simulator second(options);
    EXPECT_THROW(second.Start(), std::runtime_error);
}
