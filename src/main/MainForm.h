// TMainForm: the main window. It owns the link to the multiplexer and the
// configuration model, drains and dispatches received lines every 20 ms, shows
// the traffic, sends sentences and waits for answers, and enables its controls
// by connection state. Its implementation is split by concern:
//   MainForm.cpp    start-up, closing, stored settings, enabling
//   Connection.cpp  connect, read configuration, drain, dispatch, send and wait
//   Monitor.cpp     traffic view, send history, logs, overflow lamps
//   PortList.cpp    the live port list, --connect, why a serial port did not open
//   SimLink.cpp     the multiplexer simulated inside the program and its model
//   WindowLayout.cpp  resizing, the splitter and the stored window geometry
#pragma once

#include "host/MuxHost.h"
#include "host/RXState.h"
#include "link/Comms.h"
#include "main/PortWatch.h"
#include "main/ReplyWaits.h"
#include "main/TrafficLog.h"
#include "main/TrafficView.h"
#include "model/MuxConfig.h"
#include "model/MuxVersion.h"
#include "sentence/Sentence.h"

#include <QIcon>
#include <QMainWindow>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QCheckBox;
class QSettings;
class QComboBox;
class QLabel;
class QLineEdit;

namespace Ui {
class TMainForm;
}

namespace kvl {

// The program's stored settings (user scope).
QSettings StoredSettings();

struct TAuxViews;
struct TN2KDevices;
class TCompareWithFile;
class TConfigFiles;
class TTables;
struct TConnectTarget;
class TFirmwareUpdate;
class TNetworkSetup;
class TTrafficDetails;

class TMainForm : public QMainWindow, public TMuxHost {
    Q_OBJECT
public:
    static constexpr int kReplyTimeoutMs = 1000;
    static constexpr int kVersionTimeoutMs = 4000;
    static constexpr int kConfigIntervalMs = 4000;
    static constexpr int kDrainIntervalMs = 20;
    static constexpr int kOverflowLampMs = 500;
    static constexpr int kLogPanelMs = 100;
    static constexpr std::size_t kScrollLines = TTrafficLines::kScrollLines;
    static constexpr int kHistoryItems = 20;

    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // Connection controller.
    void btnConnectClick();
    void btnReadConfigClick();
    void NmeaReadTimerTimer();
    void DispatchSentence(const std::string& line);
    // arrival: when the link received the line (the sentence rates measure from it).
    void DispatchSentence(const std::string& line, std::chrono::steady_clock::time_point arrival);
    void SendSentence(const std::string& text) override;
    void SendAndWaitReady(const std::string& text) override;
    void SendAndWait(const std::string& text, TPQZXCmd command) override;
    void WaitForReply(TPQZXCmd command, int timeoutMs) override;
    void SendNmea(const std::string& text) override;
    void SendTextFile(const QString& fileName) override;
    void EnableGroup(QWidget* container, bool enable);
    void EnableControls(bool enable) override;
    void UpdateView() override;

    // Traffic monitor.
    void ShowSentence(const TSentence& sentence);
    void ShowNotice(const std::string& text); // a line of the tool's own in the view
    void RefreshView();
    void LogLine(const std::string& tagBlock, const std::string& text, TTrafficLog::TDirection direction);
    void FlushLog();
    void HandleOverflow(const TSentence& sentence);

    // Device identity and the configuration read.
    void ProcessVER(const TSentence& sentence) override;
    void ApplyCapabilities(const std::string& text);
    void OnSTNGConverterFound(int value);
    void ProcessCF(const TSentence& sentence);
    void ProcessSP(const TSentence& sentence);
    void ProcessID(const TSentence& sentence);
    void ProcessUI(const TSentence& sentence);
    void ProcessDR(const TSentence& sentence);
    void ProcessIN(const TSentence& sentence);
    void ProcessPR(const TSentence& sentence);
    void ProcessOP(const TSentence& sentence);
    void ProcessCNV(const TSentence& sentence);
    void ProcessNO(const TSentence& sentence);
    void ProcessNF(const TSentence& sentence);
    void ProcessNA(const TSentence& sentence);
    void ProcessND(const TSentence& sentence);
    void ProcessDS(const TSentence& sentence);
    void ProcessMB(const TSentence& sentence);

