#include "main/CommandLine.h"
#include "MainFormFixture.h"

#include <QDir>
#include <QProcess>
#include <QTabWidget>

#include <unistd.h>

using namespace kvl;
using namespace kvl::test;

namespace {

using TKind = TConnectTarget::TKind;

TCommandLine Parse(QStringList arguments) {
    arguments.prepend(QStringLiteral("kvlconfig3"));
    return ParseCommandLine(arguments);
}

struct TGoodCase {
    QStringList Arguments;
    TConnectTarget Expected;
};

struct TBadCase {
    QStringList Arguments;
    QString ErrorPart; // the message names what is wrong
};

} // namespace

TEST(CommandLineTest, ConnectValuesAreTakenApart) {
    const TGoodCase cases[] = {
        {{"--connect", "tcp:127.0.0.1:10110"}, {TKind::Tcp, "127.0.0.1", "10110", {}}},
        {{"--connect=udp:192.168.1.50:2000"}, {TKind::Udp, "192.168.1.50", "2000", {}}},
        {{"--connect", "udp-all:0.0.0.0:10110"}, {TKind::UdpAll, "0.0.0.0", "10110", {}}},
        {{"--connect", "tcp:mux.local:65535"}, {TKind::Tcp, "mux.local", "65535", {}}},
        {{"--connect", "serial:/dev/ttyUSB0"}, {TKind::Serial, {}, {}, "/dev/ttyUSB0"}},
        {{"--connect", "serial:/dev/serial/by-id/usb-Orvanto:x"},
         {TKind::Serial, {}, {}, "/dev/serial/by-id/usb-Orvanto:x"}},
        // Qt's own options pass to the toolkit.
        {{"-platform", "offscreen", "--connect", "tcp:h:1"}, {TKind::Tcp, "h", "1", {}}},
    };
    for (const TGoodCase& c : cases) {
        SCOPED_TRACE(c.Arguments.join(' ').toStdString());
        const TCommandLine parsed = Parse(c.Arguments);
        ASSERT_EQ(parsed.Action, TCommandLine::TAction::Run) << parsed.Error.toStdString();
        ASSERT_TRUE(parsed.Options.Connect.has_value());
        EXPECT_EQ(*parsed.Options.Connect, c.Expected);
    }
}

TEST(CommandLineTest, BadValuesExitWithCodeTwoAndSayWhy) {
    const TBadCase cases[] = {
        {{"--connect", "bogus"}, "expected tcp:HOST:PORT"},
        {{"--connect", "ftp:host:21"}, "expected tcp:HOST:PORT"},
        {{"--connect", "tcp:127.0.0.1"}, "a host and a port are needed"},
        {{"--connect", "tcp::10110"}, "a host and a port are needed"},
        {{"--connect", "udp:host:"}, "a host and a port are needed"},
        {{"--connect", "tcp:host:0"}, "from 1 to 65535"},
        {{"--connect", "tcp:host:65536"}, "from 1 to 65535"},
        {{"--connect", "udp-all:host:10x"}, "from 1 to 65535"},
        {{"--connect", "serial:"}, "path is missing"},
        {{"--connect"}, "Missing value after '--connect'"},
        {{"--connect", "tcp:a:1", "--connect", "tcp:b:2"}, "once"},
        {{"--bogus"}, "Unknown option 'bogus'"},
        {{"extra"}, "unexpected argument 'extra'"},
        {{"--discovery-address", "localhost"}, "ADDRESS[:PORT] expected"},
        {{"--discovery-address", "127.255.255.255:0"}, "ADDRESS[:PORT] expected"},
        {{"--compare-config", "boat.ini"}, "--compare-config needs --connect"},
        {{"--connect", "tcp:a:1", "--compare-config", ""}, "file name is missing"},
        {{"--connect", "tcp:a:1", "--compare-config", "a.ini", "--save-config", "b.ini"},
         "cannot be given with"},
        {{"--connect", "tcp:a:1", "--compare-config", "a.ini", "--compare-config", "b.ini"}, "once"},
    };
    for (const TBadCase& c : cases) {
        SCOPED_TRACE(c.Arguments.join(' ').toStdString());
        const TCommandLine parsed = Parse(c.Arguments);
        EXPECT_EQ(parsed.Action, TCommandLine::TAction::Exit);
        EXPECT_EQ(parsed.ExitCode, 2);
        EXPECT_TRUE(parsed.Error.contains(c.ErrorPart)) << parsed.Error.toStdString();
        EXPECT_TRUE(parsed.Output.isEmpty());
    }
}

TEST(CommandLineTest, DiscoveryAddressWithAndWithoutPort) {
    EXPECT_EQ(Parse({"--discovery-address", "127.255.255.255"}).Options.DiscoveryAddress,
              (TXPortEndpoint{"127.255.255.255", 30718}));
    EXPECT_EQ(Parse({"--discovery-address=127.255.255.255:40001"}).Options.DiscoveryAddress,
              (TXPortEndpoint{"127.255.255.255", 40001}));
    EXPECT_FALSE(Parse({}).Options.DiscoveryAddress.has_value());
}

