// The upload procedures against the simulator's bootloader, packet by packet.
#include "ContainerBuilder.h"

#include "Bootloader.h"
#include "firmware/BootloaderUpload.h"
#include "firmware/FirmwareError.h"
#include "firmware/SyntheticFirmware.h"
#include "link/CommError.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <string>

using namespace kvl;
using namespace fwtest;

namespace {

// The device's side of the link: each packet goes straight to the bootloader.
class DeviceLink : public TPacketLink {
public:
    explicit DeviceLink(sim::Bootloader& device) : Device(device) {}

    void EnterLinkMode() override {
        ++Enters;
        LinkMode = true;
    }
    void ExitLinkMode() override {
        ++Exits;
        LinkMode = false;
    }
    void Send(const TPacket& packet) override {
        ASSERT_TRUE(LinkMode);
        ++Sent;
        const auto reply = Device.OnPacket(packet.Data.data(), packet.Length);
        Dropped = Dropped || reply.drop;
        if (reply.answer.empty())
            return;
        TPacket answer;
        std::copy(reply.answer.begin(), reply.answer.end(), answer.Data.begin());
        answer.Length = static_cast<std::uint16_t>(reply.answer.size());
        Answers.push_back(answer);
    }
    TRxState Recv(TPacket& packet) override {
        if (Dropped)
            return TRxState::stIdle; // the link is gone
        if (Answers.empty())
            return TRxState::stTimeOut;
        packet = Answers.front();
        Answers.pop_front();
        return TRxState::stReady;
    }

    sim::Bootloader& Device;
    std::deque<TPacket> Answers;
    bool LinkMode = false;
    bool Dropped = false;
    int Enters = 0;
    int Exits = 0;
    int Sent = 0;
};

class RecordingProgress : public TUploadProgress {
public:
    void SetMaximum(int maximum) override { Maximum = maximum; }
    void SetPosition(int position) override { Positions.push_back(position); }
    void SetTask(const std::string& task) override { Tasks.push_back(task); }
    void Repaint() override { ++Repaints; }

    int Maximum = -1;
    std::vector<int> Positions;
    std::vector<std::string> Tasks;
    int Repaints = 0;
};

TFirmware Synthetic(TSyntheticFamily family) {
    return TFirmware(MakeSyntheticContainer(family));
}

std::string UploadFault(TSyntheticFamily family, std::uint8_t hardwareId, const std::string& fault) {
    TFirmware firmware = Synthetic(family);
    sim::Bootloader device(hardwareId, 0x05, *sim::ParseBootFault(fault));
    DeviceLink link(device);
    RecordingProgress progress;
    try {
        UploadFirmware(firmware, hardwareId, link, progress);
    } catch (const ECommError& e) {
        EXPECT_EQ(link.Enters, 1);
        EXPECT_EQ(link.Exits, 1) << "link mode left on the way out";
        return e.what();
    }
    return "completed";
}

} // namespace

TEST(Upload, TheAvrImageProgramsTheChecksumInTheContainer) {
    TFirmware firmware = Synthetic(TSyntheticFamily::Avr);
    sim::Bootloader device(0x10, 0x05, {});
    DeviceLink link(device);
    RecordingProgress progress;
    UploadFirmware(firmware, 0x10, link, progress);
    ASSERT_TRUE(device.ReportedChecksum());
    EXPECT_EQ(*device.ReportedChecksum(), firmware.CodeCRC);
    EXPECT_EQ(device.PagesProgrammed(), kSyntheticAvrPages);
    EXPECT_EQ(link.Sent, 4 + kSyntheticAvrPages); // start, erase, encryption, pages, checksum
    EXPECT_FALSE(link.LinkMode);
    EXPECT_EQ(progress.Maximum, 380);
    ASSERT_EQ(progress.Positions.size(), 381u);
    EXPECT_EQ(progress.Positions.front(), 0);
    EXPECT_EQ(progress.Positions.back(), 380);
    EXPECT_EQ(progress.Tasks, (std::vector<std::string>{"Erasing...", "Programming..."}));
}

