#include "TablesFixture.h"

#include "model/ConfigDiff.h"
#include "tables/RouteGrid.h"

#include <QAction>
#include <QFile>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>

using namespace kvl;
using namespace kvl::test;

namespace {

// Written by hand on Windows: CR LF, mixed-case keys, blanks around "=", a
// section of another program and comments.
const char* const kHandMade =
    "; boat Aurora, installed 2026-05-01\r\n"
    "[Chart Plotter]\r\nBrightness = 7\r\n\r\n"
    "[CONFIGURATION]\r\n"
    "baud in1 = 1\r\nBAUD OUT2= 2\r\nPriority Timeout =4\r\n; talker of input 1\r\n"
    "talker id1 = GP\r\nUnique ID = AURORA\r\n"
    "route inputs to out1 = 85\r\nRoute Inputs to Out2=1F\r\nmode in2 = 1\r\n"
    "Modbus Mode = 1\r\nMobus Slave Address = 17\r\nMobus XDR Interval = 50\r\nMobus Poll Interval = 20\r\n"
    "Options = 00000208\r\nConversions = 00000003\r\nNMEA 2000 Options = 0000020F\r\n"
    "Device Function Host = 1\r\nDevice Instance In1 = 3\r\n"
    "[routing]\r\nR01 = GPRMC , 03 , 00 , 21 , 0000000000000000\r\nR02=IIMWV,02,07,20,0000000000000000\r\n"
    "[modbus]\r\nR1 = 1,100,H,F,1,1,C,C,ENGINE1\r\n"
    "[data sources]\r\nR1=1,0000000000000000\r\nR2=N,00000000000000AB\r\nR3=\r\n"
    "[ais mob]\r\nR1=211234567\r\nR2=972000001\r\n";

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

class ConfigFileMenuTest : public TablesTest {
protected:
    QAction* Action(const char* name) { return Control<QAction>(name); }

    // Reads the configuration again and waits for its end.
    void ReadBack() {
        const std::size_t from = Sim->ReceivedCount();
        Click("btnReadConfig");
        ASSERT_TRUE(SimReceived("$PQZXCFQ", from));
        ASSERT_TRUE(WaitUntil([&] { return Form->GetRXState() == TRXState::stNormal; }));
    }

