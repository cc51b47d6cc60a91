#include "network/Network.h"

#include "host/Dialogs.h"
#include "host/WaitCursor.h"
#include "network/NetworkProgress.h"
#include "network/WaitProgress.h"
#include "ui_Network.h"

namespace kvl {

namespace {

constexpr int kBroadcastMode = 0;
constexpr int kDirectedMode = 1;

QString AddressText(TIPv4 address) {
    return QString::fromStdString(TNetCalc::FormatAddress(address));
}

} // namespace

TNetworkDlg::TNetworkDlg(TNetworkProgress& progress, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TNetworkDlg>()), Progress(progress) {
    ui->setupUi(this);
    connect(ui->btnOK, &QPushButton::clicked, this, [this] {
        btnOKClick();
        accept();
    });
    connect(ui->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->rbTCP, &QRadioButton::clicked, this, &TNetworkDlg::UpdateControls);
    connect(ui->rbUDP, &QRadioButton::clicked, this, &TNetworkDlg::UpdateControls);
    connect(ui->cbUDPMode, &QComboBox::activated, this, &TNetworkDlg::UpdateControls);
    connect(ui->edtIPAddress, &QLineEdit::textEdited, this, [this] { ChangeIP = true; });
}

TNetworkDlg::~TNetworkDlg() = default;

bool TNetworkDlg::IsTcp() const {
    return ui->rbTCP->isChecked();
}

QString TNetworkDlg::IPAddressText() const {
    return ui->edtIPAddress->text();
}

int TNetworkDlg::Execute() {
    if (!FormShow()) {
        FormClose();
        done(Rejected);
        return Rejected;
    }
    if (exec() == Accepted && !ApplySettings())
        setResult(Rejected);
    FormClose();
    return result();
}

void TNetworkDlg::FormClose() {
    XPort.reset();
    NetCalc.reset();
}

bool TNetworkDlg::FormShow() {
    setWindowTitle(QStringLiteral("Korvelan-3E Network Settings"));
    std::optional<TWaitCursor> cursor(std::in_place);
    CloseOK = true;
    ui->btnCancel->setFocus();
    XPort = std::make_unique<TXPort>();
    NetCalc = std::make_unique<TNetCalc>();
    for (QLineEdit* field : {ui->edtIPAddress, ui->edtNetmask, ui->edtGateway, ui->edtDestination})
        field->setText(QStringLiteral("0.0.0.0"));
    for (QWidget* group : {static_cast<QWidget*>(ui->gbIPSettings), static_cast<QWidget*>(ui->gbProtocol)})
        for (QWidget* control : group->findChildren<QWidget*>())
            control->setEnabled(false);
    ui->btnOK->setEnabled(false);

    const bool read = XPort->GetSetup(Host.toStdString(), XPortSetup0);
    cursor.reset();
    if (!read) {
        Dialogs().ShowMessage(QStringLiteral("Cannot connect to Korvelan"));
        return false;
    }
    for (QWidget* group : {static_cast<QWidget*>(ui->gbIPSettings), static_cast<QWidget*>(ui->gbProtocol)})
        for (QWidget* control : group->findChildren<QWidget*>())
            control->setEnabled(true);
    ui->btnOK->setEnabled(true);
    ShowRecord();
    ChangeIP = false;
    return true;
}

void TNetworkDlg::ShowRecord() {
    ui->edtIPAddress->setText(AddressText(XPortSetup0.IPAddress()));
    const unsigned hostBits = std::min<unsigned>(XPortSetup0.HostBits(), 32);
    ui->edtNetmask->setText(AddressText(TNetCalc::MaskOfPrefix(32 - hostBits)));
    ui->edtGateway->setText(AddressText(XPortSetup0.Gateway()));
    ui->edtPort->setText(QString::number(XPortSetup0.Port()));
    if (XPortSetup0.IsUdp()) {
        ui->rbUDP->setChecked(true);
        const bool broadcast = XPortSetup0.RemoteIP() == xport::kBroadcast;
        ui->cbUDPMode->setCurrentIndex(broadcast ? kBroadcastMode : kDirectedMode);
        ui->edtDestination->setText(AddressText(broadcast ? 0 : XPortSetup0.RemoteIP()));
    } else {
        ui->rbTCP->setChecked(true);
    }
    UpdateControls();
}

void TNetworkDlg::UpdateControls() {
    const bool udp = ui->rbUDP->isChecked();
    ui->lblUDPMode->setEnabled(udp);
    ui->cbUDPMode->setEnabled(udp);
    const bool directed = udp && ui->cbUDPMode->currentIndex() == kDirectedMode;
    ui->lblDestination->setEnabled(directed);
    ui->edtDestination->setEnabled(directed);
}

bool TNetworkDlg::ReadAddress(QLineEdit* field, TIPv4& address) {
    const auto parsed = NetCalc->ParseAddress(field->text().toStdString());
    if (!parsed) {
        field->setFocus();
        return false;
    }
    address = *parsed;
    return true;
}

bool TNetworkDlg::ReadFields(TXPortSetup0& record) {
    TIPv4 ip = 0;
    TIPv4 mask = 0;
    TIPv4 gateway = 0;
    if (!ReadAddress(ui->edtIPAddress, ip))
        return false;
    std::optional<unsigned> prefix;
    if (ReadAddress(ui->edtNetmask, mask))
        prefix = NetCalc->PrefixLength(mask);
    if (!prefix) {
        ui->edtNetmask->setFocus();
        return false;
    }
    if (!ReadAddress(ui->edtGateway, gateway))
        return false;
    // The record holds a 16-bit port; 0 is no port.
    bool ok = false;
    const uint port = ui->edtPort->text().toUInt(&ok, 10);
    if (!ok || port == 0 || port > 65535) {
        ui->edtPort->setFocus();
        return false;
    }
    record.SetIPAddress(ip);
    record.SetHostBits(static_cast<std::uint8_t>(32 - *prefix));
    record.SetGateway(gateway);
    Port = port;
    record.SetPort(static_cast<std::uint16_t>(port));
    if (ui->rbUDP->isChecked()) {
        TIPv4 destination = xport::kBroadcast;
        if (ui->cbUDPMode->currentIndex() == kDirectedMode && !ReadAddress(ui->edtDestination, destination))
            return false;
        record.SetUdp(destination);
    } else {
        record.SetTcp();
    }
    const TIPv4 hostPart = ip & ~mask;
    if (ip != 0 && (hostPart == 0 || hostPart == (~mask))) {
        ui->edtIPAddress->setFocus();
        return false;
    }
    return true;
}

void TNetworkDlg::btnOKClick() {
    TXPortSetup0 record = XPortSetup0;
    if (!ReadFields(record)) {
        CloseOK = false;
        Dialogs().ShowMessage(QStringLiteral("Invalid IP address, network mask or port number entered"));
        return;
    }
    XPortSetup0 = record;
}

void TNetworkDlg::done(int result) {
    if (!CloseOK) {
        CloseOK = true;
        return;
    }
    QDialog::done(result);
}

bool TNetworkDlg::ApplySettings() {
    bool written = false;
    bool verified = false;
    {
        TWaitCursor cursor;
        written = XPort->SetSetup(Host.toStdString(), XPortSetup0, ChangeIP);
        if (written)
            verified = VerifySettings();
    }
    // Messages come under the normal cursor.
    if (!written)
        Dialogs().ShowMessage(QStringLiteral("Cannot connect to Korvelan"));
    else if (!verified)
        Dialogs().ShowMessage(QStringLiteral("Unable to verify network settings!"));
    return written;
}

bool TNetworkDlg::VerifySettings() {
    Progress.Start(QStringLiteral("Updating Network Settings..."), kVerifySteps);
    const TIPv4 newIP = XPortSetup0.IPAddress();
    const std::string target = ChangeIP && newIP != 0 ? TNetCalc::FormatAddress(newIP) : Host.toStdString();
    XPort->SetConnectTimeout(XPortTiming().VerifyConnectTimeoutMs);
    bool connected = false;
    for (int step = 1; step <= kVerifySteps && !connected; ++step) {
        Progress.SetPosition(step);
        if (step <= kVerifyWaitSteps)
            WaitRepainting(XPortTiming().VerifyStepMs);
        else
            connected = XPort->TryConnect(target);
    }
    Progress.Finish();
    XPort->SetConnectTimeout(XPortTiming().ConnectTimeoutMs);
    return connected;
}

} // namespace kvl
