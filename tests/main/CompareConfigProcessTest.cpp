// kvlconfig3 --connect ... --compare-config FILE, run as an installer runs it: a
// process without a display against the simulator on loopback.
#include "Simulator.h"
#include "main/DeviceConfigRead.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kvl::test {
namespace {

struct TRun {
    int ExitCode = -1;
    QStringList Out;
    QString Err;
};

class CompareConfigProcessTest : public testing::Test {
protected:
    void SetUp() override {
        sim::SimOptions options;
        options.tcpPort = 0;
        options.trafficRate = 5;
        options.fullTables = true;
        Sim = std::make_unique<sim::Simulator>(options);
        Sim->Start();
    }

    // The device's own file, as Save Configuration writes it after a read.
    QString SaveDeviceFile() {
        TComm link;
        link.OpenPort(TCommMode::cmTCP, "127.0.0.1:" + std::to_string(Sim->TcpPort()), 0);
        TMuxConfig device;
        ReadDeviceConfiguration(link, device);
        const QString path = Dir.filePath(QStringLiteral("boat.ini"));
        device.Save(path.toStdString(), "Korvelan-3 Configuration Tool V3.17.0", "Korvelan-3N", "3.30.2",
                    "K3N");
        return path;
    }

    TRun Run(const QString& link, const QString& file) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("QT_QPA_PLATFORM")); // the comparison needs no display
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(KVLCONFIG3_PATH),
                      {QStringLiteral("--connect"), link, QStringLiteral("--compare-config"), file});
        EXPECT_TRUE(process.waitForFinished(30000));
        TRun run{process.exitCode(), {}, QString::fromLocal8Bit(process.readAllStandardError())};
        const QString out = QString::fromLatin1(process.readAllStandardOutput());
        if (!out.isEmpty())
            run.Out = out.chopped(1).split(QLatin1Char('\n'));
        return run;
    }

    QString Device() const { return QStringLiteral("tcp:127.0.0.1:%1").arg(Sim->TcpPort()); }

    // The lines the device received from the given one on.
    std::vector<std::string> ReceivedFrom(std::size_t first) const {
        const std::vector<std::string> all = Sim->ReceivedLines();
        return {all.begin() + static_cast<std::ptrdiff_t>(std::min(first, all.size())), all.end()};
    }

    QTemporaryDir Dir;
    std::unique_ptr<sim::Simulator> Sim;
};

TEST_F(CompareConfigProcessTest, TheDevicesOwnFileDiffersInNothingAndOnlyTheReadIsSent) {
    const QString file = SaveDeviceFile();
    const std::size_t before = Sim->ReceivedCount();
    const TRun run = Run(Device(), file);
    EXPECT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    EXPECT_TRUE(run.Out.isEmpty()) << run.Out.join(QLatin1Char('\n')).toStdString();
    const std::vector<std::string> received = ReceivedFrom(before);
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].rfind("$PQZXVER*", 0), 0u);
    EXPECT_EQ(received[1].rfind("$PQZXCFQ*", 0), 0u);
}

TEST_F(CompareConfigProcessTest, ThreeChangedSettingsAndOneRoutingRowAreTheFourLinesPrinted) {
    const QString file = SaveDeviceFile();
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    QByteArray text = saved.readAll();
    saved.close();
    text.replace("Baud In2=0", "Baud In2=4")
        .replace("Talker ID1=\r", "Talker ID1=XY\r")
        .replace("Modbus Mode=0", "Modbus Mode=2")
        .replace("R03=GPVTG,04,02,23", "R03=GPVTG,04,09,23");
    ASSERT_TRUE(saved.open(QIODevice::WriteOnly | QIODevice::Truncate));
    saved.write(text);
    saved.close();

    const std::size_t before = Sim->ReceivedCount();
    const TRun run = Run(Device(), file);
    EXPECT_EQ(run.ExitCode, 1) << run.Err.toStdString();
    EXPECT_EQ(run.Out,
              (QStringList{
                  "In 2 / Speed: device \"4800\", file \"57600\"",
                  "In 1 / Talker ID: device \"\", file \"XY\"",
                  "General Options / Modbus: device \"Off\", file \"Slave\"",
                  "Routing / row 3: device \"GPVTG from 3 to 1,2,PC, Div 2\", file \"GPVTG from 3 to "
                  "1,2,PC, Div 9\"",
              }));
    EXPECT_EQ(ReceivedFrom(before).size(), 2u);
}

TEST_F(CompareConfigProcessTest, AnUnreadableFileOrASilentLinkIsAFailureWithItsReason) {
    const std::size_t before = Sim->ReceivedCount();
    TRun run = Run(Device(), Dir.filePath(QStringLiteral("missing.ini")));
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_TRUE(run.Err.startsWith(QStringLiteral("kvlconfig3: Unable to read "))) << run.Err.toStdString();
    EXPECT_TRUE(run.Out.isEmpty());
    EXPECT_TRUE(ReceivedFrom(before).empty()); // the link was never opened

    const QString file = SaveDeviceFile();
    const QString closedPort = QStringLiteral("tcp:127.0.0.1:1");
    run = Run(closedPort, file);
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_TRUE(run.Err.startsWith(QStringLiteral("kvlconfig3: "))) << run.Err.toStdString();
}

} // namespace
} // namespace kvl::test
