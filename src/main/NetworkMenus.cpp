// The main window's side of the network setup: the Korvelan-3E and Korvelan-3Wi
// menus, the WI answers, and the connection fields the Ethernet dialogs read and set.
#include "firmware/FirmwareUpdate.h"
#include "main/MainForm.h"
#include "network/NetworkSetup.h"
#include "network/ProgressWindowAdapter.h"
#include "ui_MainForm.h"

namespace kvl {

void TMainForm::CreateNetworkSetup() {
    // The dialogs show the progress window of the firmware update.
    NetworkSetup = std::make_unique<TNetworkSetup>(
        *this, this, std::make_unique<TProgressWindowAdapter>(Firmware->Progress()));
    NetworkSetup->AttachMenus(ui->miKorvelan3E, ui->miKorvelan3Wi);
}

std::string TMainForm::MuxIP() const {
    return ui->edtMuxIP->text().toLatin1().toStdString();
}

void TMainForm::SetMuxIP(const std::string& host) {
    ui->edtMuxIP->setText(QString::fromLatin1(host));
    edtMuxIPChange();
}

// After new network settings the module is reached as the user set it up.
void TMainForm::UseNetworkLink(bool tcp, const std::string& port) {
    if (IsLinkOpen()) {
        CloseLink();
        MuxInterface = -1;
    }
    ui->cbPort->setCurrentIndex(ui->cbPort->findText(tcp ? QStringLiteral("TCP") : QStringLiteral("UDP")));
    ui->edtMuxPort->setText(QString::fromLatin1(port));
    UpdateView();
    SaveSettings(false);
}

std::string TMainForm::MuxSerial() const {
    return MuxSerialString;
}

} // namespace kvl
