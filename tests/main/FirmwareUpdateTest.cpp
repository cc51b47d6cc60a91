// The firmware update and the memory read-out from the window, against the
// simulated multiplexer and its bootloader.
#include "MainFormFixture.h"
#include "firmware/ContainerBuilder.h"

#include "MemoryReadout.h"
#include "SentenceFrame.h"
#include "firmware/Firmware.h"
#include "firmware/FirmwareUpdate.h"
#include "firmware/SyntheticFirmware.h"
#include "views/AuxViews.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <utility>

#include <unistd.h>

namespace kvl::test {
namespace {

const QString kSuccess = QStringLiteral("The firmware update was successful");
const QString kWhatToDo = TFirmwareUpdate::WhatToDo();
const QString kFailed = QStringLiteral("The firmware update failed") + kWhatToDo;
const QString kDoNotSwitchOff =
    QStringLiteral("\r\rDo not disconnect or switch off the multiplexer until the update has finished.");

// The checksum the embedded image of a family leaves in the flash.
std::uint32_t EmbeddedChecksum(TSyntheticFamily family, std::uint16_t hardwareId) {
    TFirmware firmware(MakeSyntheticContainer(family));
    firmware.SelectImage(hardwareId);
    return firmware.CodeCRC;
}

class FirmwareUpdateTest : public MainFormTest {
protected:
    void TearDown() override {
        for (const auto& file : Files)
            std::remove(file.c_str());
        MainFormTest::TearDown();
    }

    // A small container file (6 AVR or 3 ARM pages) whose checksum the bootloader reproduces.
    QString SmallContainer(bool arm = false) {
        const std::string path = ::testing::TempDir() + "small-" + std::to_string(::getpid()) + "-" +
                                 std::to_string(Files.size()) + ".kvl";
        const fwtest::Record record =
            arm ? fwtest::Record{0x20, 0x70, 2048, 3, 7, true} : fwtest::Record{0x10, 0x70, 512, 6, 9, true};
        fwtest::Bytes bytes = fwtest::FormatV2({record});
        bytes[7] = 0; // version 3.29.0, which the simulator reports after an update
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        Files.push_back(path);
        return QString::fromStdString(path);
    }

    // A device whose firmware (3.29.0) is not newer than the test's containers.
    static sim::SimOptions Quiet() {
        sim::SimOptions options = MainFormTest::Quiet();
        options.identity.version = "3.29.0";
        return options;
    }

    void StartDevice(sim::SimOptions options) {
        options.trafficRate = 0;
        StartSimulator(std::move(options));
        CreateForm();
        ConnectAndClearView();
    }

    // The device over UDP, connected and read.
    void StartUdpDevice(sim::SimOptions options) {
        StartUdpAndConnect(std::move(options), 1); // "UDP"
        ASSERT_TRUE(WaitUntil([&] { return Form->GetRXState() == TRXState::stNormal; }));
    }

    TFirmwareUpdate& Update() { return Form->FirmwareUpdate(); }

    void Trigger(const char* action) {
        auto* entry = Form->findChild<QAction*>(QString::fromLatin1(action));
        ASSERT_NE(entry, nullptr) << action;
        entry->trigger();
    }

    // Starts an update from a container file through the menu, confirmed.
    void UpdateFromFile(const QString& file) {
        TestDialogs().FileNames.push_back(file);
        TestDialogs().ConfirmAnswers.push_back(true);
        Trigger("miUpdateFirmware");
    }

    bool WaitForMessage(const QString& text, int timeoutMs = 15000) {
        return WaitUntil([&] { return TestDialogs().Messages.contains(text); }, timeoutMs);
    }

    // Lets the running time-out fire now instead of after its 4 seconds.
    void FireTimeOut() {
        QTimer& timer = Form->TimeOutTimer;
        ASSERT_TRUE(timer.isActive());
        const int interval = timer.interval();
        timer.start(0);
        WaitUntil([&] { return !timer.isActive(); });
        timer.setInterval(interval);
    }

