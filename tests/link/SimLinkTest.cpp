// The multiplexer simulated inside the program, through the link like a device:
// its lines arrive, a command is answered, and the firmware upload's packets go
// both ways on the same in-process link.
#include "LinkTestSupport.h"

#include "firmware/BootloaderUpload.h"
#include "firmware/CommPacketLink.h"
#include "firmware/SyntheticFirmware.h"
#include "link/CommError.h"
#include "link/Comms.h"

#include <gtest/gtest.h>

namespace kvl {
namespace {

using namespace test;

// The first line starting with prefix, waiting for it.
std::string LineStarting(TComm& comm, const std::string& prefix) {
    std::string found;
    WaitUntil([&] {
        std::string line;
        while (found.empty() && comm.TakeLine(line))
            if (line.rfind(prefix, 0) == 0)
                found = line;
        return !found.empty();
    });
    return found;
}

TEST(SimLink, TheSimulatedModelAnswersLikeADevice) {
    TComm comm;
    ASSERT_EQ(comm.OpenPort(TCommMode::cmSim, "3Wi", 0), TCommMode::cmSim);
    comm.SendNmea("$PQZXVER");
    EXPECT_EQ(LineStarting(comm, "$PQZXVER,"), "$PQZXVER,3.30.2,Korvelan-3Wi,K3Wi-20417,A013*6E");
    comm.ClosePort();
    EXPECT_EQ(comm.CommMode(), TCommMode::cmClosed);
    EXPECT_THROW(comm.OpenPort(TCommMode::cmSim, "9Z", 0), ECommError);
    EXPECT_EQ(comm.CommMode(), TCommMode::cmClosed);
}

TEST(SimLink, TheEmbeddedImageProgramsTheSimulatedDevice) {
    TComm comm;
    ASSERT_EQ(comm.OpenPort(TCommMode::cmSim, "3N", 0), TCommMode::cmSim);
    comm.SendNmea("$PQZXRESET");
    ASSERT_EQ(LineStarting(comm, "$PQZXLDR,").substr(0, 12), "$PQZXLDR,10*");
    TFirmware firmware(MakeSyntheticContainer(TSyntheticFamily::Avr));
    TCommPacketLink link(comm);
    TSilentProgress progress;
    EXPECT_NO_THROW(UploadFirmware(firmware, 0x10, link, progress));
    EXPECT_FALSE(comm.InLinkMode());
    // The restarted firmware announces the updated version.
    EXPECT_FALSE(LineStarting(comm, "$PQZXVER,3.29.0,").empty());
}

} // namespace
} // namespace kvl
