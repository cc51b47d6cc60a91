#include "network/WiFiSettings.h"

#include "host/Dialogs.h"
#include "sentence/NmeaText.h"
#include "ui_WiFiSettings.h"

namespace kvl {

namespace {

constexpr qsizetype kMaxSSID = 32;
constexpr qsizetype kMinPassPhrase = 8;
constexpr qsizetype kMaxPassPhrase = 31;
constexpr unsigned kChannels = 11;

bool IsValidText(const QString& text) {
    // Anything outside Latin-1 cannot go on the wire at all.
    for (const QChar c : text)
        if (c.unicode() > 0xFF)
            return false;
    return IsNmeaText(text.toLatin1().toStdString());
}

} // namespace

TWiSettings::TWiSettings(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TWiSettings>()) {
    ui->setupUi(this);
    connect(ui->OKBtn, &QPushButton::clicked, this, [this] {
        OKBtnClick();
        accept();
    });
    connect(ui->CancelBtn, &QPushButton::clicked, this, &TWiSettings::reject);
}

TWiSettings::~TWiSettings() = default;

int TWiSettings::Execute() {
    FormShow();
    return exec();
}

QString TWiSettings::SSID() const {
    return ui->edtSSID->text();
}

QString TWiSettings::PassPhrase() const {
    return ui->edtPassPhrase->text();
}

unsigned TWiSettings::Channel() const {
    return static_cast<unsigned>(ui->cbChannel->currentIndex() + 1);
}

void TWiSettings::FormShow() {
    ui->edtSSID->setText(QStringLiteral("..."));
    ui->edtPassPhrase->setText(QStringLiteral("..."));
    ui->cbChannel->setCurrentIndex(-1);
    CloseForm = true;
}

// Only a complete access point report is taken, and only as a whole: every field
// is checked before any is shown. Nothing here throws, so that a stray WI cannot
// end a configuration read.
void TWiSettings::HandleWI(const TSentence& sentence) {
    constexpr std::size_t kReportFields = 5;
    if (sentence.FieldCount() < kReportFields || sentence.Fields[1] != "AP")
        return;
    const std::string& ssid = sentence.Fields[2];
    const std::string& pass = sentence.Fields[3];
    const auto channel = ParseDecimal(sentence.Fields[4]);
    if (!channel || ssid.empty() || ssid.size() > static_cast<std::size_t>(kMaxSSID) ||
        pass.size() > static_cast<std::size_t>(kMaxPassPhrase) || !IsNmeaText(ssid) || !IsNmeaText(pass))
        return;
    ui->edtSSID->setText(QString::fromLatin1(ssid));
    ui->edtPassPhrase->setText(QString::fromLatin1(pass));
    ui->cbChannel->setCurrentIndex(*channel >= 1 && *channel <= kChannels ? static_cast<int>(*channel) - 1
                                                                          : -1);
}

void TWiSettings::Refuse(const char* message) {
    Dialogs().ShowMessage(QString::fromLatin1(message));
    CloseForm = false;
}

void TWiSettings::OKBtnClick() {
    CloseForm = true;
    const QString ssid = SSID();
    const QString pass = PassPhrase();
    if (ssid.isEmpty() || ssid.size() > kMaxSSID)
        Refuse("No SSID entered or SSID too long (maximum 32 char.)");
    if (!IsValidText(ssid))
        Refuse("Invaid character in SSID (!$*\\^ or ,)");
    if (pass.size() < kMinPassPhrase)
        Refuse("Password must be at least 8 characters");
    if (pass.size() > kMaxPassPhrase)
        Refuse("Password too long (maximum 31 char.)");
    if (!IsValidText(pass))
        Refuse("Invaid character in password (!$*\\^ or ,)");
}

void TWiSettings::CancelBtnClick() {
    CloseForm = true;
}

void TWiSettings::reject() {
    CancelBtnClick();
    QDialog::reject();
}

void TWiSettings::done(int result) {
    // FormCloseQuery: a failed check keeps the dialog open.
    if (!CloseForm)
        return;
    QDialog::done(result);
}

} // namespace kvl