    // Showing the model on the settings tabs.
    void ShowInputsOutputs();
    void ShowOptions();
    void ShowConversions();
    void ShowDataSources();
    void ShowDataSourceLabel(unsigned source);
    void ShowN2KSettings();

    // Editing the settings.
    void WriteAllSettings() override;
    QString WriteAllRefusal() const override; // why a write-all cannot run, empty when it can
    void BeginBusy() override;
    void EndBusy() override;
    bool IsBusy() const override { return BusyDepth > 0; }
    // Load, Save, Save As, Compare and drops: only against a configuration read to
    // its end, and while nothing else waits for the multiplexer.
    bool FileActionsReady() const;
    void miResetFactorySettingsClick();

    // The NMEA 2000 devices: the scanner's change notification, the device list,
    // the data-source device labels.
    void N2KDeviceChange();
    void btnDeviceListClick();
    void lbRotMastWindClick(unsigned source);
    TN2KDevices& N2KDevices() { return *N2K; }

    // The statistics window and the About box.
    void miStatsClick();
    void miAboutClick();
    void miSentenceRatesClick();

    // Stored settings.
    void LoadSettings();
    void SaveSettings(bool remove);

    // Adds a serial entry to the port list (pseudo-terminals are not enumerated).
    void AddSerialPortEntry(const QString& friendlyName, const QString& portName);
    // The live port list: the poll's handler and the enumeration it uses.
    void PortListTimerTimer();
    void SetPortEnumerator(TPortWatch::TEnumerator enumerator);
    // Shows the link in the port selector, host and port, and connects as the
    // Connect button does (the command line's --connect).
    void ConnectTo(const TConnectTarget& target);

    // The simulated multiplexer: the model it simulates is asked for on Connect
    // (the chooser is replaced by tests) and kept in the stored settings.
    using TSimModelChooser = std::function<std::optional<std::string>(const std::string& current)>;
    void SetSimModelChooser(TSimModelChooser chooser) { SimModelChooser = std::move(chooser); }
    const std::string& SimModel() const { return SimModelCode; }
    bool IsSimulated() const { return Link->CommMode() == TCommMode::cmSim; }

    // TMuxHost: what the subsystems beside the window use, and tests.
    TComm& Comm() override { return *Link; }
    bool IsLinkOpen() const override { return Link->CommMode() != TCommMode::cmClosed; }
    TMuxConfig& Config() override { return MuxConfig; }
    TRXState GetRXState() const override { return RXState; }
    void SetRXState(TRXState state) override { RXState = state; }
    int MuxInterfaceType() const override { return MuxInterface; }
    std::uint16_t Capabilities() const override { return KVLCaps; }
    const TMuxVersion& FirmwareVersion() const override { return MuxVersion; }
    std::string MuxIP() const override;
    void SetMuxIP(const std::string& host) override;
    void UseNetworkLink(bool tcp, const std::string& port) override;
    std::string MuxSerial() const override;
    TNetworkSetup& Network() { return *NetworkSetup; }
    TMuxIdentity Identity() const override { return {MuxDeviceString, MuxVersionString, MuxSerialString}; }
    void ShowConfigFileName(const QString& fileName) override;

    // The configuration file commands and files dropped on the window.
    void HandleDroppedFiles(const QStringList& files);
    TTables& TableEditors() { return *Tables; }
    TConfigFiles& ConfigFileCommands() { return *ConfigFiles; }

