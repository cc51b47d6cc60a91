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
const QString kFailed = QStringLiteral("The firmware update failed");

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
        const fwtest::Bytes bytes = fwtest::FormatV2({record});
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

    TFirmwareUpdate& Update() { return Form->FirmwareUpdate(); }

    void Trigger(const char* action) {
        auto* entry = Form->findChild<QAction*>(QString::fromLatin1(action));
        ASSERT_NE(entry, nullptr) << action;
        entry->trigger();
    }

    // Starts an update from a container file through the menu.
    void UpdateFromFile(const QString& file) {
        TestDialogs().FileNames.push_back(file);
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
    EXPECT_EQ(TestDialogs().Questions.front(),
              QStringLiteral("KVLConfig3 has detected incompatible firmware in\r"
                             "your Korvelan.\r\rWould you like to perform an "
                             "automatic update?"));
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
    options.boot.hardwareId = 0x20;
    options.boot.versionAfterUpdate = "3.30.2";
    Sim = std::make_unique<sim::Simulator>(options);
    Sim->Start();
    CreateForm();
    Form->AddSerialPortEntry(QStringLiteral("Simulated"), QString::fromStdString(options.ptyLink));
    ChoosePort(Control<QComboBox>("cbPort")->count() - 1);
    Click("btnConnect");
    ASSERT_TRUE(WaitUntil([&] { return Form->GetRXState() == TRXState::stNormal && Form->IsLinkOpen(); }));
    TestDialogs().ConfirmAnswers.push_back(true); // 3.29.0 is older than 3.30.2
    Trigger("miAutomaticUpdate");
    ASSERT_TRUE(WaitForMessage(kSuccess));
    EXPECT_EQ(Sim->BootChecksum(), EmbeddedChecksum(TSyntheticFamily::Arm, 0x20));
    ExpectWindowRestored();

    TestDialogs().Messages.clear();
    TestDialogs().ConfirmAnswers.push_back(true); // 3.29.4 is older than 3.30.2 too
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
    EXPECT_TRUE(TestDialogs().Questions.isEmpty()) << "a newer file needs no question";
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
        ASSERT_TRUE(WaitForMessage(QString::fromLatin1(c.message)));
        EXPECT_FALSE(TestDialogs().Messages.contains(kFailed));
        FireTimeOut();
        ASSERT_TRUE(WaitForMessage(kFailed));
        EXPECT_LT(TestDialogs().Messages.indexOf(QString::fromLatin1(c.message)),
                  TestDialogs().Messages.indexOf(kFailed));
    }
    ASSERT_TRUE(WaitForMessage(QString::fromLatin1(c.message)));
    EXPECT_EQ(Form->GetRXState(), TRXState::stNormal);
    ExpectWindowRestored();
    EXPECT_FALSE(Form->Comm().InLinkMode());

    if (std::string(c.fault).starts_with("drop")) {
        Click("btnConnect"); // the lost connection is closed and opened again
        Click("btnConnect");
        ASSERT_TRUE(Form->IsLinkOpen());
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
        FaultCase{"drop:page:3", "Bootloader: Programming timeout", TEnd::Fault},
        FaultCase{"silent:restart", "The firmware update failed", TEnd::SilentFirmware}),
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
    EXPECT_TRUE(WaitForMessage(QString::fromLatin1(expected)))
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
    EXPECT_EQ(label->text(), QStringLiteral("V3.29.0"));
}

TEST_F(FirmwareUpdateTest, AnOlderImageIsUploadedOnlyAfterTheUserAgrees) {
    auto options = Quiet();
    options.identity.version = "3.30.2"; // newer than the embedded 3.29.0
    StartDevice(options);
    const std::size_t from = Sim->ReceivedCount();
    TestDialogs().ConfirmAnswers.push_back(false);
    Trigger("miAutomaticUpdate");
    ASSERT_EQ(TestDialogs().Questions.size(), 1);
    EXPECT_EQ(TestDialogs().Questions.front(),
              QStringLiteral("The version of this firmware file is lower than the "
                             "version\rof the multiplexer. Do you really want to "
                             "proceed?"));
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
    options.transport = sim::TransportKind::Udp;
    options.udpPort = 0;
    Sim = std::make_unique<sim::Simulator>(options);
    Sim->Start();
    CreateForm();
    ChoosePort(1); // "UDP"
    TypeInto("edtMuxIP", QStringLiteral("127.0.0.2"));
    TypeInto("edtMuxPort", QString::number(Sim->UdpPort()));
    Click("btnConnect");
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
