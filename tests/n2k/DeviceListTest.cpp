// The NMEA 2000 devices through the main window, against the simulated
// multiplexer with several devices on its bus.
#include "N2kBus.h"
#include "SentenceFrame.h"
#include "SimFields.h"
#include "main/MainFormFixture.h"
#include "n2k/N2KDevices.h"
#include "n2k/N2KGrid.h"
#include "tables/RouteGrid.h"
#include "views/AuxViews.h"

#include <QAccessible>
#include <QLabel>
#include <QMouseEvent>
#include <QTabWidget>
#include <QTimer>

#include <algorithm>

namespace kvl::test {

namespace {

using sim::N2kDevice;

constexpr const char* kConverterMessage = "Raymarine SeaTalk-STNG Converter found.\rInput 1 is set from "
                                          "SeaTalk-STNG to\rSeaTalk to avoid a data-loop.";

N2kDevice Demo(std::size_t index) {
    return sim::DemoBus().at(index);
}
N2kDevice Converter() {
    return Demo(0);
}
N2kDevice Sensor() {
    return Demo(1);
}
N2kDevice Display() {
    return Demo(2);
}
N2kDevice WithoutPartC() {
    return Demo(3);
}
N2kDevice LateInstance() {
    return Demo(7);
}
N2kDevice FixedInstance() {
    return Demo(8);
}

// A line as the device receives it: framed, without CR LF.
std::string Wire(const std::string& body) {
    std::string line = sim::FrameSentence(body);
    line.resize(line.size() - 2);
    return line;
}

class DeviceListTest : public MainFormTest {
protected:
    void StartWithBus(std::vector<N2kDevice> bus, sim::DeviceConfig config = sim::FactoryConfig("KV3SIM"),
                      std::set<std::string> silent = {}) {
        auto options = Quiet();
        options.n2kBus = std::move(bus);
        options.initialConfig = config;
        options.uid = config.uid;
        options.silent = std::move(silent);
        StartSimulator(options);
        CreateForm();
    }

    // Connects and waits until the configuration read and the scan have ended.
    void ConnectAndScan() {
        ConnectTcp(Sim->TcpPort());
        ASSERT_TRUE(SimReceived("$PQZXNR,60928,255"));
        ASSERT_TRUE(WaitUntil([&] {
            return Form->GetRXState() == TRXState::stNormal && Scanner().ScanState() == TScanState::scIdle;
        }));
    }

    TN2KDeviceList& Scanner() { return Form->N2KDevices().Scanner; }
    TN2KDeviceListForm& ListForm() { return Form->N2KDevices().ListForm; }
    TN2KDeviceInfoForm& InfoForm() { return Form->N2KDevices().InfoForm; }

    std::vector<QStringList> Rows() {
        std::vector<QStringList> rows;
        const QAbstractItemModel* model = ListForm().Grid().model();
        for (int row = 0; row < model->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < model->columnCount(); ++column)
                cells << model->index(row, column).data().toString();
            rows.push_back(cells);
        }
        return rows;
    }

    QString ListMessage() { return ListForm().findChild<QLabel*>(QStringLiteral("lblMessage"))->text(); }

    static void ClickIn(QWidget& dialog, const char* button) {
        auto* control = dialog.findChild<QPushButton*>(QString::fromLatin1(button));
        ASSERT_NE(control, nullptr) << button;
        QTest::mouseClick(control, Qt::LeftButton);
    }

    // Runs inside while the modal dialog that open shows is up; inside must end it.
    static void WhileModal(const std::function<void()>& inside, const std::function<void()>& open) {
        QTimer::singleShot(0, inside);
        open();
    }

    // Opens the device list, then the information dialog of its selected row, and
    // runs inside there; inside must end the information dialog. The list closes after.
    void InInformationDialog(const std::function<void()>& inside) {
        WhileModal(
            [&] {
                WhileModal(inside, [&] { ClickIn(ListForm(), "btnInfo"); });
                ListForm().reject();
            },
            [&] { Click("btnDeviceList"); });
    }