    TPQZXCmd WaitForResponse() const { return Waits.Innermost(); }
    int GetViewFilter() const { return ViewFilter; }
    bool IsUpdating() const { return Updating; }
    // The settings controls are enabled and show the model (a read ended well).
    bool ControlsAlive() const { return ControlsEnabled; }
    bool ActiveLog() const { return LogFile.IsOpen(); }
    bool DiagLog() const { return LogFile.IsDiagnostic(); }
    const std::deque<std::string>& GetNmeaData() const { return TrafficView->NmeaData.Lines(); }
    QString StatusPanel(int index) const;
    TAuxViews& AuxViews() { return *Views; }
    TTrafficDetails& TrafficDetails() { return *Details; } // the "Details" pane beside the traffic
    TFirmwareUpdate& FirmwareUpdate() { return *Firmware; }

    // TMuxHost: what the firmware update needs of the window.
    void EnableHostControls(bool enable) override;
    void EnableUpdateCommand() override;
    void StartTimeOut(const std::string& message) override;
    void StopTimeOut() override;

    QTimer NmeaReadTimer; // drains the receive queue every 20 ms
    QTimer ConfigTimer;   // "$PQZXCF,A" every 4000 ms while connected
    QTimer TimeOutTimer;  // response time-out of a multi-step exchange
    QTimer OVTimer;       // turns the overflow lamps off
    QTimer LogPanelTimer; // the log panel's count, at most every kLogPanelMs
    bool RemoveFromRegistry = false;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Start-up and closing.
    void FormCreate();
    void FormShow();
    void ShowStartupFace();
    void FormClose();
    void miExitClick() { close(); } // closing runs FormClose like any other way of closing
    void ConnectSignals();
    void CreateStatusBar();
    void ArrangeWindow();
    void RestoreWindowState();
    void SaveWindowState(QSettings& settings) const;
    void SetStatusPanel(int index, const QString& text);

    // Connection.
    void StartPortWatch();
    int SerialEntryIndex(const QString& path);
    QString SerialOpenFailureText(int index) const;
    void OpenLink();
    void OpenSimLink();
    int SimEntryIndex() const;
    void AddSimEntry();
    bool IsSimEntry() const;
    QString SimulatedSuffix() const;
    void ShowTitle();
    void CloseLink();
    bool IsNetworkEntry() const;
    void ClearTables();
    void cbPortChange();
    void edtMuxIPChange();
    void TimeOutTimerTimer();
    void ConfigTimerTimer();
    void DispatchByState(const TSentence& sentence);
    bool ReportDroppedLines();
    void ReportDispatchError(const QString& format, const TSentence& sentence);
    void ReturnToNormalAfterError();
    void HandleInEveryState(const TSentence& sentence);
    void HandleConfigReport(const TSentence& sentence);
    void ShowIdentity();
    void FillSelectorItems();
    void SetInput1Modes(bool nmea2000);
    void SetPriorityItems(bool nmea2000);
    bool HasNmea2000() const;
    void SetViewBackground(bool grey);

    // Editing.
    using TBitBoxes = std::vector<std::pair<QCheckBox*, unsigned>>; // a check box and its bit
    TBitBoxes OptionBoxes() const;
    TBitBoxes ConversionBoxes() const;
    TBitBoxes NmeaGenBoxes() const;
    void AssignOptionBits();
    void ConnectSettingsSignals();
    std::vector<QCheckBox*> RouteBoxes() const;
    std::vector<QLineEdit*> TalkerIDEdits() const;
    std::vector<QLineEdit*> SAEdits() const;
    std::vector<QLineEdit*> DIEdits() const;
    void cbBaudIOChange(QComboBox* changed);
    void cbPrioChange();
    void cbPrioTimeoutChange();
    void edtUniqueIDKeyPress();
    void OptionsClick(QCheckBox* box);
    void ConversionsClick(QCheckBox* box);
    void Nmea2kOptionsClick(QCheckBox* box);
    void cbTrueWindChange();
    void N2kSelectorChange(QComboBox* selector, unsigned bit);
    void cbAttitudeChange();
    void cbDepthChange();
    void cbTrueHeadingChange();
    void cbModbusModeChange();
    void edtMbEditKeyPress(QLineEdit* edit);
    void chbRouteClick();
    void StoreTalkerID(QLineEdit* field, std::string& target);
    void edtTalkIDKeyPress();
    void edtTalkIDExit(QLineEdit* field);
    void cbModeInChange();
    void cbDevFuncInChange();
    void edtSAKeyPress(QLineEdit* edit);
    void edtDIKeyPress(QLineEdit* edit);
    void cbRotMastWindChange(QComboBox* selector);

