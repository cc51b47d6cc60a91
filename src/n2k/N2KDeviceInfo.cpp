#include "n2k/N2KDeviceInfo.h"

#include "host/Dialogs.h"
#include "n2k/N2K.h"
#include "sentence/NmeaText.h"
#include "ui_N2KDeviceInfo.h"

#include <QLabel>
#include <QLineEdit>

#include <optional>

namespace kvl {

namespace {

constexpr unsigned kMilliampsPerLEN = 50;

QString CertificationLevel(std::uint8_t level) {
    switch (level) {
    case 0:
        return QStringLiteral("A");
    case 1:
        return QStringLiteral("B");
    default:
        return QStringLiteral("n/a");
    }
}

// The number in an edit field; none when the field is empty.
std::optional<std::uint32_t> EntryOf(const QLineEdit* edit) {
    const auto value = ParseDecimal(edit->text().toLatin1().toStdString(), 999);
    if (!value)
        return std::nullopt;
    return static_cast<std::uint32_t>(*value);
}

} // namespace

TN2KDeviceInfoForm::TN2KDeviceInfoForm(const TN2KDeviceList& scanner, QWidget* parent)
    : QDialog(parent), Scanner(scanner), ui(std::make_unique<Ui::TN2KDeviceInfoForm>()) {
    ui->setupUi(this);
    setFixedSize(size());
    // What the devices on the bus say of themselves is shown as it is, never as markup.
    for (QLabel* label : {ui->lblMfg, ui->lblDevice, ui->lblModel, ui->lblSerialNo, ui->lblSwVersion,
                          ui->lblProductCode, ui->lblN2KVersion, ui->lblCertLevel, ui->lblLoadEquivalency})
        label->setTextFormat(Qt::PlainText);
    QPalette palette = ui->edtSA->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    ui->edtSA->setPalette(palette);
    connect(ui->btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TN2KDeviceInfoForm::~TN2KDeviceInfoForm() = default;

int TN2KDeviceInfoForm::ShowModal(int device) {
    const auto& devices = Scanner.GetDevices();
    if (device < 0 || static_cast<std::size_t>(device) >= devices.size())
        return QDialog::Rejected;
    Fill(*devices[static_cast<std::size_t>(device)]);
    return exec();
}

void TN2KDeviceInfoForm::Fill(const TDeviceInfo& device) {
    ui->lblMfg->setText(QString::fromLatin1(Scanner.GetMfgTable().MakerName(device.Name.ManufacturerCode())));
    ui->lblDevice->setText(QString::fromLatin1(device.ModelID));
    ui->lblModel->setText(QString::fromLatin1(device.ModelVersion));
    ui->lblSerialNo->setText(QString::fromLatin1(device.SerialNo));
    ui->lblSwVersion->setText(QString::fromLatin1(device.SwVersion));
    ui->lblProductCode->setText(device.ProductCode == TDeviceInfo::kUnknownProduct
                                    ? QStringLiteral("n/a")
                                    : QString::number(device.ProductCode));
    ui->lblN2KVersion->setText(QString::fromLatin1(device.N2KVersion));
    ui->lblCertLevel->setText(CertificationLevel(device.CertLvl));
    ui->lblLoadEquivalency->setText(device.LEN == TDeviceInfo::kUnknown
                                        ? QStringLiteral("n/a")
                                        : QStringLiteral("%1 mA").arg(device.LEN * kMilliampsPerLEN));
    ui->edtSA->setText(QString::number(device.SA));
    ui->edtDI->setText(QString::number(device.Name.DevInstance()));
    ui->edtSI->setText(QString::number(device.Name.SystemInstance()));
}

void TN2KDeviceInfoForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ui->btnCancel->setFocus();
}

void TN2KDeviceInfoForm::done(int result) {
    if (FormCloseQuery())
        QDialog::done(result);
}

bool TN2KDeviceInfoForm::FormCloseQuery() {
    const auto sa = EntryOf(ui->edtSA);
    const auto di = EntryOf(ui->edtDI);
    const auto si = EntryOf(ui->edtSI);
    bool valid = true;
    const auto refuse = [&](const char* text) {
        Dialogs().ShowMessage(QString::fromLatin1(text));
        valid = false;
    };
    if (!sa)
        refuse("No Source Address entered (0..251)");
    else if (*sa > kMaxAddress)
        refuse("Illegal Source Address entered (0..251)");
    if (!di)
        refuse("No Device Instance entered (0..255)");
    else if (*di > kMaxInstance)
        refuse("Illegal Device Instance entered (0..255)");
    if (!si)
        refuse("No System Instance entered (0..15)");
    else if (*si > kMaxSystemInstance)
        refuse("Illegal System Instance entered (0..15)");
    if (!valid)
        return false;
    SA = static_cast<std::uint8_t>(*sa);
    DI = static_cast<std::uint8_t>(*di);
    SI = static_cast<std::uint8_t>(*si);
    return true;
}

} // namespace kvl
