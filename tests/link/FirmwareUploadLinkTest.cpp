// The upload procedures through the real link against the simulated bootloader,
// over the pseudo-terminal and TCP: framing, escapes, the receive thread's
// packet mode and the way back to lines.
#include "LinkTestSupport.h"

#include "Simulator.h"
#include "firmware/BootloaderUpload.h"
#include "firmware/CommPacketLink.h"
#include "firmware/SyntheticFirmware.h"
#include "link/CommError.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace kvl {
namespace {

using namespace test;

struct Device {
    Device(sim::TransportKind transport, std::uint8_t hardwareId, const std::string& fault = "") {
        sim::SimOptions options;
        options.transport = transport;
        options.tcpPort = 0;
        options.trafficRate = 0;
        options.boot.hardwareId = hardwareId;
        if (!fault.empty())
            options.boot.fault = *sim::ParseBootFault(fault);
        options.ptyLink = ::testing::TempDir() + "kvl-upload-pty-" + std::to_string(::getpid());
        Sim = std::make_unique<sim::Simulator>(options);
        Sim->Start();
        if (transport == sim::TransportKind::Pty) {
            Comm.AddSerialPort("Simulated Korvelan", options.ptyLink);
            Open = Comm.OpenPort(TCommMode::cmSerial, Comm.Ports().back(), 7) == TCommMode::cmSerial;
        } else {
            Open = Comm.OpenPort(TCommMode::cmTCP, "127.0.0.1:" + std::to_string(Sim->TcpPort()), 0) ==
                   TCommMode::cmTCP;
        }
    }

    // "$PQZXRESET" and the bootloader's announcement.
    bool Reset() {
        Comm.SendNmea("$PQZXRESET");
        std::string ldr;
        WaitUntil([&] {
            std::string line;
            while (Comm.TakeLine(line))
                if (line.rfind("$PQZXLDR,", 0) == 0)
                    ldr = line;
            return !ldr.empty();
        });
        return !ldr.empty();
    }

    // The upload's fault message, or "" when it completed.
    std::string Upload(TSyntheticFamily family, std::uint8_t hardwareId) {
        Firmware = std::make_unique<TFirmware>(MakeSyntheticContainer(family));
        TCommPacketLink link(Comm);
        TSilentProgress progress;
        try {
            UploadFirmware(*Firmware, hardwareId, link, progress);
        } catch (const ECommError& e) {
            return e.what();
        }
        return "";
    }

    std::unique_ptr<sim::Simulator> Sim;
    TComm Comm;
    bool Open = false;
    std::unique_ptr<TFirmware> Firmware;
};

struct Case {
    sim::TransportKind transport;
    TSyntheticFamily family;
    std::uint8_t hardwareId;
};

TEST(FirmwareUploadLink, TheEmbeddedImagesProgramTheirChecksumOverEachLink) {
    // The serial reader polls the port every 10 ms: the ARM image's 100 pages
    // keep the pseudo-terminal case short.
    const Case cases[] = {{sim::TransportKind::Pty, TSyntheticFamily::Arm, 0x20},
                          {sim::TransportKind::Tcp, TSyntheticFamily::Avr, 0x11}};
    for (const auto& c : cases) {
        Device device(c.transport, c.hardwareId);
        ASSERT_TRUE(device.Open);
        ASSERT_TRUE(device.Reset());
        EXPECT_EQ(device.Upload(c.family, c.hardwareId), "");
        ASSERT_TRUE(device.Sim->BootChecksum());
        EXPECT_EQ(*device.Sim->BootChecksum(), device.Firmware->CodeCRC);
        EXPECT_FALSE(device.Comm.InLinkMode());
        // The restarted firmware's VER arrives as a line again.
        EXPECT_TRUE(WaitUntil([&] {
            std::string line;
            while (device.Comm.TakeLine(line))
                if (line.rfind("$PQZXVER,3.29.0,", 0) == 0)
                    return true;
            return false;
        }));
    }
}

TEST(FirmwareUploadLink, AfterAFaultTheLinkCarriesLinesAndASecondAttemptSucceeds) {
    Device device(sim::TransportKind::Pty, 0x20, "error:page:7:E0");
    ASSERT_TRUE(device.Open);
    ASSERT_TRUE(device.Reset());
    EXPECT_EQ(device.Upload(TSyntheticFamily::Arm, 0x20),
              "Erase/program application page command:\rFrame size error");
    EXPECT_FALSE(device.Comm.InLinkMode());
    ASSERT_TRUE(device.Reset()) << "the reset went out as a line and the announcement came back";
    EXPECT_EQ(device.Upload(TSyntheticFamily::Arm, 0x20), "");
    EXPECT_EQ(device.Sim->BootChecksum(), device.Firmware->CodeCRC);
}

TEST(FirmwareUploadLink, ADroppedConnectionEndsTheStepAtOnce) {
    Device device(sim::TransportKind::Tcp, 0x10, "drop:page:4");
    ASSERT_TRUE(device.Open);
    ASSERT_TRUE(device.Reset());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(device.Upload(TSyntheticFamily::Avr, 0x10), "Bootloader: Programming timeout");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
}

} // namespace
} // namespace kvl