    QLineEdit* InfoField(const char* name) {
        return InfoForm().findChild<QLineEdit*>(QString::fromLatin1(name));
    }

    std::size_t CountReceived(const std::string& line) {
        const auto lines = Sim->ReceivedLines();
        return static_cast<std::size_t>(std::count(lines.begin(), lines.end(), line));
    }

    // The device commands the device received from line number from on.
    std::vector<std::string> CommandsSince(std::size_t from) {
        std::vector<std::string> commands;
        const auto lines = Sim->ReceivedLines();
        for (std::size_t i = from; i < lines.size(); ++i)
            if (lines[i].starts_with("$PQZXNC,C") || lines[i].starts_with("$PQZXNI"))
                commands.push_back(lines[i]);
        return commands;
    }

    // Opens the list, selects the row, enters the address and instances in its
    // information dialog and closes it with OK; the device selected afterwards.
    std::optional<TDeviceInfo> ChangeDevice(int row, const QString& sa, const QString& di,
                                            const QString& si) {
        std::optional<TDeviceInfo> selected;
        WhileModal(
            [&] {
                ListForm().Grid().SelectRow(row);
                WhileModal(
                    [&] {
                        InfoField("edtSA")->setText(sa);
                        InfoField("edtDI")->setText(di);
                        InfoField("edtSI")->setText(si);
                        ClickIn(InfoForm(), "btnOK");
                        if (InfoForm().isVisible())
                            InfoForm().reject();
                    },
                    [&] { ClickIn(ListForm(), "btnInfo"); });
                if (const TDeviceInfo* device = ListForm().GetSelectedDevice())
                    selected = *device;
                ListForm().reject();
            },
            [&] { Click("btnDeviceList"); });
        return selected;
    }

    std::ptrdiff_t PositionOf(const std::string& line) {
        const auto lines = Sim->ReceivedLines();
        const auto found = std::find(lines.begin(), lines.end(), line);
        return found == lines.end() ? -1 : found - lines.begin();
    }
};

TEST_F(DeviceListTest, TheListShowsEveryCompleteDeviceByAddressWithItsMaker) {
    StartWithBus({Display(), Converter(), Sensor()});
    ConnectAndScan();
    std::vector<QStringList> rows;
    QString message;
    WhileModal(
        [&] {
            rows = Rows();
            message = ListMessage();
            ListForm().reject();
        },
        [&] { Click("btnDeviceList"); });
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (QStringList{"Airmar", "DST810", "AIR-3321", "4.1", "n/a", "12", "0", "0"}));
    EXPECT_EQ(rows[1],
              (QStringList{"Raymarine", "SeaTalk-STNG-Converter", "0960123", "2.04", "100", "35", "0", "0"}));
    EXPECT_EQ(rows[2], (QStringList{"Garmin", "GMI 20", "3G1234567", "3.30", "100", "40", "1", "2"}));
    EXPECT_EQ(message, QStringLiteral("Device count: 3"));
}

TEST_F(DeviceListTest, ADeviceThatNeverSendsPartCIsAskedFourTimesAndLeftOut) {
    StartWithBus({WithoutPartC(), Sensor()});
    ConnectAndScan();
    EXPECT_EQ(CountReceived(Wire("$PQZXNR,126996,20")), 4u);
    EXPECT_EQ(CountReceived(Wire("$PQZXNR,126996,12")), 1u);
    ASSERT_EQ(Scanner().DeviceCount(), 1u);
    EXPECT_EQ(Scanner().GetDevices()[0]->SA, 12);
}

TEST_F(DeviceListTest, TheConverterSwitchesInput1FromSeaTalkSTNGToSeaTalk) {
    auto config = sim::FactoryConfig("KV3SIM");
    config.modeIn = {7, 1, 2, 3};
    StartWithBus({Converter()}, config);
    ConnectAndScan();
    ASSERT_TRUE(SimReceived(Wire("$PQZXIN,C,6,1,2,3")));
    EXPECT_TRUE(WaitUntil([&] { return Sim->Config().modeIn[0] == 6; }));
    EXPECT_TRUE(TestDialogs().Messages.contains(QString::fromLatin1(kConverterMessage)));
    EXPECT_EQ(Control<QComboBox>("cbModeIn1")->currentIndex(), 6);
}

