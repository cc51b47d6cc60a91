// The connection controller: opening and closing the link, reading the
// configuration, the 20 ms drain with the dispatch of every received line,
// sending with and without waiting for an answer, and the time-outs.
#include "firmware/FirmwareUpdate.h"
#include "host/Dialogs.h"
#include "host/Guarded.h"
#include "host/MainErrors.h"
#include "host/WaitCursor.h"
#include "main/MainForm.h"
#include "n2k/N2KDevices.h"
#include "network/NetworkSetup.h"
#include "sentence/NmeaError.h"
#include "tables/Tables.h"
#include "ui_MainForm.h"
#include "views/AuxViews.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <chrono>
#include <thread>

namespace kvl {

namespace {

constexpr int kPortUdpAll = 0;
constexpr int kPortUdp = 1;
constexpr int kPortTcp = 2;
constexpr int kHostSerialSpeedIndex = 7; // 460800 baud

// Sets a flag for the life of a scope and clears it on every path.
class TUpdatingScope {
public:
    explicit TUpdatingScope(bool& flag) : Flag(flag) { Flag = true; }
    ~TUpdatingScope() { Flag = false; }
    TUpdatingScope(const TUpdatingScope&) = delete;
    TUpdatingScope& operator=(const TUpdatingScope&) = delete;

private:
    bool& Flag;
};

} // namespace

// ---- Connect and disconnect ----

void TMainForm::btnConnectClick() {
    if (IsLinkOpen()) {
        CloseLink();
    } else {
        OpenLink();
        if (IsLinkOpen()) {
            Views->Rates.Reset(); // the counting starts again with each connection
            ConfigTimer.start();
            SendSentence("$PQZXCF,A");
            if (IsLinkOpen())
                btnReadConfigClick();
        } else {
            ConfigTimer.stop();
            TimeOutTimer.stop();
        }
    }
    MuxInterface = -1;
}

void TMainForm::OpenLink() {
    TWaitCursor cursor;
    std::string resource = ui->edtMuxIP->text().toLatin1().toStdString();
    if (!ui->edtMuxPort->text().isEmpty())
        resource += ":" + ui->edtMuxPort->text().toLatin1().toStdString();
    const int index = ui->cbPort->currentIndex();
    try {
        switch (index) {
        case kPortUdpAll:
            Link->OpenPort(TCommMode::cmUDP, resource, 0);
            break;
        case kPortUdp:
            Link->OpenPort(TCommMode::cmUDP, resource, 1);
            break;
        case kPortTcp:
            Link->OpenPort(TCommMode::cmTCP, resource, 0);
            break;
        default:
            if (IsSimEntry()) {
                OpenSimLink();
                break;
            }
            if (index < 0 || static_cast<std::size_t>(index) >= Link->Ports().size())
                return;
            if (Link->OpenPort(TCommMode::cmSerial, Link->Ports()[static_cast<std::size_t>(index)],
                               kHostSerialSpeedIndex) == TCommMode::cmClosed)
                Dialogs().ShowMessage(SerialOpenFailureText(index));
            break;
        }
    } catch (const std::exception& e) {
        Dialogs().ShowMessage(QString::fromLocal8Bit(e.what()));
    }
}

void TMainForm::ClearTables() {
    Tables->ForgetEdits(); // what was not stored is gone with the tables
    MuxConfig.RouteClear();
    MuxConfig.ModbusClear();
    MuxConfig.MobClear();
    MuxConfig.DataSrcClear();
}

// The Disconnect button's path, also taken when another port is chosen.
void TMainForm::CloseLink() {
    if (RXState == TRXState::stCapture)
        RXState = TRXState::stNormal;
    ViewFilter = -1;
    HideStatistics();
    Firmware->LinkClosed();
    Link->ClosePort();
    Waits.ReleaseAll();
    N2K->Scanner.SetUniqueIdKnown(true);
    ConfigTimer.stop();
    TimeOutTimer.stop();
    Tables->LinkClosed();
    EnableControls(false);
}

void TMainForm::cbPortChange() {
    if (IsLinkOpen()) {
        CloseLink();
        MuxInterface = -1;
    }
    EnableControls(false);
    SaveSettings(false);
}

void TMainForm::btnReadConfigClick() {
    RXState = TRXState::stGetVersion;
    Updating = true;
    ClearTables();
    EnableControls(false);
    TimeOutMessage = QStringLiteral("Multiplexer does not respond");
    TimeOutTimer.start();
    SendSentence("$PQZXVER");
}

// ---- Timers ----

void TMainForm::TimeOutTimerTimer() {
    Firmware->TimeOut();
    RXState = TRXState::stNormal;
    UpdateView();
    TimeOutTimer.stop();
    Dialogs().ShowMessage(TimeOutMessage);
}

void TMainForm::ConfigTimerTimer() {
    SendSentence("$PQZXCF,A");
}

// ---- Drain and dispatch ----

void TMainForm::NmeaReadTimerTimer() {
    if (!Link)
        return;
    // One line at a time with the queue released: a wait inside a dispatch must
    // be able to receive its answer through a nested drain.
    std::string line;
    TComm::Clock::time_point arrival;
    bool dispatched = false;
    while (Link->TakeLine(line, arrival)) {
        DispatchSentence(line, arrival);
        dispatched = true;
        if (!Link)
            break;
    }
    if (ReportDroppedLines())
        dispatched = true;
    if (dispatched) {
        FlushLog();
        RefreshView();
    }
}

// The receive queue is bounded: when the window could not keep up (a modal box
// left open under full traffic) the oldest lines were dropped. Say so, so that a
// gap in the traffic or in a configuration dump never passes unnoticed.
bool TMainForm::ReportDroppedLines() {
    const std::size_t dropped = Link->DroppedLines();
    if (dropped == ReportedDropped)
        return false;
    const std::string notice = std::to_string(dropped - ReportedDropped) + " lines dropped";
    ReportedDropped = dropped;
    ShowNotice(notice);
    if (LogFile.IsOpen() && LogFile.IsDiagnostic())
        LogLine({}, notice, TTrafficLog::TDirection::Received);
    return true;
}

void TMainForm::DispatchSentence(const std::string& line) {
    DispatchSentence(line, TComm::Clock::now());
}

void TMainForm::DispatchSentence(const std::string& line, std::chrono::steady_clock::time_point arrival) {
    const TSentence sentence(line, MuxConfig.UID);
    TUpdatingScope updating(Updating);
    try {
        if (LogFile.IsOpen())
            LogLine(sentence.TAGblock, sentence.Sentence, TTrafficLog::TDirection::Received);
        if (sentence.Command != TPQZXCmd::PQZXNone)
            Waits.Received(sentence.Command);
        Views->Rates.Add(sentence, arrival); // taken when the line was received, not now
        if (PassesViewFilter(sentence))
            ShowSentence(sentence);
        if (sentence.Command != TPQZXCmd::PQZXNone)
            N2K->Scanner.ProcessNmea(sentence);
        HandleInEveryState(sentence);
        DispatchByState(sentence);
    } catch (const ENmeaError&) {
        ReturnToNormalAfterError();
    } catch (const EInOutError&) {
        ReturnToNormalAfterError();
        Dialogs().ShowMessage(QStringLiteral("Error Creating \"") + LogFileName + QStringLiteral("\""));
    } catch (const ENumberError&) {
        ReportDispatchError(QStringLiteral("Number error in sentence:\r%1"), sentence);
    } catch (const EFieldSize&) {
        ReportDispatchError(QStringLiteral("field size error in sentence:\r%1"), sentence);
    } catch (const EMissingField&) {
        ReportDispatchError(QStringLiteral("Missing field in sentence:\r%1"), sentence);
    }
}

void TMainForm::HandleInEveryState(const TSentence& sentence) {
    switch (sentence.Command) {
    case TPQZXCmd::PQZXOV:
        HandleOverflow(sentence);
        break;
    case TPQZXCmd::PQZXNA:
        ProcessNA(sentence);
        break;
    case TPQZXCmd::PQZXND:
        ProcessND(sentence);
        break;
    case TPQZXCmd::PQZXLDR:
        Firmware->HandleLDR(sentence);
        break;
    case TPQZXCmd::PQZXMEM:
        Firmware->Readout.HandleMEM(sentence);
        break;
    case TPQZXCmd::PQZXSTAT:
        Views->Stats.HandleSTAT(sentence);
        break;
    case TPQZXCmd::PQZXWI:
        NetworkSetup->HandleWI(sentence);
        break;
    default:
        break;
    }
}

void TMainForm::DispatchByState(const TSentence& sentence) {
    switch (RXState) {
    case TRXState::stGetVersion:
        if (sentence.Command == TPQZXCmd::PQZXVER)
            ProcessVER(sentence);
        break;
    case TRXState::stGetConfig:
        if (sentence.Command == TPQZXCmd::PQZXRDY) {
            RXState = TRXState::stNormal;
            UpdateFileActions();
            N2K->Scanner.SetUniqueIdKnown(true);
            Updating = false;
            // Only a capability word applied on this connection brings the controls alive.
            if (MuxInterface >= 0)
                EnableControls(true);
        } else {
            HandleConfigReport(sentence);
        }
        break;
    case TRXState::stFwUpdStart:
        if (sentence.Command == TPQZXCmd::PQZXLDR)
            Firmware->UploadFirmware();
        break;
    case TRXState::stFwUpdEnd:
        if (sentence.Command == TPQZXCmd::PQZXVER)
            Firmware->CompleteUpdate(sentence);
        break;
    case TRXState::stGetBinary:
        if (sentence.Command == TPQZXCmd::PQZXBIN)
            Firmware->Readout.HandleBIN(sentence); // it returns to stNormal itself
        break;
    case TRXState::stCapture:
        if (sentence.Command == TPQZXCmd::PQZXNone)
            Tables->CaptureSentence(sentence);
        break;
    default:
        break;
    }
}

// A malformed line ends a read in progress; it must not abandon a firmware
// update or a route capture, which have their own time-outs.
void TMainForm::ReturnToNormalAfterError() {
    if (RXState == TRXState::stGetVersion || RXState == TRXState::stGetConfig ||
        RXState == TRXState::stGetBinary) {
        RXState = TRXState::stNormal;
        UpdateFileActions(); // Read Configuration is available again
    }
    // No unique ID is coming: the NMEA 2000 scan goes on with the one it has.
    N2K->Scanner.SetUniqueIdKnown(true);
}

void TMainForm::ReportDispatchError(const QString& format, const TSentence& sentence) {
    // The state changes before the message box: lines keep arriving under it.
    ReturnToNormalAfterError();
    Dialogs().ShowMessage(format.arg(QString::fromLatin1(sentence.JoinedFields())));
}

// ---- Sending ----

void TMainForm::SendSentence(const std::string& text) {
    if (text.empty())
        return;
    std::string sentence = text;
    if (sentence[0] != '!' && sentence[0] != '$' && sentence[0] != '\\')
        sentence.insert(sentence.begin(), '$');
    if (LogFile.IsOpen()) {
        LogLine({}, sentence, TTrafficLog::TDirection::Sent);
        FlushLog();
    }
    try {
        Link->SendNmea(sentence);
    } catch (const ECommError&) {
        btnConnectClick();
        Dialogs().ShowMessage(QStringLiteral("TCP Connection lost"));
    }
}

void TMainForm::SendAndWaitReady(const std::string& text) {
    SendSentence(text);
    WaitForReply(TPQZXCmd::PQZXRDY, kReplyTimeoutMs);
}

void TMainForm::SendAndWait(const std::string& text, TPQZXCmd command) {
    SendSentence(text);
    WaitForReply(command, kReplyTimeoutMs);
}

void TMainForm::WaitForReply(TPQZXCmd command, int timeoutMs) {
    // A link that closed (or was lost while sending) answers nothing: the wait
    // raises at once, as a disconnect during the wait makes it raise, so that no
    // caller carries on as if the multiplexer had answered.
    if (!IsLinkOpen())
        throw ELinkClosed();
    TBusyScope busy(*this);
    TReplyWaits::TScope wait(Waits, command);
    QElapsedTimer clock;
    clock.start();
    while (!wait.Answered() && clock.elapsed() <= timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        // Timers do not re-enter their own slot from a nested loop, so a wait
        // inside a dispatch drains the queue itself.
        // An error of an unrelated line goes to the general error display: it must
        // not abort the caller, which still has to finish what it started.
        Guarded([this] { NmeaReadTimerTimer(); });
        if (!wait.Answered())
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (!IsLinkOpen())
        throw ELinkClosed();
    if (!wait.Answered())
        throw ETimeOut();
}

void TMainForm::SendTextFile(const QString& fileName) {
    // A line the link could not carry is skipped, not cut.
    constexpr qsizetype kMaxTextLine = 250;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return;
    while (!file.atEnd()) {
        QByteArray line = file.readLine();
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        if (!line.isEmpty() && line.size() <= kMaxTextLine)
            Link->SendNmea(line.toStdString());
    }
}

} // namespace kvl
