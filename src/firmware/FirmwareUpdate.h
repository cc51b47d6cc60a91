// TFirmwareUpdate: the firmware subsystem beside the main window. It restarts
// the multiplexer into its bootloader, uploads an image when the bootloader has
// announced itself, and checks that the restarted firmware is the one sent; and
// it collects memory read-outs. It reaches the link only through TMuxHost.
//
// An update is the one action that can leave a multiplexer unusable, so every
// check that can be made runs before "$PQZXRESET" is sent: the link must carry
// packets, the embedded test images go only to the simulator, the container is
// checked in full, and the user confirms what will happen.
#pragma once

#include "firmware/Firmware.h"
#include "firmware/MemoryReadout.h"
#include "host/MuxHost.h"
#include "host/WaitCursor.h"
#include "widgets/ProgressForm.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

class QWidget;

namespace kvl {

class TFirmwareUpdate {
    // Declared first: the read-out shows its progress in the same window.
    std::unique_ptr<TProgress> ProgressWindow;

public:
    // How an update is started: a container file from the menu, the embedded
    // containers from the menu, or the offer after an incompatible version answer.
    enum class TStart { File, Embedded, Offer };

    TFirmwareUpdate(TMuxHost& host, QWidget* window);
    ~TFirmwareUpdate();

    // "&Update Korvelan Firmware..." (a container file) and "Automatic &Update"
    // (embedded: true).
    void miUpdateFirmwareClick(bool embedded) { StartUpdate(embedded ? TStart::Embedded : TStart::File); }
    void StartUpdate(TStart start);

    // Every "$PQZXLDR", in any state. After an upload it means the new firmware
    // did not start.
    void HandleLDR(const TSentence& sentence);
    // "$PQZXLDR" while stFwUpdStart: the upload.
    void UploadFirmware();
    // "$PQZXVER" while stFwUpdEnd: the restarted firmware; the update succeeded
    // when it carries the image's version.
    void CompleteUpdate(const TSentence& sentence);
    // The time-out fired (before the main window shows its message).
    void TimeOut();
    // The link is closing (the user, or a lost connection): a running attempt ends.
    void LinkClosed();

    // The status bar's text while the multiplexer is known to be in its
    // bootloader on this connection ("Bootloader, hardware ID 0010"); else empty.
    QString BootloaderStatus() const;

    std::uint8_t MuxHardwareID = 0;
    bool HardwareIDKnown = false;        // a bootloader announced itself on this connection
    std::unique_ptr<TFirmware> Firmware; // the running attempt's image
    TProgress& Progress() { return *ProgressWindow; }
    TMemoryReadout Readout;

    // What every failure message ends with.
    static QString WhatToDo();

private:
    bool LinkAllowsUpdate();
    bool EmbeddedAllowed(TStart start);
    bool CreateFirmware(TStart start);
    bool Confirmed(TStart start);
    QString ConfirmationText(TStart start) const;
    void BeginAttempt();
    void RestoreWindow();
    void EndAttempt();

    TMuxHost& Host;
    bool LdrAccepted = false; // the last announcement passed its checksum
    QString FileName;         // the container file of the running attempt, empty for the embedded ones
    TVersion ExpectedVersion; // the chosen image's, which the restarted firmware must report
    std::optional<TWaitCursor> Hourglass; // from the reset to the end of the upload
};

} // namespace kvl