// The confirmed change: the address goes to the device by its NAME, the instances
// then to the address it has claimed, each once the claim showed the step before.
TEST_F(DeviceListTest, AddressAndInstanceChangesAreConfirmedStepByStep) {
    StartWithBus({Display()});
    ConnectAndScan();
    const std::size_t before = Sim->ReceivedCount();
    const auto selected = ChangeDevice(0, QStringLiteral("60"), QStringLiteral("4"), QStringLiteral("3"));
    EXPECT_EQ(CommandsSince(before),
              (std::vector<std::string>{Wire("$PQZXNC,C," + sim::WriteHex(Display().name, 16) + ",60"),
                                        Wire("$PQZXNI,60,4,3")}));
    EXPECT_TRUE(TestDialogs().Messages.isEmpty()) << TestDialogs().Messages.join('|').toStdString();
    ASSERT_TRUE(selected);
    EXPECT_EQ(selected->SA, 60);
    EXPECT_EQ(selected->Name, TName(sim::MakeName(0x054321, 229, 4, 130, 120, 3)));
    EXPECT_EQ(selected->ModelID, "GMI 20"); // the device kept what it had told
}

// The late device claims its unchanged NAME at once and the changed one a second
// later: only the claim that shows the change counts.
TEST_F(DeviceListTest, AnInstanceTakenOnlyAfterAWhileIsWaitedFor) {
    StartWithBus({Sensor(), LateInstance()});
    ConnectAndScan();
    const std::size_t before = Sim->ReceivedCount();
    const auto selected = ChangeDevice(1, QStringLiteral("80"), QStringLiteral("7"), QStringLiteral("0"));
    EXPECT_EQ(CommandsSince(before), std::vector<std::string>{Wire("$PQZXNI,80,7,0")});
    EXPECT_TRUE(TestDialogs().Messages.isEmpty()) << TestDialogs().Messages.join('|').toStdString();
    ASSERT_TRUE(selected);
    EXPECT_EQ(selected->Name.DevInstance(), 7);
    EXPECT_EQ(selected->SA, 80);
}

TEST_F(DeviceListTest, ARefusedInstanceChangeIsReported) {
    StartWithBus({FixedInstance()});
    ConnectAndScan();
    ListForm().ConfirmMs = 400;
    const auto selected = ChangeDevice(0, QStringLiteral("90"), QStringLiteral("1"), QStringLiteral("2"));
    EXPECT_EQ(TestDialogs().Messages,
              QStringList{QStringLiteral(
                  "The device did not take the new device instance 1 and system instance 2.")});
    ASSERT_TRUE(selected);
    EXPECT_EQ(selected->Name, TName(FixedInstance().name));
}

TEST_F(DeviceListTest, AnAddressThatDoesNotShowStopsTheChange) {
    StartWithBus({Display()}, sim::FactoryConfig("KV3SIM"), {"NC"});
    ConnectAndScan();
    ListForm().ConfirmMs = 400;
    const std::size_t before = Sim->ReceivedCount();
    ChangeDevice(0, QStringLiteral("45"), QStringLiteral("4"), QStringLiteral("3"));
    EXPECT_EQ(TestDialogs().Messages,
              QStringList{QStringLiteral("The device did not take the new address 45.")});
    EXPECT_EQ(CommandsSince(before),
              std::vector<std::string>{Wire("$PQZXNC,C," + sim::WriteHex(Display().name, 16) + ",45")});
}

