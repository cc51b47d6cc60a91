#include "network/AssignIP.h"

#include "host/Dialogs.h"
#include "host/WaitCursor.h"
#include "network/NetworkProgress.h"
#include "network/WaitProgress.h"
#include "ui_AssignIP.h"

namespace kvl {

namespace {

constexpr int kAssignSteps = 50;

std::optional<std::uint8_t> HexByte(const QString& text) {
    bool ok = false;
    const uint value = text.toUInt(&ok, 16);
    if (!ok || text.size() != 2 || value > 0xFF)
        return std::nullopt;
    return static_cast<std::uint8_t>(value);
}

} // namespace

TAssignIPDlg::TAssignIPDlg(TNetworkProgress& progress, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TAssignIPDlg>()), Progress(progress) {
    ui->setupUi(this);
    connect(ui->btnOK, &QPushButton::clicked, this, [this] {
        btnOKClick();
        accept();
    });
    connect(ui->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TAssignIPDlg::~TAssignIPDlg() = default;

void TAssignIPDlg::SetMAC(const QString& mac) {
    ui->edtMAC->setText(mac);
}

int TAssignIPDlg::Execute() {
    FormShow();
    return exec();
}

void TAssignIPDlg::FormShow() {
    NetCalc = std::make_unique<TNetCalc>();
    XPort = std::make_unique<TXPort>();
    CloseOK = true;
    ui->edtIP->clear();
    QWidget* first = ui->edtMAC->text().isEmpty() ? static_cast<QWidget*>(ui->edtMAC) : ui->edtIP;
    first->setFocus();
}

void TAssignIPDlg::Invalid(QWidget* field) {
    Dialogs().ShowMessage(QStringLiteral("Invalid MAC or IP address entered"));
    field->setFocus();
    CloseOK = false;
}

std::optional<TXPortSetIP> TAssignIPDlg::ValidEntry() {
    const QString mac = ui->edtMAC->text();
    bool macShape = mac.size() == 17;
    for (int position : {3, 6, 9, 12, 15})
        macShape = macShape && mac[position - 1] == QLatin1Char('-');
    if (!macShape) {
        Invalid(ui->edtMAC);
        return std::nullopt;
    }
    const auto ip = NetCalc->ParseAddress(ui->edtIP->text().toStdString());
    const bool usable =
        ip &&
        (*ip == 0 || ((*ip >> 24) >= 1 && (*ip >> 24) <= 254 && (*ip & 0xFF) >= 1 && (*ip & 0xFF) <= 254));
    if (!usable) {
        Invalid(ui->edtIP);
        return std::nullopt;
    }
    const auto fifth = HexByte(mac.mid(12, 2));
    const auto sixth = HexByte(mac.mid(15, 2));
    if (!fifth || !sixth) {
        Invalid(ui->edtMAC);
        return std::nullopt;
    }
    return TXPortSetIP{{*fifth, *sixth}, *ip};
}

void TAssignIPDlg::btnOKClick() {
    const auto entry = ValidEntry();
    if (!entry)
        return;
    SetIP = *entry;
    SendSetIP();
}

void TAssignIPDlg::SendSetIP() {
    TWaitCursor cursor;
    XPort->SendSetIP(SetIP);
    const QList<QWidget*> controls = findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget* control : controls)
        control->hide();
    Progress.Start(QStringLiteral("Assigning IP Address..."), kAssignSteps);
    for (int step = 0; step <= kAssignSteps; ++step) {
        Progress.SetPosition(step);
        WaitRepainting(XPortTiming().AssignStepMs);
    }
    for (QWidget* control : controls)
        control->show();
    Progress.Finish();
}

void TAssignIPDlg::done(int result) {
    if (!CloseOK) {
        CloseOK = true;
        return;
    }
    FormClose();
    QDialog::done(result);
}

void TAssignIPDlg::FormClose() {
    XPort.reset();
    NetCalc.reset();
}

} // namespace kvl
