#include "views/About.h"

#include "host/Dialogs.h"
#include "host/ProgramIcon.h"
#include "host/ProgramVersion.h"
#include "ui_About.h"
#include "views/MakerInfo.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QUrl>

namespace kvl {

namespace {

constexpr int kProgramIconSize = 48;

QString LinkText(const QString& target, const QString& shown) {
    return QStringLiteral("<a href=\"%1\">%2</a>").arg(target.toHtmlEscaped(), shown.toHtmlEscaped());
}

bool IsLeftClick(const QEvent* event) {
    return event->type() == QEvent::MouseButtonRelease &&
           static_cast<const QMouseEvent*>(event)->button() == Qt::LeftButton;
}

} // namespace

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TAboutBox>()),
      OpenUrl([](const QUrl& url) { QDesktopServices::openUrl(url); }) {
    ui->setupUi(this);
    FormCreate();
}

TAboutBox::~TAboutBox() = default;

void TAboutBox::FormCreate() {
    // A fixed dialog border: the layout fixes the size, no help or maximise button.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    ui->imgLogo->setPixmap(QPixmap(QString::fromLatin1(maker::kLogoResource)));
    ui->ProgramIcon->setPixmap(ProgramIcon().pixmap(kProgramIconSize, kProgramIconSize));
    ui->ProductName->setText(QStringLiteral("KVLConfig3 V") + QString::fromLatin1(GetProgramVersion()));
    ui->lblMaker->setText(QString::fromLatin1(maker::kText));
    // The labels draw as links, but the clicks are the dialog's own (see eventFilter).
    ui->lblWeb->setText(LinkText(WebUrl().toString(), QString::fromLatin1(maker::kWebText)));
    ui->lblEmail->setText(LinkText(EmailUrl().toString(), QString::fromLatin1(maker::kSupportEmail)));
    for (QLabel* label : {ui->lblWeb, ui->lblEmail}) {
        label->setTextFormat(Qt::RichText);
        label->setTextInteractionFlags(Qt::NoTextInteraction);
        label->installEventFilter(this);
    }
    ui->ProgramIcon->installEventFilter(this);
    connect(ui->btnOK, &QPushButton::clicked, this, &QDialog::accept);
    SetMuxVersion({});
}

void TAboutBox::SetMuxVersion(const std::string& version) {
    ui->lblMuxVersion->setText(version.empty() ? QStringLiteral("not connected")
                                               : QStringLiteral("V") + QString::fromLatin1(version));
}

void TAboutBox::SetEnclosedFirmwareVersion(const std::string& version) {
    ui->lblEncVersion->setText(version.empty() ? QString()
                                               : QStringLiteral("V") + QString::fromLatin1(version));
}

TAboutBox::TUrlOpener TAboutBox::SetUrlOpener(TUrlOpener opener) {
    std::swap(OpenUrl, opener);
    return opener;
}

QUrl TAboutBox::WebUrl() {
    return QUrl(QString::fromLatin1(maker::kWebUrl));
}

QUrl TAboutBox::EmailUrl() {
    return QUrl(QStringLiteral("mailto:") + QString::fromLatin1(maker::kSupportEmail));
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->lblWeb && IsLeftClick(event)) {
        lblWebClick();
        return true;
    }
    if (watched == ui->lblEmail && IsLeftClick(event)) {
        lblEmailClick();
        return true;
    }
    if (watched == ui->ProgramIcon && event->type() == QEvent::MouseButtonDblClick) {
        ProgramIconDblClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutBox::lblWebClick() {
    OpenUrl(WebUrl());
}

void TAboutBox::lblEmailClick() {
    OpenUrl(EmailUrl());
}

// The user cannot decline: the message only tells what follows.
void TAboutBox::ProgramIconDblClick() {
    Dialogs().ShowMessage(
        QStringLiteral("All KVL-Config3 will settings be cleared\rand KVL-Config3 will terminate"));
    done(kForgetSettings);
}

} // namespace kvl
