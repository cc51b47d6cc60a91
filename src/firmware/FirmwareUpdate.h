// TFirmwareUpdate: the firmware subsystem beside the main window. It restarts
// the multiplexer into its bootloader, uploads an image when the bootloader has
// announced itself, and waits for the restarted firmware's version answer; and
// it collects memory read-outs. It reaches the link only through TMuxHost.
#pragma once

#include "firmware/Firmware.h"
#include "firmware/MemoryReadout.h"
#include "host/MuxHost.h"
#include "host/WaitCursor.h"
#include "widgets/ProgressForm.h"

#include <cstdint>
#include <memory>
#include <optional>

class QWidget;

namespace kvl {

class TFirmwareUpdate {
public:
    TFirmwareUpdate(TMuxHost& host, QWidget* window);
    ~TFirmwareUpdate();

    // "&Update Korvelan Firmware..." (a container file) and "Automatic &Update"
    // or the offer after an incompatible version answer (embedded: true).
    void miUpdateFirmwareClick(bool embedded);

    // Every "$PQZXLDR", in any state.
    void HandleLDR(const TSentence& sentence);
    // "$PQZXLDR" while stFwUpdStart: the upload.
    void UploadFirmware();
    // "$PQZXVER" while stFwUpdEnd: the update has succeeded.
    void CompleteUpdate(const TSentence& sentence);
    // The time-out fired (before the main window shows its message).
    void TimeOut();
    // The link is closing (the user, or a lost connection): a running attempt ends.
    void LinkClosed();

    std::uint8_t MuxHardwareID = 0;
    std::unique_ptr<TFirmware> Firmware; // the running attempt's image
    TProgress& Progress() { return *ProgressWindow; }
    TMemoryReadout Readout;

private:
    bool InterfaceAllowsUpdate();
    bool CreateFirmware(bool embedded);
    bool ConfirmDowngrade();
    void BeginAttempt();
    void RestoreWindow();
    void EndAttempt();

    TMuxHost& Host;
    std::unique_ptr<TProgress> ProgressWindow;
    std::optional<TWaitCursor> Hourglass; // from the reset to the end of the upload
};

} // namespace kvl
