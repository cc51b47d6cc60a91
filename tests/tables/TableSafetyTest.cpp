// One action at a time, and the table editors as users expect: the file
// commands only against a configuration read to its end, one store at a time, a
// store that stops when the link goes, typed values that are never shown but not
// sent, edits that are not thrown away without a question.
#include "TablesFixture.h"

#include "host/MainErrors.h"
#include "tables/MobGrid.h"
#include "tables/ModbusGrid.h"
#include "tables/RouteGrid.h"
#include "tables/Tables.h"

#include <QAction>
#include <QFile>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>

using namespace kvl;
using namespace kvl::test;

namespace {

void WriteBytes(const QString& path, const std::string& bytes) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

sim::SimOptions WithTables(std::set<std::string> silent = {}) {
    sim::SimOptions options;
    options.trafficRate = 0;
    options.silent = std::move(silent);
    sim::DeviceConfig config = sim::FactoryConfig(options.uid);
    config.modbusMode = 1;
    config.options |= 1u << 9; // the AIS MOB tab
    config.routes = {{"GPRMC", 0x01, 0, 0x21, 0}, {"IIMWV", 0x02, 0, 0x20, 0}};
    config.mob = {{"211234567", 'V'}};
    options.initialConfig = config;
    return options;
}

std::size_t Count(const std::vector<std::string>& lines, const std::string& line) {
    return static_cast<std::size_t>(std::count(lines.begin(), lines.end(), line));
}

} // namespace

class TableSafetyTest : public TablesTest {
protected:
    QAction* Action(const char* name) { return Control<QAction>(name); }
    QString TabText(QWidget* grid) {
        auto* tabs = Control<QTabWidget>("pcSettings");
        for (QWidget* page = grid; page; page = page->parentWidget())
            if (tabs->indexOf(page) >= 0)
                return tabs->tabText(tabs->indexOf(page));
        return {};
    }
    QTemporaryDir Dir;
};

TEST_F(TableSafetyTest, AFileThatIsNoConfigurationSendsNothingAndChangesNothing) {
    StartSimulator(Quiet());
    CreateForm();
    ConnectAndRead();
    const QString path = Dir.filePath(QStringLiteral("update.kvl"));
    WriteBytes(path, std::string("KVL3\0\x7F\x01\x02\x03", 9));
    TestDialogs().FileNames.push_back(path);
    const std::size_t from = Sim->ReceivedCount();
    Action("miLoad")->trigger();
    EXPECT_EQ(TestDialogs().Messages,
              QStringList{path + QStringLiteral(" is not a Korvelan configuration file")});
    EXPECT_TRUE(ReceivedBodies(from).empty());
    EXPECT_EQ(Form->StatusPanel(3), QStringLiteral("Config file:"));
}

TEST_F(TableSafetyTest, AFileWithMissingKeysIsWrittenOnlyWhenTheUserSaysSo) {
    StartSimulator(Quiet());
    CreateForm();
    ConnectAndRead();
    const QString path = Dir.filePath(QStringLiteral("part.ini"));
    WriteBytes(path, "[Configuration]\r\nBaud In1=2\r\n");
    const std::uint32_t before = Form->Config().BaudOut2;
    TestDialogs().FileNames.push_back(path);
    TestDialogs().ConfirmAnswers.push_back(false);
    const std::size_t from = Sim->ReceivedCount();
    Action("miLoad")->trigger();
    ASSERT_EQ(TestDialogs().Questions.size(), 1);
    EXPECT_TRUE(TestDialogs().Questions[0].contains(QStringLiteral("\"Baud Out2\" is missing")));
    EXPECT_TRUE(ReceivedBodies(from).empty());
    EXPECT_EQ(Form->Config().BaudOut2, before);
    EXPECT_EQ(Form->StatusPanel(3), QStringLiteral("Config file:"));
}

TEST_F(TableSafetyTest, TheFileCommandsWaitForTheEndOfTheRead) {
    auto options = Quiet();
    options.silent = {"CFQ"}; // the read never ends
    StartSimulator(options);
    CreateForm();
    ConnectTcp(Sim->TcpPort());
    ASSERT_TRUE(WaitUntil([&] { return Form->GetRXState() == TRXState::stGetConfig; }));
    for (const char* name : {"miLoad", "miSave", "miSaveAs", "miCompare"})
        EXPECT_FALSE(Action(name)->isEnabled()) << name;
    EXPECT_FALSE(Form->acceptDrops());
    const QString path = Dir.filePath(QStringLiteral("half.ini"));
    TestDialogs().FileNames.push_back(path);
    Action("miSave")->trigger();
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(TestDialogs().FileNames.size(), 1u); // no dialog was shown
}

