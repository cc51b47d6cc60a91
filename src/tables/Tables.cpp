#include "tables/Tables.h"

#include "host/Dialogs.h"
#include "host/Guarded.h"
#include "host/MainErrors.h"
#include "host/WaitCursor.h"
#include "model/ConfigItems.h"
#include "model/ConfigSentences.h"
#include "model/OptionBits.h"
#include "model/TableError.h"
#include "sentence/NmeaText.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <chrono>
#include <thread>

namespace kvl {

namespace {

constexpr int kReadyTimeoutMs = 1000;

// The page's own layout, or a new one when it has none.
QBoxLayout* PageLayout(QWidget* page) {
    if (auto* layout = qobject_cast<QBoxLayout*>(page->layout()))
        return layout;
    return new QVBoxLayout(page);
}

} // namespace

TTables::TTables(TMuxHost& host, QWidget* routingPage, QWidget* modbusPage, QWidget* mobPage)
    : Host(host), RoutingPage(routingPage), ModbusPage(modbusPage), MobPage(mobPage) {
    BuildRoutingPage(routingPage);
    BuildModbusPage(modbusPage);
    BuildMobPage(mobPage);
    TMuxConfig& config = Host.Config();
    RouteGrid->Data = &config.RoutingTable;
    ModbusGrid->Data = &config.ModbusTable;
    MobGrid->Data = &config.MOBTable;
    config.OnRoutingChange = [grid = RouteGrid] { grid->DataChanged(); };
    config.OnModbusChange = [grid = ModbusGrid] { grid->DataChanged(); };
    config.OnMobChange = [grid = MobGrid] { grid->DataChanged(); };
    connect(RouteGrid, &TBaseGrid::Edited, this, [this] { MarkEdited(ttRouting); });
    connect(ModbusGrid, &TBaseGrid::Edited, this, [this] { MarkEdited(ttModbus); });
    connect(MobGrid, &TBaseGrid::Edited, this, [this] { MarkEdited(ttMob); });
    for (int t = 0; t < ttCount; ++t) {
        QWidget* page = Page(static_cast<TTable>(t));
        if (QTabWidget* tabs = TabsOf(page))
            Captions[t] = tabs->tabText(tabs->indexOf(page));
    }
}

TTables::~TTables() {
    TMuxConfig& config = Host.Config();
    config.OnRoutingChange = nullptr;
    config.OnModbusChange = nullptr;
    config.OnMobChange = nullptr;
}

QPushButton* TTables::Button(QWidget* parent, const char* name, const QString& caption,
                             void (TTables::*handler)()) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    connect(button, &QPushButton::clicked, this, GuardedSlot([this, handler] { (this->*handler)(); }));
    return button;
}

void TTables::BuildRoutingPage(QWidget* page) {
    auto* row = new QHBoxLayout;
    RouteGrid = new TRouteGrid(page);
    row->addWidget(RouteGrid, 0, Qt::AlignTop);
    auto* buttons = new QVBoxLayout;
    btnRouteCapture =
        Button(page, "btnRouteCapture", QStringLiteral("Capture"), &TTables::btnRouteCaptureClick);
    buttons->addWidget(btnRouteCapture);
    buttons->addWidget(Button(page, "btnRouteAdd", QStringLiteral("Add"), &TTables::btnRouteAddClick));
    btnRouteDel = Button(page, "btnRouteDel", QStringLiteral("Delete"), &TTables::btnRouteDelClick);
    buttons->addWidget(btnRouteDel);
    buttons->addWidget(Button(page, "btnRouteClear", QStringLiteral("Clear"), &TTables::btnRouteClearClick));
    StoreButtons[ttRouting] =
        Button(page, "btnRouteStore", QStringLiteral("Store"), &TTables::btnRouteStoreClick);
    buttons->addWidget(StoreButtons[ttRouting]);
    buttons->addWidget(new QLabel(QStringLiteral("No Match:"), page));
    cbModeFilter = new QComboBox(page);
    cbModeFilter->setObjectName(QStringLiteral("cbModeFilter"));
    for (const std::string_view item : kModeFilterItems)
        cbModeFilter->addItem(QString::fromLatin1(item.data(), static_cast<int>(item.size())));
    connect(cbModeFilter, &QComboBox::activated, this, GuardedSlot([this] { cbModeFilterChange(); }));
    buttons->addWidget(cbModeFilter);
    buttons->addStretch();
    row->addLayout(buttons);
    row->addStretch();
    PageLayout(page)->insertLayout(0, row);
    btnRouteDel->setEnabled(false);
    RouteGrid->DeleteButton = btnRouteDel;
}