TEST(Upload, TheArmImageProgramsItsChecksumAndKeepsTheTaskDuringErase) {
    TFirmware firmware = Synthetic(TSyntheticFamily::Arm);
    sim::Bootloader device(0x21, 0x85, {});
    DeviceLink link(device);
    RecordingProgress progress;
    UploadFirmware(firmware, 0x21, link, progress);
    ASSERT_TRUE(device.ReportedChecksum());
    EXPECT_EQ(*device.ReportedChecksum(), firmware.CodeCRC);
    EXPECT_EQ(device.PagesProgrammed(), kSyntheticArmPages);
    EXPECT_EQ(progress.Maximum, kSyntheticArmPages - 1);
    EXPECT_EQ(progress.Tasks, (std::vector<std::string>{"Programming..."}));
}

TEST(Upload, EachFaultEndsWithItsMessageAndTheLinkBackInLineMode) {
    struct Case {
        TSyntheticFamily family;
        std::string fault;
        std::string message;
    };
    const auto avr = TSyntheticFamily::Avr;
    const auto arm = TSyntheticFamily::Arm;
    const Case cases[] = {
        {avr, "silent:erase", "Bootloader: Erase command timeout"},
        {avr, "silent:encryption", "Bootloader: Encryption command timeout"},
        {avr, "silent:page:5", "Bootloader: Programming timeout"},
        {arm, "silent:crc", "Bootloader: CRC command timeout"},
        {avr, "error:erase:E1", "Erase application command:\rUnknown command"},
        {arm, "error:encryption:E2", "Encryption command:\rUnknown decryption method"},
        {avr, "error:page:2:E0", "Programm application page command:\rFrame size error"},
        {arm, "error:page:0:E0", "Erase/program application page command:\rFrame size error"},
        {avr, "error:crc:77", "Calculate CRC command:\rUnknown response"},
        {arm, "size:erase", "Erase application command:\rResponse has wrong size"},
        {avr, "drop:page:3", "Bootloader: Programming timeout"},
    };
    for (const auto& c : cases) {
        const std::uint8_t id = c.family == arm ? 0x20 : 0x10;
        EXPECT_EQ(UploadFault(c.family, id, c.fault), c.message) << c.fault;
    }
}

TEST(Upload, AWrongChecksumNamesBothValues) {
    for (const auto family : {TSyntheticFamily::Avr, TSyntheticFamily::Arm}) {
        const std::uint8_t id = family == TSyntheticFamily::Arm ? 0x20 : 0x10;
        TFirmware firmware = Synthetic(family);
        firmware.SelectImage(id);
        const std::uint32_t crc = firmware.CodeCRC;
        char expected[80];
        std::snprintf(expected, sizeof expected, "Bootloader: CRC error\rFile CRC: %08X\rMult.CRC: %08X", crc,
                      crc ^ 0x00010001u);
        EXPECT_EQ(UploadFault(family, id, "badcrc"), expected);
    }
}

// The only container fault left for the upload is the choice by hardware ID.
TEST(Upload, AnImageForAnotherMultiplexerSendsNothing) {
    TFirmware firmware(MakeSyntheticContainer(TSyntheticFamily::Avr));
    sim::Bootloader device(0x20, 0x05, {});
    DeviceLink link(device);
    RecordingProgress progress;
    EXPECT_THROW(UploadFirmware(firmware, 0x20, link, progress), EInOutError);
    EXPECT_EQ(link.Enters, 0);
    EXPECT_EQ(link.Sent, 0);
}

TEST(Upload, AnImageForAnotherFamilyUploadsNothing) {
    TFirmware firmware(FormatV2({Record{0x30, 0x70, 512, 2, 5}}));
    sim::Bootloader device(0x30, 0x05, {});
    DeviceLink link(device);
    RecordingProgress progress;
    UploadFirmware(firmware, 0x30, link, progress);
    EXPECT_EQ(link.Sent, 0);
}