TEST_F(DeviceListTest, NothingIsSentOnAClosedLink) {
    StartWithBus({Display()});
    ConnectAndScan();
    const std::size_t before = Sim->ReceivedCount();
    InInformationDialog([&] {
        InfoField("edtSA")->setText(QStringLiteral("61"));
        Form->Comm().ClosePort();
        ClickIn(InfoForm(), "btnOK");
    });
    EXPECT_EQ(TestDialogs().Messages,
              QStringList{QStringLiteral("The link is closed: nothing was sent to the device.")});
    EXPECT_TRUE(CommandsSince(before).empty());
}

TEST_F(DeviceListTest, AClosedLinkEndsTheScanAndFreesTheButtons) {
    StartWithBus({Sensor()});
    ConnectAndScan();
    QString scanning;
    QString after;
    bool freed = false;
    WhileModal(
        [&] {
            ClickIn(ListForm(), "btnScan");
            scanning = ListMessage();
            Form->Comm().ClosePort();
            freed = WaitUntil([&] {
                return ListForm().findChild<QPushButton*>(QStringLiteral("btnScan"))->isEnabled() &&
                       Scanner().ScanState() == TScanState::scIdle;
            });
            after = ListMessage();
            ListForm().reject();
        },
        [&] { Click("btnDeviceList"); });
    EXPECT_EQ(scanning, QStringLiteral("Scanning NMEA 2000 network..."));
    EXPECT_TRUE(freed);
    EXPECT_EQ(after, QStringLiteral("No NMEA 2000 devices found"));
}

// What a device says of itself is text, and a maker the table does not name is
// named by its code.
TEST_F(DeviceListTest, ADeviceIsShownAsItDescribesItself) {
    N2kDevice odd = Sensor();
    odd.name = sim::MakeName(0x000123, 595, 0, 140, 60, 0);
    odd.modelId = "<b>Bold</b>";
    StartWithBus({odd});
    ConnectAndScan();
    QString maker;
    QString model;
    Qt::TextFormat format = Qt::AutoText;
    InInformationDialog([&] {
        maker = InfoForm().findChild<QLabel*>(QStringLiteral("lblMfg"))->text();
        auto* device = InfoForm().findChild<QLabel*>(QStringLiteral("lblDevice"));
        model = device->text();
        format = device->textFormat();
        InfoForm().reject();
    });
    EXPECT_EQ(Rows().at(0).mid(0, 2), (QStringList{"Unknown (code 595)", "<b>Bold</b>"}));
    EXPECT_EQ(maker, QStringLiteral("Unknown (code 595)"));
    EXPECT_EQ(model, QStringLiteral("<b>Bold</b>"));
    EXPECT_EQ(format, Qt::PlainText);
}

// An assistive technology selects a row without moving the current row: Info and
// OK act on the row it selected.
TEST_F(DeviceListTest, ARowSelectedThroughAccessibilityIsTheOneActedOn) {
    StartWithBus({Sensor(), Display()});
    ConnectAndScan();
    QString shownAddress;
    int result = -1;
    const auto selectThroughAccessibility = [&](int row) {
        QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&ListForm().Grid());
        ASSERT_NE(table, nullptr);
        ASSERT_NE(table->tableInterface(), nullptr);
        EXPECT_TRUE(table->tableInterface()->selectRow(row));
    };
    WhileModal(
        [&] {
            EXPECT_EQ(ListForm().Grid().currentIndex().row(), 0);
            selectThroughAccessibility(1);
            WhileModal(
                [&] {
                    shownAddress = InfoField("edtSA")->text();
                    InfoForm().reject();
                },
                [&] { ClickIn(ListForm(), "btnInfo"); });
            ListForm().reject();
        },
        [&] { Click("btnDeviceList"); });
    EXPECT_EQ(shownAddress, QStringLiteral("40"));
    WhileModal(
        [&] {
            selectThroughAccessibility(0);
            ListForm().Update(); // a scanner report keeps the row chosen
            ClickIn(ListForm(), "btnOK");
            if (ListForm().isVisible())
                ListForm().reject();
        },
        [&] { result = ListForm().ShowModal(TN2KDeviceListForm::kSelectionMode, Display().name); });
    EXPECT_EQ(result, QDialog::Accepted);
    ASSERT_NE(ListForm().GetSelectedDevice(), nullptr);
    EXPECT_EQ(ListForm().GetSelectedDevice()->SA, 12);
}

