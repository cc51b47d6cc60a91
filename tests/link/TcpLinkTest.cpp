// The TCP link against a loopback listener that plays the multiplexer.
#include "LinkTestSupport.h"
#include "link/Comms.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

namespace kvl {
namespace {

using namespace test;

class TcpLink : public ::testing::Test {
protected:
    void SetUp() override {
        ThreadsBefore = ThreadCount();
        ASSERT_EQ(Comm.OpenPort(TCommMode::cmTCP, Peer.Resource(), 0), TCommMode::cmTCP);
        ASSERT_TRUE(Peer.Accept());
        EXPECT_EQ(Comm.Port, Peer.Port());
    }

    static TPacket Packet(std::initializer_list<std::uint8_t> bytes) {
        TPacket p;
        for (std::uint8_t b : bytes)
            p.Data[p.Length++] = b;
        return p;
    }

    TTcpPeer Peer;
    TComm Comm;
    std::size_t ThreadsBefore = 0;
};

TEST(TcpLinkOpen, RefusedConnectionThrowsTheSocketMessage) {
    TComm comm;
    const std::string resource = "127.0.0.1:" + std::to_string(ClosedTcpPort());
    try {
        comm.OpenPort(TCommMode::cmTCP, resource, 0);
        FAIL() << "connected to a closed port";
    } catch (const ECommError& e) {
        EXPECT_STREQ(e.what(), std::strerror(ECONNREFUSED));
    }
    EXPECT_EQ(comm.CommMode(), TCommMode::cmClosed);
}

TEST(TcpLinkOpen, BadPortTextLeavesTheLinkClosed) {
    TComm comm;
    try {
        comm.OpenPort(TCommMode::cmTCP, "127.0.0.1:10x110", 0);
        FAIL() << "accepted a bad port text";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'10x110' is not a valid integer value");
    }
    EXPECT_EQ(comm.CommMode(), TCommMode::cmClosed);
}

TEST_F(TcpLink, LinesArriveAndSentencesLeaveExactly) {
    WriteAll(Peer.Client(), "$GPGGA,1\r\n\\s:KVL3*3A\\$GPRMC,2\r\n");
    EXPECT_EQ(WaitForLines(Comm, 2), (std::vector<std::string>{"$GPGGA,1", "\\s:KVL3*3A\\$GPRMC,2"}));
    Comm.SendNmea("$PQZXVER");
    EXPECT_EQ(ReadBytes(Peer.Client(), 13), "$PQZXVER*42\r\n");
}

TEST_F(TcpLink, PeerThatClosesIsNoticedAtTheNextWrite) {
    Peer.CloseClient();
    bool failed = false;
    // The first write after the close may still be accepted by the socket.
    for (int attempt = 0; attempt < 50 && !failed; ++attempt) {
        try {
            Comm.SendNmea("$PQZXCF,A");
            std::this_thread::sleep_for(100ms);
        } catch (const ECommError& e) {
            failed = true;
            EXPECT_GT(std::strlen(e.what()), 0u);
        }
    }
    EXPECT_TRUE(failed);
    EXPECT_EQ(Comm.CommMode(), TCommMode::cmTCP); // the caller closes the link
    Comm.ClosePort();
    EXPECT_EQ(ThreadCount(), ThreadsBefore);
}

TEST_F(TcpLink, ClosingJoinsTheBlockedReader) {
    EXPECT_EQ(ThreadCount(), ThreadsBefore + 1);
    Comm.ClosePort();
    EXPECT_EQ(Comm.CommMode(), TCommMode::cmClosed);
    EXPECT_EQ(ThreadCount(), ThreadsBefore);
    // The peer sees the connection end.
    EXPECT_EQ(ReadBytes(Peer.Client(), 1, 2000ms), "");
}

TEST_F(TcpLink, FramesCrossIntact) {
    Comm.EnterLinkMode();
    Comm.Send(Packet({0xFD, 0x05}));
    EXPECT_EQ(ReadBytes(Peer.Client(), 5), Bytes({0xFE, 0xFF, 0xFD, 0x05, 0xFD}));
    Comm.Send(Packet({0xFF, 0xFE, 0xFD}));
    EXPECT_EQ(ReadBytes(Peer.Client(), 8), Bytes({0xFE, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFD, 0xFD}));

    // Noise, an empty frame and a restarted frame come before the packet.
    WriteAll(Peer.Client(), Bytes({0x00, 0xFE, 0xFD, 0xFE, 0x01, 0xFE, 0xFF, 0xFD, 0x05, 0xFD}));
    TPacket in;
    ASSERT_EQ(Comm.Recv(in), TRxState::stReady);
    ASSERT_EQ(in.Length, 2);
    EXPECT_EQ(in.Data[0], 0xFD);
    EXPECT_EQ(in.Data[1], 0x05);
}

TEST_F(TcpLink, FullSizePacketsEchoBackUnchanged) {
    Comm.EnterLinkMode();
    for (int round = 0; round < 3; ++round) {
        TPacket out;
        out.Length = static_cast<std::uint16_t>(kMaxPacketData);
        for (std::size_t i = 0; i < kMaxPacketData; ++i)
            out.Data[i] = static_cast<std::uint8_t>(0xFD + (i + static_cast<std::size_t>(round)) % 3);
        Comm.Send(out);
        const std::string frame = ReadBytes(Peer.Client(), kMaxFrameSize);
        ASSERT_EQ(frame.size(), kMaxFrameSize); // every byte was escaped: 0xFD..0xFF
        WriteAll(Peer.Client(), frame);
        TPacket in;
        ASSERT_EQ(Comm.Recv(in), TRxState::stReady) << "round " << round;
        ASSERT_EQ(in.Length, out.Length);
        EXPECT_EQ(in.Data, out.Data);
    }
}

TEST_F(TcpLink, RecvTimesOutThenTakesALaterFrame) {
    Comm.EnterLinkMode();
    TPacket in;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Comm.Recv(in), TRxState::stTimeOut);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 2000ms);

