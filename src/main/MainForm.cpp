#include "main/MainForm.h"

#include "firmware/FirmwareUpdate.h"
#include "host/Dialogs.h"
#include "host/Guarded.h"
#include "host/ProgramVersion.h"
#include "n2k/N2KDevices.h"
#include "network/NetworkSetup.h"
#include "tables/CompareWithFile.h"
#include "tables/ConfigFiles.h"
#include "tables/Tables.h"
#include "ui_MainForm.h"

#include "views/AuxViews.h"
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

#include <QAbstractItemView>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QStatusBar>

namespace kvl {

namespace {

constexpr int kPortUdpAll = 0;
constexpr int kFirstSerialPort = 3;

} // namespace

QSettings StoredSettings() {
    return QSettings(QStringLiteral("Orvanto"), QStringLiteral("KVLConfig3"));
}

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent), ui(std::make_unique<Ui::TMainForm>()) {
    ui->setupUi(this);
    FormCreate();
}

TMainForm::~TMainForm() {
    // The link joins its receive thread as it goes; nothing else outlives the window.
    NmeaReadTimer.stop();
    Link.reset();
}

void TMainForm::FormCreate() {
    TrafficView = std::make_unique<TTrafficView>(*ui->NmeaView);
    ViewFilter = -1;

    Link = std::make_unique<TComm>();
    for (const std::string& name : Link->FriendlyPorts())
        ui->cbPort->addItem(QString::fromLatin1(name));
    AddSimEntry();
    ui->cbPort->setCurrentIndex(-1);
    FillSelectorItems();
    // Long friendly names must be readable in the opened list.
    ui->cbPort->view()->setMinimumWidth(185);

    LoadSettings();

    bmConnOn = QIcon(QStringLiteral(":/CONN_ON.xpm"));
    bmConnOff = QIcon(QStringLiteral(":/CONN_OFF.xpm"));
    ui->btnConnect->setIcon(bmConnOff);

    QFont fixed(QStringLiteral("Monospace"));
    fixed.setStyleHint(QFont::TypeWriter);
    ui->NmeaView->setFont(fixed);
    ui->pcSettings->setCurrentIndex(0);

    CreateStatusBar();
    CreateAuxViews();
    CreateDetailsPane();
    CreateFirmwareUpdate();
    CreateNetworkSetup();
    Tables = std::make_unique<TTables>(*this, ui->tabRouting, ui->tabModbus, ui->tabAISMob);
    ConfigFiles = std::make_unique<TConfigFiles>(*this, *Tables);
    CreateN2K();
    CompareFile = std::make_unique<TCompareWithFile>(*this, *ConfigFiles, this);
    ConnectSignals();
    ConnectSettingsSignals();

    NmeaReadTimer.setInterval(kDrainIntervalMs);
    ConfigTimer.setInterval(kConfigIntervalMs);
    TimeOutTimer.setInterval(kVersionTimeoutMs);
    TimeOutTimer.setSingleShot(true);
    OVTimer.setInterval(kOverflowLampMs);
    LogPanelTimer.setInterval(kLogPanelMs);
    LogPanelTimer.setSingleShot(true);
    NmeaReadTimer.start();
    StartPortWatch();

    EnableControls(false);
    ShowTitle();
    FormShow();
    ArrangeWindow();
    RestoreWindowState();
}

void TMainForm::FormShow() {
    for (QWidget* tab : {ui->tabNMEA2000, ui->tabModbus, ui->tabAISMob})
        ui->pcSettings->setTabVisible(ui->pcSettings->indexOf(tab), false);
    ShowStartupFace();
    AssignOptionBits();
}