    QTemporaryDir Dir;
};

TEST_F(ConfigFileMenuTest, LoadingAHandMadeFileWritesEverythingToTheMultiplexer) {
    StartSimulator(Quiet());
    CreateForm();
    ConnectAndRead();
    const QString path = Dir.filePath(QStringLiteral("aurora.ini"));
    WriteBytes(path, kHandMade);
    TestDialogs().FileNames.push_back(path);
    TestDialogs().ConfirmAnswers.push_back(true); // the keys it does not hold: write it all the same
    const std::size_t from = Sim->ReceivedCount();
    Action("miLoad")->trigger();
    ASSERT_TRUE(SimReceived("$PQZXDS,C,2", from));
    EXPECT_TRUE(TestDialogs().Messages.isEmpty()) << TestDialogs().Messages.join('|').toStdString();
    ASSERT_EQ(TestDialogs().Questions.size(), 1);
    EXPECT_TRUE(TestDialogs().Questions[0].contains(QStringLiteral("\"Baud In2\" is missing")));
    EXPECT_EQ(Form->StatusPanel(3), QStringLiteral("Config file: ") + path);

    const auto sent = ReceivedBodies(from);
    const std::vector<std::string> expected = {"$PQZXCF,C,3,4",
                                               "$PQZXSP,C,1,0,0,0,2",
                                               "$PQZXID,C,GP,,,,",
                                               "$PQZXUI,C,AURORA",
                                               "$PQZXDR,C,85,0,1F,0",
                                               "$PQZXIN,C,0,1,0,0",
                                               "$PQZXPR,C,1,1,1,1,1",
                                               "$PQZXOP,C,00000208",
                                               "$PQZXCNV,C,00000003",
                                               "$PQZXMB,C,M,1",
                                               "$PQZXMB,C,S,17",
                                               "$PQZXMB,C,R,50,20",
                                               "$PQZXNO,C,0000020F",
                                               "$PQZXNF,C,1,1,1,1,1,1",
                                               "$PQZXND,C,0,3,0,0,0,0",
                                               "$PQZXRTE,C,DELETE",
                                               "$PQZXRTE,C,GPRMC,03,0,21,0000000000000000",
                                               "$PQZXRTE,C,IIMWV,02,7,20,0000000000000000",
                                               "$PQZXMB,C,DELETE",
                                               "$PQZXMB,C,X,1,100,H,F,R,1,C,C,ENGINE1",
                                               "$PQZXMOB,C,DELETE",
                                               "$PQZXMOB,C,211234567",
                                               "$PQZXMOB,C,972000001",
                                               "$PQZXDS,C,0,1",
                                               "$PQZXDS,C,1,N,00000000000000AB",
                                               "$PQZXDS,C,2"};
    EXPECT_EQ(sent, expected);

    TMuxConfig file;
    file.Load(path.toStdString());
    ReadBack();
    EXPECT_FALSE(CompareWithDevice(Form->Config(), file, Form->Capabilities()).HasDifferences());
}

TEST_F(ConfigFileMenuTest, EmptyTablesDoNotStopTheWriteAll) {
    StartSimulator(Quiet());
    CreateForm();
    ConnectAndRead();
    const QString path = Dir.filePath(QStringLiteral("plain.ini"));
    WriteBytes(path, "[Configuration]\r\nBaud In1=2\r\n");
    TestDialogs().FileNames.push_back(path);
    TestDialogs().ConfirmAnswers.push_back(true);
    const std::size_t from = Sim->ReceivedCount();
    Action("miLoad")->trigger();
    ASSERT_TRUE(SimReceived("$PQZXDS,C,2", from));
    EXPECT_TRUE(TestDialogs().Messages.isEmpty()) << TestDialogs().Messages.join('|').toStdString();
    EXPECT_EQ(Sim->Config().baud[0], 2);
}

TEST_F(ConfigFileMenuTest, SavingKeepsTheDevicesWholeConfiguration) {
    auto options = Quiet();
    options.fullTables = true;
    StartSimulator(options);
    CreateForm();
    ConnectAndRead();
    const QString path = Dir.filePath(QStringLiteral("backup.ini"));
    WriteBytes(path, "[Other]\r\nkept=yes\r\n");
    TestDialogs().FileNames.push_back(path);
    Action("miSave")->trigger();
    EXPECT_EQ(Form->StatusPanel(3), QStringLiteral("Config file: ") + path);
    const std::string text = ReadBytes(path);
    EXPECT_TRUE(text.starts_with("[Other]\r\nkept=yes\r\n")) << text;
    EXPECT_NE(text.find("KVL-Config=Korvelan-3 Configuration Tool V"), std::string::npos);
    TMuxConfig saved;
    EXPECT_TRUE(saved.Load(path.toStdString()).Empty());
    EXPECT_EQ(saved.RoutingTable.size(), 50u);
    EXPECT_FALSE(CompareWithDevice(Form->Config(), saved, Form->Capabilities()).HasDifferences());

    // A second save goes to the same file without asking.
    Action("miSave")->trigger();
    EXPECT_TRUE(TestDialogs().FileNames.empty());
}

TEST_F(ConfigFileMenuTest, AFileThatCannotBeReadIsReportedAndNothingIsSent) {
    StartSimulator(Quiet());
    CreateForm();
    ConnectAndRead();
    TestDialogs().FileNames.push_back(Dir.filePath(QStringLiteral("missing.ini")));
    const std::size_t from = Sim->ReceivedCount();
    Action("miLoad")->trigger();
    ASSERT_EQ(TestDialogs().Messages.size(), 1);
    EXPECT_TRUE(TestDialogs().Messages[0].startsWith(QStringLiteral("Unable to read ")));
    EXPECT_TRUE(ReceivedBodies(from).empty());
}

TEST_F(ConfigFileMenuTest, DroppedTextFilesSkipLinesOver250Characters) {
    StartSimulator(Quiet());
    CreateForm();
    ConnectAndRead();
    const QString path = Dir.filePath(QStringLiteral("commands.txt"));
    WriteBytes(path, "$PQZXUI,C," + std::string(245, 'A') + "\r\n$PQZXUI,C,DROPPED\r\n");
    const std::size_t from = Sim->ReceivedCount();
    Form->HandleDroppedFiles({path, Dir.filePath(QStringLiteral("CONFIG.INI"))});
    ASSERT_TRUE(SimReceived("$PQZXUI,C,DROPPED", from));
    EXPECT_EQ(ReceivedBodies(from), std::vector<std::string>{"$PQZXUI,C,DROPPED"});
}

TEST_F(ConfigFileMenuTest, RowsBeyondTheLimitsAreLeftOutToldAndNeverSent) {
    StartSimulator(Quiet());
    CreateForm();
    ConnectAndRead();
    std::string text = "[Configuration]\r\n[Routing]\r\n";
    for (int i = 1; i <= 60; ++i)
        text += "R" + std::to_string(i) + "=GP" + std::to_string(100 + i) + ",01,00,20,0000000000000000\r\n";
    text += "[AIS MOB]\r\nR1=2112345X7\r\n";
    const QString path = Dir.filePath(QStringLiteral("big.ini"));
    WriteBytes(path, text);
    TestDialogs().FileNames.push_back(path);
    TestDialogs().ConfirmAnswers.push_back(true);
    const std::size_t from = Sim->ReceivedCount();
    Action("miLoad")->trigger();
    ASSERT_TRUE(SimReceived("$PQZXDS,C,2", from));
    ASSERT_EQ(TestDialogs().Questions.size(), 1);
    EXPECT_TRUE(TestDialogs().Questions[0].contains(QStringLiteral("10 more rows were left out")));
    EXPECT_TRUE(TestDialogs().Questions[0].contains(QStringLiteral("[AIS MOB] R1 left out")));
    int routes = 0;
    for (const std::string& line : ReceivedBodies(from))
        routes += line.starts_with("$PQZXRTE,C,GP") ? 1 : 0;
    EXPECT_EQ(routes, 50);
    EXPECT_EQ(Sim->Config().routes.size(), 50u);
    EXPECT_TRUE(Sim->Config().mob.empty());
}

TEST_F(ConfigFileMenuTest, ADroppedConfigurationIsLoadedAndWrittenWithTheDataSourcesItHolds) {
    StartSimulator(Quiet());
    CreateForm();
    ConnectAndRead();
    Form->Config().DataSrcTable[2] = {'3', 0};
    const QString path = Dir.filePath(QStringLiteral("dropped.ini"));
    WriteBytes(path, "[Configuration]\r\nBaud In2=4\r\n[AIS MOB]\r\nR1=211234567\r\n");
    TestDialogs().ConfirmAnswers.push_back(true);
    const std::size_t from = Sim->ReceivedCount();
    Form->HandleDroppedFiles({path});
    ASSERT_TRUE(SimReceived("$PQZXDS,C,2", from));
    EXPECT_EQ(Form->StatusPanel(3), QStringLiteral("Config file: ") + path);
    EXPECT_EQ(Sim->Config().baud[1], 4);
    ASSERT_EQ(Sim->Config().mob.size(), 1u);
    const auto sent = ReceivedBodies(from);
    EXPECT_EQ(sent.back(), "$PQZXDS,C,2"); // the third source no longer "3"
}

TEST_F(ConfigFileMenuTest, SaveAsOffersTheCurrentFileAndSavesUnderTheNewName) {
    StartSimulator(Quiet());
    CreateForm();
    ConnectAndRead();
    const QString first = Dir.filePath(QStringLiteral("first.ini"));
    TestDialogs().FileNames.push_back(first);
    Action("miSave")->trigger();
    const QString second = Dir.filePath(QStringLiteral("second"));
    TestDialogs().FileNames.push_back(second);
    Action("miSaveAs")->trigger();
    EXPECT_EQ(TestDialogs().LastFilters, kSaveFilters);
    EXPECT_TRUE(QFile::exists(second + QStringLiteral(".ini"))); // the dialogs' default extension
    EXPECT_EQ(Form->StatusPanel(3), QStringLiteral("Config file: ") + second + QStringLiteral(".ini"));
}