    // Progress hidden, normal cursor, connection group and Read Configuration usable.
    void ExpectWindowRestored() {
        // Read Configuration is disabled while a read runs: the read that follows a
        // restarted multiplexer ends first.
        WaitUntil([&] {
            return Form->GetRXState() != TRXState::stGetVersion &&
                   Form->GetRXState() != TRXState::stGetConfig;
        });
        EXPECT_FALSE(Update().Progress().isVisible());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        EXPECT_TRUE(Control<QGroupBox>("gbHost")->isEnabled());
        EXPECT_TRUE(Control<QPushButton>("btnReadConfig")->isEnabled());
        EXPECT_FALSE(Update().Firmware) << "the image is released";
        for (const auto& box : TestDialogs().Boxes)
            EXPECT_FALSE(box.UnderWaitCursor) << box.Text.toStdString();
    }

    std::vector<std::string> Files;
};

TEST_F(FirmwareUpdateTest, AnOlderFirmwareIsReplacedByTheEmbeddedImageWhenTheUserAccepts) {
    auto options = Quiet();
    options.identity.version = "3.28.0";
    options.boot.hardwareId = 0x11;
    TestDialogs().ConfirmAnswers.push_back(true);
    StartSimulator(options);
    CreateForm();
    ConnectTcp(Sim->TcpPort());
    ASSERT_TRUE(WaitForMessage(kSuccess));
    // The offer keeps its question and tells what the update will do.
    ASSERT_EQ(TestDialogs().Questions.size(), 1);
    EXPECT_EQ(TestDialogs().Questions.front(),
              QStringLiteral("KVLConfig3 has detected incompatible firmware in\r"
                             "your Korvelan.\r\rWould you like to perform an "
                             "automatic update?\r\rMultiplexer: version 3.28.0\rFirmware: version 3.29.0 for "
                             "AVR and ARM multiplexers, enclosed in the program (test image)\rExpected "
                             "duration: about 20 seconds") +
                  kDoNotSwitchOff);
    EXPECT_EQ(TestDialogs().NoByDefault, TestDialogs().Questions);
    EXPECT_EQ(TestDialogs().QuestionCaptions.front(), QStringLiteral("KVLConfig3"));
    EXPECT_EQ(Sim->BootChecksum(), EmbeddedChecksum(TSyntheticFamily::Avr, 0x11));
    // The restarted firmware is read as after a connect.
    EXPECT_TRUE(SimReceived("$PQZXCFQ"));
    ASSERT_TRUE(WaitUntil([&] { return Form->GetRXState() == TRXState::stNormal; }));
    ExpectWindowRestored();
    EXPECT_FALSE(TestDialogs().Messages.contains(kFailed));
}

TEST_F(FirmwareUpdateTest, TheEmbeddedArmImageAndAContainerFileOverTheSerialLink) {
    auto options = Quiet();
    options.transport = sim::TransportKind::Pty;
    options.ptyLink = ::testing::TempDir() + "kvl-fw-pty-" + std::to_string(::getpid());
    options.ptyBaud = 0; // two whole uploads: the line's timing is tested by test_link and the benchmark
    options.boot.hardwareId = 0x20;
    options.identity.version = "3.30.2";
    Sim = std::make_unique<sim::Simulator>(options);
    Sim->Start();
    CreateForm();
    Form->AddSerialPortEntry(QStringLiteral("Simulated"), QString::fromStdString(options.ptyLink));
    ChoosePort(LastSerialEntry());
    Click("btnConnect");
    ASSERT_TRUE(WaitUntil([&] { return Form->GetRXState() == TRXState::stNormal && Form->IsLinkOpen(); }));
    TestDialogs().ConfirmAnswers.push_back(true); // 3.29.0 is older than 3.30.2
    Trigger("miAutomaticUpdate");
    ASSERT_TRUE(WaitForMessage(kSuccess));
    EXPECT_EQ(Sim->BootChecksum(), EmbeddedChecksum(TSyntheticFamily::Arm, 0x20));
    ExpectWindowRestored();
    EXPECT_EQ(Update().Progress().Bar()->text(), QStringLiteral("100%"));
    EXPECT_TRUE(Update().Progress().lblTimeLeft()->text().startsWith(QStringLiteral("About ")));

    TestDialogs().Messages.clear();
    const QString file = SmallContainer(true);
    UpdateFromFile(file);
    ASSERT_TRUE(WaitForMessage(kSuccess));
    TFirmware firmware(QFile::encodeName(file).toStdString(), nullptr);
    firmware.SelectImage(0x20);
    EXPECT_EQ(Sim->BootChecksum(), firmware.CodeCRC);
    EXPECT_EQ(Sim->CompletedUpdates(), 2u);
    ExpectWindowRestored();
}

TEST_F(FirmwareUpdateTest, AContainerFileIsUploadedOverTcp) {
    StartDevice(Quiet());
    const QString file = SmallContainer();
    UpdateFromFile(file);
    EXPECT_EQ(TestDialogs().LastFilters, kOpenFilters);
    EXPECT_EQ(TestDialogs().LastSelectedFilter, 1);
    ASSERT_TRUE(WaitForMessage(kSuccess));
    TFirmware firmware(QFile::encodeName(file).toStdString(), nullptr);
    firmware.SelectImage(0x10);
    EXPECT_EQ(Sim->BootChecksum(), firmware.CodeCRC);
    ASSERT_EQ(TestDialogs().Questions.size(), 1) << "one question before anything is sent";
    EXPECT_EQ(
        TestDialogs().Questions.front(),
        QStringLiteral("Update the firmware of the multiplexer?\r\rMultiplexer: version 3.29.0\rFirmware: "
                       "version 3.29.0 for AVR multiplexers, from the file ") +
            file + QStringLiteral("\rExpected duration: about 10 seconds") + kDoNotSwitchOff);
    EXPECT_EQ(TestDialogs().NoByDefault.size(), 1);
}

// How an attempt ends: with a fault message that the failure message follows
// 4 s later, or with the time-out alone (waiting for the bootloader, or for the
// restarted firmware).
enum class TEnd { Fault, SilentBootloader, SilentFirmware };

struct FaultCase {
    const char* fault;
    const char* message;
    TEnd end;
};

class FirmwareFaultTest : public FirmwareUpdateTest, public testing::WithParamInterface<FaultCase> {};

TEST_P(FirmwareFaultTest, EndsWithItsMessageARestoredWindowAndASecondAttemptSucceeds) {
    const FaultCase& c = GetParam();
    auto options = Quiet();
    options.boot.fault = *sim::ParseBootFault(c.fault);
    StartDevice(options);
    UpdateFromFile(SmallContainer());
    const QString message = QString::fromLatin1(c.message) + kWhatToDo;
    if (c.end == TEnd::SilentBootloader) {
        ASSERT_EQ(Form->GetRXState(), TRXState::stFwUpdStart);
        EXPECT_TRUE(Update().Progress().isVisible());
        EXPECT_EQ(QApplication::activeModalWidget(), &Update().Progress()) << "nothing else starts under it";
        FireTimeOut();
    } else if (c.end == TEnd::SilentFirmware) {
        ASSERT_TRUE(
            WaitUntil([&] { return Form->GetRXState() == TRXState::stFwUpdEnd && !Update().Firmware; }));
        FireTimeOut();
        ASSERT_TRUE(WaitUntil([&] { return Sim->CompletedUpdates() == 1; }))
            << "the device runs its firmware";
    } else {
        ASSERT_TRUE(WaitForMessage(message));
        EXPECT_FALSE(TestDialogs().Messages.contains(kFailed));
        FireTimeOut();
        ASSERT_TRUE(WaitForMessage(kFailed));
        EXPECT_LT(TestDialogs().Messages.indexOf(message), TestDialogs().Messages.indexOf(kFailed));
    }
    ASSERT_TRUE(WaitForMessage(message));
    EXPECT_EQ(Form->GetRXState(), TRXState::stNormal);
    ExpectWindowRestored();
    EXPECT_FALSE(Form->Comm().InLinkMode());

    if (std::string(c.fault).starts_with("drop")) {
        Click("btnConnect"); // the lost connection is closed and opened again
        EXPECT_EQ(Form->FirmwareVersion().Minor, 0u) << "no version is kept for the next device";
        TestDialogs().Messages.clear();
        Click("btnConnect");
        ASSERT_TRUE(Form->IsLinkOpen());
        // The device is still in its bootloader, which answers with its announcement.
        ASSERT_TRUE(WaitUntil([&] { return Form->StatusPanel(1) == "Bootloader, hardware ID 0010"; }));
        EXPECT_EQ(Form->GetRXState(), TRXState::stNormal);
        EXPECT_FALSE(Form->TimeOutTimer.isActive()) << "no time-out message follows";
        EXPECT_TRUE(Control<QAction>("miUpdateFirmware")->isEnabled());
        EXPECT_TRUE(Control<QAction>("miAutomaticUpdate")->isEnabled());
    }
    TestDialogs().Messages.clear();
    UpdateFromFile(SmallContainer());
    ASSERT_TRUE(WaitForMessage(kSuccess));
    EXPECT_EQ(Sim->CompletedUpdates(), c.end == TEnd::SilentFirmware ? 2u : 1u);
    ExpectWindowRestored();
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FirmwareFaultTest,
    testing::Values(
        FaultCase{"silent:ldr", "Bootloader: Initialisation failed", TEnd::SilentBootloader},
        FaultCase{"error:erase:E1", "Erase application command:\rUnknown command", TEnd::Fault},
        FaultCase{"error:encryption:E2", "Encryption command:\rUnknown decryption method", TEnd::Fault},
        FaultCase{"size:page:2", "Programm application page command:\rResponse has wrong size", TEnd::Fault},
        FaultCase{"error:crc:E0", "Calculate CRC command:\rFrame size error", TEnd::Fault},
        FaultCase{"silent:page:1", "Bootloader: Programming timeout", TEnd::Fault},
        FaultCase{"silent:restart", "The firmware update failed", TEnd::SilentFirmware},
        FaultCase{"drop:page:3", "Bootloader: Programming timeout", TEnd::Fault}),
    [](const testing::TestParamInfo<FaultCase>& info) {
        std::string name = info.param.fault;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c)))
                c = '_';
        return name;
    });