// Until a multiplexer has told what it is, the window shows the face of one
// without NMEA 2000, AIS MOB alarm or Modbus slave: the controls of those
// features stay hidden, so that none is drawn over another.
void TMainForm::ShowStartupFace() {
    ui->gbNmeaGen->setTitle(QStringLiteral("NMEA 0183 from SeaTalk"));
    ui->chbTxZDA->setText(QStringLiteral("ZDA"));
    for (QWidget* hidden :
         {static_cast<QWidget*>(ui->chbTxZTG), static_cast<QWidget*>(ui->chbGNSS10Hz),
          static_cast<QWidget*>(ui->chbSpeed10Hz), static_cast<QWidget*>(ui->lblN2KInput),
          static_cast<QWidget*>(ui->cbPrioN2K), static_cast<QWidget*>(ui->chbRouteN2KOut1),
          static_cast<QWidget*>(ui->chbRouteN2KOut2), static_cast<QWidget*>(ui->lblAISMobEnabled),
          static_cast<QWidget*>(ui->lblMbSlaveAddr), static_cast<QWidget*>(ui->edtMbSlaveAddr),
          static_cast<QWidget*>(ui->lblModbus)})
        hidden->setVisible(false);
}

void TMainForm::CreateStatusBar() {
    static constexpr int kWidths[5] = {180, 140, 140, 260, 150};
    for (int i = 0; i < 5; ++i) {
        StatusLabels[i] = new QLabel(statusBar());
        StatusLabels[i]->setMinimumWidth(kWidths[i]);
        statusBar()->addWidget(StatusLabels[i], i == 3 ? 1 : 0);
    }
    // The log panel changes with every logged line: at a fixed size its new
    // text is only repainted, without laying out the status bar each time.
    StatusLabels[4]->setFixedSize(kWidths[4], StatusLabels[4]->sizeHint().height());
    SetStatusPanel(0, QStringLiteral("Device: "));
    SetStatusPanel(1, QStringLiteral("Version: "));
    SetStatusPanel(2, QStringLiteral("Serial: "));
    SetStatusPanel(3, QStringLiteral("Config file:"));
    SetStatusPanel(4, QStringLiteral("Log: ---"));
}

void TMainForm::ShowConfigFileName(const QString& fileName) {
    SetStatusPanel(3, QStringLiteral("Config file: ") + fileName);
}

void TMainForm::HandleDroppedFiles(const QStringList& files) {
    if (FileActionsReady())
        ConfigFiles->HandleDroppedFiles(files);
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
    QStringList files;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            files.append(url.toLocalFile());
    }
    event->acceptProposedAction();
    Guarded([&] { HandleDroppedFiles(files); });
}

void TMainForm::SetStatusPanel(int index, const QString& text) {
    StatusLabels[index]->setText(text);
}

QString TMainForm::StatusPanel(int index) const {
    return index >= 0 && index < 5 ? StatusLabels[index]->text() : QString();
}

