// The main window's side of the firmware update and the memory read-out: it
// creates the subsystem, binds the two menu commands and offers the window's
// state through TMuxHost.
#include "firmware/EmbeddedFirmware.h"
#include "firmware/FirmwareUpdate.h"
#include "host/Guarded.h"
#include "main/MainForm.h"
#include "ui_MainForm.h"
#include "views/AuxViews.h"

#include <QAction>

namespace kvl {

void TMainForm::CreateFirmwareUpdate() {
    Firmware = std::make_unique<TFirmwareUpdate>(*this, this);
    connect(ui->miUpdateFirmware, &QAction::triggered, this,
            GuardedSlot([this] { Firmware->miUpdateFirmwareClick(false); }));
    connect(ui->miAutomaticUpdate, &QAction::triggered, this,
            GuardedSlot([this] { Firmware->miUpdateFirmwareClick(true); }));
    Views->AboutBox.SetEnclosedFirmwareVersion(EnclosedFirmwareVersion() +
                                               (EmbeddedFirmwareIsSynthetic() ? " (test image)" : ""));
}

QString TMainForm::VersionPanelText() const {
    if (MuxVersionString.empty() && !Firmware->BootloaderStatus().isEmpty())
        return Firmware->BootloaderStatus();
    return QStringLiteral("Version: ") + QString::fromLatin1(MuxVersionString);
}

void TMainForm::EnableHostControls(bool enable) {
    ui->gbHost->setEnabled(enable);
    ui->btnReadConfig->setEnabled(enable && IsLinkOpen());
}

// A bootloader announced itself: both update commands work without a version
// answer, and the status bar says where the device stands.
void TMainForm::EnableUpdateCommand() {
    ui->miUpdateFirmware->setEnabled(true);
    ui->miAutomaticUpdate->setEnabled(true);
    SetStatusPanel(1, VersionPanelText());
}

void TMainForm::StartTimeOut(const std::string& message) {
    TimeOutMessage = QString::fromLatin1(message.c_str());
    TimeOutTimer.start();
}

void TMainForm::StopTimeOut() {
    TimeOutTimer.stop();
}

} // namespace kvl