TEST_F(DeviceListTest, ChangingOnlyTheSystemInstanceSendsOnlyTheInstanceCommand) {
    StartWithBus({Sensor()});
    ConnectAndScan();
    const std::size_t before = Sim->ReceivedCount();
    WhileModal(
        [&] {
            WhileModal(
                [&] {
                    InfoField("edtSI")->setText(QStringLiteral("3"));
                    ClickIn(InfoForm(), "btnOK");
                },
                [&] { ClickIn(ListForm(), "btnInfo"); });
            WaitUntil([&] {
                return Scanner().GetDevices().size() == 1 &&
                       Scanner().GetDevices()[0]->Name.SystemInstance() == 3;
            });
            ListForm().reject();
        },
        [&] { Click("btnDeviceList"); });
    const auto lines = Sim->ReceivedLines();
    EXPECT_EQ(std::vector<std::string>(lines.begin() + static_cast<std::ptrdiff_t>(before), lines.end()),
              std::vector<std::string>{Wire("$PQZXNI,12,0,3")});
    EXPECT_EQ(Scanner().GetDevices()[0]->SA, 12); // the list follows the claim at the same address
}

TEST_F(DeviceListTest, AScanThatFindsNothingSaysSo) {
    StartWithBus({});
    ConnectAndScan();
    QString message;
    bool infoEnabled = true;
    WhileModal(
        [&] {
            WaitUntil([&] { return Scanner().ScanState() == TScanState::scIdle; });
            message = ListMessage();
            infoEnabled = ListForm().findChild<QPushButton*>(QStringLiteral("btnInfo"))->isEnabled();
            ListForm().reject();
        },
        [&] { Click("btnDeviceList"); });
    EXPECT_EQ(message, QStringLiteral("No NMEA 2000 devices found"));
    EXPECT_FALSE(infoEnabled);
}

TEST_F(DeviceListTest, ADoubleClickInSelectionModeChoosesTheDevice) {
    StartWithBus({Sensor(), Display()});
    ConnectAndScan();
    int result = -1;
    WhileModal(
        [&] {
            auto& grid = ListForm().Grid();
            const QRect cell = grid.visualRect(grid.model()->index(1, 1));
            QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
            QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
            if (ListForm().isVisible())
                ListForm().reject();
        },
        [&] { result = ListForm().ShowModal(TN2KDeviceListForm::kSelectionMode, Sensor().name); });
    EXPECT_EQ(result, QDialog::Accepted);
    ASSERT_NE(ListForm().GetSelectedDevice(), nullptr);
    EXPECT_EQ(ListForm().GetSelectedDevice()->SA, 40);
}

TEST_F(DeviceListTest, IllegalEntriesKeepTheInformationDialogOpen) {
    StartWithBus({Sensor()});
    ConnectAndScan();
    const std::size_t before = Sim->ReceivedCount();
    QStringList messages;
    bool stayedOpen = false;
    InInformationDialog([&] {
        InfoField("edtSA")->setText(QStringLiteral("252"));
        InfoField("edtDI")->setText(QStringLiteral("300"));
        InfoField("edtSI")->clear();
        TestDialogs().Messages.clear();
        ClickIn(InfoForm(), "btnOK");
        messages = TestDialogs().Messages;
        stayedOpen = InfoForm().isVisible();
        InfoField("edtSA")->setText(QStringLiteral("12"));
        InfoField("edtDI")->setText(QStringLiteral("0"));
        InfoField("edtSI")->setText(QStringLiteral("0"));
        ClickIn(InfoForm(), "btnOK");
    });
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(messages, (QStringList{"Illegal Source Address entered (0..251)",
                                     "Illegal Device Instance entered (0..255)",
                                     "No System Instance entered (0..15)"}));
    const auto lines = Sim->ReceivedLines();
    for (std::size_t i = before; i < lines.size(); ++i)
        EXPECT_FALSE(lines[i].starts_with("$PQZXNC,C") || lines[i].starts_with("$PQZXNI")) << lines[i];
}

