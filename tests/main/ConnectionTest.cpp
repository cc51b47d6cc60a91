#include "MainFormFixture.h"

#include <QDir>
#include <QLabel>

#include <unistd.h>

using namespace kvl;
using namespace kvl::test;

TEST_F(MainFormTest, ConnectOverTcpAnnouncesThenAsksForTheVersion) {
    StartSimulator(Quiet());
    CreateForm();
    ConnectTcp(Sim->TcpPort());

    EXPECT_EQ(Form->Comm().CommMode(), TCommMode::cmTCP);
    EXPECT_EQ(Control<QPushButton>("btnConnect")->text(), "Disconnect");
    ASSERT_TRUE(SimReceived("$PQZXVER"));
    const auto lines = Sim->ReceivedLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "$PQZXCF,A*6B");
    EXPECT_EQ(lines[1], "$PQZXVER*42");
    EXPECT_TRUE(Form->ConfigTimer.isActive());
    EXPECT_EQ(Form->ConfigTimer.interval(), 4000);
    EXPECT_TRUE(TestDialogs().Messages.isEmpty()) << TestDialogs().Messages.join("|").toStdString();
}

TEST_F(MainFormTest, ConfigTimerRepeatsTheAnnouncement) {
    StartSimulator(Quiet());
    CreateForm();
    ConnectTcp(Sim->TcpPort());
    ASSERT_TRUE(SimReceived("$PQZXVER"));
    const std::size_t after = Sim->ReceivedCount();
    EXPECT_EQ(SimReceived("$PQZXCF,A", after, 8000), std::optional<std::string>("$PQZXCF,A*6B"));
}

TEST_F(MainFormTest, SilentMultiplexerTimesOutTheVersionRequest) {
    auto options = Quiet();
    options.silent = {"VER"};
    StartSimulator(options);
    CreateForm();
    ConnectTcp(Sim->TcpPort());
    EXPECT_EQ(Form->GetRXState(), TRXState::stGetVersion);
    ASSERT_TRUE(WaitUntil([&] { return !TestDialogs().Messages.isEmpty(); }));
    EXPECT_EQ(TestDialogs().Messages, QStringList{"Multiplexer does not respond"});
    EXPECT_EQ(Form->GetRXState(), TRXState::stNormal);
    EXPECT_FALSE(Form->TimeOutTimer.isActive());
    EXPECT_EQ(Form->Comm().CommMode(), TCommMode::cmTCP); // the link stays open
}

TEST_F(MainFormTest, PeerThatClosesIsNoticedAtTheNextPeriodicWrite) {
    StartSimulator(Quiet());
    CreateForm();
    ConnectTcp(Sim->TcpPort());
    ASSERT_TRUE(SimReceived("$PQZXVER"));
    Form->ConfigTimer.setInterval(100); // the 4000 ms rhythm, quickened for the test
    Sim->Stop();
    ASSERT_TRUE(WaitUntil([&] { return TestDialogs().Messages.contains("TCP Connection lost"); }));
    EXPECT_EQ(Form->Comm().CommMode(), TCommMode::cmClosed);
    EXPECT_EQ(Control<QPushButton>("btnConnect")->text(), "Connect");
    EXPECT_FALSE(Form->ConfigTimer.isActive());
}

TEST_F(MainFormTest, RefusedConnectionShowsTheSocketMessageAndStartsNoTimer) {
    StartSimulator(Quiet());
    const std::uint16_t port = Sim->TcpPort();
    Sim->Stop(); // nothing listens there any more
    CreateForm();
    ConnectTcp(port);
    EXPECT_EQ(Form->Comm().CommMode(), TCommMode::cmClosed);
    EXPECT_EQ(TestDialogs().Messages, QStringList{"Connection refused"});
    EXPECT_EQ(Control<QPushButton>("btnConnect")->text(), "Connect");
    EXPECT_FALSE(Form->ConfigTimer.isActive());
    EXPECT_FALSE(Form->TimeOutTimer.isActive());
}

TEST_F(MainFormTest, DisconnectClosesTheLinkAndStopsTheTimers) {
    StartSimulator(Quiet());
    CreateForm();
    ConnectTcp(Sim->TcpPort());
    Click("btnConnect");
    EXPECT_EQ(Form->Comm().CommMode(), TCommMode::cmClosed);
    EXPECT_EQ(Control<QPushButton>("btnConnect")->text(), "Connect");
    EXPECT_FALSE(Form->ConfigTimer.isActive());
    EXPECT_FALSE(Form->TimeOutTimer.isActive());
    EXPECT_TRUE(Control<QLineEdit>("edtMuxIP")->isEnabled());
    EXPECT_FALSE(Control<QPushButton>("btnReadConfig")->isEnabled());
}

TEST_F(MainFormTest, SerialLinkOverThePseudoTerminal) {
    sim::SimOptions options = Quiet();
    options.transport = sim::TransportKind::Pty;
    options.ptyLink = QDir::tempPath().toStdString() + "/kvl-test-pty-" + std::to_string(::getpid());
    Sim = std::make_unique<sim::Simulator>(options);
    Sim->Start();
    CreateForm();
    Form->AddSerialPortEntry(QStringLiteral("Simulated Korvelan (pty)"),
                             QString::fromStdString(options.ptyLink));
    ChoosePort(LastSerialEntry());
    EXPECT_FALSE(Control<QLineEdit>("edtMuxIP")->isVisible());
    Click("btnConnect");
    EXPECT_EQ(Form->Comm().CommMode(), TCommMode::cmSerial);
    ASSERT_TRUE(SimReceived("$PQZXVER"));
    EXPECT_EQ(Sim->ReceivedLines().front(), "$PQZXCF,A*6B");
}

TEST_F(MainFormTest, SerialPortThatCannotOpenNamesItsFriendlyName) {
    CreateForm();
    Form->AddSerialPortEntry(QStringLiteral("USB Serial Port (ttyNONE)"),
                             QStringLiteral("/dev/kvl-no-such-port"));
    ChoosePort(LastSerialEntry());
    Click("btnConnect");
    EXPECT_EQ(
        TestDialogs().Messages,
        QStringList{
            "Unable to open USB Serial Port (ttyNONE).\rThe port may be opened by another application."});
    EXPECT_FALSE(Form->ConfigTimer.isActive());
}

TEST_F(MainFormTest, ConfigurationReadCompletesUnderFullTraffic) {
    sim::SimOptions options;
    options.trafficRate = 560; // what a 460800-baud link carries
    StartSimulator(options);
    CreateForm();
    ConnectTcp(Sim->TcpPort());
    ASSERT_TRUE(WaitUntil([&] { return Form->GetRXState() == TRXState::stNormal; }));
    EXPECT_TRUE(TestDialogs().Messages.isEmpty()) << TestDialogs().Messages.join("|").toStdString();
    EXPECT_TRUE(Form->findChild<QComboBox*>("cbBaudIn2")->isEnabled());
    ASSERT_TRUE(WaitUntil([&] { return Form->GetNmeaData().size() == TMainForm::kScrollLines; }));
    // An edit still gets its answer through the traffic.
    auto* speed = Form->findChild<QComboBox*>("cbBaudIn2");
    speed->setCurrentIndex(3);
    emit speed->activated(3);
    EXPECT_TRUE(TestDialogs().Messages.isEmpty()) << TestDialogs().Messages.join("|").toStdString();
    EXPECT_EQ(Sim->Config().baud[1], 3);
    EXPECT_EQ(Form->Comm().DroppedLines(), 0u);
}
