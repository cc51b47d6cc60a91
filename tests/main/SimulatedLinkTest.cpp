// The multiplexer simulated inside the program: the last entry of the port list,
// every model the capability word tells apart, the model remembered, the window
// marked "(simulated)", and --connect sim:MODEL for the batch commands.
#include "MainFormFixture.h"
#include "SimModels.h"
#include "main/CommandLine.h"
#include "main/SimModelDialog.h"

#include <QAction>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>

namespace kvl::test {
namespace {

class SimulatedLinkTest : public MainFormTest {
protected:
    int SimEntry() { return Control<QComboBox>("cbPort")->count() - 1; }

    bool TabShown(const char* name) {
        auto* tabs = Control<QTabWidget>("pcSettings");
        return tabs->isTabVisible(tabs->indexOf(Control<QWidget>(name)));
    }
};

TEST_F(SimulatedLinkTest, EveryModelConnectsAndReadsItsConfiguration) {
    CreateForm();
    std::vector<std::string> offered; // what the choice preselected each time
    std::string choice;
    Form->SetSimModelChooser([&](const std::string& current) -> std::optional<std::string> {
        offered.push_back(current);
        return choice;
    });
    ASSERT_EQ(Control<QComboBox>("cbPort")->itemText(SimEntry()), "Simulated Korvelan-3");
    for (const sim::SimModel& model : sim::SimModels()) {
        SCOPED_TRACE(model.code);
        choice = model.code;
        ChoosePort(SimEntry());
        Click("btnConnect");
        ASSERT_TRUE(Form->IsSimulated());
        ASSERT_TRUE(WaitUntil([&] { return Form->ControlsAlive(); }));
        EXPECT_EQ(Form->StatusPanel(0),
                  QString::fromStdString("Device: " + model.identity.device + " (simulated)"));
        EXPECT_TRUE(Form->windowTitle().endsWith(" (simulated)")) << Form->windowTitle().toStdString();
        EXPECT_EQ(Form->Capabilities(), model.identity.CapsWord());
        EXPECT_EQ(Form->MuxInterfaceType(), model.identity.CapsWord() & 7);
        EXPECT_EQ(TabShown("tabNMEA2000"), model.identity.HasN2K());
        EXPECT_EQ(Form->Config().ModbusMode, model.modbusAndMob ? 1 : 0);
        EXPECT_EQ(Form->Config().MOBTable.size(), model.modbusAndMob ? 1u : 0u);
        EXPECT_EQ(
            QSettings(QStringLiteral("Orvanto"), QStringLiteral("KVLConfig3")).value("SimModel").toString(),
            QString::fromStdString(model.code));
        Click("btnConnect"); // disconnect
        EXPECT_FALSE(Form->IsLinkOpen());
        EXPECT_FALSE(Form->windowTitle().contains("simulated"));
        EXPECT_EQ(Form->StatusPanel(0), "Device: ");
    }
    // The choice preselects the model chosen before.
    ASSERT_EQ(offered.size(), sim::SimModels().size());
    EXPECT_EQ(offered[0], "3N");
    for (std::size_t i = 1; i < offered.size(); ++i)
        EXPECT_EQ(offered[i], sim::SimModels()[i - 1].code);
}

// The program's test images go to the simulator inside it, which is known by its
// link and keeps its model's own name.
TEST_F(SimulatedLinkTest, TheTestImageUpdatesTheSimulatedDevice) {
    CreateForm();
    Form->SetSimModelChooser([](const std::string&) { return std::optional<std::string>("3"); });
    ChoosePort(SimEntry());
    Click("btnConnect");
    ASSERT_TRUE(WaitUntil([&] { return Form->ControlsAlive(); }));
    EXPECT_EQ(Form->StatusPanel(0), QStringLiteral("Device: Korvelan-3 (simulated)"));
    TestDialogs().ConfirmAnswers.push_back(true); // the test image is older than the model's firmware
    Form->findChild<QAction*>(QStringLiteral("miAutomaticUpdate"))->trigger();
    EXPECT_TRUE(WaitUntil(
        [&] { return TestDialogs().Messages.contains(QStringLiteral("The firmware update was successful")); },
        15000))
        << TestDialogs().Messages.join(QLatin1Char('|')).toStdString();
}

TEST_F(SimulatedLinkTest, SimulatedEntryStaysChosenWhileSerialPortsChange) {
    CreateForm();
    std::vector<TSerialPortEntry> present;
    Form->SetPortEnumerator([&] { return present; });
    ChoosePort(SimEntry());
    present = {{"USB Serial Port (ttyUSB0)", "/dev/ttyUSB0"}};
    Form->PortListTimerTimer();
    EXPECT_EQ(Control<QComboBox>("cbPort")->currentIndex(), SimEntry());
    EXPECT_EQ(Control<QComboBox>("cbPort")->currentText(), "Simulated Korvelan-3");
}

TEST_F(SimulatedLinkTest, CancelledChoiceOpensNothing) {
    CreateForm();
    Form->SetSimModelChooser([](const std::string&) { return std::optional<std::string>(); });
    ChoosePort(SimEntry());
    Click("btnConnect");
    EXPECT_FALSE(Form->IsLinkOpen());
    EXPECT_TRUE(TestDialogs().Messages.isEmpty());
}

TEST_F(SimulatedLinkTest, SerialEntryAddedByHandStaysBeforeTheSimulatedOne) {
    CreateForm();
    Form->AddSerialPortEntry("Bench adapter", "/dev/ttyBENCH0");
    auto* port = Control<QComboBox>("cbPort");
    EXPECT_EQ(port->itemText(SimEntry()), "Simulated Korvelan-3");
    EXPECT_EQ(port->itemText(SimEntry() - 1), "Bench adapter");
    EXPECT_EQ(Form->Comm().Ports().back(), "/dev/ttyBENCH0");
}

TEST(SimModelDialog, ListsEveryModelWithTheLastChoicePreselected) {
    TSimModelDialog dialog("3em");
    auto* list = dialog.findChild<QListWidget*>("lbSimModels");
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), static_cast<int>(sim::SimModels().size()));
    EXPECT_EQ(list->item(1)->text(), "Korvelan-3N (NMEA 2000, USB)");
    EXPECT_EQ(list->item(6)->text(), "Korvelan-3E (NMEA 2000, Ethernet) with Modbus and AIS MOB alarm");
    EXPECT_EQ(dialog.SelectedModel(), "3EM");
    EXPECT_EQ(TSimModelDialog("unknown").SelectedModel(), "3");
}