TEST_F(DeviceListTest, NothingIsSentForADeviceThatMovedWhileItsDialogWasOpen) {
    StartWithBus({Sensor()});
    ConnectAndScan();
    const std::size_t before = Sim->ReceivedCount();
    InInformationDialog([&] {
        InfoField("edtDI")->setText(QStringLiteral("5"));
        InfoField("edtSA")->setText(QStringLiteral("70"));
        Sim->SendToHost(sim::FrameSentence("$PQZXNC,R," + sim::WriteHex(Sensor().name, 16) + ",44"));
        WaitUntil([&] { return Scanner().NameAt(44) == TName(Sensor().name); });
        ClickIn(InfoForm(), "btnOK");
    });
    EXPECT_TRUE(TestDialogs().Messages.contains(
        QStringLiteral("The device is no longer at address 12: nothing was sent.")));
    const auto lines = Sim->ReceivedLines();
    for (std::size_t i = before; i < lines.size(); ++i)
        EXPECT_FALSE(lines[i].starts_with("$PQZXNC,C") || lines[i].starts_with("$PQZXNI")) << lines[i];
}

TEST_F(DeviceListTest, PickingADeviceForADataSourceSendsItsName) {
    auto config = sim::FactoryConfig("KV3SIM");
    config.dataSource[1] = sim::DataSource{'N', 0};
    StartWithBus({Sensor(), Display()}, config);
    ConnectAndScan();
    auto* label = Control<QLabel>("lblN2kRotHdgSrc");
    ASSERT_TRUE(WaitUntil([&] { return !label->isHidden(); }));
    EXPECT_EQ(label->text(), QStringLiteral("<Click>"));
    WhileModal(
        [&] {
            ListForm().Grid().SelectRow(1);
            ClickIn(ListForm(), "btnOK");
            if (ListForm().isVisible())
                ListForm().reject();
        },
        [&] { QTest::mouseClick(label, Qt::LeftButton); });
    EXPECT_TRUE(SimReceived(Wire("$PQZXDS,C,1,N," + sim::WriteHex(Display().name, 16))));
    EXPECT_EQ(label->text(), QStringLiteral("GMI 20"));
}