TEST_F(FirmwareUpdateTest, AWrongChecksumNamesBothValues) {
    auto options = Quiet();
    options.boot.fault = *sim::ParseBootFault("badcrc");
    StartDevice(options);
    const QString file = SmallContainer();
    UpdateFromFile(file);
    TFirmware firmware(QFile::encodeName(file).toStdString(), nullptr);
    firmware.SelectImage(0x10);
    char expected[80];
    std::snprintf(expected, sizeof expected, "Bootloader: CRC error\rFile CRC: %08X\rMult.CRC: %08X",
                  firmware.CodeCRC, firmware.CodeCRC ^ 0x00010001u);
    EXPECT_TRUE(WaitForMessage(QString::fromLatin1(expected) + kWhatToDo))
        << TestDialogs().Messages.join(QStringLiteral(" | ")).toStdString();
}

TEST_F(FirmwareUpdateTest, AMalformedAnnouncementEndsTheWaitingAttempt) {
    auto options = Quiet();
    options.boot.fault = *sim::ParseBootFault("silent:ldr");
    StartDevice(options);
    UpdateFromFile(SmallContainer());
    ASSERT_TRUE(SimReceived("$PQZXRESET"));
    Sim->SendToHost(sim::FrameSentence("$PQZXLDR,1FF"));
    ASSERT_TRUE(WaitForMessage(QStringLiteral("Number error in sentence:\r$PQZXLDR,1FF")));
    EXPECT_EQ(Form->GetRXState(), TRXState::stNormal);
    EXPECT_FALSE(Form->TimeOutTimer.isActive());
    ExpectWindowRestored();
}