TEST(CommandLineTest, CompareConfigTakesItsFileWithConnect) {
    const TCommandLine parsed = Parse({"--connect", "tcp:127.0.0.1:10110", "--compare-config", "boat.ini"});
    EXPECT_EQ(parsed.Action, TCommandLine::TAction::Run);
    EXPECT_EQ(parsed.Options.CompareConfig, QStringLiteral("boat.ini"));
    EXPECT_TRUE(parsed.Options.SaveConfig.isEmpty() && parsed.Options.LoadConfig.isEmpty());
}

TEST(CommandLineTest, NoOptionsRunAsBefore) {
    const TCommandLine parsed = Parse({});
    EXPECT_EQ(parsed.Action, TCommandLine::TAction::Run);
    EXPECT_FALSE(parsed.Options.Connect.has_value());
}

// The program itself: answers before any window exists, so no display is needed.
TEST(CommandLineTest, ProgramAnswersVersionHelpAndBadUsage) {
    auto run = [](const QStringList& arguments, int& exitCode, QString& out, QString& err) {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(KVLCONFIG3_PATH), arguments);
        ASSERT_TRUE(program.waitForFinished(10000));
        exitCode = program.exitCode();
        out = QString::fromLocal8Bit(program.readAllStandardOutput());
        err = QString::fromLocal8Bit(program.readAllStandardError());
    };
    int code = -1;
    QString out;
    QString err;
    run({"--version"}, code, out, err);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(out, "kvlconfig3 3.17.0\n");
    run({"--help"}, code, out, err);
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(out.startsWith("Usage: kvlconfig3 [options]")) << out.toStdString();
    EXPECT_TRUE(out.contains("--connect <link>"));
    run({"--connect", "bogus"}, code, out, err);
    EXPECT_EQ(code, 2);
    EXPECT_TRUE(out.isEmpty());
    EXPECT_TRUE(err.startsWith("kvlconfig3: --connect bogus: expected tcp:HOST:PORT")) << err.toStdString();
}

// Started with --connect the program talks to the multiplexer with no click.
TEST_F(MainFormTest, ProgramStartedWithConnectAsksTheMultiplexerAtOnce) {
    StartSimulator(Quiet());
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(KVLCONFIG3_PATH),
                  {"--connect", QStringLiteral("tcp:127.0.0.1:%1").arg(Sim->TcpPort())});
    const auto received = SimReceived("$PQZXCFQ");
    program.kill();
    program.waitForFinished(5000);
    ASSERT_TRUE(received.has_value());
    const std::vector<std::string> lines = Sim->ReceivedLines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "$PQZXCF,A*6B");
    EXPECT_EQ(lines[1], "$PQZXVER*42");
}

TEST_F(MainFormTest, ConnectToShowsTheLinkAndReadsTheConfiguration) {
    StartSimulator(Quiet());
    CreateForm();
    TConnectTarget target{TKind::Tcp, QStringLiteral("127.0.0.1"), QString::number(Sim->TcpPort()), {}};
    Form->ConnectTo(target);
    EXPECT_EQ(Control<QComboBox>("cbPort")->currentText(), "TCP");
    EXPECT_EQ(Control<QLineEdit>("edtMuxIP")->text(), "127.0.0.1");
    EXPECT_EQ(Control<QLineEdit>("edtMuxPort")->text(), QString::number(Sim->TcpPort()));
    EXPECT_EQ(Form->Comm().CommMode(), TCommMode::cmTCP);
    EXPECT_EQ(Control<QPushButton>("btnConnect")->text(), "Disconnect");
    // The tabs fill: the read ends and the controls come alive.
    ASSERT_TRUE(
        WaitUntil([&] { return Form->GetRXState() == TRXState::stNormal && Form->MuxInterfaceType() >= 0; }));
    EXPECT_TRUE(Control<QComboBox>("cbBaudIn1")->isEnabled());
    EXPECT_GE(Control<QComboBox>("cbBaudIn1")->currentIndex(), 0);
    EXPECT_TRUE(TestDialogs().Messages.isEmpty());
}

TEST_F(MainFormTest, ConnectToASerialPathAddsItsEntry) {
    sim::SimOptions options = Quiet();
    options.transport = sim::TransportKind::Pty;
    options.ptyLink = QDir::tempPath().toStdString() + "/kvl-cmdline-pty-" + std::to_string(::getpid());
    Sim = std::make_unique<sim::Simulator>(options);
    Sim->Start();
    CreateForm();
    auto* port = Control<QComboBox>("cbPort");
    const int entries = port->count();
    const QString path = QString::fromStdString(options.ptyLink);
    Form->ConnectTo({TKind::Serial, {}, {}, path});
    ASSERT_EQ(port->count(), entries + 1);
    EXPECT_EQ(port->currentIndex(), entries - 1); // before "Simulated Korvelan-3", the last entry
    EXPECT_EQ(port->currentText(), path);
    EXPECT_FALSE(Control<QLineEdit>("edtMuxIP")->isVisible());
    EXPECT_EQ(Form->Comm().CommMode(), TCommMode::cmSerial);
    ASSERT_TRUE(SimReceived("$PQZXVER"));
    // Named again (after a disconnect), the same entry is chosen, not a second one.
    Click("btnConnect");
    Form->ConnectTo({TKind::Serial, {}, {}, path});
    EXPECT_EQ(port->count(), entries + 1);
    EXPECT_EQ(Form->Comm().CommMode(), TCommMode::cmSerial);
}
