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
};

class BatchProcessTest : public testing::Test {
protected:
    void StartDevice(bool fullTables) {
        sim::SimOptions options;
        options.tcpPort = 0;
        options.trafficRate = 5;
        options.fullTables = fullTables;
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
        return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardError())};
    }

    QString Link() const { return QStringLiteral("tcp:127.0.0.1:%1").arg(Sim->TcpPort()); }
    QString File(const char* name) const { return Dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir Dir;
    std::unique_ptr<sim::Simulator> Sim;
};

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
    const TRun run =
        Run({QStringLiteral("--connect"), Link(), QStringLiteral("--load-config"), File("hand.ini")});
    ASSERT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    EXPECT_EQ(Sim->Config().baud[0], 2);
    EXPECT_EQ(Sim->Config().uid, "RESTORED");
    ASSERT_EQ(Sim->Config().routes.size(), 1u);
    EXPECT_EQ(Sim->Config().routes[0].address, "GPRMC");
    EXPECT_EQ(Sim->Config().mob.size(), 1u);
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
