#include "TablesFixture.h"

#include "tables/GroupHeader.h"
#include "tables/ModbusGrid.h"
#include "tables/RouteGrid.h"

#include <QComboBox>
#include <QHeaderView>
#include <QMouseEvent>

using namespace kvl;
using namespace kvl::test;

namespace {

sim::SimOptions OneOfEach() {
    sim::SimOptions options;
    options.trafficRate = 0;
    sim::DeviceConfig config = sim::FactoryConfig(options.uid);
    config.modbusMode = 1;
    config.routes = {{"GPRMC", 0x81, 0, 0x21, 0xC0FFEE}};
    config.modbus = {{1, 100, 'H', 'U', false, 1, "C", "C", "ENGINE1", 0}};
    options.initialConfig = config;
    return options;
}

// A double-click as the window system delivers it, without the clicks before it.
void DoubleClick(TBaseGrid* grid, QPoint at) {
    QMouseEvent event(QEvent::MouseButtonDblClick, at, grid->viewport()->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(grid->viewport(), &event);
}

void ClickCell(TBaseGrid* grid, int row, int col) {
    const QRect cell = grid->visualItemRect(grid->item(row, col));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

} // namespace

TEST_F(TablesTest, ClickingACheckCellTogglesItsBitAndUntickingNClearsTheDevice) {
    StartSimulator(OneOfEach());
    CreateForm();
    ConnectAndRead();
    auto* routes = Grid<TRouteGrid>("RouteGrid");
    ShowPageOf(routes);
    TRoute& route = *Form->Config().RoutingTable[0];
    route.SA = 17;
    ClickCell(routes, 0, 2); // input 2
    EXPECT_EQ(route.Inputs, 0x83);
    EXPECT_EQ(routes->item(0, 2)->checkState(), Qt::Checked);
    ClickCell(routes, 0, 14); // the host link
    EXPECT_EQ(route.Route, 0x01);
    ClickCell(routes, 0, 7); // N off: the device goes with it
    EXPECT_EQ(route.Inputs, 0x03);
    EXPECT_EQ(route.Name, TName());
    EXPECT_EQ(route.SA, 255);
    ClickCell(routes, 0, 7);
    EXPECT_EQ(route.Inputs, 0x83);
    EXPECT_EQ(route.Name, TName()); // ticking it again brings nothing back
}

TEST_F(TablesTest, TheTypeListsSetTheLettersAndReversalNeedsTwoRegisters) {
    StartSimulator(OneOfEach());
    CreateForm();
    ConnectAndRead();
    auto* modbus = Grid<TModbusGrid>("ModbusGrid");
    ShowPageOf(modbus);
    TModbus& entry = *Form->Config().ModbusTable[0];
    ClickCell(modbus, 0, 5); // "R" of a one-register type: no box, no change
    EXPECT_EQ(entry.Rev, 0);
    modbus->setCurrentCell(0, 4);
    auto* dataType = Control<QComboBox>("cbDataType");
    EXPECT_TRUE(dataType->isVisible());
    EXPECT_EQ(dataType->currentIndex(), 1); // U
    emit dataType->activated(3);
    EXPECT_EQ(entry.DType, 'F');
    EXPECT_FALSE(dataType->isVisible());
    ClickCell(modbus, 0, 5);
    EXPECT_EQ(entry.Rev, 1);
    modbus->setCurrentCell(0, 3);
    auto* regType = Control<QComboBox>("cbRegType");
    emit regType->activated(1);
    EXPECT_EQ(entry.RType, 'I');
    modbus->setCurrentCell(0, 7);
    QTest::keyClick(modbus->InPlaceEditor(), Qt::Key_Delete); // clears the transducer type
    EXPECT_EQ(entry.XdrType, 0);
}

TEST_F(TablesTest, TheRouteCaptionsCarryTheirGroupsAndTheColumnsTheirWidths) {
    StartSimulator(OneOfEach());
    CreateForm();
    ConnectAndRead();
    auto* routes = Grid<TRouteGrid>("RouteGrid");
    auto* header = qobject_cast<TGroupHeader*>(routes->horizontalHeader());
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->GroupCaption(3), "Inputs");
    EXPECT_EQ(header->GroupCaption(8), "NMEA 2000 Sources");
    EXPECT_EQ(header->GroupCaption(9), "");
    EXPECT_EQ(header->GroupCaption(15), "Outputs");
    EXPECT_EQ(header->height(), 32);
    // NMEA 2000 present: the N and Device columns are shown.
    const int widths[16] = {17, 16, 16, 16, 16, 16, 16, 16, 120, 55, 21, 16, 16, 16, 16, 16};
    for (int col = 0; col < 16; ++col)
        EXPECT_EQ(routes->columnWidth(col), widths[col]) << col;
    EXPECT_EQ(routes->verticalHeader()->defaultSectionSize(), 16);
}

TEST_F(TablesTest, TheDevicePickerWritesOnlyToAnEntryThatIsStillThere) {
    StartSimulator(OneOfEach());
    CreateForm();
    ConnectAndRead();
    auto* routes = Grid<TRouteGrid>("RouteGrid");
    ShowPageOf(routes);
    const QPoint device = routes->visualItemRect(routes->item(0, 8)).center();
    routes->ChooseDevice = [](TName) { return TRouteGrid::TChosenDevice{0xABCDEF, 42}; };
    routes->setCurrentCell(0, 8);
    DoubleClick(routes, device);
    TRoute& route = *Form->Config().RoutingTable[0];
    EXPECT_EQ(route.Name, TName(0xABCDEF));
    EXPECT_EQ(route.SA, 42);

    // The link closes while the list is open: the tables are gone afterwards.
    routes->ChooseDevice = [&](TName) {
        Form->Config().RouteClear();
        return TRouteGrid::TChosenDevice{0x123, 7};
    };
    routes->setCurrentCell(0, 8);
    DoubleClick(routes, device);
    EXPECT_TRUE(Form->Config().RoutingTable.empty());
}
