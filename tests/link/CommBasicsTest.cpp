// TComm without a device: speed table, port list, line queue, resource texts and
// the behaviour of a closed link.
#include "LinkTestSupport.h"
#include "link/Comms.h"
#include "link/NetResource.h"
#include "link/PortList.h"

#include <gtest/gtest.h>

namespace kvl {
namespace {

using namespace test;

TEST(TCommSpeedTable, NineSpeedsAndFallback) {
    const int expected[] = {4800, 9600, 19200, 38400, 57600, 115200, 230400, 460800, 921600};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(TComm::BaudForIndex(i), expected[i]) << "index " << i;
    EXPECT_EQ(TComm::BaudForIndex(9), 115200);
    EXPECT_EQ(TComm::BaudForIndex(-1), 115200);
    EXPECT_EQ(TComm::BaudForIndex(1000), 115200);
}

TEST(TCommPortList, NetworkEntriesFirstAndListsParallel) {
    TComm comm;
    ASSERT_GE(comm.Ports().size(), 3u);
    ASSERT_EQ(comm.Ports().size(), comm.FriendlyPorts().size());
    EXPECT_EQ(comm.Ports()[0], "UDP All");
    EXPECT_EQ(comm.Ports()[1], "UDP");
    EXPECT_EQ(comm.Ports()[2], "TCP");
    EXPECT_EQ(comm.FriendlyPorts()[0], "UDP All");
    EXPECT_EQ(comm.FriendlyPorts()[1], "UDP");
    EXPECT_EQ(comm.FriendlyPorts()[2], "TCP");

    const std::size_t before = comm.Ports().size();
    comm.AddSerialPort("Simulated Korvelan (pts/7)", "/dev/pts/7");
    ASSERT_EQ(comm.Ports().size(), before + 1);
    EXPECT_EQ(comm.Ports().back(), "/dev/pts/7");
    EXPECT_EQ(comm.FriendlyPorts().back(), "Simulated Korvelan (pts/7)");
}

TEST(TCommPortList, FriendlyNameWithAndWithoutDescription) {
    EXPECT_EQ(SerialFriendlyName("USB Serial Port", "ttyUSB0"), "USB Serial Port (ttyUSB0)");
    EXPECT_EQ(SerialFriendlyName("", "ttyS0"), "ttyS0");
}

TEST(TCommPortList, SortedCaseInsensitivelyByFriendlyAndPortName) {
    std::vector<TSerialPortEntry> ports = {
        {"usb serial (ttyUSB1)", "/dev/ttyUSB1"},
        {"ttyS0", "/dev/ttyS0"},
        {"USB Serial (ttyUSB0)", "/dev/ttyUSB0"},
        {"Korvelan", "/dev/ttyACM1"},
        {"korvelan", "/dev/ttyACM0"},
    };
    SortSerialPorts(ports);
    std::vector<std::string> order;
    for (const auto& p : ports)
        order.push_back(p.Port);
    // "korvelan,/dev/ttyACM0" < "Korvelan,/dev/ttyACM1" once case is ignored.
    EXPECT_EQ(order, (std::vector<std::string>{"/dev/ttyACM0", "/dev/ttyACM1", "/dev/ttyS0", "/dev/ttyUSB0",
                                               "/dev/ttyUSB1"}));
}

TEST(TCommQueue, KeepsArrivalOrder) {
    TComm comm;
    std::string line = "untouched";
    EXPECT_FALSE(comm.TakeLine(line));
    EXPECT_EQ(line, "untouched");
    comm.QueueLine("$GPGGA,1");
    comm.QueueLine("!AIVDM,2");
    comm.QueueLine("\\s:KVL*00\\$GPRMC,3");
    EXPECT_EQ(comm.QueuedLines(), 3u);
    ASSERT_TRUE(comm.TakeLine(line));
    EXPECT_EQ(line, "$GPGGA,1");
    ASSERT_TRUE(comm.TakeLine(line));
    EXPECT_EQ(line, "!AIVDM,2");
    ASSERT_TRUE(comm.TakeLine(line));
    EXPECT_EQ(line, "\\s:KVL*00\\$GPRMC,3");
    EXPECT_FALSE(comm.TakeLine(line));
    EXPECT_EQ(comm.DroppedLines(), 0u);
}

TEST(TCommQueue, BoundDropsOldestAndCounts) {
    TComm comm;
    const std::size_t extra = 7;
    for (std::size_t i = 0; i < TComm::kQueueLimit + extra; ++i)
        comm.QueueLine("$L," + std::to_string(i));
    EXPECT_EQ(comm.QueuedLines(), TComm::kQueueLimit);
    EXPECT_EQ(comm.DroppedLines(), extra);
    std::string line;
    ASSERT_TRUE(comm.TakeLine(line));
    EXPECT_EQ(line, "$L," + std::to_string(extra));
    std::string last;
    while (comm.TakeLine(line))
        last = line;
    EXPECT_EQ(last, "$L," + std::to_string(TComm::kQueueLimit + extra - 1));
}

TEST(TCommClosed, NothingHappensOnAClosedLink) {
    TComm comm;
    EXPECT_EQ(comm.CommMode(), TCommMode::cmClosed);
    EXPECT_NO_THROW(comm.SendNmea("$PQZXVER"));
    TPacket packet;
    packet.Length = 1;
    EXPECT_NO_THROW(comm.Send(packet));
    comm.EnterLinkMode();
    EXPECT_FALSE(comm.InLinkMode());
    EXPECT_EQ(comm.Recv(packet), TRxState::stIdle);
    comm.ClosePort();
    comm.ClosePort();
    EXPECT_EQ(comm.CommMode(), TCommMode::cmClosed);
    EXPECT_EQ(comm.OpenPort(TCommMode::cmClosed, "anything", 0), TCommMode::cmClosed);
}

TEST(TCommSerialOpen, MissingOrNonTerminalDevicesStayClosed) {
    TComm comm;
    EXPECT_EQ(comm.OpenPort(TCommMode::cmSerial, "", 7), TCommMode::cmClosed);
    EXPECT_EQ(comm.OpenPort(TCommMode::cmSerial, "/dev/kvl-no-such-port", 7), TCommMode::cmClosed);
    EXPECT_EQ(comm.OpenPort(TCommMode::cmSerial, "/dev/null", 7), TCommMode::cmClosed);
    EXPECT_EQ(comm.CommMode(), TCommMode::cmClosed);
}

TEST(NetResource, HostAloneUsesDefaultPort) {
    const TNetResource r = SplitResource("192.168.1.50");
    EXPECT_EQ(r.Host, "192.168.1.50");
    EXPECT_EQ(r.Port, 10110);
}

TEST(NetResource, HostAndPort) {
    const TNetResource r = SplitResource("192.168.1.50:2000");
    EXPECT_EQ(r.Host, "192.168.1.50");
    EXPECT_EQ(r.Port, 2000);
    EXPECT_EQ(SplitResource("mux:1").Port, 1);
    EXPECT_EQ(SplitResource("mux:65535").Port, 65535);
}

TEST(NetResource, BadPortTextsAreConversionErrors) {
    try {
        SplitResource("192.168.1.50:10x110");
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'10x110' is not a valid integer value");
    }
    for (const char* bad :
         {"h:", "h:0", "h:65536", "h:-1", "h: 80", "h:+80", "h:1:2", "h:99999999999999999999"})
        EXPECT_THROW(SplitResource(bad), EConvertError) << bad;
}

} // namespace
} // namespace kvl