void TTables::BuildModbusPage(QWidget* page) {
    auto* row = new QHBoxLayout;
    ModbusGrid = new TModbusGrid(page);
    row->addWidget(ModbusGrid, 0, Qt::AlignTop);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(Button(page, "btnModbusAdd", QStringLiteral("Add"), &TTables::btnModbusAddClick));
    btnModbusDel = Button(page, "btnModbusDel", QStringLiteral("Delete"), &TTables::btnModbusDelClick);
    buttons->addWidget(btnModbusDel);
    buttons->addWidget(
        Button(page, "btnModbusClear", QStringLiteral("Clear"), &TTables::btnModbusClearClick));
    StoreButtons[ttModbus] =
        Button(page, "btnModbusStore", QStringLiteral("Store"), &TTables::btnModbusStoreClick);
    buttons->addWidget(StoreButtons[ttModbus]);
    buttons->addStretch();
    row->addLayout(buttons);
    row->addStretch();
    PageLayout(page)->insertLayout(0, row);
    btnModbusDel->setEnabled(false);
    ModbusGrid->DeleteButton = btnModbusDel;
}

void TTables::BuildMobPage(QWidget* page) {
    auto* row = new QHBoxLayout;
    MobGrid = new TMobGrid(page);
    row->addWidget(MobGrid, 0, Qt::AlignTop);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(Button(page, "btnMobAdd", QStringLiteral("Add"), &TTables::btnMobAddClick));
    btnMobDel = Button(page, "btnMobDel", QStringLiteral("Delete"), &TTables::btnMobDelClick);
    buttons->addWidget(btnMobDel);
    buttons->addWidget(Button(page, "btnMobClear", QStringLiteral("Clear"), &TTables::btnMobClearClick));
    StoreButtons[ttMob] = Button(page, "btnMobStore", QStringLiteral("Store"), &TTables::btnMobStoreClick);
    buttons->addWidget(StoreButtons[ttMob]);
    buttons->addStretch();
    row->addLayout(buttons);
    row->addStretch();
    PageLayout(page)->insertLayout(0, row);
    btnMobDel->setEnabled(false);
    MobGrid->DeleteButton = btnMobDel;
}

// ---- Routing ----

void TTables::btnRouteCaptureClick() {
    if (Host.GetRXState() == TRXState::stNormal) {
        Host.SetRXState(TRXState::stCapture);
        Host.EnableControls(false); // the refresh in the capture state brings back this button as "Stop"
    } else if (Host.GetRXState() == TRXState::stCapture) {
        Host.SetRXState(TRXState::stNormal);
        Host.EnableControls(true);
    }
}

void TTables::btnRouteAddClick() {
    if (Host.Config().RouteAdd("", 0, 0, 0, 0, 0) == TMuxConfig::kRoutingFull)
        Dialogs().ShowMessage(QStringLiteral("Routing table is full"));
    else
        MarkEdited(ttRouting);
}

void TTables::btnRouteDelClick() {
    RouteGrid->Delete();
}

void TTables::btnRouteClearClick() {
    if (Host.Config().RoutingTable.empty() ||
        !Dialogs().Confirm(QStringLiteral("This will empty the routing table. Do you want to proceed?")))
        return;
    Host.Config().RouteClear();
    MarkEdited(ttRouting);
}

void TTables::btnRouteStoreClick() {
    StoreFromButton(&TTables::RouteStore);
}

void TTables::cbModeFilterChange() {
    TMuxConfig& config = Host.Config();
    SetBit(config.Options, kOptModeFilter, cbModeFilter->currentIndex() == 1);
    try {
        Host.SendAndWait(EncodeOP(config), TPQZXCmd::PQZXOP);
    } catch (const ETimeOut& e) {
        Dialogs().ShowMessage(QString::fromLatin1(e.what()));
    }
}