TEST_F(TableSafetyTest, ASecondStoreClickDuringTheFirstStoresWaitSendsNothing) {
    StartSimulator(WithTables({"RTE"})); // the store's waits run to their time-out
    CreateForm();
    ConnectAndRead();
    ShowPageOf(Grid<TRouteGrid>("RouteGrid"));
    bool disabledMeanwhile = false;
    QTimer::singleShot(200, Form.get(), [&] {
        disabledMeanwhile = !Control<QPushButton>("btnRouteStore")->isEnabled() &&
                            !Control<QPushButton>("btnModbusStore")->isEnabled() &&
                            !Control<QPushButton>("btnReadConfig")->isEnabled() &&
                            !Action("miSave")->isEnabled();
        Click("btnRouteStore");
        Form->TableEditors().btnRouteStoreClick(); // however it comes in
    });
    const std::size_t from = Sim->ReceivedCount();
    Click("btnRouteStore");
    EXPECT_TRUE(disabledMeanwhile);
    EXPECT_EQ(Count(ReceivedBodies(from), "$PQZXRTE,C,DELETE"), 1u);
    EXPECT_EQ(TestDialogs().Messages, QStringList{QStringLiteral("Multiplexer does not respond")});
    EXPECT_TRUE(Control<QPushButton>("btnRouteStore")->isEnabled());
}

TEST_F(TableSafetyTest, ALinkLostDuringAStoreStopsItAndSaysSo) {
    StartSimulator(WithTables({"RTE"}));
    CreateForm();
    ConnectAndRead();
    ShowPageOf(Grid<TRouteGrid>("RouteGrid"));
    QTimer::singleShot(200, Form.get(), [&] { Click("btnConnect"); });
    const std::size_t from = Sim->ReceivedCount();
    Click("btnRouteStore");
    EXPECT_EQ(ReceivedBodies(from), std::vector<std::string>{"$PQZXRTE,C,DELETE"});
    EXPECT_EQ(
        TestDialogs().Messages,
        QStringList{QStringLiteral("The link to the multiplexer is closed: the table was not stored.")});
}

TEST_F(TableSafetyTest, ALinkLostDuringAWriteAllSaysWhatWasNotWritten) {
    StartSimulator(WithTables({"SP"}));
    CreateForm();
    ConnectAndRead();
    QTimer::singleShot(200, Form.get(), [&] { Form->btnConnectClick(); });
    Form->WriteAllSettings();
    ASSERT_EQ(TestDialogs().Messages.size(), 1);
    EXPECT_TRUE(TestDialogs().Messages[0].startsWith(
        QStringLiteral("The link to the multiplexer is closed.\rNot written: the speeds, the talker IDs, ")));
    EXPECT_TRUE(TestDialogs().Messages[0].endsWith(QStringLiteral("the AIS MOB table, the data sources.")));
}

TEST_F(TableSafetyTest, AnEmptyStoresLateEndNeverReleasesTheNextWait) {
    auto options = Quiet();
    options.silent = {"SP"};
    StartSimulator(options);
    CreateForm();
    ConnectAndRead();
    ASSERT_TRUE(Form->Config().RoutingTable.empty());
    Form->TableEditors().RouteStore(); // DELETE's RDY, then the end of the store
    EXPECT_THROW(Form->SendAndWait("$PQZXSP,C,0,0,0,0,0", TPQZXCmd::PQZXSP), ETimeOut);
}

TEST_F(TableSafetyTest, ATypedValueIsSentWhenStoreIsClickedWithoutEnter) {
    StartSimulator(WithTables());
    CreateForm();
    ConnectAndRead();
    auto* mob = Grid<TMobGrid>("MobGrid");
    mob->setCurrentCell(0, 0);
    TypeIntoCell(mob, 0, 1, QStringLiteral("972000001"));
    const std::size_t from = Sim->ReceivedCount();
    Click("btnMobStore");
    EXPECT_EQ(ReceivedBodies(from), (std::vector<std::string>{"$PQZXMOB,C,DELETE", "$PQZXMOB,C,972000001"}));
}

