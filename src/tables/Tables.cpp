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
    buttons->addWidget(Button(page, "btnRouteStore", QStringLiteral("Store"), &TTables::btnRouteStoreClick));
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
    buttons->addWidget(
        Button(page, "btnModbusStore", QStringLiteral("Store"), &TTables::btnModbusStoreClick));
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
    buttons->addWidget(Button(page, "btnMobStore", QStringLiteral("Store"), &TTables::btnMobStoreClick));
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
}

void TTables::btnRouteDelClick() {
    RouteGrid->Delete();
}

void TTables::btnRouteClearClick() {
    Host.Config().RouteClear();
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
}

// ---- Modbus ----

void TTables::btnModbusAddClick() {
    if (Host.Config().ModbusAdd(0, 0, 'H', 'I', 0, 0, 0, 0, "", TModbus::kStatusUnknown) ==
        TMuxConfig::kModbusFull)
        Dialogs().ShowMessage(QStringLiteral("Modbus table is full"));
}

void TTables::btnModbusDelClick() {
    ModbusGrid->Delete();
}

void TTables::btnModbusClearClick() {
    Host.Config().ModbusClear();
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
}

void TTables::btnMobDelClick() {
    MobGrid->Delete();
}

void TTables::btnMobClearClick() {
    Host.Config().MobClear();
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
        case TStoreStep::TKind::Pause:
            std::this_thread::sleep_for(std::chrono::milliseconds(step.Ms));
            break;
        }
    }
}

void TTables::RouteStore() {
    TWaitCursor cursor;
    RunStore(RouteStorePlan(Host.Config()));
}

void TTables::ModbusStore() {
    TWaitCursor cursor;
    RunStore(ModbusStorePlan(Host.Config()));
    Host.Config().ModbusClearStatus();
}

void TTables::MobStore() {
    TWaitCursor cursor;
    RunStore(MobStorePlan(Host.Config()));
}

void TTables::StoreAll() {
    RouteStore();
    ModbusStore();
    MobStore();
}

void TTables::StoreFromButton(void (TTables::*store)()) {
    try {
        (this->*store)();
    } catch (const ETimeOut& e) {
        Dialogs().ShowMessage(QString::fromLatin1(e.what()));
    } catch (const ETableEntry& e) {
        Dialogs().ShowMessage(QString::fromLatin1(e.what()));
    }
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

void TTables::SetPageVisible(QWidget* page, bool visible) {
    for (QWidget* w = page->parentWidget(); w; w = w->parentWidget()) {
        if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
            const int index = tabs->indexOf(page);
            if (index >= 0)
                tabs->setTabVisible(index, visible);
            return;
        }
    }
}

} // namespace kvl
