// The main window's side of the NMEA 2000 devices: the scanner it owns, the
// device list, and the data-source labels that pick a device.
#include "host/Guarded.h"
#include "main/MainForm.h"
#include "model/ConfigSentences.h"
#include "n2k/N2KDevices.h"
#include "tables/Tables.h"
#include "ui_MainForm.h"
#include "views/AuxViews.h"

#include <QMouseEvent>

namespace kvl {

void TMainForm::CreateN2K() {
    // The converter notification may run a nested wait whose time-out goes up
    // through the dispatch to the drain's own error display.
    N2K = std::make_unique<TN2KDevices>(*this, this, [this](int value) { OnSTNGConverterFound(value); });
    N2K->Scanner.OnDeviceChange = [this] { N2KDeviceChange(); };
    connect(ui->btnDeviceList, &QPushButton::clicked, this, GuardedSlot([this] { btnDeviceListClick(); }));
    // The labels show a device's own model text: plain, never markup.
    for (QLabel* label : {ui->lblN2kPrimHdgSrc, ui->lblN2kRotHdgSrc, ui->lblN2kRotWindSrc}) {
        label->installEventFilter(this);
        label->setTextFormat(Qt::PlainText);
    }
    ConnectRouteDevices();
    // The sentence rates name an NMEA 2000 source by its model and manufacturer.
    Views->RatesForm.SetDeviceNamer([this](std::uint8_t sa) {
        const TDeviceInfo* device = N2K->Scanner.GetDeviceInfo(N2K->Scanner.NameAt(sa));
        if (!device || device->SA != sa)
            return QString();
        const std::string maker = N2K->Scanner.GetMfgTable().MakerName(device->Name.ManufacturerCode());
        return QString::fromLatin1(device->ModelID) + QStringLiteral(" (") + QString::fromLatin1(maker) +
               QStringLiteral(")");
    });
}

// The routing table names its source devices by the scanner's list and picks them
// with the device list; route capture finds a NAME by its source address.
void TMainForm::ConnectRouteDevices() {
    TRouteGrid& routes = *Tables->RouteGrid;
    routes.DeviceModel = [this](TName name) {
        const TDeviceInfo* device = N2K->Scanner.GetDeviceInfo(name);
        return device ? device->ModelID : std::string();
    };
    routes.DeviceToolTip = [this](TName name) {
        const TDeviceInfo* device = N2K->Scanner.GetDeviceInfo(name);
        if (!device)
            return std::string();
        return device->ModelID + " (" + N2K->Scanner.GetMfgTable()[device->Name.ManufacturerCode()] + ")";
    };
    routes.ChooseDevice = [this](TName name) -> std::optional<TRouteGrid::TChosenDevice> {
        const auto device = N2K->ListForm.PickDevice(name);
        if (!device)
            return std::nullopt;
        return TRouteGrid::TChosenDevice{device->Name, device->SA};
    };
    MuxConfig.NameForSourceAddress = [this](std::uint8_t sa) { return N2K->Scanner.NameAt(sa).N; };
}

void TMainForm::SendNmea(const std::string& text) {
    Link->SendNmea(text);
}

void TMainForm::N2KDeviceChange() {
    if (!N2K)
        return;
    N2K->ListForm.Update();
    if (Tables && !Tables->RouteGrid->IsEditing())
        Tables->RouteGrid->Redraw();
    // During a read the settings stay blank until its end shows them all.
    if (!ControlsEnabled)
        return;
    const bool updating = Updating;
    Updating = true;
    ShowDataSources();
    Updating = updating;
}

void TMainForm::btnDeviceListClick() {
    N2K->ListForm.ShowModal(0, TName{});
}

bool TMainForm::DataSourceLabelClicked(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonRelease ||
        static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
        return false;
    QLabel* const labels[] = {ui->lblN2kPrimHdgSrc, ui->lblN2kRotHdgSrc, ui->lblN2kRotWindSrc};
    for (unsigned n = 0; n < TMuxConfig::kDataSources; ++n) {
        if (watched == labels[n]) {
            Guarded([&] { lbRotMastWindClick(n); });
            return true;
        }
    }
    return false;
}

void TMainForm::lbRotMastWindClick(unsigned source) {
    if (Updating || source >= TMuxConfig::kDataSources)
        return;
    const auto device = N2K->ListForm.PickDevice(MuxConfig.DataSrcTable[source].Name);
    // The link may have gone while the list was open.
    if (device && IsLinkOpen()) {
        MuxConfig.DataSrcTable[source].Name = device->Name;
        SendAndWait(EncodeDS(MuxConfig, source), TPQZXCmd::PQZXDS);
    }
    const bool updating = Updating;
    Updating = true;
    ShowDataSources();
    Updating = updating;
}

} // namespace kvl
