#include "TablesFixture.h"

#include "model/ConfigDiff.h"
#include "tables/MobGrid.h"
#include "tables/ModbusGrid.h"
#include "tables/RouteGrid.h"

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPushButton>

using namespace kvl;
using namespace kvl::test;

namespace {

sim::SimOptions SmallTables() {
    sim::SimOptions options;
    options.trafficRate = 0;
    sim::DeviceConfig config = sim::FactoryConfig(options.uid);
    config.options |= 1u << 9; // AIS MOB alarm on: the MOB page is shown
    config.modbusMode = 1;     // Modbus master: the Modbus page is shown
    config.routes = {{"GPRMC", 0x03, 0, 0x21, 0}, {"IIMWV", 0x02, 7, 0x20, 0}};
    config.modbus = {{1, 100, 'H', 'F', true, 1, "C", "C", "ENGINE1", 0}};
    config.mob = {{"211234567", 'A'}, {"972000001", 'V'}};
    options.initialConfig = config;
    return options;
}

} // namespace

TEST_F(TablesTest, ReadingFillsTheThreeGrids) {
    auto options = Quiet();
    options.fullTables = true;
    StartSimulator(options);
    CreateForm();
    ConnectAndRead();
    auto* routes = Grid<TRouteGrid>("RouteGrid");
    auto* modbus = Grid<TModbusGrid>("ModbusGrid");
    auto* mob = Grid<TMobGrid>("MobGrid");
    ASSERT_TRUE(WaitUntil(
        [&] { return routes->rowCount() == 50 && modbus->rowCount() == 30 && mob->rowCount() == 8; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(routes->item(0, 9)->text(), "GPRMC");
    EXPECT_EQ(routes->item(1, 10)->text(), "1");
    EXPECT_EQ(routes->item(49, 9)->text(), "SDGLL");
    EXPECT_EQ(modbus->item(0, 8)->text(), "SENS0");
    EXPECT_EQ(modbus->item(0, 10)->text(), "OK");
    EXPECT_EQ(modbus->item(4, 10)->text(), "COM");
    EXPECT_EQ(mob->item(2, 1)->text(), "972000002");
    EXPECT_EQ(mob->item(2, 2)->background().color(), QColor(255, 0, 0));
    EXPECT_EQ(mob->item(1, 2)->background().color(), QColor(Qt::white));
}

TEST_F(TablesTest, AnEditedRouteIsStoredWithTheExactSentences) {
    StartSimulator(SmallTables());
    CreateForm();
    ConnectAndRead();
    auto* routes = Grid<TRouteGrid>("RouteGrid");
    EditCell(routes, 1, 9, QStringLiteral("hcHDG"));
    EditCell(routes, 1, 10, QStringLiteral("12"));
    EXPECT_EQ(Form->Config().RoutingTable[1]->Address, "HCHDG");
    EXPECT_EQ(Form->Config().RoutingTable[1]->Divisor, 12);

    const std::size_t from = Sim->ReceivedCount();
    QElapsedTimer clock;
    clock.start();
    Control<QPushButton>("btnRouteStore")->click();
    EXPECT_GE(clock.elapsed(), 10); // two entries, 5 ms apart
    EXPECT_TRUE(TestDialogs().Messages.isEmpty()) << TestDialogs().Messages.join('|').toStdString();
    EXPECT_EQ(ReceivedBodies(from),
              (std::vector<std::string>{"$PQZXRTE,C,DELETE", "$PQZXRTE,C,GPRMC,03,0,21,0000000000000000",
                                        "$PQZXRTE,C,HCHDG,02,12,20,0000000000000000"}));
    ASSERT_EQ(Sim->Config().routes.size(), 2u);
    EXPECT_EQ(Sim->Config().routes[1].address, "HCHDG");
    EXPECT_EQ(Sim->Config().routes[1].divisor, 12);
}

TEST_F(TablesTest, TextThatCannotBeSentIsRefusedAtCommit) {
    StartSimulator(SmallTables());
    CreateForm();
    ConnectAndRead();
    EditCell(Grid<TRouteGrid>("RouteGrid"), 0, 9, QStringLiteral("GP,RM"));
    EXPECT_EQ(Form->Config().RoutingTable[0]->Address, "GPRMC");
    ASSERT_EQ(TestDialogs().Messages.size(), 1);
    EditCell(Grid<TModbusGrid>("ModbusGrid"), 0, 8, QStringLiteral("OIL*TEMP"));
    EXPECT_EQ(Form->Config().ModbusTable[0]->XdrID, "ENGINE1");
    EXPECT_EQ(TestDialogs().Messages.size(), 2);
    // A blank cuts the ID, as the configuration file reads it back.
    EditCell(Grid<TModbusGrid>("ModbusGrid"), 0, 8, QStringLiteral("OIL TEMP"));
    EXPECT_EQ(Form->Config().ModbusTable[0]->XdrID, "OIL");
    EXPECT_EQ(TestDialogs().Messages.size(), 2);
}

TEST_F(TablesTest, TextLeftForAnotherCellIsCommitted) {
    StartSimulator(SmallTables());
    CreateForm();
    ConnectAndRead();
    auto* mob = Grid<TMobGrid>("MobGrid");
    mob->setCurrentCell(0, 0);
    TypeIntoCell(mob, 0, 1, QStringLiteral("972000009"));
    mob->setCurrentCell(1, 1);
    EXPECT_EQ(Form->Config().MOBTable[0]->MMSI, "972000009"); // never shown but not in the model
}

TEST_F(TablesTest, AMobStoreSendsTheDeleteThenEveryEntryAndWaitsForNothing) {
    StartSimulator(SmallTables());
    CreateForm();
    ConnectAndRead();
    EditCell(Grid<TMobGrid>("MobGrid"), 1, 1, QStringLiteral("972000009"));
    const std::size_t from = Sim->ReceivedCount();
    QElapsedTimer clock;
    clock.start();
    Control<QPushButton>("btnMobStore")->click();
    EXPECT_GE(clock.elapsed(), 110); // 100 ms after the DELETE, 5 ms after each entry
    ASSERT_TRUE(SimReceived("$PQZXMOB,C,972000009", from));
    EXPECT_EQ(ReceivedBodies(from), (std::vector<std::string>{"$PQZXMOB,C,DELETE", "$PQZXMOB,C,211234567",
                                                              "$PQZXMOB,C,972000009"}));
    EXPECT_TRUE(TestDialogs().Messages.isEmpty());
}

TEST_F(TablesTest, AModbusStoreMarksEveryStateUnknown) {
    StartSimulator(SmallTables());
    CreateForm();
    ConnectAndRead();
    auto* modbus = Grid<TModbusGrid>("ModbusGrid");
    ASSERT_EQ(modbus->item(0, 10)->text(), "OK");
    const std::size_t from = Sim->ReceivedCount();
    Control<QPushButton>("btnModbusStore")->click();
    EXPECT_EQ(ReceivedBodies(from),
              (std::vector<std::string>{"$PQZXMB,C,DELETE", "$PQZXMB,C,X,1,100,H,F,R,1,C,C,ENGINE1"}));
    QCoreApplication::processEvents();
    EXPECT_EQ(modbus->item(0, 10)->text(), "?");
    EXPECT_EQ(modbus->item(0, 10)->background().color(), QColor(240, 240, 240));
}

TEST_F(TablesTest, AFreshModbusEntryIsNotStoredWithoutTypeAndUnit) {
    StartSimulator(SmallTables());
    CreateForm();
    ConnectAndRead();
    Control<QPushButton>("btnModbusAdd")->click();
    const std::size_t from = Sim->ReceivedCount();
    Control<QPushButton>("btnModbusStore")->click();
    EXPECT_TRUE(ReceivedBodies(from).empty());
    ASSERT_EQ(TestDialogs().Messages.size(), 1);
    EXPECT_EQ(TestDialogs().Messages[0],
              "Row 2: The Modbus entry for slave 0, register 0 has no transducer type or unit");
}

TEST_F(TablesTest, DeletingRowsKeepsTheCurrentRowInsideTheTable) {
    StartSimulator(SmallTables());
    CreateForm();
    ConnectAndRead();
    auto* routes = Grid<TRouteGrid>("RouteGrid");
    auto* del = Control<QPushButton>("btnRouteDel");
    routes->setCurrentCell(1, 0);
    EXPECT_TRUE(del->isEnabled());
    del->click();
    EXPECT_EQ(routes->rowCount(), 1);
    EXPECT_EQ(routes->currentRow(), 0);
    routes->setCurrentCell(0, 3);
    QTest::keyClick(routes, Qt::Key_Delete); // not the number column: the row stays
    EXPECT_EQ(routes->rowCount(), 1);
    routes->setCurrentCell(0, 0);
    QTest::keyClick(routes, Qt::Key_Delete);
    EXPECT_EQ(routes->rowCount(), 0);
    EXPECT_FALSE(del->isEnabled());
    EXPECT_TRUE(Form->Config().RoutingTable.empty());
}