void TMainForm::ConnectSignals() {
    connect(ui->btnConnect, &QPushButton::clicked, this, GuardedSlot([this] {
                // A disconnect empties the tables: edits not stored are asked about first.
                if (!IsLinkOpen() || ConfirmDiscardTableEdits())
                    btnConnectClick();
            }));
    connect(ui->btnReadConfig, &QPushButton::clicked, this, GuardedSlot([this] {
                if (!IsBusy() && ConfirmDiscardTableEdits())
                    btnReadConfigClick();
            }));
    connect(ui->cbPort, &QComboBox::activated, this, GuardedSlot([this] { cbPortChange(); }));
    connect(ui->edtMuxIP, &QLineEdit::textChanged, this, GuardedSlot([this] { edtMuxIPChange(); }));
    connect(ui->edtMuxPort, &QLineEdit::textChanged, this, GuardedSlot([this] { edtMuxIPChange(); }));

    connect(ui->btnClear, &QPushButton::clicked, this, GuardedSlot([this] { btnClearClick(); }));
    connect(ui->chbNoScroll, &QCheckBox::toggled, this, GuardedSlot([this] { chbNoScrollClick(); }));
    connect(ui->cbViewFilter, &QComboBox::activated, this,
            GuardedSlot1<int>([this](int index) { cbViewFilterChange(index); }));
    connect(ui->btnSend, &QPushButton::clicked, this, GuardedSlot([this] { btnSendClick(); }));
    connect(ui->cbSentence->lineEdit(), &QLineEdit::returnPressed, this,
            GuardedSlot([this] { cbSentenceKeyPress(); }));
    connect(ui->btnClrHistory, &QPushButton::clicked, this, GuardedSlot([this] { btnClrHistoryClick(); }));
    connect(ui->miStartLog, &QAction::triggered, this, GuardedSlot([this] { miStartLogClick(false); }));
    connect(ui->miDiagLog, &QAction::triggered, this, GuardedSlot([this] { miStartLogClick(true); }));
    connect(ui->miStopLog, &QAction::triggered, this, GuardedSlot([this] { miStopLogClick(); }));
    connect(ui->miExit, &QAction::triggered, this, GuardedSlot([this] { miExitClick(); }));
    // The file commands run only when ready, however they are triggered.
    const auto fileCommand = [this](auto command) {
        return GuardedSlot([this, command] {
            if (FileActionsReady())
                command();
        });
    };
    connect(ui->miLoad, &QAction::triggered, this, fileCommand([this] { ConfigFiles->miLoadClick(); }));
    connect(ui->miCompare, &QAction::triggered, this, fileCommand([this] { CompareFile->miCompareClick(); }));
    connect(ui->miSave, &QAction::triggered, this, fileCommand([this] { ConfigFiles->miSaveClick(); }));
    connect(ui->miSaveAs, &QAction::triggered, this, fileCommand([this] { ConfigFiles->miSaveAsClick(); }));

    connect(&NmeaReadTimer, &QTimer::timeout, this, GuardedSlot([this] { NmeaReadTimerTimer(); }));
    connect(&ConfigTimer, &QTimer::timeout, this, GuardedSlot([this] { ConfigTimerTimer(); }));
    connect(&TimeOutTimer, &QTimer::timeout, this, GuardedSlot([this] { TimeOutTimerTimer(); }));
    connect(&OVTimer, &QTimer::timeout, this, GuardedSlot([this] { OVTimerTimer(); }));
    connect(&LogPanelTimer, &QTimer::timeout, this, GuardedSlot([this] { LogPanelTimerTimer(); }));
}

void TMainForm::AddSerialPortEntry(const QString& friendlyName, const QString& portName) {
    Link->AddSerialPort(friendlyName.toStdString(), portName.toStdString());
    // The simulated multiplexer stays the last entry.
    ui->cbPort->insertItem(SimEntryIndex() - 1, friendlyName);
}

// ---- Stored settings ----

void TMainForm::LoadSettings() {
    QSettings settings = StoredSettings();
    // The key exists from the first start on, even while it holds nothing.
    const QString file = settings.fileName();
    if (!QFileInfo::exists(file)) {
        QDir().mkpath(QFileInfo(file).path());
        QFile create(file);
        if (create.open(QIODevice::WriteOnly))
            create.close();
    }
    bool isNumber = false;
    const int port = settings.value(QStringLiteral("Port")).toInt(&isNumber);
    if (!settings.contains(QStringLiteral("Port")) || !isNumber)
        return;
    ui->cbPort->setCurrentIndex(port >= 0 && port < ui->cbPort->count() ? port : -1);
    ui->edtMuxIP->setText(settings.value(QStringLiteral("IP")).toString());
    ui->edtMuxPort->setText(settings.value(QStringLiteral("NetPort")).toString());
    if (settings.contains(QStringLiteral("SimModel")))
        SimModelCode = settings.value(QStringLiteral("SimModel")).toString().toStdString();
    if (ui->edtMuxPort->text().isEmpty())
        ui->edtMuxPort->setText(QString::number(TComm::kDefaultPort));
}

void TMainForm::SaveSettings(bool remove) {
    QSettings settings = StoredSettings();
    if (remove) {
        settings.clear();
        return;
    }
    settings.setValue(QStringLiteral("Port"), ui->cbPort->currentIndex());
    settings.setValue(QStringLiteral("IP"), ui->edtMuxIP->text());
    settings.setValue(QStringLiteral("NetPort"), ui->edtMuxPort->text());
    settings.setValue(QStringLiteral("SimModel"), QString::fromStdString(SimModelCode));
    SaveWindowState(settings);
}