TEST_F(TableSafetyTest, KeysAndDoubleClicksWorkTheCellsAsUsersExpect) {
    StartSimulator(WithTables());
    CreateForm();
    ConnectAndRead();
    auto* routes = Grid<TRouteGrid>("RouteGrid");
    ShowPageOf(routes);
    routes->setFocus();
    TRoute& route = *Form->Config().RoutingTable[0];
    routes->setCurrentCell(0, 2);
    QTest::keyClick(routes, Qt::Key_Space); // input 2
    EXPECT_EQ(route.Inputs, 0x03);
    // A quick double click: a press, then the double-click press; two toggles.
    const QPoint in3 = routes->visualItemRect(routes->item(0, 3)).center();
    QTest::mousePress(routes->viewport(), Qt::LeftButton, {}, in3);
    QTest::mouseRelease(routes->viewport(), Qt::LeftButton, {}, in3);
    QMouseEvent second(QEvent::MouseButtonDblClick, in3, routes->viewport()->mapToGlobal(in3), Qt::LeftButton,
                       Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(routes->viewport(), &second);
    EXPECT_EQ(route.Inputs, 0x03);
    // Escape leaves the sentence cell; F2 and typing open it again.
    routes->setCurrentCell(0, 9);
    QTest::keyClick(routes->InPlaceEditor(), Qt::Key_Escape);
    EXPECT_FALSE(routes->IsEditing());
    QTest::keyClick(routes, Qt::Key_F2);
    EXPECT_TRUE(routes->IsEditing());
    QTest::keyClick(routes->InPlaceEditor(), Qt::Key_Escape);
    QTest::keyClicks(routes, QStringLiteral("hchdg"));
    QTest::keyClick(routes->InPlaceEditor(), Qt::Key_Return);
    EXPECT_EQ(route.Address, "HCHDG");
}

TEST_F(TableSafetyTest, EditsShowOnTheTabAndAreNotThrownAwayWithoutAQuestion) {
    StartSimulator(WithTables());
    CreateForm();
    ConnectAndRead();
    auto* routes = Grid<TRouteGrid>("RouteGrid");
    ShowPageOf(routes);
    EXPECT_EQ(TabText(routes), QStringLiteral("Routing"));
    TestDialogs().ConfirmAnswers.push_back(false);
    Click("btnRouteClear");
    ASSERT_EQ(TestDialogs().Questions.size(), 1);
    EXPECT_EQ(Form->Config().RoutingTable.size(), 2u);
    EXPECT_EQ(TabText(routes), QStringLiteral("Routing"));
    TestDialogs().ConfirmAnswers.push_back(true);
    Click("btnRouteClear");
    EXPECT_TRUE(Form->Config().RoutingTable.empty());
    EXPECT_EQ(TabText(routes), QStringLiteral("Routing *"));

    const std::size_t from = Sim->ReceivedCount();
    TestDialogs().ConfirmAnswers.push_back(false);
    Click("btnReadConfig");
    EXPECT_EQ(TestDialogs().Questions.size(), 3);
    EXPECT_TRUE(TestDialogs().Questions[2].contains(QStringLiteral("Routing")));
    EXPECT_TRUE(ReceivedBodies(from).empty());

    Click("btnRouteStore");
    EXPECT_EQ(TabText(routes), QStringLiteral("Routing"));
}

TEST_F(TableSafetyTest, StoreNamesAndSelectsTheModbusRowWithoutTypeOrUnit) {
    StartSimulator(WithTables());
    CreateForm();
    ConnectAndRead();
    auto* modbus = Grid<TModbusGrid>("ModbusGrid");
    ShowPageOf(modbus);
    Click("btnModbusAdd");
    Click("btnModbusAdd");
    const std::size_t from = Sim->ReceivedCount();
    Click("btnModbusStore");
    ASSERT_EQ(TestDialogs().Messages.size(), 1);
    EXPECT_TRUE(TestDialogs().Messages[0].startsWith(QStringLiteral("Row 1: ")));
    EXPECT_EQ(modbus->currentRow(), 0);
    EXPECT_TRUE(ReceivedBodies(from).empty());
}
