#include "MainFormFixture.h"
#include "SentenceFrame.h"
#include "host/MainErrors.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace kvl;
using namespace kvl::test;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

QSettings Stored() {
    return QSettings(QStringLiteral("Orvanto"), QStringLiteral("KVLConfig3"));
}

} // namespace

TEST_F(MainFormTest, PlainLogHoldsSentAndReceivedLinesWithoutTagBlocks) {
    StartSimulator(Quiet());
    CreateForm();
    QTemporaryDir dir;
    const QString path = dir.filePath("traffic.txt");
    TestDialogs().FileNames.push_back(path);
    Form->findChild<QAction*>("miStartLog")->trigger();
    EXPECT_EQ(TestDialogs().LastSelectedFilter, kSaveFilterLog);
    EXPECT_EQ(TestDialogs().LastFilters.split(";;").at(1), "Log file (*.txt)");
    EXPECT_FALSE(Form->findChild<QAction*>("miStartLog")->isEnabled());
    EXPECT_FALSE(Form->findChild<QAction*>("miDiagLog")->isEnabled());
    EXPECT_TRUE(Form->findChild<QAction*>("miStopLog")->isEnabled());

    ConnectAndClearView();
    Control<QComboBox>("cbSentence")->setEditText("GPGLL,1");
    Click("btnSend");
    const std::string tag = sim::TagBlock("s:KV3SIM-1");
    Sim->SendToHost(tag + sim::FrameSentence("$GPGLL,2") + sim::FrameSentence("$PQZXSTAT,R,1,2,3,4,5,6"));
    ASSERT_TRUE(WaitUntil([&] { return ReadAll(path).contains("PQZXSTAT"); }));
    Form->findChild<QAction*>("miStopLog")->trigger();
    EXPECT_EQ(Form->StatusPanel(4), "Log: ---");

    const QByteArray log = ReadAll(path);
    EXPECT_TRUE(log.startsWith("$PQZXCF,A\r\n$PQZXVER\r\n$PQZXVER,3.30.2,")) << log.toStdString();
    EXPECT_TRUE(log.contains("\r\n$GPGLL,1\r\n$GPGLL,2*4E\r\n$PQZXSTAT,R,1,2,3,4,5,6*")) << log.toStdString();
    EXPECT_FALSE(log.contains("s:KV3SIM"));
    EXPECT_TRUE(Form->findChild<QAction*>("miStartLog")->isEnabled());
}

TEST_F(MainFormTest, DiagnosticLogTagsEveryLineWithItsDirection) {
    StartSimulator(Quiet());
    CreateForm();
    ConnectAndClearView();
    QTemporaryDir dir;
    const QString path = dir.filePath("diag.txt");
    TestDialogs().FileNames.push_back(path);
    Form->findChild<QAction*>("miDiagLog")->trigger();
    const std::string tag = sim::TagBlock("s:AB12-1");
    Sim->SendToHost(tag + sim::FrameSentence("$GPGLL,2"));
    ASSERT_TRUE(WaitUntil([&] { return ReadAll(path).contains("GPGLL,2"); }));
    Control<QComboBox>("cbSentence")->setEditText("$GPGLL,1");
    Click("btnSend");
    // The panel follows within a tenth of a second.
    EXPECT_TRUE(WaitUntil([&] { return Form->StatusPanel(4) == "Log: 2 lines"; }, 1000));
    Form->findChild<QAction*>("miStopLog")->trigger();
    EXPECT_EQ(ReadAll(path).toStdString(),
              "\\t:rx*44\\" + tag + "$GPGLL,2*4E\r\n" + "\\t:tx*42\\$GPGLL,1\r\n");
}

TEST_F(MainFormTest, LogThatCannotBeCreatedSaysSo) {
    CreateForm();
    TestDialogs().FileNames.push_back("/nonexistent-folder/log.txt");
    Form->findChild<QAction*>("miStartLog")->trigger();
    EXPECT_EQ(TestDialogs().Messages, QStringList{"Error Creating \"/nonexistent-folder/log.txt\""});
    EXPECT_FALSE(Form->ActiveLog());
    EXPECT_TRUE(Form->findChild<QAction*>("miStartLog")->isEnabled());
    EXPECT_FALSE(Form->findChild<QAction*>("miStopLog")->isEnabled());
}

TEST_F(MainFormTest, LogOnAFullDiskStopsWithTheSystemMessage) {
    StartSimulator(Quiet());
    CreateForm();
    TestDialogs().FileNames.push_back("/dev/full");
    Form->findChild<QAction*>("miStartLog")->trigger();
    ASSERT_TRUE(Form->ActiveLog());
    ConnectTcp(Sim->TcpPort());
    ASSERT_TRUE(WaitUntil([&] { return !Form->ActiveLog(); }));
    EXPECT_EQ(TestDialogs().Messages, QStringList{"No space left on device"});
    EXPECT_TRUE(Form->findChild<QAction*>("miStartLog")->isEnabled());
    EXPECT_FALSE(Form->findChild<QAction*>("miStopLog")->isEnabled());
    EXPECT_EQ(Form->StatusPanel(4), "Log: 1 lines"); // the count keeps its value
    // The traffic goes on: the version request still reached the multiplexer.
    EXPECT_TRUE(SimReceived("$PQZXVER"));
}

