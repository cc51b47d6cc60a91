// TN2KDeviceListForm: the devices found on the NMEA 2000 bus. Browsing, it opens
// a device's information and sends the address and instance changes; in
// selection mode it is the device picker of the data sources and the routing
// table.
#pragma once

#include "model/Name.h"
#include "n2k/N2KDevice.h"

#include <QDialog>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace Ui {
class TN2KDeviceListForm;
}

namespace kvl {

class TMuxHost;
class TN2KDeviceList;
class TN2KDeviceInfoForm;
class TN2KGrid;

class TN2KDeviceListForm : public QDialog {
    Q_OBJECT
public:
    static constexpr std::uint32_t kSelectionMode = 1;
    // How long a device has to show a change in its address claim.
    static constexpr int kConfirmMs = 3000;

    TN2KDeviceListForm(TN2KDeviceList& scanner, TN2KDeviceInfoForm& infoForm, TMuxHost& host,
                       QWidget* parent = nullptr);
    ~TN2KDeviceListForm() override;

    int ShowModal(std::uint32_t options, TName name);
    // The device of the grid's current row, or none.
    const TDeviceInfo* GetSelectedDevice() const;
    // Called whenever the scanner reports a change.
    void Update();

    // The picker: the device chosen with OK, as the scanner knows it once the
    // dialog has closed (looked up again by its NAME), or none.
    std::optional<TDeviceInfo> PickDevice(TName preselected);

    TN2KGrid& Grid() { return *N2KGrid; }

    std::uint32_t Options = 0;
    TName SelectedName;
    // How long a device has to show a change (tests shorten it).
    int ConfirmMs = kConfirmMs;

private:
    void FormCreate();
    void btnScanClick();
    void btnInfoClick();
    void btnOKClick();
    void N2KGridClick();
    void N2KGridDblClick();
    void SendChanges(const TDeviceInfo& shown);
    bool AwaitClaim(const std::function<bool()>& shown);
    void SetMessage(const QString& text);
    bool InSelectionMode() const { return (Options & kSelectionMode) != 0; }

    static constexpr int kPollMs = 10;

    TN2KDeviceList& Scanner;
    TN2KDeviceInfoForm& InfoForm;
    TMuxHost& Host;
    std::unique_ptr<Ui::TN2KDeviceListForm> ui;
    TN2KGrid* N2KGrid = nullptr;
};

} // namespace kvl
