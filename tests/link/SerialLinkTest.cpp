// The serial link over a pseudo-terminal pair: the test plays the multiplexer on
// the master side.
#include "LinkTestSupport.h"
#include "link/Comms.h"

#include <gtest/gtest.h>

namespace kvl {
namespace {

using namespace test;

class SerialLink : public ::testing::Test {
protected:
    void SetUp() override {
        ThreadsBefore = ThreadCount();
        ASSERT_EQ(Comm.OpenPort(TCommMode::cmSerial, Pty.SlavePath(), 7), TCommMode::cmSerial);
    }

    TPtyPair Pty;
    TComm Comm;
    std::size_t ThreadsBefore = 0;
};

TEST_F(SerialLink, LinesFromTheDeviceAreQueued) {
    WriteAll(Pty.Master(), "noise$GPGGA,1\r\n\r\n\n!AIVDM,1,1\r\n");
    EXPECT_EQ(WaitForLines(Comm, 2), (std::vector<std::string>{"$GPGGA,1", "!AIVDM,1,1"}));
}

TEST_F(SerialLink, EightBitBytesArriveUnchanged) {
    // Raw mode: no CR translation, no stripping of the eighth bit, no flow control bytes.
    const std::string line = "$GPTXT,caf\xE9\x11\x13\x7F\x03";
    WriteAll(Pty.Master(), line + "\r\n");
    EXPECT_EQ(WaitForLines(Comm, 1), (std::vector<std::string>{line}));
}

TEST_F(SerialLink, SendNmeaWritesTheCompletedSentence) {
    Comm.SendNmea("$PQZXVER");
    EXPECT_EQ(ReadBytes(Pty.Master(), 13), "$PQZXVER*42\r\n");
    // A text with its own checksum only gains CR LF, even a wrong checksum.
    Comm.SendNmea("$GPTXT,1*00");
    EXPECT_EQ(ReadBytes(Pty.Master(), 13), "$GPTXT,1*00\r\n");
    // An empty text writes nothing: the next bytes belong to the next sentence.
    Comm.SendNmea("");
    Comm.SendNmea("$PQZXCF,A");
    EXPECT_EQ(ReadBytes(Pty.Master(), 14), "$PQZXCF,A*6B\r\n");
}

TEST_F(SerialLink, SecondOpenOfTheSamePortFails) {
    TComm other;
    EXPECT_EQ(other.OpenPort(TCommMode::cmSerial, Pty.SlavePath(), 7), TCommMode::cmClosed);
    EXPECT_EQ(other.CommMode(), TCommMode::cmClosed);
    Comm.ClosePort();
    EXPECT_EQ(other.OpenPort(TCommMode::cmSerial, Pty.SlavePath(), 7), TCommMode::cmSerial);
}

TEST_F(SerialLink, ClosingJoinsTheReceiveThread) {
    EXPECT_EQ(ThreadCount(), ThreadsBefore + 1);
    Comm.ClosePort();
    EXPECT_EQ(Comm.CommMode(), TCommMode::cmClosed);
    EXPECT_EQ(ThreadCount(), ThreadsBefore);
    Comm.ClosePort();
    EXPECT_EQ(ThreadCount(), ThreadsBefore);
    // Reopening gives a fresh thread in line mode.
    ASSERT_EQ(Comm.OpenPort(TCommMode::cmSerial, Pty.SlavePath(), 5), TCommMode::cmSerial);
    EXPECT_FALSE(Comm.InLinkMode());
    EXPECT_EQ(ThreadCount(), ThreadsBefore + 1);
}

TEST_F(SerialLink, DestroyingAnOpenLinkJoinsItsThread) {
    {
        TPtyPair second;
        TComm local;
        ASSERT_EQ(local.OpenPort(TCommMode::cmSerial, second.SlavePath(), 8), TCommMode::cmSerial);
        EXPECT_EQ(ThreadCount(), ThreadsBefore + 2);
    }
    EXPECT_EQ(ThreadCount(), ThreadsBefore + 1);
}

TEST_F(SerialLink, PacketsCrossInLinkMode) {
    Comm.EnterLinkMode();
    EXPECT_TRUE(Comm.InLinkMode());
    // Nothing but packets may reach the bootloader.
    Comm.SendNmea("$PQZXCF,A");
    TPacket out;
    out.Length = 2;
    out.Data[0] = 0xFD;
    out.Data[1] = 0x05;
    Comm.Send(out);
    EXPECT_EQ(ReadBytes(Pty.Master(), 5), Bytes({0xFE, 0xFF, 0xFD, 0x05, 0xFD}));

    WriteAll(Pty.Master(), Bytes({0xFE, 0xFF, 0xFD, 0x05, 0xFD}));
    TPacket in;
    ASSERT_EQ(Comm.Recv(in), TRxState::stReady);
    ASSERT_EQ(in.Length, 2);
    EXPECT_EQ(in.Data[0], 0xFD);
    EXPECT_EQ(in.Data[1], 0x05);

    Comm.ExitLinkMode();
    EXPECT_FALSE(Comm.InLinkMode());
    Comm.SendNmea("$PQZXVER");
    EXPECT_EQ(ReadBytes(Pty.Master(), 13), "$PQZXVER*42\r\n");
    WriteAll(Pty.Master(), "$PQZXRDY\r\n");
    EXPECT_EQ(WaitForLines(Comm, 1), (std::vector<std::string>{"$PQZXRDY"}));
}

} // namespace
} // namespace kvl
