// The port selector beyond the start-up list: serial entries that follow the
// adapters present, a link named on the command line, and the reason a serial
// port could not be opened.
#include "host/Guarded.h"
#include "link/SerialPermission.h"
#include "main/CommandLine.h"
#include "main/MainForm.h"
#include "ui_MainForm.h"

#include <QAbstractItemView>
#include <QFileInfo>

namespace kvl {

namespace {

constexpr int kPortUdpAll = 0;
constexpr int kPortUdp = 1;
constexpr int kPortTcp = 2;
constexpr int kFirstSerialPort = 3;

// The same device whatever name it goes by (/dev/serial/by-id/... is a link).
bool SameDevice(const std::string& a, const QString& b) {
    const QString canonicalA = QFileInfo(QString::fromLocal8Bit(a.c_str())).canonicalFilePath();
    const QString canonicalB = QFileInfo(b).canonicalFilePath();
    if (!canonicalA.isEmpty() && canonicalA == canonicalB)
        return true;
    return QString::fromLocal8Bit(a.c_str()) == b;
}

} // namespace

void TMainForm::StartPortWatch() {
    QObject::connect(&PortWatch.PortListTimer, &QTimer::timeout, this,
                     GuardedSlot([this] { PortListTimerTimer(); }));
    PortWatch.PortListTimer.start();
}

void TMainForm::SetPortEnumerator(TPortWatch::TEnumerator enumerator) {
    PortWatch.Enumerator = std::move(enumerator);
}

// While no link is open the serial entries follow the ports present; the
// network entries and entries added by hand stay, and so does the selection
// while its port exists. An open link's list never changes under it.
void TMainForm::PortListTimerTimer() {
    if (IsLinkOpen() || ui->cbPort->view()->isVisible())
        return; // nor while the user is choosing from the opened list
    const int selected = ui->cbPort->currentIndex();
    const bool simSelected = selected == SimEntryIndex();
    const bool serialSelected = selected >= kFirstSerialPort && !simSelected;
    const std::string selectedPath =
        serialSelected ? Link->Ports()[static_cast<std::size_t>(selected)] : std::string();
    if (!Link->UpdateSerialPorts(PortWatch.Enumerator()))
        return;
    ui->cbPort->clear();
    for (const std::string& name : Link->FriendlyPorts())
        ui->cbPort->addItem(QString::fromLatin1(name));
    AddSimEntry();
    int index = simSelected ? SimEntryIndex() : serialSelected ? -1 : selected;
    for (std::size_t i = kFirstSerialPort; serialSelected && i < Link->Ports().size(); ++i) {
        if (Link->Ports()[i] == selectedPath) {
            index = static_cast<int>(i);
            break;
        }
    }
    ui->cbPort->setCurrentIndex(index);
    UpdateView();
}

void TMainForm::ConnectTo(const TConnectTarget& target) {
    Guarded([&] {
        int index = kPortTcp;
        switch (target.Kind) {
        case TConnectTarget::TKind::UdpAll:
            index = kPortUdpAll;
            break;
        case TConnectTarget::TKind::Udp:
            index = kPortUdp;
            break;
        case TConnectTarget::TKind::Tcp:
            index = kPortTcp;
            break;
        case TConnectTarget::TKind::Serial:
            index = SerialEntryIndex(target.Path);
            break;
        case TConnectTarget::TKind::Sim:
            index = SimEntryIndex();
            GivenSimModel = target.Path.toStdString();
            break;
        }
        if (target.Kind != TConnectTarget::TKind::Serial && target.Kind != TConnectTarget::TKind::Sim) {
            ui->edtMuxIP->setText(target.Host);
            ui->edtMuxPort->setText(target.Port);
        }
        // As the user does it: choose the entry, then press Connect.
        ui->cbPort->setCurrentIndex(index);
        cbPortChange();
        btnConnectClick();
    });
}

// The entry of the serial device at path, added when the list does not show it
// (a pseudo-terminal, a port that appeared after the last poll).
int TMainForm::SerialEntryIndex(const QString& path) {
    for (std::size_t i = kFirstSerialPort; i < Link->Ports().size(); ++i)
        if (SameDevice(Link->Ports()[i], path))
            return static_cast<int>(i);
    AddSerialPortEntry(path, path);
    return SimEntryIndex() - 1;
}

QString TMainForm::SerialOpenFailureText(int index) const {
    QString text = QStringLiteral("Unable to open ") + ui->cbPort->itemText(index) +
                   QStringLiteral(".\rThe port may be opened by another application.");
    const std::string& path = Link->Ports()[static_cast<std::size_t>(index)];
    const std::string hint = SerialPermissionHint(Link->SerialOpenError(), SerialDeviceGroup(path));
    if (!hint.empty())
        text += QStringLiteral("\r") + QString::fromLocal8Bit(hint.c_str());
    return text;
}

} // namespace kvl
