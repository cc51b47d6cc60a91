// The NMEA 2000 devices subsystem as the main window holds it: the scanner and
// its two dialogs, created once and living as long as the window.
#pragma once

#include "n2k/N2K.h"
#include "n2k/N2KDeviceInfo.h"
#include "n2k/N2KForm.h"

#include <functional>

namespace kvl {

struct TN2KDevices {
    TN2KDevices(TMuxHost& host, QWidget* window, std::function<void(int)> converterFound)
        : Scanner(host, std::move(converterFound)), InfoForm(Scanner, window),
          ListForm(Scanner, InfoForm, host, window) {}

    TN2KDeviceList Scanner;
    TN2KDeviceInfoForm InfoForm;
    TN2KDeviceListForm ListForm;
};

} // namespace kvl