void TTables::ShowRoutingTab() {
    const TMuxConfig& config = Host.Config();
    if (Host.GetRXState() == TRXState::stCapture) {
        btnRouteCapture->setEnabled(true);
        btnRouteCapture->setText(QStringLiteral("Stop"));
    } else if (Host.GetRXState() == TRXState::stNormal) {
        btnRouteCapture->setText(QStringLiteral("Capture"));
        btnRouteDel->setEnabled(false);
        TFlags flags = RouteGrid->Flags() & ~(gfIn4 | gfOut2 | gfSeaTalk);
        if (!TestBit(config.Options, kOptAISMobAlarm))
            flags |= gfIn4;
        if (config.ModbusMode == 0)
            flags |= gfOut2;
        if (config.ModeIn1 == kModeInSeaTalk || config.ModeIn1 == kModeInSeaTalkSTNG)
            flags |= gfSeaTalk;
        RouteGrid->SetFlags(flags);
    }
    cbModeFilter->setCurrentIndex(TestBit(config.Options, kOptModeFilter) ? 1 : 0);
}

void TTables::CaptureSentence(const TSentence& sentence) {
    CaptureRoute(sentence, Host.Config());
    if (!Host.Config().RoutingTable.empty())
        MarkEdited(ttRouting); // captured rows reach the device only with Store
}

// ---- Modbus ----

void TTables::btnModbusAddClick() {
    if (Host.Config().ModbusAdd(0, 0, 'H', 'I', 0, 0, 0, 0, "", TModbus::kStatusUnknown) ==
        TMuxConfig::kModbusFull)
        Dialogs().ShowMessage(QStringLiteral("Modbus table is full"));
    else
        MarkEdited(ttModbus);
}

void TTables::btnModbusDelClick() {
    ModbusGrid->Delete();
}

void TTables::btnModbusClearClick() {
    if (Host.Config().ModbusTable.empty() ||
        !Dialogs().Confirm(QStringLiteral("This will empty the Modbus table. Do you want to proceed?")))
        return;
    Host.Config().ModbusClear();
    MarkEdited(ttModbus);
}

void TTables::btnModbusStoreClick() {
    StoreFromButton(&TTables::ModbusStore);
}

void TTables::ShowModbusTab() {
    btnModbusDel->setEnabled(false);
    SetPageVisible(ModbusPage, Host.Config().ModbusMode == kModbusMaster);
}

// ---- AIS MOB ----

void TTables::btnMobAddClick() {
    if (Host.Config().MobAdd("", TMob::kAlarmInactive) == TMuxConfig::kMobFull)
        Dialogs().ShowMessage(QStringLiteral("MOB table is full"));
    else
        MarkEdited(ttMob);
}

void TTables::btnMobDelClick() {
    MobGrid->Delete();
}

void TTables::btnMobClearClick() {
    if (Host.Config().MOBTable.empty() ||
        !Dialogs().Confirm(QStringLiteral("This will empty the AIS MOB table. Do you want to proceed?")))
        return;
    Host.Config().MobClear();
    MarkEdited(ttMob);
}

void TTables::btnMobStoreClick() {
    StoreFromButton(&TTables::MobStore);
}

void TTables::ShowMobTab() {
    btnMobDel->setEnabled(false);
    SetPageVisible(MobPage, TestBit(Host.Config().Options, kOptAISMobAlarm));
}

// ---- Reports ----

void TTables::ProcessRTE(const TSentence& sentence) {
    DecodeRTE(sentence, Host.Config());
}

void TTables::ProcessMB(const TSentence& sentence) {
    DecodeMBEntry(sentence, Host.Config());
}

void TTables::ProcessMOB(const TSentence& sentence) {
    DecodeMOB(sentence, Host.Config());
}

// ---- Stores ----

void TTables::RunStore(const TStorePlan& plan) {
    for (const TStoreStep& step : plan) {
        switch (step.Kind) {
        case TStoreStep::TKind::Send:
            Host.SendSentence(step.Text);
            break;
        case TStoreStep::TKind::SendAndWaitReady:
            Host.SendAndWaitReady(step.Text);
            break;
        case TStoreStep::TKind::WaitReady:
            Host.WaitForReply(TPQZXCmd::PQZXRDY, kReadyTimeoutMs);
            break;
        case TStoreStep::TKind::WaitReadyIfAny:
            try {
                Host.WaitForReply(TPQZXCmd::PQZXRDY, kReadyTimeoutMs);
            } catch (const ETimeOut&) {
                // A multiplexer that does not answer the end of an empty store is done all the same.
            }
            break;
        case TStoreStep::TKind::Pause:
            std::this_thread::sleep_for(std::chrono::milliseconds(step.Ms));
            break;
        }
    }
}

void TTables::RouteStore() {
    TBusyGuard busy(Host);
    TWaitCursor cursor;
    RunStore(RouteStorePlan(Host.Config()));
    MarkEdited(ttRouting, false);
}