TEST_F(DeviceListTest, PickingADeviceForARoutingEntryStoresItsName) {
    auto config = sim::FactoryConfig("KV3SIM");
    config.routes = {{"GPRMC", 0x01, 0, 0x21, 0}};
    StartWithBus({Sensor(), Display()}, config);
    ConnectAndScan();
    auto* routes = Form->findChild<TRouteGrid*>(QStringLiteral("RouteGrid"));
    ASSERT_NE(routes, nullptr);
    Control<QTabWidget>("pcSettings")->setCurrentWidget(Control<QWidget>("tabRouting"));
    routes->setCurrentCell(0, 8);
    const QPoint cell = routes->visualItemRect(routes->item(0, 8)).center();
    WhileModal(
        [&] {
            ListForm().Grid().SelectRow(1);
            ClickIn(ListForm(), "btnOK");
            if (ListForm().isVisible())
                ListForm().reject();
        },
        [&] {
            QMouseEvent event(QEvent::MouseButtonDblClick, cell, routes->viewport()->mapToGlobal(cell),
                              Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(routes->viewport(), &event);
        });
    EXPECT_EQ(routes->item(0, 8)->text(), QStringLiteral("GMI 20"));
    EXPECT_EQ(routes->item(0, 8)->toolTip(), QStringLiteral("GMI 20 (Garmin)")); // model (manufacturer)
    const std::size_t before = Sim->ReceivedCount();
    Click("btnRouteStore");
    EXPECT_TRUE(SimReceived(Wire("$PQZXRTE,C,GPRMC,81,0,21," + sim::WriteHex(Display().name, 16)), before));
    EXPECT_EQ(Form->Config().RoutingTable[0]->SA, 40);
}

TEST_F(DeviceListTest, AnswersBeforeTheUniqueIdIsKnownAreNotLost) {
    StartWithBus({Sensor()}, sim::FactoryConfig("KV3SIM"), {"CFQ"});
    ConnectTcp(Sim->TcpPort());
    ASSERT_TRUE(SimReceived("$PQZXNR,60928,255"));
    // The claims have had their time twice over, and no product information was asked.
    QTest::qWait(1100);
    EXPECT_EQ(Scanner().ScanState(), TScanState::scAddrClm);
    EXPECT_EQ(CountReceived(Wire("$PQZXNR,126996,12")), 0u);
    Sim->SendToHost(sim::FrameSentence("$PQZXUI,R,KV3SIM") + sim::FrameSentence("$PQZXRDY"));
    ASSERT_TRUE(WaitUntil([&] { return Scanner().DeviceCount() == 1; }));
    EXPECT_EQ(Scanner().GetDevices()[0]->ModelID, "DST810");
}

// The converter's input change waits for an answer the device never sends. When
// that happens inside another wait that runs within the drain (as every handler
// of a received line does, where the drain timer cannot fire again), the time-out
// is told and the outer wait carries on to its own answer.
TEST_F(DeviceListTest, ATimedOutConverterChangeDoesNotAbortTheWaitAroundIt) {
    auto config = sim::FactoryConfig("KV3SIM");
    config.modeIn = {7, 0, 0, 0};
    StartWithBus({Converter()}, config, {"IN"});
    QTimer answer;
    answer.setInterval(20);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (TestDialogs().Messages.contains(QStringLiteral("Multiplexer does not respond"))) {
            answer.stop();
            Sim->SendToHost(sim::FrameSentence("$PQZXDS,R,0"));
        }
    });
    ConnectTcp(Sim->TcpPort());
    // The configuration read's RDY would end any wait: the outer wait starts after
    // it, while the scan has not yet asked for the product information.
    ASSERT_TRUE(WaitUntil([&] { return Form->GetRXState() == TRXState::stNormal; }));
    ASSERT_EQ(Scanner().ScanState(), TScanState::scAddrClm);
    bool started = false;
    bool ended = false;
    bool aborted = false;
    QObject::connect(&Form->NmeaReadTimer, &QTimer::timeout, Form.get(), [&] {
        if (std::exchange(started, true))
            return;
        answer.start();
        try {
            Form->WaitForReply(TPQZXCmd::PQZXDS, 15000);
        } catch (const std::exception&) {
            aborted = true;
        }
        ended = true;
    });
    ASSERT_TRUE(WaitUntil([&] { return ended; }, 20000));
    EXPECT_FALSE(aborted);
    EXPECT_TRUE(TestDialogs().Messages.contains(QString::fromLatin1(kConverterMessage)));
    EXPECT_TRUE(Sim->WaitForReceived([](const std::string& l) { return l == Wire("$PQZXIN,C,6,0,0,0"); },
                                     std::chrono::milliseconds(0)));
    EXPECT_EQ(Scanner().DeviceCount(), 1u);
}

} // namespace

} // namespace kvl::test

namespace kvl::test {
namespace {

TEST_F(DeviceListTest, SentenceRatesNameAnNmea2000SourceByItsModelAndMaker) {
    StartWithBus({Sensor()});
    ConnectAndScan();
    const TSentenceRatesModel& rates = Form->AuxViews().RatesForm.Model();
    TSentenceRates::TRow row;
    row.Source = TSource::SrcN2K;
    row.SourceId = 12;
    EXPECT_EQ(rates.SourceText(row), "NMEA 2000 #0C DST810 (Airmar)");
    row.SourceId = 13; // nobody there
    EXPECT_EQ(rates.SourceText(row), "NMEA 2000 #0D");
}

} // namespace
} // namespace kvl::test