TEST(SimulatedConnectTarget, ModelsAreNamedOnTheCommandLine) {
    const TCommandLine good = ParseCommandLine({"kvlconfig3", "--connect", "sim:3wim"});
    ASSERT_EQ(good.Action, TCommandLine::TAction::Run) << good.Error.toStdString();
    EXPECT_EQ(*good.Options.Connect, (TConnectTarget{TConnectTarget::TKind::Sim, {}, {}, "3WiM"}));
    const TCommandLine bad = ParseCommandLine({"kvlconfig3", "--connect", "sim:4X"});
    EXPECT_EQ(bad.ExitCode, kExitBadUsage);
    EXPECT_TRUE(bad.Error.contains("the simulated model is one of 3, 3N, 3E, 3Wi, 3M, 3NM, 3EM, 3WiM"))
        << bad.Error.toStdString();
    const TCommandLine help = ParseCommandLine({"kvlconfig3", "--help"});
    EXPECT_TRUE(help.Output.contains("sim:MODEL")) << help.Output.toStdString();
}

// Runs the program under strace, which records every socket made and every file
// opened; exit code of the program.
int RunTraced(const QStringList& arguments, const QString& trace, QString* out = nullptr) {
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // The leak checker of a sanitizer build cannot run under a tracer.
    const QString asan = environment.value(QStringLiteral("ASAN_OPTIONS"));
    environment.insert(QStringLiteral("ASAN_OPTIONS"), asan.isEmpty()
                                                           ? QStringLiteral("detect_leaks=0")
                                                           : asan + QStringLiteral(":detect_leaks=0"));
    program.setProcessEnvironment(environment);
    QStringList traced{
        "-f", "-qq", "-o", trace, "-e", "trace=socket,open,openat", QStringLiteral(KVLCONFIG3_PATH)};
    program.start(QStandardPaths::findExecutable("strace"), traced + arguments);
    if (!program.waitForFinished(60000))
        return -1;
    if (out != nullptr)
        *out = QString::fromLocal8Bit(program.readAllStandardOutput() + program.readAllStandardError());
    return program.exitCode();
}

TEST(SimulatedConnectProgram, SaveConfigWritesAFileWithNoNetworkOrSerialPortTouched) {
    if (QStandardPaths::findExecutable("strace").isEmpty())
        GTEST_SKIP() << "strace is not installed (scripts/install-deps installs it)";
    QTemporaryDir dir;
    const QString file = dir.filePath("boat.ini");
    const QString trace = dir.filePath("trace.txt");
    QString output;
    ASSERT_EQ(RunTraced({"--connect", "sim:3N", "--save-config", file}, trace, &output), 0)
        << output.toStdString();
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().contains("Korvelan-3N"));

    QFile traced(trace);
    ASSERT_TRUE(traced.open(QIODevice::ReadOnly));
    const QString calls = QString::fromLocal8Bit(traced.readAll());
    ASSERT_TRUE(calls.contains("boat.ini")); // the trace saw the program's files
    EXPECT_FALSE(calls.contains("AF_INET")) << "a network socket was made";
    EXPECT_FALSE(calls.contains("/dev/tty")) << "a serial port was opened";
    EXPECT_FALSE(calls.contains("/dev/pts")) << "a terminal was opened";

    // The same model, started afresh, holds what was saved.
    EXPECT_EQ(RunTraced({"--connect", "sim:3N", "--compare-config", file}, trace, &output), 0)
        << output.toStdString();
}

} // namespace
} // namespace kvl::test
