// kvlconfig3 --connect ... --save-config / --load-config, run as an installer runs
// it: a process without a display, against the simulator on loopback.
#include "Simulator.h"
#include "model/ConfigDiff.h"
#include "model/MuxConfig.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>

using namespace kvl;

namespace {

QString ProgramPath() {
    return QString::fromStdString(
        (std::filesystem::path(KVL3SIM_PATH).parent_path().parent_path() / "kvlconfig3").string());
}

struct TRun {
    int ExitCode = -1;
    QString Err;
    QString Out;
};

class BatchProcessTest : public testing::Test {
protected:
    void StartDevice(bool fullTables, bool quirkyReports = false) {
        sim::SimOptions options;
        options.tcpPort = 0;
        options.trafficRate = 5;
        options.fullTables = fullTables;
        options.quirkyReports = quirkyReports;
        Sim = std::make_unique<sim::Simulator>(options);
        Sim->Start();
    }

    TRun Run(const QStringList& arguments) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), Dir.path());
        process.setProcessEnvironment(environment);
        process.start(ProgramPath(), arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardError()),
                QString::fromLocal8Bit(process.readAllStandardOutput())};
    }

    QString Link() const { return QStringLiteral("tcp:127.0.0.1:%1").arg(Sim->TcpPort()); }
    QString File(const char* name) const { return Dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir Dir;
    std::unique_ptr<sim::Simulator> Sim;
};

// What the program itself printed, without the toolkit's warnings about the environment.
QStringList ToolLines(const QString& err) {
    QStringList lines;
    for (const QString& line : err.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        if (!line.startsWith(QStringLiteral("QStandardPaths")))
            lines.append(line);
    return lines;
}

std::string ReadBytes(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll().toStdString();
}

void WriteBytes(const QString& path, const std::string& bytes) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

} // namespace

TEST_F(BatchProcessTest, SaveConfigWritesTheDevicesWholeConfiguration) {
    StartDevice(true);
    const TRun run =
        Run({QStringLiteral("--connect"), Link(), QStringLiteral("--save-config"), File("boat.ini")});
    ASSERT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    TMuxConfig saved;
    EXPECT_TRUE(saved.Load(File("boat.ini").toStdString()).Empty());
    EXPECT_EQ(saved.RoutingTable.size(), 50u);
    EXPECT_EQ(saved.ModbusTable.size(), 30u);
    EXPECT_EQ(saved.MOBTable.size(), 8u);
    EXPECT_EQ(saved.UID, Sim->Config().uid);
}

TEST_F(BatchProcessTest, LoadConfigLeavesTheDeviceHoldingAHandMadeFile) {
    StartDevice(false);
    WriteBytes(File("hand.ini"),
               "; restore\r\n[Other]\r\nx = 1\r\n[configuration]\r\n BAUD IN1 = 2 \r\n"
               "unique id=RESTORED\r\n[routing]\r\nR01 = GPRMC,03,00,21,0000000000000000\r\n"
               "[ais mob]\r\nR1=211234567\r\n");
    // The keys it does not hold are listed and, without --force, nothing is written.
    const TRun refused =
        Run({QStringLiteral("--connect"), Link(), QStringLiteral("--load-config"), File("hand.ini")});
    EXPECT_EQ(refused.ExitCode, 1);
    EXPECT_TRUE(refused.Err.contains(QStringLiteral("\"Baud Out2\" is missing")))
        << refused.Err.toStdString();
    for (const std::string& line : Sim->ReceivedLines())
        EXPECT_TRUE(line.find(",C,") == std::string::npos || line.starts_with("$PQZXCF,A")) << line;
    EXPECT_EQ(Sim->Config().baud[0], 0);

    const TRun run = Run({QStringLiteral("--connect"), Link(), QStringLiteral("--load-config"),
                          File("hand.ini"), QStringLiteral("--force")});
    ASSERT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    EXPECT_EQ(Sim->Config().baud[0], 2);
    EXPECT_EQ(Sim->Config().uid, "RESTORED");
    ASSERT_EQ(Sim->Config().routes.size(), 1u);
    EXPECT_EQ(Sim->Config().routes[0].address, "GPRMC");
    EXPECT_EQ(Sim->Config().mob.size(), 1u);
}

TEST_F(BatchProcessTest, TheToolsOwnBackupOfAQuirkyDeviceRestoresWithoutADifference) {
    StartDevice(false, true); // "-" for an unset source, no slave address, "ENGINE 1"
    const TRun save =
        Run({QStringLiteral("--connect"), Link(), QStringLiteral("--save-config"), File("quirky.ini")});
    ASSERT_EQ(save.ExitCode, 0) << save.Err.toStdString();
    const TRun load =
        Run({QStringLiteral("--connect"), Link(), QStringLiteral("--load-config"), File("quirky.ini")});
    EXPECT_EQ(load.ExitCode, 0) << load.Err.toStdString();
    EXPECT_EQ(ToolLines(load.Err), QStringList()); // no note, no difference
    const TRun compare =
        Run({QStringLiteral("--connect"), Link(), QStringLiteral("--compare-config"), File("quirky.ini")});
    EXPECT_EQ(compare.ExitCode, 0) << compare.Err.toStdString();
    EXPECT_EQ(compare.Out, QString());
    ASSERT_EQ(Sim->Config().modbus.size(), 1u);
    EXPECT_EQ(Sim->Config().modbus[0].xdrId, "ENGINE"); // cut at its blank, never dropped
}

TEST_F(BatchProcessTest, AFailureExitsWithOneAndLeavesTheFileUntouched) {
    StartDevice(false);
    const std::uint16_t port = Sim->TcpPort();
    Sim->Stop(); // nobody listens any more
    WriteBytes(File("boat.ini"), "kept");
    const TRun run = Run({QStringLiteral("--connect"), QStringLiteral("tcp:127.0.0.1:%1").arg(port),
                          QStringLiteral("--save-config"), File("boat.ini")});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_FALSE(run.Err.isEmpty());
    EXPECT_EQ(ReadBytes(File("boat.ini")), "kept");
}

TEST_F(BatchProcessTest, BatchOptionsNeedAConnection) {
    const TRun run = Run({QStringLiteral("--save-config"), File("boat.ini")});
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_TRUE(run.Err.contains(QStringLiteral("need --connect")));
}
