#include "n2k/N2KForm.h"

#include "host/Dialogs.h"
#include "host/Guarded.h"
#include "host/MuxHost.h"
#include "host/WaitCursor.h"
#include "n2k/N2K.h"
#include "n2k/N2KDeviceInfo.h"
#include "n2k/N2KGrid.h"
#include "ui_N2KForm.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QScopeGuard>
#include <QTimer>

namespace kvl {

TN2KDeviceListForm::TN2KDeviceListForm(TN2KDeviceList& scanner, TN2KDeviceInfoForm& infoForm, TMuxHost& host,
                                       QWidget* parent)
    : QDialog(parent), Scanner(scanner), InfoForm(infoForm), Host(host),
      ui(std::make_unique<Ui::TN2KDeviceListForm>()) {
    ui->setupUi(this);
    FormCreate();
}

TN2KDeviceListForm::~TN2KDeviceListForm() = default;

void TN2KDeviceListForm::FormCreate() {
    N2KGrid = new TN2KGrid(Scanner, this);
    const int width = N2KGrid->geometry().right() + 9;
    setFixedSize(width, height());
    connect(ui->btnScan, &QPushButton::clicked, this, GuardedSlot([this] { btnScanClick(); }));
    connect(ui->btnInfo, &QPushButton::clicked, this, GuardedSlot([this] { btnInfoClick(); }));
    connect(ui->btnOK, &QPushButton::clicked, this, GuardedSlot([this] { btnOKClick(); }));
    connect(ui->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(N2KGrid, &QAbstractItemView::clicked, this, GuardedSlot([this] { N2KGridClick(); }));
    // A row chosen by keyboard or an assistive technology is chosen as by a click.
    connect(N2KGrid, &TN2KGrid::RowChosen, this, GuardedSlot([this] { N2KGridClick(); }));
    connect(N2KGrid, &QAbstractItemView::doubleClicked, this, GuardedSlot([this] { N2KGridDblClick(); }));
}

void TN2KDeviceListForm::SetMessage(const QString& text) {
    ui->lblMessage->setText(text);
    ui->lblMessage->setVisible(true);
}

int TN2KDeviceListForm::ShowModal(std::uint32_t options, TName name) {
    Options = options;
    N2KGrid->DataChanged();
    if (Scanner.DeviceCount() == 0)
        Scanner.Scan();
    if (InSelectionMode()) {
        SelectedName = name;
        ui->btnOK->setVisible(true);
        ui->btnCancel->setText(QStringLiteral("Cancel"));
        N2KGrid->SelectRowByName(name);
    } else {
        SelectedName = TName{};
        ui->btnOK->setVisible(false);
        ui->btnCancel->setText(QStringLiteral("Close"));
        N2KGrid->SelectRow(0);
    }
    ui->btnInfo->setEnabled(N2KGrid->DeviceRows() > 0);
    N2KGrid->SetHighlight(!SelectedName.IsEmpty());
    Update();
    return exec();
}

const TDeviceInfo* TN2KDeviceListForm::GetSelectedDevice() const {
    const int row = N2KGrid->CurrentDevice();
    if (row < 0)
        return nullptr;
    return Scanner.GetDevices()[static_cast<std::size_t>(row)];
}

std::optional<TDeviceInfo> TN2KDeviceListForm::PickDevice(TName preselected) {
    if (ShowModal(kSelectionMode, preselected) != QDialog::Accepted || SelectedName.IsEmpty())
        return std::nullopt;
    // The list may have changed while the dialog was open: what counts is the
    // device chosen, wherever it is now.
    const TDeviceInfo* device = Scanner.GetDeviceInfo(SelectedName);
    if (device == nullptr)
        return std::nullopt;
    return *device;
}

void TN2KDeviceListForm::Update() {
    N2KGrid->DataChanged();
    const auto count = static_cast<unsigned>(Scanner.DeviceCount());
    switch (Scanner.ScanState()) {
    case TScanState::scIdle:
        if (count == 0) {
            SetMessage(QStringLiteral("No NMEA 2000 devices found"));
        } else {
            SetMessage(QStringLiteral("Device count: %1").arg(count));
            if (!SelectedName.IsEmpty())
                N2KGrid->SelectRowByName(SelectedName);
        }
        ui->btnScan->setEnabled(true);
        ui->btnInfo->setEnabled(count > 0);
        break;
    case TScanState::scAddrClm:
        if (count == 0)
            SetMessage(QStringLiteral("Scanning NMEA 2000 network..."));
        break;
    case TScanState::scProdInfo:
        SetMessage(QStringLiteral("Retrieving Product info (%1)...").arg(count));
        break;
    case TScanState::scNext:
        break;
    case TScanState::scNew:
        SetMessage(QStringLiteral("New NMEA 2000 device(s) detected, please refresh"));
        break;
    }
}

void TN2KDeviceListForm::btnScanClick() {
    ui->btnScan->setEnabled(false);
    ui->btnInfo->setEnabled(false);
    SetMessage(QStringLiteral("Scanning NMEA 2000 network..."));
    Scanner.Scan();
}

void TN2KDeviceListForm::btnOKClick() {
    if (const TDeviceInfo* device = GetSelectedDevice())
        SelectedName = device->Name;
    accept();
}

void TN2KDeviceListForm::N2KGridClick() {
    if (const TDeviceInfo* device = GetSelectedDevice()) {
        SelectedName = device->Name;
        N2KGrid->SetHighlight(true);
    }
}

void TN2KDeviceListForm::N2KGridDblClick() {
    if (GetSelectedDevice() == nullptr)
        return;
    if (InSelectionMode())
        btnOKClick();
    else
        btnInfoClick();
}

void TN2KDeviceListForm::btnInfoClick() {
    const int row = N2KGrid->CurrentDevice();
    if (row < 0)
        return;
    // A copy: the scanner's entry may change or leave the list while the dialog is open.
    const TDeviceInfo shown = *Scanner.GetDevices()[static_cast<std::size_t>(row)];
    if (InfoForm.ShowModal(row) == QDialog::Accepted)
        SendChanges(shown);
}

// The changes go to the device only if it is still where the dialog showed it.
// Each change goes to the device as it is at that moment: the address change
// names the device by its NAME, and the instance change then goes to the address
// the device has claimed since. A change counts only once the device's own claim
// shows it; the next one waits for that.
void TN2KDeviceListForm::SendChanges(const TDeviceInfo& shown) {
    if (!Host.IsLinkOpen()) {
        Dialogs().ShowMessage(QStringLiteral("The link is closed: nothing was sent to the device."));
        return;
    }
    const TDeviceInfo* device = Scanner.GetDeviceInfo(shown.Name);
    if (device == nullptr || device->Name != shown.Name || device->SA != shown.SA) {
        Dialogs().ShowMessage(
            QStringLiteral("The device is no longer at address %1: nothing was sent.").arg(shown.SA));
        return;
    }
    TName name = device->Name;
    std::uint8_t address = device->SA;
    const std::uint8_t newAddress = InfoForm.SA;
    const std::uint8_t instance = InfoForm.DI;
    const std::uint8_t system = InfoForm.SI;
    if (newAddress != address) {
        Host.SendNmea("$PQZXNC,C," + name.ToHex() + "," + std::to_string(newAddress));
        if (!AwaitClaim([&] { return Scanner.NameAt(newAddress) == name; })) {
            Dialogs().ShowMessage(
                QStringLiteral("The device did not take the new address %1.").arg(newAddress));
            return;
        }
        address = newAddress;
    }
    if (instance != name.DevInstance() || system != name.SystemInstance()) {
        Host.SendNmea("$PQZXNI," + std::to_string(address) + "," + std::to_string(instance) + "," +
                      std::to_string(system));
        const auto taken = [&] {
            const TName now = Scanner.NameAt(address);
            return now.Serial() == name.Serial() && now.DevInstance() == instance &&
                   now.SystemInstance() == system;
        };
        if (!AwaitClaim(taken)) {
            Dialogs().ShowMessage(QStringLiteral("The device did not take the new device instance %1 and "
                                                 "system instance %2.")
                                      .arg(instance)
                                      .arg(system));
            return;
        }
        name = Scanner.NameAt(address);
    }
    if (SelectedName == shown.Name)
        SelectedName = name;
    N2KGrid->SelectRowByName(name);
}

// Waits, with the dialog held still, until shown() says the device's claim has
// come, the link closes or the device had its time.
bool TN2KDeviceListForm::AwaitClaim(const std::function<bool()>& shown) {
    TWaitCursor cursor;
    setEnabled(false);
    const auto enable = qScopeGuard([this] { setEnabled(true); });
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer poll;
    connect(&poll, &QTimer::timeout, &loop, [&] {
        if (shown() || clock.elapsed() >= ConfirmMs || !Host.IsLinkOpen())
            loop.quit();
    });
    poll.start(kPollMs);
    if (!shown())
        loop.exec();
    return shown();
}

} // namespace kvl
