#include "main/ConfigBatch.h"

#include "host/Dialogs.h"
#include "main/CommandLine.h"
#include "main/MainForm.h"
#include "model/ConfigDiff.h"
#include "model/FileError.h"
#include "tables/ConfigFiles.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <memory>
#include <thread>

namespace kvl {

namespace {

// The dialogs while a batch runs: every message is printed and counted, every
// question answered No, every file dialog cancelled.
class TBatchDialogs final : public TDialogs {
public:
    explicit TBatchDialogs(std::ostream& err) : Err(err) {}
    int Messages = 0;

protected:
    void DoShowMessageBox(const QString&, const QString& text, TIcon) override {
        ++Messages;
        QString line = text;
        line.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        Err << line.toLocal8Bit().constData() << '\n';
    }
    bool DoConfirm(const QString&, const QString&) override { return false; }
    QString DoOpenFileName(const QString&, int) override { return {}; }
    QString DoSaveFileName(const QString&, int, const QString&) override { return {}; }

private:
    std::ostream& Err;
};

// Installs the batch dialogs for its life and puts the previous ones back.
class TDialogsScope {
public:
    explicit TDialogsScope(std::ostream& err) {
        auto dialogs = std::make_unique<TBatchDialogs>(err);
        Batch = dialogs.get();
        Previous = SetDialogs(std::move(dialogs));
    }
    ~TDialogsScope() { SetDialogs(std::move(Previous)); }
    TDialogsScope(const TDialogsScope&) = delete;
    TDialogsScope& operator=(const TDialogsScope&) = delete;
    int Messages() const { return Batch->Messages; }

private:
    TBatchDialogs* Batch = nullptr;
    std::unique_ptr<TDialogs> Previous;
};

std::string FileBytes(const QString& fileName) {
    return QFile::encodeName(fileName).toStdString();
}

} // namespace

bool TConfigBatch::Failed(const char* what) {
    Err << what << '\n';
    return false;
}

bool TConfigBatch::ReadConfiguration() {
    if (!Form.IsLinkOpen())
        return Failed("No multiplexer is connected");
    TDialogsScope dialogs(Err);
    Form.btnReadConfigClick();
    QElapsedTimer clock;
    clock.start();
    while (Form.GetRXState() != TRXState::stNormal) {
        if (clock.elapsed() > ReadTimeoutMs || !Form.IsLinkOpen())
            return Failed("The configuration read did not end with $PQZXRDY");
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    // A time-out, an unsupported or incompatible multiplexer or a faulty report
    // have been told through the dialogs; a read that ended well left controls alive.
    if (dialogs.Messages() > 0 || Form.MuxInterfaceType() < 0 || !Form.ControlsAlive())
        return Failed("The configuration could not be read");
    return true;
}

int TConfigBatch::Run(const TConnectTarget& target, const QString& saveFile, const QString& loadFile) {
    {
        TDialogsScope dialogs(Err);
        Form.ConnectTo(target); // opens the link and starts a configuration read
        if (!Form.IsLinkOpen()) {
            Failed("The link could not be opened");
            return kFailed;
        }
        QElapsedTimer clock;
        clock.start();
        while (Form.GetRXState() != TRXState::stNormal && Form.IsLinkOpen() &&
               clock.elapsed() <= ReadTimeoutMs) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        if (dialogs.Messages() > 0) {
            Failed("The multiplexer could not be read");
            return kFailed;
        }
    }
    const int result = saveFile.isEmpty() ? LoadConfig(loadFile) : SaveConfig(saveFile);
    if (Form.IsLinkOpen())
        Form.btnConnectClick(); // disconnect
    return result;
}

int TConfigBatch::SaveConfig(const QString& fileName) {
    if (!ReadConfiguration())
        return kFailed;
    try {
        Form.ConfigFileCommands().Save(fileName);
    } catch (const EFileError& error) {
        QString text = QString::fromLocal8Bit(error.what());
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        Err << text.toLocal8Bit().constData() << '\n';
        return kFailed;
    }
    return kDone;
}

int TConfigBatch::LoadConfig(const QString& fileName) {
    // What the device must hold afterwards: the file's configuration.
    TMuxConfig expected;
    try {
        const TLoadReport report = expected.Load(FileBytes(fileName));
        for (const std::string& note : report.All())
            Err << note << '\n';
        if (!report.Empty() && !Force) {
            Err << "Nothing was written: give --force to write the file all the same\n";
            return kFailed;
        }
        if (!ReadConfiguration())
            return kFailed;
        (void)Form.ConfigFileCommands().Load(fileName);
    } catch (const EFileError& error) {
        QString text = QString::fromLocal8Bit(error.what());
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        Err << text.toLocal8Bit().constData() << '\n';
        return kFailed;
    }
    {
        TDialogsScope dialogs(Err);
        Form.UpdateView();
        Form.WriteAllSettings();
        if (dialogs.Messages() > 0)
            return kFailed;
    }
    if (!ReadConfiguration())
        return kFailed;
    const TConfigComparison comparison = CompareWithDevice(Form.Config(), expected, Form.Capabilities());
    for (const TConfigDifference& difference : comparison.Differences)
        Err << DifferenceLine(difference) << '\n';
    return comparison.HasDifferences() ? kFailed : kDone;
}

} // namespace kvl