TEST_F(MainFormTest, FirstStartCreatesTheKeyWithDefaults) {
    QFile::remove(Stored().fileName());
    CreateForm();
    EXPECT_TRUE(QFileInfo::exists(Stored().fileName()));
    EXPECT_TRUE(Stored().allKeys().isEmpty());
    EXPECT_EQ(Control<QComboBox>("cbPort")->currentIndex(), -1);
    EXPECT_EQ(Control<QLineEdit>("edtMuxIP")->text(), "");
    EXPECT_EQ(Control<QLineEdit>("edtMuxPort")->text(), "10110");
    EXPECT_FALSE(Control<QPushButton>("btnConnect")->isEnabled());
    EXPECT_EQ(Form->windowTitle(), "Korvelan-3 Configuration Tool V3.17.0");
}

TEST_F(MainFormTest, StoredTcpEntryIsRestored) {
    {
        QSettings settings = Stored();
        settings.setValue("Port", 2);
        settings.setValue("IP", "192.168.1.50");
        settings.setValue("NetPort", "");
    }
    CreateForm();
    EXPECT_EQ(Control<QComboBox>("cbPort")->currentText(), "TCP");
    EXPECT_EQ(Control<QLineEdit>("edtMuxIP")->text(), "192.168.1.50");
    EXPECT_EQ(Control<QLineEdit>("edtMuxPort")->text(), "10110");
    EXPECT_TRUE(Control<QLineEdit>("edtMuxIP")->isVisibleTo(Form.get()));
    EXPECT_TRUE(Control<QPushButton>("btnConnect")->isEnabled());
}

TEST_F(MainFormTest, StoredIndexBeyondTheListSelectsNothing) {
    {
        QSettings settings = Stored();
        settings.setValue("Port", 999);
        settings.setValue("IP", "10.0.0.1");
    }
    CreateForm();
    EXPECT_EQ(Control<QComboBox>("cbPort")->currentIndex(), -1);
    EXPECT_EQ(Control<QLineEdit>("edtMuxIP")->text(), "10.0.0.1");
    EXPECT_FALSE(Control<QPushButton>("btnConnect")->isEnabled());
}

TEST_F(MainFormTest, UnreadablePortStopsReadingTheRest) {
    {
        QSettings settings = Stored();
        settings.setValue("Port", "not a number");
        settings.setValue("IP", "10.0.0.1");
    }
    CreateForm();
    EXPECT_EQ(Control<QComboBox>("cbPort")->currentIndex(), -1);
    EXPECT_EQ(Control<QLineEdit>("edtMuxIP")->text(), "");
    EXPECT_EQ(Control<QLineEdit>("edtMuxPort")->text(), "10110");
}

TEST_F(MainFormTest, ChoosingAPortStoresItAtOnce) {
    CreateForm();
    TypeInto("edtMuxIP", "10.1.2.3");
    ChoosePort(1); // "UDP"
    QSettings settings = Stored();
    EXPECT_EQ(settings.value("Port").toInt(), 1);
    EXPECT_EQ(settings.value("IP").toString(), "10.1.2.3");
    EXPECT_EQ(settings.value("NetPort").toString(), "10110");
}

TEST_F(MainFormTest, ChoosingAnotherPortWhileConnectedTakesTheDisconnectPath) {
    StartSimulator(Quiet());
    CreateForm();
    ConnectTcp(Sim->TcpPort());
    auto* filter = Control<QComboBox>("cbViewFilter");
    filter->setCurrentIndex(3);
    emit filter->activated(3);
    ChoosePort(0);
    EXPECT_EQ(Form->Comm().CommMode(), TCommMode::cmClosed);
    EXPECT_EQ(Form->GetViewFilter(), -1);
    EXPECT_FALSE(Form->ConfigTimer.isActive());
    EXPECT_FALSE(Form->TimeOutTimer.isActive());
    EXPECT_EQ(Stored().value("Port").toInt(), 0);
}

TEST_F(MainFormTest, ClosingSavesOrForgetsTheSettings) {
    CreateForm();
    ChoosePort(2);
    TypeInto("edtMuxIP", "host.example");
    Form->close();
    EXPECT_EQ(Stored().value("IP").toString(), "host.example");

    Form.reset();
    CreateForm();
    EXPECT_EQ(Control<QLineEdit>("edtMuxIP")->text(), "host.example");
    Form->RemoveFromRegistry = true;
    Form->close();
    EXPECT_TRUE(Stored().allKeys().isEmpty());
}

TEST_F(MainFormTest, ClosingDuringAWaitIsDeferredUntilTheWaitEnds) {
    auto options = Quiet();
    options.silent = {"SP"};
    StartSimulator(options);
    CreateForm();
    ConnectAndClearView(); // the read's RDY would end any wait
    bool timedOut = false;
    QTimer::singleShot(50, Form.get(), [&] { Form->close(); });
    try {
        Form->SendAndWait("$PQZXSP,C,1,1,1,1,1", TPQZXCmd::PQZXSP);
    } catch (const ETimeOut&) {
        timedOut = true;
    }
    EXPECT_TRUE(timedOut);
    // The link was still open for the whole wait; the close follows it.
    EXPECT_EQ(Form->Comm().CommMode(), TCommMode::cmTCP);
    ASSERT_TRUE(WaitUntil([&] { return Form->Comm().CommMode() == TCommMode::cmClosed; }));
    EXPECT_FALSE(Form->isVisible());
}
