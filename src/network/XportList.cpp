#include "network/XportList.h"

#include "host/Dialogs.h"
#include "host/WaitCursor.h"
#include "network/AssignIP.h"
#include "network/NetworkProgress.h"
#include "network/WaitProgress.h"
#include "ui_XportList.h"

namespace kvl {

TXPortListDlg::TXPortListDlg(TAssignIPDlg& assignIP, TNetworkProgress& progress, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TXPortListDlg>()), AssignIP(assignIP), Progress(progress) {
    ui->setupUi(this);
    connect(ui->btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->btnReset, &QPushButton::clicked, this, &TXPortListDlg::btnResetClick);
    connect(ui->btnChangeIP, &QPushButton::clicked, this, &TXPortListDlg::btnChangeIPClick);
    // The buttons follow the selection, whether a click, the keyboard or an
    // assistive technology made it.
    connect(ui->lbXPorts, &QListWidget::itemSelectionChanged, this,
            [this] { EnableSelection(SelectedLine() != nullptr); });
    connect(ui->lbXPorts, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
}

TXPortListDlg::~TXPortListDlg() = default;

int TXPortListDlg::Execute() {
    FormShow();
    return exec();
}

void TXPortListDlg::FormShow() {
    ui->lblMessage->setText(QStringLiteral("Select a Korvelan-3E:"));
    XPort = std::make_unique<TXPort>();
    Search();
}

void TXPortListDlg::EnableSelection(bool enable) {
    for (QPushButton* button : {ui->btnOK, ui->btnReset, ui->btnChangeIP})
        button->setEnabled(enable);
}

void TXPortListDlg::Search() {
    {
        TWaitCursor cursor;
        XPCount = XPort->Discover();
        ui->lbXPorts->clear();
        for (const std::string& line : XPort->FoundList())
            ui->lbXPorts->addItem(QString::fromLatin1(line));
        ui->lbXPorts->setVisible(XPCount > 0);
        ui->lblNoneFound->setVisible(XPCount == 0);
    }
    EnableSelection(false);
}

const QListWidgetItem* TXPortListDlg::SelectedLine() const {
    const QList<QListWidgetItem*> selected = ui->lbXPorts->selectedItems();
    return selected.isEmpty() ? nullptr : selected.front();
}

QString TXPortListDlg::GetIP() const {
    const QListWidgetItem* item = SelectedLine();
    if (!item)
        return {};
    return item->text().section(QLatin1Char(' '), 0, 0);
}

QString TXPortListDlg::GetMAC() const {
    const QListWidgetItem* item = SelectedLine();
    if (!item)
        return {};
    const QString text = item->text();
    const int open = text.indexOf(QLatin1Char('('));
    return open < 0 ? QString() : text.mid(open + 1, 17);
}

void TXPortListDlg::btnResetClick() {
    if (!Dialogs().Confirm(QStringLiteral(
            "This restores the factory default network settings.\rDo you really want to proceed?")))
        return;
    bool restored = false;
    {
        TWaitCursor cursor;
        restored = XPort->RestoreDefaults(GetIP().toStdString());
        if (restored) {
            Progress.Start(QStringLiteral("Restoring Default Network Settings..."), kFactorySteps);
            for (int step = 0; step <= kFactorySteps; ++step) {
                Progress.SetPosition(step);
                WaitRepainting(XPortTiming().FactoryStepMs);
            }
            Progress.Finish();
            Search();
        }
    }
    if (!restored)
        Dialogs().ShowMessage(QStringLiteral("Cannot connect to Korvelan"));
}

void TXPortListDlg::btnChangeIPClick() {
    AssignIP.SetMAC(GetMAC());
    if (AssignIP.Execute() == Accepted)
        Search();
}

void TXPortListDlg::done(int result) {
    FormClose();
    QDialog::done(result);
}

void TXPortListDlg::FormClose() {
    XPort.reset();
}

} // namespace kvl
