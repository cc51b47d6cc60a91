#include "TablesFixture.h"

#include "main/ConfigBatch.h"
#include "model/ConfigDiff.h"

#include <QFile>
#include <QTemporaryDir>

#include <sstream>

using namespace kvl;
using namespace kvl::test;

namespace {

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

class ConfigBatchTest : public TablesTest {
protected:
    // A connected window that is never shown, as the command line runs it.
    void ConnectHidden(sim::SimOptions options) {
        StartSimulator(std::move(options));
        Form = std::make_unique<TMainForm>();
        ConnectTcp(Sim->TcpPort());
        ASSERT_TRUE(WaitUntil([&] { return Form->GetRXState() == TRXState::stNormal; }));
    }

    QTemporaryDir Dir;
    std::ostringstream Err;
};

TEST_F(ConfigBatchTest, SaveConfigWritesWhatTheDeviceHolds) {
    auto options = Quiet();
    options.fullTables = true;
    ConnectHidden(options);
    const QString path = Dir.filePath(QStringLiteral("boat.ini"));
    EXPECT_EQ(TConfigBatch(*Form, Err).SaveConfig(path), TConfigBatch::kDone) << Err.str();
    TMuxConfig saved;
    EXPECT_TRUE(saved.Load(path.toStdString()).Empty());
    EXPECT_EQ(saved.RoutingTable.size(), 50u);
    EXPECT_EQ(saved.ModbusTable.size(), 30u);
    EXPECT_EQ(saved.MOBTable.size(), 8u);
    EXPECT_FALSE(CompareWithDevice(Form->Config(), saved, Form->Capabilities()).HasDifferences());
    EXPECT_FALSE(Form->isVisible());
}

TEST_F(ConfigBatchTest, AReadThatFailsLeavesTheFileUntouched) {
    ConnectHidden(Quiet());
    Sim->Stop(); // the device goes away: the next read never ends
    const QString path = Dir.filePath(QStringLiteral("boat.ini"));
    WriteBytes(path, "[Configuration]\r\nBaud In1=2\r\n");
    TConfigBatch batch(*Form, Err);
    batch.ReadTimeoutMs = 500;
    EXPECT_EQ(batch.SaveConfig(path), TConfigBatch::kFailed);
    EXPECT_FALSE(Err.str().empty());
    EXPECT_EQ(ReadBytes(path), "[Configuration]\r\nBaud In1=2\r\n");
}

TEST_F(ConfigBatchTest, LoadConfigLeavesTheDeviceHoldingTheFile) {
    ConnectHidden(Quiet());
    const QString path = Dir.filePath(QStringLiteral("boat.ini"));
    WriteBytes(path, "[CONFIGURATION]\r\nbaud in3 = 4\r\nUnique ID = SEAHORSE\r\n"
                     "[Routing]\r\nR01=GPRMC,03,00,21,0000000000000000\r\n"
                     "[ModBus]\r\nR1=1,100,H,F,1,1,C,C,ENGINE1\r\n[AIS MOB]\r\nR1=211234567\r\n");
    TConfigBatch batch(*Form, Err);
    batch.Force = true; // the keys it does not hold take their defaults
    EXPECT_EQ(batch.LoadConfig(path), TConfigBatch::kDone) << Err.str();
    EXPECT_EQ(Sim->Config().baud[2], 4);
    EXPECT_EQ(Sim->Config().uid, "SEAHORSE");
    EXPECT_EQ(Sim->Config().routes.size(), 1u);
    EXPECT_EQ(Sim->Config().modbus.size(), 1u);
    EXPECT_EQ(Sim->Config().mob.size(), 1u);
}

TEST_F(ConfigBatchTest, LoadConfigPrintsEachDifferenceTheDeviceKept) {
    ConnectHidden(Quiet());
    const QString path = Dir.filePath(QStringLiteral("boat.ini"));
    // The multiplexer takes five-character sentence addresses only.
    WriteBytes(path, "[Configuration]\r\n[Routing]\r\nR01=GPRM,03,00,21,0000000000000000\r\n");
    TConfigBatch batch(*Form, Err);
    batch.Force = true;
    EXPECT_EQ(batch.LoadConfig(path), TConfigBatch::kFailed);
    // Named as the window and --compare-config name it.
    EXPECT_TRUE(Err.str().ends_with("\nRouting / row 1: device none, file \"GPRM from 1,2 to 1,PC\"\n"))
        << Err.str();
}
