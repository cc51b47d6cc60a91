// The UDP link on loopback: datagrams are read on the event loop.
#include "LinkTestSupport.h"
#include "link/Comms.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>

namespace kvl {
namespace {

using namespace test;

class UdpLink : public ::testing::Test {
protected:
    void Open(const std::string& host, int filter) {
        ASSERT_EQ(Comm.OpenPort(TCommMode::cmUDP, host + ":" + std::to_string(LinkPort), filter),
                  TCommMode::cmUDP);
        EXPECT_EQ(Comm.Port, LinkPort);
        EXPECT_EQ(Comm.FilterUDP, filter == 1);
    }

    int LinkPort = FreeUdpPort();
    TComm Comm;
};

TEST_F(UdpLink, LinesFromAnySenderAreQueued) {
    Open("127.0.0.5", 0);
    TUdpPeer a("127.0.0.2", 0, false);
    TUdpPeer b("127.0.0.3", 0, false);
    a.SendTo("127.0.0.1", LinkPort, "$GPGGA,1\r\n");
    b.SendTo("127.0.0.1", LinkPort, "$IIMTW,2\r\n!AIVDM,3\r\n");
    EXPECT_EQ(WaitForLines(Comm, 3), (std::vector<std::string>{"$GPGGA,1", "$IIMTW,2", "!AIVDM,3"}));
}

TEST_F(UdpLink, FilterAcceptsOnlyTheHost) {
    Open("127.0.0.2", 1);
    TUdpPeer stranger("127.0.0.3", 0, false);
    TUdpPeer mux("127.0.0.2", 0, false);
    stranger.SendTo("127.0.0.1", LinkPort, "$GPXXX,stranger\r\n");
    mux.SendTo("127.0.0.1", LinkPort, "$GPMUX,1\r\n");
    // Datagrams are handled in arrival order: once the host's line is queued the
    // stranger's datagram has been seen and ignored.
    EXPECT_EQ(WaitForLines(Comm, 1), (std::vector<std::string>{"$GPMUX,1"}));
    mux.SendTo("127.0.0.1", LinkPort, "$GPMUX,2\r\n");
    EXPECT_EQ(WaitForLines(Comm, 1), (std::vector<std::string>{"$GPMUX,2"}));
}

TEST_F(UdpLink, SentenceSplitOverTwoDatagramsIsQueuedOnce) {
    Open("127.0.0.2", 1);
    TUdpPeer mux("127.0.0.2", 0, false);
    mux.SendTo("127.0.0.1", LinkPort, "$GPGGA,1");
    mux.SendTo("127.0.0.1", LinkPort, ",2\r");
    mux.SendTo("127.0.0.1", LinkPort, "\n$GPEND\r\n");
    EXPECT_EQ(WaitForLines(Comm, 2), (std::vector<std::string>{"$GPGGA,1,2", "$GPEND"}));
}

TEST_F(UdpLink, TwoSendersInterleavedAreNotSpliced) {
    Open("127.0.0.2", 0);
    TUdpPeer a("127.0.0.2", 0, false);
    TUdpPeer b("127.0.0.3", 0, false);
    a.SendTo("127.0.0.1", LinkPort, "$GPAAA,1");
    b.SendTo("127.0.0.1", LinkPort, "$GPBBB,2");
    a.SendTo("127.0.0.1", LinkPort, ",x\r\n");
    b.SendTo("127.0.0.1", LinkPort, ",y\r\n");
    EXPECT_EQ(WaitForLines(Comm, 2), (std::vector<std::string>{"$GPAAA,1,x", "$GPBBB,2,y"}));
}

TEST_F(UdpLink, ManySendersDoNotLoseTheBusyOnes) {
    Open("127.0.0.2", 0);
    TUdpPeer mux("127.0.0.2", 0, false);
    mux.SendTo("127.0.0.1", LinkPort, "$GPMUX,");
    // More one-off senders than the receiver remembers, all heard once.
    std::vector<std::unique_ptr<TUdpPeer>> others;
    for (int i = 0; i < 20; ++i) {
        others.push_back(std::make_unique<TUdpPeer>("127.0.1." + std::to_string(i + 1), 0, false));
        others.back()->SendTo("127.0.0.1", LinkPort, "$GPO" + std::to_string(i) + "\r\n");
        if (i % 8 == 7)
            mux.SendTo("127.0.0.1", LinkPort, std::to_string(i)); // keeps it recently heard
    }
    mux.SendTo("127.0.0.1", LinkPort, "\r\n");
    const std::vector<std::string> lines = WaitForLines(Comm, 21);
    ASSERT_EQ(lines.size(), 21u);
    EXPECT_EQ(lines.back(), "$GPMUX,715");
}

TEST_F(UdpLink, SendNmeaSendsOneDatagramToTheHost) {
    TUdpPeer mux("127.0.0.2", LinkPort, true); // the multiplexer listens on the same port number
    Open("127.0.0.2", 1);
    Comm.SendNmea("$PQZXVER");
    EXPECT_EQ(mux.Receive(), "$PQZXVER*42\r\n");
    // No link mode and no packets on UDP.
    Comm.EnterLinkMode();
    EXPECT_FALSE(Comm.InLinkMode());
    TPacket packet;
    packet.Length = 1;
    Comm.Send(packet);
    EXPECT_EQ(Comm.Recv(packet), TRxState::stIdle);
    Comm.SendNmea("$PQZXCF,A");
    EXPECT_EQ(mux.Receive(), "$PQZXCF,A*6B\r\n");
}

TEST_F(UdpLink, BadPortTextLeavesTheLinkClosed) {
    try {
        Comm.OpenPort(TCommMode::cmUDP, "127.0.0.2:10x110", 0);
        FAIL() << "accepted a bad port text";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'10x110' is not a valid integer value");
    }
    EXPECT_EQ(Comm.CommMode(), TCommMode::cmClosed);
}

TEST_F(UdpLink, PortInUseFailsWithTheSocketMessage) {
    Open("127.0.0.2", 0);
    TComm second;
    try {
        second.OpenPort(TCommMode::cmUDP, "127.0.0.2:" + std::to_string(LinkPort), 0);
        FAIL() << "a second link bound a port in use";
    } catch (const ECommError& e) {
        EXPECT_STREQ(e.what(), std::strerror(EADDRINUSE));
    }
    EXPECT_EQ(second.CommMode(), TCommMode::cmClosed);
}

TEST_F(UdpLink, ClosingReleasesThePort) {
    Open("127.0.0.2", 0);
    Comm.ClosePort();
    EXPECT_EQ(Comm.CommMode(), TCommMode::cmClosed);
    TUdpPeer exclusive("0.0.0.0", LinkPort, false); // would throw if still bound
    EXPECT_EQ(exclusive.Port(), LinkPort);
}

} // namespace
} // namespace kvl