// ---- Closing ----

void TMainForm::closeEvent(QCloseEvent* event) {
    // Closing the link under a wait that is still on the stack would pull the
    // ground from under it: close once that operation has ended.
    if (BusyDepth > 0) {
        CloseRequested = true;
        event->ignore();
        return;
    }
    if (!ConfirmDiscardTableEdits()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TMainForm::FormClose() {
    CloseLink();
    SaveSettings(RemoveFromRegistry);
    if (LogFile.IsOpen()) {
        try {
            LogFile.Close();
        } catch (const std::exception&) {
            // The window is going; there is nobody left to tell.
        }
    }
}

// ---- Enabling ----

void TMainForm::EnableGroup(QWidget* container, bool enable) {
    for (QObject* child : container->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget == nullptr || widget->isWindow())
            continue;
        widget->setEnabled(enable);
        if (enable)
            continue;
        if (auto* check = qobject_cast<QCheckBox*>(widget))
            check->setChecked(false);
        else if (auto* combo = qobject_cast<QComboBox*>(widget))
            combo->setCurrentIndex(-1);
        else if (auto* edit = qobject_cast<QLineEdit*>(widget))
            edit->clear();
    }
}

void TMainForm::EnableControls(bool enable) {
    Updating = true;
    ControlsEnabled = enable;
    for (QWidget* group :
         {static_cast<QWidget*>(ui->gbSendNmea), static_cast<QWidget*>(ui->gbNMEAIn),
          static_cast<QWidget*>(ui->gbNMEAOut), static_cast<QWidget*>(ui->gbPriority),
          static_cast<QWidget*>(ui->gbGenOptions), static_cast<QWidget*>(ui->gbNmeaGen),
          static_cast<QWidget*>(ui->gbConversions), ui->tabRouting, ui->tabModbus, ui->tabAISMob,
          ui->tabNMEA2000, static_cast<QWidget*>(ui->gbN2KOptions),
          static_cast<QWidget*>(ui->gbN2kDeviceSettings), static_cast<QWidget*>(ui->gbMbRates)})
        EnableGroup(group, enable);
    if (!enable) {
        // Edits that were marked red for an invalid entry start clean.
        for (QLineEdit* edit : {ui->edtTalkID1, ui->edtTalkID2, ui->edtTalkID3, ui->edtTalkID4,
                                ui->edtTalkIDConv, ui->edtMbSlaveAddr, ui->edtMbXdrIntvl, ui->edtMbPollIntvl})
            edit->setPalette(QApplication::palette(edit));
    }
    Updating = false;
    UpdateView();
}

bool TMainForm::IsNetworkEntry() const {
    const int index = ui->cbPort->currentIndex();
    return index >= kPortUdpAll && index < kFirstSerialPort;
}

void TMainForm::UpdateView() {
    Updating = true;
    const int port = ui->cbPort->currentIndex();
    const bool network = IsNetworkEntry();
    for (QWidget* w : {static_cast<QWidget*>(ui->lbHost), static_cast<QWidget*>(ui->lbPort),
                       static_cast<QWidget*>(ui->edtMuxIP), static_cast<QWidget*>(ui->edtMuxPort)})
        w->setVisible(network || port < 0);
    ui->miKorvelan3E->menuAction()->setVisible(network);
    if (port < 0)
        ui->btnConnect->setEnabled(false);
    else if (network)
        ui->btnConnect->setEnabled(!ui->edtMuxIP->text().isEmpty());
    else
        ui->btnConnect->setEnabled(true);

    const bool open = IsLinkOpen();
    for (QAction* entry :
         {ui->miUpdateFirmware, ui->miResetFactorySettings, ui->miAutomaticUpdate, ui->miStats})
        entry->setEnabled(open);
    UpdateFileActions();
    ui->edtMuxIP->setEnabled(!open);
    ui->edtMuxPort->setEnabled(!open);
    ui->cbViewFilter->setEnabled(open);

    if (open) {
        for (QObject* child : ui->gbSendNmea->children())
            if (auto* widget = qobject_cast<QWidget*>(child))
                widget->setEnabled(true);
        ui->btnConnect->setText(QStringLiteral("Disconnect"));
        ui->btnConnect->setIcon(bmConnOn);
        SetStatusPanel(0,
                       QStringLiteral("Device: ") + QString::fromLatin1(MuxDeviceString) + SimulatedSuffix());
        SetStatusPanel(1, VersionPanelText());
        SetStatusPanel(2, QStringLiteral("Serial: ") + QString::fromLatin1(MuxSerialString));
        // Blank, disabled controls stay blank until a read has brought them alive.
        if (RXState == TRXState::stNormal && ControlsEnabled) {
            ShowInputsOutputs();
            ShowOptions();
            ShowConversions();
            ShowN2KSettings();
            Tables->ShowRoutingTab();
            Tables->ShowModbusTab();
            ui->edtMbXdrIntvl->setText(QString::number(MuxConfig.ModbusXdrInterval));
            ui->edtMbPollIntvl->setText(QString::number(MuxConfig.ModbusPollInterval));
            Tables->ShowMobTab();
        } else if (RXState == TRXState::stCapture) {
            Tables->ShowRoutingTab();
        }
        Updating = false;
        ShowTitle();
    } else {
        ShowTitle();
        ClearTables();
        MuxDeviceString.clear();
        MuxVersionString.clear();
        MuxVersion = {}; // an earlier device's version never counts for the next one
        MuxSerialString.clear();
        SetStatusPanel(0, QStringLiteral("Device: "));
        SetStatusPanel(1, QStringLiteral("Version: "));
        SetStatusPanel(2, QStringLiteral("Serial: "));
        ui->btnConnect->setText(QStringLiteral("Connect"));
        ui->btnConnect->setIcon(bmConnOff);
        ui->miKorvelan3Wi->menuAction()->setVisible(false);
        ui->edtMbSlaveAddr->setVisible(false);
        ui->lblMbSlaveAddr->setVisible(false);
        ui->cbViewFilter->setCurrentIndex(0);
        // Updating stays set while the link is closed: no edit may send.
    }
}

// ---- Busy state and the file commands ----

void TMainForm::BeginBusy() {
    if (BusyDepth++ == 0)
        UpdateFileActions();
}

void TMainForm::EndBusy() {
    if (--BusyDepth > 0)
        return;
    UpdateFileActions();
    if (CloseRequested)
        QTimer::singleShot(0, this, [this] { close(); });
}

bool TMainForm::FileActionsReady() const {
    // A file is read or written only against a configuration read to its end and
    // never while another operation waits: half-read tables never reach a file,
    // and file rows never mix with reports still arriving.
    return IsLinkOpen() && RXState == TRXState::stNormal && MuxInterface >= 0 && ControlsEnabled &&
           BusyDepth == 0;
}

void TMainForm::UpdateFileActions() {
    const bool ready = FileActionsReady();
    for (QAction* entry : {ui->miLoad, ui->miCompare, ui->miSave, ui->miSaveAs})
        entry->setEnabled(ready);
    setAcceptDrops(ready);
    // A read in progress: no second read meanwhile. (The firmware update sets the
    // button itself, through the connection group.)
    const bool reading = RXState == TRXState::stGetVersion || RXState == TRXState::stGetConfig;
    ui->btnReadConfig->setEnabled(IsLinkOpen() && BusyDepth == 0 && !reading &&
                                  RXState != TRXState::stCapture);
    if (Tables)
        Tables->SetStoresEnabled(ControlsEnabled && RXState == TRXState::stNormal && BusyDepth == 0);
}

bool TMainForm::ConfirmDiscardTableEdits() {
    return !Tables || Tables->ConfirmDiscardEdits();
}

void TMainForm::edtMuxIPChange() {
    if (IsNetworkEntry())
        ui->btnConnect->setEnabled(!ui->edtMuxIP->text().isEmpty());
}

} // namespace kvl