TEST_F(FirmwareUpdateTest, AClosedLinkEndsTheWaitingAttempt) {
    auto options = Quiet();
    options.boot.fault = *sim::ParseBootFault("silent:ldr");
    StartDevice(options);
    UpdateFromFile(SmallContainer());
    ASSERT_EQ(Form->GetRXState(), TRXState::stFwUpdStart);
    Form->btnConnectClick(); // as after "TCP Connection lost"
    EXPECT_FALSE(Form->IsLinkOpen());
    EXPECT_EQ(Form->GetRXState(), TRXState::stNormal);
    EXPECT_FALSE(Form->TimeOutTimer.isActive());
    EXPECT_FALSE(Update().Progress().isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(Control<QGroupBox>("gbHost")->isEnabled());
    EXPECT_FALSE(Update().Firmware);
}

TEST_F(FirmwareUpdateTest, TheAboutBoxNamesTheEmbeddedFirmwaresVersion) {
    CreateForm();
    auto* label = Form->AuxViews().AboutBox.findChild<QLabel*>(QStringLiteral("lblEncVersion"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QStringLiteral("V3.29.0 (test image)"));
}

TEST_F(FirmwareUpdateTest, AnOlderImageIsUploadedOnlyAfterTheUserAgrees) {
    auto options = Quiet();
    options.identity.version = "3.30.2"; // newer than the embedded 3.29.0
    StartDevice(options);
    const std::size_t from = Sim->ReceivedCount();
    TestDialogs().ConfirmAnswers.push_back(false);
    Trigger("miAutomaticUpdate");
    ASSERT_EQ(TestDialogs().Questions.size(), 1);
    EXPECT_TRUE(TestDialogs().Questions.front().startsWith(
        QStringLiteral("The version of this firmware file is lower than the "
                       "version\rof the multiplexer. Do you really want to "
                       "proceed?\r\rMultiplexer: version 3.30.2\r")));
    EXPECT_TRUE(TestDialogs().Questions.front().endsWith(kDoNotSwitchOff));
    EXPECT_EQ(TestDialogs().QuestionCaptions.front(), QStringLiteral("KVLConfig3"));
    EXPECT_FALSE(SimReceived("$PQZXRESET", from, 300));
    EXPECT_EQ(Form->GetRXState(), TRXState::stNormal);
    EXPECT_FALSE(Update().Firmware);
}

TEST_F(FirmwareUpdateTest, TheWiFiModelIsUpdatedOnlyOverUsb) {
    auto options = Quiet();
    options.identity.caps = "A013";
    StartDevice(options);
    const std::size_t from = Sim->ReceivedCount();
    Trigger("miAutomaticUpdate");
    EXPECT_EQ(TestDialogs().Messages.back(),
              QStringLiteral("The Korvelan firmware cannot be updated via\rWiFi. "
                             "Connect via USB first before updating"));
    EXPECT_FALSE(SimReceived("$PQZXRESET", from, 300));
}

TEST_F(FirmwareUpdateTest, TheEthernetModelIsNotUpdatedOverUdp) {
    sim::SimOptions options = Quiet();
    options.identity.caps = "A012";
    StartUdpDevice(options);
    ASSERT_EQ(Form->Comm().CommMode(), TCommMode::cmUDP);
    ASSERT_TRUE(WaitUntil([&] { return Form->MuxInterfaceType() == 2; }));
    const std::size_t from = Sim->ReceivedCount();
    Trigger("miAutomaticUpdate");
    ASSERT_FALSE(TestDialogs().Messages.isEmpty());
    EXPECT_EQ(TestDialogs().Messages.back(),
              QStringLiteral("The Korvelan must be set to TCP mode\rbefore updating"));
    EXPECT_FALSE(SimReceived("$PQZXRESET", from, 300));
}

TEST_F(FirmwareUpdateTest, TheEthernetModelIsUpdatedOverTcp) {
    auto options = Quiet();
    options.identity.caps = "A012";
    options.boot.versionAfterUpdate = "3.29.0";
    StartDevice(options);
    TestDialogs().ConfirmAnswers.push_back(true);
    Trigger("miAutomaticUpdate");
    EXPECT_TRUE(SimReceived("$PQZXRESET"));
    EXPECT_TRUE(WaitForMessage(kSuccess));
}

// The faults an update or a read-out must meet safely, against the simulator:
// the message the user gets, and whether "$PQZXRESET" went out. Every case ends
// in the normal state with the window usable.
enum class TScene { TestImageToRealDevice, DamagedFile, Udp, WrongVersion, Reannounce, BadBinLine, Stall };

struct SafetyCase {
    const char* name;
    TScene scene;
    const char* message; // the message, or its beginning
    bool resetSent;
};

class FirmwareSafetyTest : public FirmwareUpdateTest, public testing::WithParamInterface<SafetyCase> {
protected:
    QString DamagedContainer() {
        const QString file = SmallContainer();
        std::fstream bytes(QFile::encodeName(file).toStdString(),
                           std::ios::in | std::ios::out | std::ios::binary);
        bytes.seekp(200);
        bytes.put('\x5A');
        return file;
    }
};

TEST_P(FirmwareSafetyTest, EndsWithItsMessageInTheNormalState) {
    const SafetyCase& c = GetParam();
    auto options = Quiet();
    if (c.scene == TScene::TestImageToRealDevice)
        options.identity.marked = false; // as a real multiplexer answers
    if (c.scene == TScene::WrongVersion)
        options.boot.versionAfterUpdate = "3.28.0";
    if (c.scene == TScene::Reannounce)
        options.boot.fault = *sim::ParseBootFault("reannounce");
    if (c.scene == TScene::Udp)
        StartUdpDevice(options);
    else
        StartDevice(options);
    const std::string hexFile = ::testing::TempDir() + "never-" + std::to_string(::getpid()) + ".hex";
    const std::vector<std::uint8_t> memory = sim::SimulatedMemory(0x100, 150);
    const std::size_t from = Sim->ReceivedCount();
    switch (c.scene) {
    case TScene::TestImageToRealDevice:
        Trigger("miAutomaticUpdate");
        break;
    case TScene::DamagedFile:
        UpdateFromFile(DamagedContainer());
        break;
    case TScene::Udp:
    case TScene::WrongVersion:
    case TScene::Reannounce:
        UpdateFromFile(SmallContainer());
        break;
    case TScene::BadBinLine:
    case TScene::Stall:
        Update().Readout.StallTimer.setInterval(500); // instead of 2 s
        TestDialogs().FileNames.push_back(QString::fromStdString(hexFile));
        Sim->SendMemoryReadout(0x100, memory, 48,
                               *sim::ParseReadoutFault(c.scene == TScene::Stall ? "stall:2" : "badline:2"));
        if (c.scene == TScene::Stall) {
            ASSERT_TRUE(WaitUntil([&] { return Form->GetRXState() == TRXState::stGetBinary; }));
            EXPECT_TRUE(Update().Progress().isVisible()) << "the read-out shows its progress";
            EXPECT_EQ(Update().Progress().Bar()->value(), 48);
        }
        break;
    }
    ASSERT_TRUE(WaitUntil([&] {
        return !TestDialogs().Messages.isEmpty() &&
               TestDialogs().Messages.back().startsWith(QString::fromLatin1(c.message));
    })) << TestDialogs().Messages.join(QStringLiteral(" | ")).toStdString();
    EXPECT_EQ(Form->GetRXState(), TRXState::stNormal);
    ExpectWindowRestored();
    EXPECT_EQ(SimReceived("$PQZXRESET", from, c.resetSent ? 15000 : 200).has_value(), c.resetSent);

    if (c.scene == TScene::BadBinLine || c.scene == TScene::Stall) {
        EXPECT_EQ(TestDialogs().FileNames.size(), 1u) << "no save dialog";
        EXPECT_FALSE(QFile::exists(QString::fromStdString(hexFile)));
    }
    if (c.scene == TScene::DamagedFile) {
        EXPECT_TRUE(TestDialogs().Questions.isEmpty()) << "refused before any question";
    }
    if (c.scene == TScene::Reannounce) {
        // The update commands work again at once; the second attempt succeeds.
        TestDialogs().Messages.clear();
        UpdateFromFile(SmallContainer());
        ASSERT_TRUE(WaitForMessage(kSuccess));
        ExpectWindowRestored();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FirmwareSafetyTest,
    testing::Values(
        SafetyCase{"TestImageToRealDevice", TScene::TestImageToRealDevice,
                   "This program carries test firmware only, made for the simulator. Choose Update Korvelan "
                   "Firmware... and a firmware file from the maker.",
                   false},
        SafetyCase{"DamagedFileBeforeReset", TScene::DamagedFile, "Firmware has wrong checksum)", false},
        SafetyCase{
            "UdpRefused", TScene::Udp,
            "The firmware cannot be updated over UDP: it does not carry the upload.\rConnect over USB (a "
            "serial port) or TCP and start the update again.",
            false},
        SafetyCase{"WrongVersionAfterRestart", TScene::WrongVersion,
                   "The multiplexer restarted with version 3.28.0 instead of 3.29.0\r\r", true},
        SafetyCase{"BootloaderReannouncing", TScene::Reannounce,
                   "The new firmware did not start: the multiplexer announced its bootloader again.\r\rThe "
                   "multiplexer stays in its bootloader",
                   true},
        SafetyCase{"BadBinLine", TScene::BadBinLine,
                   "The memory read-out was broken off: a line arrived damaged (wrong checksum). Nothing was "
                   "saved.",
                   false},
        SafetyCase{"Stall", TScene::Stall,
                   "The memory read-out stopped: no line came for 2 seconds. Nothing was saved.", false}),
    [](const testing::TestParamInfo<SafetyCase>& info) { return std::string(info.param.name); });

// A read-out report and a damaged announcement while the update waits for the
// bootloader change nothing: the announcement that follows starts the upload.
TEST_F(FirmwareUpdateTest, AReportOrADamagedAnnouncementDuringTheStartIsIgnored) {
    auto options = Quiet();
    options.boot.fault = *sim::ParseBootFault("silent:ldr");
    StartDevice(options);
    UpdateFromFile(SmallContainer());
    ASSERT_EQ(Form->GetRXState(), TRXState::stFwUpdStart)
        << TestDialogs().Questions.join(QStringLiteral(" | ")).toStdString() << " files left "
        << TestDialogs().FileNames.size() << " enabled " << Control<QAction>("miUpdateFirmware")->isEnabled();
    Sim->SendToHost(sim::FrameSentence("$PQZXMEM,R,100,30,1") + sim::FrameSentence("$PQZXLDR,10", true) +
                    sim::FrameSentence("$GPZDA,1"));
    ASSERT_TRUE(WaitUntil([&] {
        return !Form->GetNmeaData().empty() && Form->GetNmeaData().back().rfind("$GPZDA,1", 0) == 0;
    }));
    EXPECT_EQ(Form->GetRXState(), TRXState::stFwUpdStart)
        << TestDialogs().Messages.join(QStringLiteral(" | ")).toStdString();
    EXPECT_TRUE(Form->TimeOutTimer.isActive());
    Sim->SendToHost(sim::FrameSentence("$PQZXLDR,10"));
    // The session with the fault never restarts; the upload itself is what counts.
    ASSERT_TRUE(WaitUntil([&] { return Form->GetRXState() == TRXState::stFwUpdEnd && !Update().Firmware; }));
    EXPECT_TRUE(Sim->BootChecksum().has_value());
    EXPECT_TRUE(TestDialogs().Messages.isEmpty());
}

// A minimal reader of the Intel HEX records, the file's bytes by address.
std::map<std::uint32_t, std::uint8_t> HexBytes(const std::string& path) {
    std::map<std::uint32_t, std::uint8_t> bytes;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    std::uint32_t upper = 0;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.size() < 11 || line[0] != ':')
            continue;
        auto byte = [&](std::size_t i) {
            return static_cast<std::uint8_t>(std::stoul(line.substr(1 + 2 * i, 2), nullptr, 16));
        };
        const unsigned count = byte(0);
        const std::uint32_t address = byte(1) << 8 | byte(2);
        const unsigned type = byte(3);
        if (type == 4)
            upper = static_cast<std::uint32_t>(byte(4) << 8 | byte(5)) << 16;
        if (type == 0)
            for (unsigned i = 0; i < count; ++i)
                bytes[upper + address + i] = byte(4 + i);
    }
    return bytes;
}

TEST_F(FirmwareUpdateTest, AMemoryReadOutIsSavedWhereItCameFrom) {
    StartDevice(Quiet());
    const std::string path = ::testing::TempDir() + "readout-" + std::to_string(::getpid()) + ".hex";
    Files.push_back(path);
    TestDialogs().FileNames.push_back(QString::fromStdString(path));
    const std::vector<std::uint8_t> memory = sim::SimulatedMemory(0x1FFC0, 200);
    Sim->SendMemoryReadout(0x1FFC0, memory);
    ASSERT_TRUE(WaitUntil([&] { return TestDialogs().FileNames.empty(); }));
    EXPECT_EQ(TestDialogs().LastSelectedFilter, kSaveFilterHex);
    EXPECT_EQ(Form->GetRXState(), TRXState::stNormal);
    const auto saved = HexBytes(path);
    ASSERT_EQ(saved.size(), memory.size());
    for (std::size_t i = 0; i < memory.size(); ++i)
        EXPECT_EQ(saved.at(0x1FFC0 + static_cast<std::uint32_t>(i)), memory[i]) << i;
}

TEST_F(FirmwareUpdateTest, AReadOutOneByteShortOffersNoFileUntilANewOneCompletes) {
    StartDevice(Quiet());
    TestDialogs().FileNames.push_back(QString()); // the dialog, if it came, is cancelled
    const std::vector<std::uint8_t> memory = sim::SimulatedMemory(0x100, 30);
    std::string lines = sim::FrameSentence("$PQZXMEM,R,100,1F,1");
    lines += sim::FrameSentence("$PQZXBIN,1," + sim::Armour6Bit(memory.data(), memory.size()));
    Sim->SendToHost(lines);
    ASSERT_TRUE(WaitUntil([&] { return Form->GetRXState() == TRXState::stGetBinary; }));
    QTest::qWait(100);
    EXPECT_EQ(TestDialogs().FileNames.size(), 1u) << "no save dialog";
    EXPECT_EQ(Form->FirmwareUpdate().Readout.BinaryData->Size(), 30u);
    Sim->SendMemoryReadout(0x100, memory);
    ASSERT_TRUE(WaitUntil([&] { return TestDialogs().FileNames.empty(); }));
    EXPECT_EQ(Form->GetRXState(), TRXState::stNormal);
    EXPECT_FALSE(Form->FirmwareUpdate().Readout.BinaryData);
}

// A save dialog during which another read-out report is dispatched.
class TSaveDialogWithReport final : public TDialogs {
public:
    std::function<void()> During;
    QString FileName;

protected:
    void DoShowMessageBox(const QString&, const QString&, TIcon) override {}
    bool DoConfirm(const QString&, const QString&) override { return false; }
    QString DoOpenFileName(const QString&, int) override { return {}; }
    QString DoSaveFileName(const QString&, int, const QString&) override {
        if (During)
            std::exchange(During, nullptr)();
        return FileName;
    }
};

TEST_F(FirmwareUpdateTest, AReportDuringTheSaveDialogNeitherReplacesTheDataNorIsLost) {
    StartDevice(Quiet());
    const std::string path = ::testing::TempDir() + "first-" + std::to_string(::getpid()) + ".hex";
    Files.push_back(path);
    auto dialogs = std::make_unique<TSaveDialogWithReport>();
    dialogs->FileName = QString::fromStdString(path);
    dialogs->During = [&] {
        const std::string report = sim::FrameSentence("$PQZXMEM,R,5000,3C,2");
        Form->DispatchSentence(report.substr(0, report.size() - 2));
    };
    auto recording = SetDialogs(std::move(dialogs));
    const std::vector<std::uint8_t> memory = sim::SimulatedMemory(0x2000, 40);
    Sim->SendMemoryReadout(0x2000, memory);
    const bool saved = WaitUntil([&] { return Form->FirmwareUpdate().Readout.BinaryAddress == 0x5000; });
    SetDialogs(std::move(recording));
    ASSERT_TRUE(saved);
    EXPECT_EQ(Form->GetRXState(), TRXState::stGetBinary) << "the new read-out goes on";
    ASSERT_TRUE(Form->FirmwareUpdate().Readout.BinaryData);
    EXPECT_EQ(Form->FirmwareUpdate().Readout.BinaryData->Size(), 0u);
    const auto bytes = HexBytes(path);
    ASSERT_EQ(bytes.size(), memory.size());
    EXPECT_EQ(bytes.begin()->first, 0x2000u);
    EXPECT_EQ(bytes.rbegin()->second, memory.back());
}

} // namespace
} // namespace kvl::test