    WriteAll(Peer.Client(), Bytes({0xFE, 0xC0, 0xFD}));
    ASSERT_EQ(Comm.Recv(in), TRxState::stReady);
    ASSERT_EQ(in.Length, 1);
    EXPECT_EQ(in.Data[0], 0xC0);
    // The packet was taken: the next call waits for a new one.
    WriteAll(Peer.Client(), Bytes({0xFE, 0xE1, 0xFD}));
    ASSERT_EQ(Comm.Recv(in), TRxState::stReady);
    ASSERT_EQ(in.Length, 1);
    EXPECT_EQ(in.Data[0], 0xE1);
}

TEST_F(TcpLink, PartialFrameBeforeATimeOutIsDropped) {
    Comm.EnterLinkMode();
    // A frame cut off after its escape byte: without the drop, the start byte of
    // the next frame would be taken as data.
    WriteAll(Peer.Client(), Bytes({0xFE, 0x11, 0xFF}));
    TPacket in;
    EXPECT_EQ(Comm.Recv(in), TRxState::stTimeOut);
    WriteAll(Peer.Client(), Bytes({0xFE, 0x22, 0xFD}));
    ASSERT_EQ(Comm.Recv(in), TRxState::stReady);
    ASSERT_EQ(in.Length, 1);
    EXPECT_EQ(in.Data[0], 0x22);
}

TEST_F(TcpLink, SendNmeaInLinkModeWritesNothing) {
    Comm.EnterLinkMode();
    Comm.SendNmea("$PQZXCF,A");
    Comm.Send(Packet({0x01}));
    EXPECT_EQ(ReadBytes(Peer.Client(), 3), Bytes({0xFE, 0x01, 0xFD}));
    Comm.ExitLinkMode();
    Comm.SendNmea("$PQZXCF,A");
    EXPECT_EQ(ReadBytes(Peer.Client(), 14), "$PQZXCF,A*6B\r\n");
}

TEST_F(TcpLink, EnterLinkModeDropsThePartialLine) {
    WriteAll(Peer.Client(), "$GPAAA\r\n$GPGGA,1");
    EXPECT_EQ(WaitForLines(Comm, 1), (std::vector<std::string>{"$GPAAA"}));
    Comm.EnterLinkMode();
    // The rest of the line arrives in link mode; the packet shows every byte
    // before it was handled.
    WriteAll(Peer.Client(), ",2\r\n" + Bytes({0xFE, 0x07, 0xFD}));
    TPacket in;
    ASSERT_EQ(Comm.Recv(in), TRxState::stReady);
    EXPECT_EQ(in.Length, 1);
    Comm.ExitLinkMode();
    WriteAll(Peer.Client(), "$GPX,3\r\n");
    EXPECT_EQ(WaitForLines(Comm, 1), (std::vector<std::string>{"$GPX,3"}));
}

TEST_F(TcpLink, ExitLinkModeDropsAnUntakenPacket) {
    Comm.EnterLinkMode();
    WriteAll(Peer.Client(), Bytes({0xFE, 0x33, 0xFD}));
    // Time for the thread to complete the packet; the outcome must be the same
    // if it has not.
    std::this_thread::sleep_for(100ms);
    Comm.ExitLinkMode();
    WriteAll(Peer.Client(), "$GPBBB\r\n");
    EXPECT_EQ(WaitForLines(Comm, 1), (std::vector<std::string>{"$GPBBB"}));
    Comm.EnterLinkMode();
    WriteAll(Peer.Client(), Bytes({0xFE, 0x44, 0xFD}));
    TPacket in;
    ASSERT_EQ(Comm.Recv(in), TRxState::stReady);
    ASSERT_EQ(in.Length, 1);
    EXPECT_EQ(in.Data[0], 0x44);
}

TEST_F(TcpLink, ModeSwitchesUnderTrafficNeverSpliceLines) {
    std::atomic<bool> stop{false};
    std::thread device([&] {
        for (int n = 0; !stop.load(); ++n)
            WriteAll(Peer.Client(), "$GPL," + std::to_string(n) + "\r\n" + Bytes({0xFE, 0x5A, 0xFD}));
    });
    for (int i = 0; i < 2000; ++i) {
        if (i % 2 == 0)
            Comm.EnterLinkMode();
        else
            Comm.ExitLinkMode();
        std::this_thread::sleep_for(std::chrono::microseconds(50));
        std::string line;
        while (Comm.TakeLine(line)) {
            // A line cut by a switch must be dropped, never glued to a later one.
            ASSERT_EQ(line.rfind("$GPL,", 0), 0u) << line;
            ASSERT_EQ(line.find_first_not_of("0123456789", 5), std::string::npos) << line;
        }
    }
    stop = true;
    Comm.ExitLinkMode();
    device.join();
    WriteAll(Peer.Client(), "\r\n$GPEND\r\n");
    EXPECT_TRUE(WaitUntil([&] {
        std::string line;
        while (Comm.TakeLine(line))
            if (line == "$GPEND")
                return true;
        return false;
    }));
}

TEST_F(TcpLink, RecvOnALostConnectionGivesUp) {
    Comm.EnterLinkMode();
    Peer.CloseClient();
    TPacket in;
    EXPECT_EQ(Comm.Recv(in), TRxState::stTimeOut);
    EXPECT_THROW(Comm.Send(Packet({0x01})), ECommError);
}

} // namespace
} // namespace kvl