    // Monitor.
    bool PassesViewFilter(const TSentence& sentence) const;
    void btnClearClick();
    void chbNoScrollClick();
    void cbViewFilterChange(int index);
    void btnSendClick();
    void cbSentenceKeyPress() { btnSendClick(); } // Enter in the sentence field sends it
    void btnClrHistoryClick();
    void miStartLogClick(bool diagnostic);
    void miStopLogClick();
    void StopLogAfterError(const QString& message);
    void ShowLogCount();
    void LogPanelTimerTimer();
    void OVTimerTimer();

    // Auxiliary views.
    void CreateAuxViews();
    void CreateDetailsPane();
    void CreateFirmwareUpdate();
    // "Version: " and the version answer's text, or the bootloader that announced itself.
    QString VersionPanelText() const;
    void CreateNetworkSetup();
    void HideStatistics();
    void CreateN2K();
    void ConnectRouteDevices();
    bool DataSourceLabelClicked(QObject* watched, QEvent* event);

    // An operation that runs a nested event loop (a wait, a store, a write of all
    // settings): closing the window waits until it has ended, and the file
    // commands, stores and reads stay disabled meanwhile. Kept by TBusyGuard.
    int BusyDepth = 0;
    bool CloseRequested = false;
    using TBusyScope = TBusyGuard;
    // The file commands, drops, stores and Read Configuration by the state.
    void UpdateFileActions();
    // Asks before edits of the tables that were not stored are thrown away.
    bool ConfirmDiscardTableEdits();

    std::unique_ptr<Ui::TMainForm> ui;
    std::unique_ptr<TComm> Link;
    TPortWatch PortWatch;
    TMuxConfig MuxConfig;
    QLabel* StatusLabels[5] = {};
    QIcon bmConnOn;
    QIcon bmConnOff;
    std::unique_ptr<TAuxViews> Views;
    std::unique_ptr<TFirmwareUpdate> Firmware; // the update and the memory read-out
    std::unique_ptr<TNetworkSetup> NetworkSetup;
    std::unique_ptr<TN2KDevices> N2K;
    std::unique_ptr<TTables> Tables;               // the routing, Modbus and AIS MOB tables
    std::unique_ptr<TConfigFiles> ConfigFiles;     // load, save and dropped files
    std::unique_ptr<TCompareWithFile> CompareFile; // a file against the device, before writing

    TRXState RXState = TRXState::stNormal;
    TReplyWaits Waits;
    bool Updating = false;
    int MuxInterface = -1;
    std::uint16_t KVLCaps = 0;
    TMuxVersion MuxVersion;
    bool ControlsEnabled = false; // the settings controls are enabled and show the model
    QString TimeOutMessage;
    std::string MuxDeviceString;
    std::string MuxVersionString;
    std::string MuxSerialString;

    std::unique_ptr<TTrafficView> TrafficView; // NmeaData and the screen it is shown on
    TTrafficDetails* Details = nullptr;        // owned by the traffic view's widget
    int ViewFilter = -1;
    TTrafficLog LogFile;
    QString LogFileName;
    unsigned LogLines = 0;
    bool LogPanelStale = false;      // lines logged since the panel last showed the count
    std::size_t ReportedDropped = 0; // dropped lines of the receive queue already reported

    std::string SimModelCode = "3N";
    std::optional<std::string> GivenSimModel; // --connect sim:MODEL: connect without asking
    TSimModelChooser SimModelChooser;
};

} // namespace kvl
