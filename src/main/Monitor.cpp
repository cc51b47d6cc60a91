// The traffic monitor: the view of received lines, its filter and options, the
// send box with its history, the traffic logs and the overflow lamps.
#include "host/Dialogs.h"
#include "host/MainErrors.h"
#include "main/MainForm.h"
#include "ui_MainForm.h"

namespace kvl {

namespace {

constexpr int kFilterMultiplexerItem = 7;
constexpr int kFilterN2K = 6;
constexpr unsigned kOverflowOutput1 = 0x01;
constexpr unsigned kOverflowOutput2 = 0x02;

} // namespace

bool TMainForm::PassesViewFilter(const TSentence& sentence) const {
    if (ViewFilter < 0)
        return true;
    switch (sentence.Source) {
    case TSource::SrcNone:
        return true;
    case TSource::SrcN0183:
        return sentence.Input == ViewFilter;
    case TSource::SrcN2K:
        return ViewFilter == kFilterN2K;
    }
    return false;
}

void TMainForm::ShowSentence(const TSentence& sentence) {
    if (sentence.Command == TPQZXCmd::PQZXSTAT)
        return; // the statistics window shows these
    std::string text =
        ui->chbTAGShow->isChecked() ? sentence.TAGblock + sentence.Sentence : sentence.Sentence;
    if (ui->chbNoScroll->isChecked())
        TrafficView->NmeaData.Put(std::move(text), sentence.Address); // one line per address
    else
        TrafficView->NmeaData.Add(std::move(text));
}

void TMainForm::ShowNotice(const std::string& text) {
    if (ui->chbNoScroll->isChecked())
        TrafficView->NmeaData.Put(text, {}); // a row of its own, never replaced
    else
        TrafficView->NmeaData.Add(text);
}

void TMainForm::RefreshView() {
    TrafficView->Refresh();
}

void TMainForm::btnClearClick() {
    TrafficView->Clear(!ui->chbNoScroll->isChecked());
}

void TMainForm::chbNoScrollClick() {
    btnClearClick();
}

void TMainForm::cbViewFilterChange(int index) {
    if (index == 0)
        ViewFilter = -1;
    else if (index == kFilterMultiplexerItem)
        ViewFilter = 0;
    else
        ViewFilter = index;
}

void TMainForm::btnSendClick() {
    const QString text = ui->cbSentence->currentText();
    if (text.isEmpty())
        return;
    if (ui->cbSentence->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0) {
        ui->cbSentence->insertItem(0, text);
        if (ui->cbSentence->count() > kHistoryItems)
            ui->cbSentence->removeItem(ui->cbSentence->count() - 1);
    }
    // Inserting an item may change the edit text; the typed text is what is sent.
    ui->cbSentence->setEditText(text);
    SendSentence(text.toLatin1().toStdString());
}

void TMainForm::btnClrHistoryClick() {
    const QString text = ui->cbSentence->currentText();
    ui->cbSentence->clear();
    ui->cbSentence->setEditText(text);
}

// ---- Logs ----

void TMainForm::miStartLogClick(bool diagnostic) {
    const QString name = Dialogs().SaveFileName(kSaveFilters, kSaveFilterLog, QString());
    if (name.isEmpty())
        return;
    LogFileName = name;
    LogLines = 0;
    try {
        LogFile.Open(name.toLocal8Bit().toStdString(), diagnostic);
    } catch (const EInOutError&) {
        Dialogs().ShowMessage(QStringLiteral("Error Creating \"") + LogFileName + QStringLiteral("\""));
        return;
    }
    ui->miStartLog->setEnabled(false);
    ui->miDiagLog->setEnabled(false);
    ui->miStopLog->setEnabled(true);
}

void TMainForm::LogLine(const std::string& tagBlock, const std::string& text,
                        TTrafficLog::TDirection direction) {
    ++LogLines;
    ShowLogCount();
    try {
        LogFile.WriteLine(tagBlock, text, direction);
    } catch (const EInOutError& e) {
        StopLogAfterError(QString::fromLocal8Bit(e.what()));
    }
}

// The lines gathered since the last block go to the file: after each drain and
// after each sent line.
void TMainForm::FlushLog() {
    if (!LogFile.IsOpen())
        return;
    try {
        LogFile.Flush();
    } catch (const EInOutError& e) {
        StopLogAfterError(QString::fromLocal8Bit(e.what()));
    }
}

// Redrawing the log panel for every line cost more than the log itself: it shows
// the count at once, then at most every kLogPanelMs with the latest count.
void TMainForm::ShowLogCount() {
    if (LogPanelTimer.isActive()) {
        LogPanelStale = true;
        return;
    }
    SetStatusPanel(4, QStringLiteral("Log: %1 lines").arg(LogLines));
    LogPanelStale = false;
    LogPanelTimer.start();
}

void TMainForm::LogPanelTimerTimer() {
    if (LogPanelStale && LogFile.IsOpen())
        ShowLogCount();
}

void TMainForm::StopLogAfterError(const QString& message) {
    LogPanelTimer.stop();
    SetStatusPanel(4, QStringLiteral("Log: %1 lines").arg(LogLines)); // the count keeps its value
    ui->miStartLog->setEnabled(true);
    ui->miDiagLog->setEnabled(true);
    ui->miStopLog->setEnabled(false);
    QString shown = message;
    try {
        LogFile.Close();
    } catch (const EInOutError&) {
        // The write error already says what went wrong.
    }
    Dialogs().ShowMessage(shown);
}

void TMainForm::miStopLogClick() {
    if (!LogFile.IsOpen())
        return;
    ui->miStartLog->setEnabled(true);
    ui->miDiagLog->setEnabled(true);
    ui->miStopLog->setEnabled(false);
    LogPanelTimer.stop();
    SetStatusPanel(4, QStringLiteral("Log: ---"));
    LogFile.Close(); // a failing close is reported by the general error display
}

// ---- Overflow lamps ----

void TMainForm::HandleOverflow(const TSentence& sentence) {
    if (sentence.Field(1).empty())
        return;
    const std::uint32_t bits = sentence.FieldHex(1);
    if (bits & kOverflowOutput1)
        ui->ldOverflow1->SetLit(true);
    if (bits & kOverflowOutput2)
        ui->ldOverflow2->SetLit(true);
    // The lamps go dark at the timer's next tick; a running timer keeps its rhythm.
    if (!OVTimer.isActive())
        OVTimer.start();
}

void TMainForm::OVTimerTimer() {
    ui->ldOverflow1->SetLit(false);
    ui->ldOverflow2->SetLit(false);
}

} // namespace kvl