void TTables::ModbusStore() {
    TBusyGuard busy(Host);
    TWaitCursor cursor;
    RunStore(ModbusStorePlan(Host.Config()));
    Host.Config().ModbusClearStatus();
    MarkEdited(ttModbus, false);
}

void TTables::MobStore() {
    TBusyGuard busy(Host);
    TWaitCursor cursor;
    RunStore(MobStorePlan(Host.Config()));
    MarkEdited(ttMob, false);
}

void TTables::StoreAll() {
    RouteStore();
    ModbusStore();
    MobStore();
}

void TTables::StoreFromButton(void (TTables::*store)()) {
    // One store at a time: a click that a nested wait lets through does nothing.
    if (Host.IsBusy())
        return;
    TBusyGuard busy(Host);
    CommitEdits();
    try {
        (this->*store)();
    } catch (const ETimeOut& e) {
        Dialogs().ShowMessage(QString::fromLatin1(e.what()));
    } catch (const ELinkClosed& e) {
        Dialogs().ShowMessage(QString::fromLatin1(e.what()) + QStringLiteral(": the table was not stored."));
    } catch (const ETableEntry& e) {
        SelectRow(store, e.Row);
        Dialogs().ShowMessage(QString::fromLatin1(e.what()));
    }
}

void TTables::SelectRow(void (TTables::*store)(), int row) {
    TBaseGrid* grid = store == &TTables::ModbusStore ? static_cast<TBaseGrid*>(ModbusGrid)
                      : store == &TTables::MobStore  ? static_cast<TBaseGrid*>(MobGrid)
                                                     : static_cast<TBaseGrid*>(RouteGrid);
    if (row >= 0 && row < grid->rowCount())
        grid->setCurrentCell(row, 0);
}

// ---- Edits not stored ----

void TTables::MarkEdited(TTable table, bool edited) {
    if (Edited[table] == edited)
        return;
    Edited[table] = edited;
    QWidget* page = Page(table);
    if (QTabWidget* tabs = TabsOf(page))
        tabs->setTabText(tabs->indexOf(page), Captions[table] + (edited ? QStringLiteral(" *") : QString()));
}

void TTables::ForgetEdits() {
    for (int t = 0; t < ttCount; ++t)
        MarkEdited(static_cast<TTable>(t), false);
}

bool TTables::ConfirmDiscardEdits() {
    CommitEdits();
    QStringList changed;
    for (int t = 0; t < ttCount; ++t)
        if (Edited[t])
            changed.append(Captions[t]);
    if (changed.isEmpty())
        return true;
    return Dialogs().Confirm(QStringLiteral("Changes to these tables were not stored: ") +
                             changed.join(QStringLiteral(", ")) + QStringLiteral(".\rDiscard the changes?"));
}

void TTables::CommitEdits() {
    for (TBaseGrid* grid : {static_cast<TBaseGrid*>(RouteGrid), static_cast<TBaseGrid*>(ModbusGrid),
                            static_cast<TBaseGrid*>(MobGrid)})
        grid->CommitPending();
}

void TTables::SetStoresEnabled(bool enabled) {
    for (QPushButton* button : StoreButtons)
        if (button)
            button->setEnabled(enabled);
}

// ---- Flags and pages ----

void TTables::SetCapabilities(bool nmea2000, bool wifi) {
    TFlags flags = RouteGrid->Flags() & ~(gfN2K | gfWiFi);
    if (nmea2000)
        flags |= gfN2K;
    if (wifi)
        flags |= gfWiFi;
    RouteGrid->SetFlags(flags);
}

void TTables::LinkClosed() {
    RouteGrid->SetFlags(gfOut2);
}

QTabWidget* TTables::TabsOf(QWidget* page) const {
    for (QWidget* w = page->parentWidget(); w; w = w->parentWidget()) {
        if (auto* tabs = qobject_cast<QTabWidget*>(w))
            return tabs->indexOf(page) >= 0 ? tabs : nullptr;
    }
    return nullptr;
}

QWidget* TTables::Page(TTable table) const {
    return table == ttRouting ? RoutingPage : table == ttModbus ? ModbusPage : MobPage;
}

void TTables::SetPageVisible(QWidget* page, bool visible) {
    if (QTabWidget* tabs = TabsOf(page))
        tabs->setTabVisible(tabs->indexOf(page), visible);
}

} // namespace kvl
