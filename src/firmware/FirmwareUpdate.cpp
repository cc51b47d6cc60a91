#include "firmware/FirmwareUpdate.h"

#include "firmware/BootloaderUpload.h"
#include "firmware/CommPacketLink.h"
#include "firmware/EmbeddedFirmware.h"
#include "firmware/UploadProgressWindow.h"
#include "host/Dialogs.h"
#include "link/CommError.h"
#include "model/InOutError.h"
#include "model/MuxVersion.h"

#include <QFile>

#include <algorithm>
#include <exception>

namespace kvl {

namespace {

constexpr int kInterfaceEthernet = 2;
constexpr int kInterfaceWiFi = 3;

const QString kSuccess = QStringLiteral("The firmware update was successful");
const QString kTestImagesOnly =
    QStringLiteral("This program carries test firmware only, made for the simulator. Choose Update Korvelan "
                   "Firmware... and a firmware file from the maker.");
const QString kUdpRefused =
    QStringLiteral("The firmware cannot be updated over UDP: it does not carry the upload.\rConnect over "
                   "USB (a serial port) or TCP and start the update again.");
const QString kIncompatible = QStringLiteral(
    "KVLConfig3 has detected incompatible firmware in\ryour Korvelan.\r\rWould you like to perform an "
    "automatic update?");
const QString kDowngrade =
    QStringLiteral("The version of this firmware file is lower than the version\rof the "
                   "multiplexer. Do you really want to proceed?");
const QString kNotStarted =
    QStringLiteral("The new firmware did not start: the multiplexer announced its bootloader again.");

std::uint32_t Comparable(std::uint32_t major, std::uint32_t minor, std::uint32_t patch) {
    return major * 65536 + minor * 256 + patch;
}

QString VersionText(const TVersion& v) {
    return QStringLiteral("%1.%2.%3").arg(v.Major).arg(v.Minor).arg(v.Patch);
}

QString HardwareIdText(std::uint8_t id) {
    return QStringLiteral("%1").arg(id, 4, 16, QLatin1Char('0')).toUpper();
}

// Pages of the serial link at 460800 baud, with the bootloader's programming
// time per page and the two restarts: a rough figure, rounded up to 5 seconds.
int ExpectedSeconds(std::uint32_t imageBytes) {
    const double seconds = 5.0 + imageBytes / 40000.0 + (imageBytes / 512.0) * 0.02;
    return (static_cast<int>(seconds) / 5 + 1) * 5;
}

} // namespace

QString TFirmwareUpdate::WhatToDo() {
    return QStringLiteral("\r\rThe multiplexer stays in its bootloader and keeps its old configuration: "
                          "connect again and run the "
                          "update again.");
}

TFirmwareUpdate::TFirmwareUpdate(TMuxHost& host, QWidget* window)
    : ProgressWindow(std::make_unique<TProgress>(window)), Readout(host, *ProgressWindow), Host(host) {}

TFirmwareUpdate::~TFirmwareUpdate() = default;

void TFirmwareUpdate::StartUpdate(TStart start) {
    if (Host.GetRXState() == TRXState::stFwUpdStart || Host.GetRXState() == TRXState::stFwUpdEnd)
        return; // one attempt at a time
    if (!LinkAllowsUpdate() || !EmbeddedAllowed(start))
        return;
    try {
        // The container is checked in full here: a damaged or foreign file is
        // refused while the multiplexer still runs its firmware.
        if (!CreateFirmware(start) || !Confirmed(start)) {
            Firmware.reset();
            return;
        }
        Host.SendSentence("$PQZXRESET");
        if (!Host.IsLinkOpen()) { // lost while sending, and told so
            Firmware.reset();
            return;
        }
    } catch (const std::exception& e) {
        // A container fault, a file that cannot be opened: nothing was sent.
        Firmware.reset();
        Dialogs().ShowMessage(QString::fromLocal8Bit(e.what()));
        return;
    }
    BeginAttempt();
}

// The upload needs a link that carries packets, and the model's own link.
bool TFirmwareUpdate::LinkAllowsUpdate() {
    const TCommMode mode = Host.Comm().CommMode();
    if (Host.MuxInterfaceType() == kInterfaceEthernet && mode != TCommMode::cmTCP) {
        Dialogs().ShowMessage(QStringLiteral("The Korvelan must be set to TCP mode\rbefore updating"));
        return false;
    }
    if (Host.MuxInterfaceType() == kInterfaceWiFi && mode != TCommMode::cmSerial) {
        Dialogs().ShowMessage(QStringLiteral(
            "The Korvelan firmware cannot be updated via\rWiFi. Connect via USB first before updating"));
        return false;
    }
    // The simulator inside the program carries packets like a serial port.
    if (mode != TCommMode::cmSerial && mode != TCommMode::cmTCP && mode != TCommMode::cmSim) {
        Dialogs().ShowMessage(kUdpRefused);
        return false;
    }
    return true;
}

// The embedded test images go to the simulator only: the one inside the program,
// or one that marks its version answer; a multiplexer that has not answered one
// is not known to be it.
bool TFirmwareUpdate::EmbeddedAllowed(TStart start) {
    if (start == TStart::File || !EmbeddedFirmwareIsSynthetic() ||
        IsSimulatorDeviceName(Host.Identity().Device) || Host.Comm().CommMode() == TCommMode::cmSim)
        return true;
    Dialogs().ShowMessage(start == TStart::Offer
                              ? kIncompatible.left(kIncompatible.indexOf(QStringLiteral("\r\r"))) +
                                    QStringLiteral("\r\r") + kTestImagesOnly
                              : kTestImagesOnly);
    return false;
}

bool TFirmwareUpdate::CreateFirmware(TStart start) {
    Firmware.reset();
    FileName.clear();
    if (start != TStart::File) {
        Firmware = std::make_unique<TFirmware>(std::string(kEmbeddedFirmware), EmbeddedFirmware());
    } else {
        FileName = Dialogs().OpenFileName(kOpenFilters, 1);
        if (FileName.isEmpty())
            return false;
        Firmware = std::make_unique<TFirmware>(QFile::encodeName(FileName).toStdString(), EmbeddedFirmware());
    }
    // A multiplexer already in its bootloader has told its hardware ID: the image
    // is chosen now, and a file without one for it is refused before the reset.
    if (HardwareIDKnown)
        Firmware->SelectImage(MuxHardwareID);
    return true;
}

bool TFirmwareUpdate::Confirmed(TStart start) {
    return Dialogs().Confirm(ConfirmationText(start), QStringLiteral("KVLConfig3"),
                             TDialogs::TDefaultButton::No);
}

QString TFirmwareUpdate::ConfirmationText(TStart start) const {
    // The version of a multiplexer answered on this connection only: the text
    // is emptied when a link closes, so an earlier device's never counts.
    const bool versionKnown = !Host.Identity().FirmwareVersion.empty();
    const TMuxVersion& mux = Host.FirmwareVersion();
    const TVersion& image = Firmware->Version;
    QString text;
    if (start == TStart::Offer)
        text = kIncompatible;
    else if (versionKnown && Comparable(image.Major, image.Minor, image.Patch) <
                                 Comparable(mux.Major, mux.Minor, mux.Patchlevel))
        text = kDowngrade;
    else
        text = QStringLiteral("Update the firmware of the multiplexer?");
    text += QStringLiteral("\r\rMultiplexer: ");
    if (versionKnown)
        text += QStringLiteral("version ") + QString::fromLatin1(Host.Identity().FirmwareVersion);
    else if (HardwareIDKnown)
        text += QStringLiteral("in its bootloader, hardware ID ") + HardwareIdText(MuxHardwareID);
    else
        text += QStringLiteral("version not known");
    text += QStringLiteral("\rFirmware: version ") + VersionText(image) + QStringLiteral(" for ") +
            QString::fromLatin1(Firmware->FamilyText()) + QStringLiteral(" multiplexers, ");
    if (FileName.isEmpty())
        text += QStringLiteral("enclosed in the program") +
                (EmbeddedFirmwareIsSynthetic() ? QStringLiteral(" (test image)") : QString());
    else
        text += QStringLiteral("from the file ") + FileName;
    text += QStringLiteral("\rExpected duration: about %1 seconds")
                .arg(ExpectedSeconds(Firmware->LargestImage()));
    text +=
        QStringLiteral("\r\rDo not disconnect or switch off the multiplexer until the update has finished.");
    return text;
}

void TFirmwareUpdate::BeginAttempt() {
    Host.StartTimeOut("Bootloader: Initialisation failed" + WhatToDo().toStdString());
    Host.SetRXState(TRXState::stFwUpdStart);
    Host.EnableControls(false);
    Host.EnableHostControls(false);
    Hourglass.emplace();
    ProgressWindow->Start(QStringLiteral("Updating Korvelan Firmware"),
                          QStringLiteral("Starting bootloader..."));
}

void TFirmwareUpdate::HandleLDR(const TSentence& sentence) {
    // A damaged announcement tells nothing reliable about the device.
    LdrAccepted = (sentence.Error & TSentence::kErrChecksum) == 0;
    if (!LdrAccepted)
        return;
    try {
        MuxHardwareID = static_cast<std::uint8_t>(sentence.FieldHex(1, 0xFF));
    } catch (...) {
        // A malformed announcement ends a waiting attempt; the dispatcher reports it.
        if (Host.GetRXState() == TRXState::stFwUpdStart)
            EndAttempt();
        throw;
    }
    HardwareIDKnown = true;
    Host.StopTimeOut();
    Host.EnableUpdateCommand();
    const TRXState state = Host.GetRXState();
    if (state == TRXState::stGetVersion) {
        // A device in its bootloader answers no version request: no time-out message.
        Host.SetRXState(TRXState::stNormal);
    } else if (state == TRXState::stFwUpdEnd && !Firmware) {
        // After the upload the bootloader is back: the new firmware did not start.
        Host.SetRXState(TRXState::stNormal);
        Host.UpdateView();
        Dialogs().ShowMessage(kNotStarted + WhatToDo());
    }
}

void TFirmwareUpdate::UploadFirmware() {
    if (!LdrAccepted)
        return; // the damaged announcement was ignored: the attempt waits on
    Host.SetRXState(TRXState::stFwUpdEnd);
    QString fault;
    try {
        TCommPacketLink link(Host.Comm());
        TUploadProgressWindow progress(*ProgressWindow);
        Firmware->Upload(MuxHardwareID, link, progress);
        ExpectedVersion = Firmware->Version;
    } catch (const EInOutError& e) {
        fault = QString::fromLocal8Bit(e.what());
    } catch (const ECommError& e) {
        fault = QString::fromLocal8Bit(e.what());
    } catch (...) {
        EndAttempt();
        throw;
    }
    Firmware.reset();
    RestoreWindow();
    if (!fault.isEmpty()) {
        Host.SetRXState(TRXState::stNormal);
        Dialogs().ShowMessage(fault + WhatToDo());
    }
    Host.StartTimeOut("The firmware update failed" + WhatToDo().toStdString());
}

void TFirmwareUpdate::CompleteUpdate(const TSentence& sentence) {
    Firmware.reset();
    Host.SetRXState(TRXState::stNormal);
    // Stopped first: a slow reader of the message must not also get the failure.
    Host.StopTimeOut();
    // Only the version the image carries proves that the image runs.
    const TMuxVersion got = ParseVersion(sentence.Field(1));
    const TVersion& want = ExpectedVersion;
    if (got.Major == want.Major && got.Minor == want.Minor && got.Patchlevel == want.Patch)
        Dialogs().ShowMessage(kSuccess);
    else
        Dialogs().ShowMessage(QStringLiteral("The multiplexer restarted with version %1 instead of %2")
                                  .arg(QString::fromLatin1(sentence.Field(1)), VersionText(want)) +
                              QStringLiteral("\r\rIt runs that firmware with its old configuration: run the "
                                             "update again, with a firmware file from the maker."));
    TMuxConfig& config = Host.Config();
    config.RouteClear();
    config.ModbusClear();
    config.MobClear();
    config.DataSrcClear();
    Host.ProcessVER(sentence);
    Host.UpdateView();
}

void TFirmwareUpdate::TimeOut() {
    if (Host.GetRXState() == TRXState::stFwUpdStart)
        RestoreWindow();
    Firmware.reset();
}

void TFirmwareUpdate::LinkClosed() {
    const TRXState state = Host.GetRXState();
    if (state == TRXState::stFwUpdStart || state == TRXState::stFwUpdEnd)
        EndAttempt();
    HardwareIDKnown = false; // the next link may lead to another device
    Readout.LinkClosed();
}

QString TFirmwareUpdate::BootloaderStatus() const {
    if (!HardwareIDKnown)
        return {};
    return QStringLiteral("Bootloader, hardware ID ") + HardwareIdText(MuxHardwareID);
}

void TFirmwareUpdate::RestoreWindow() {
    ProgressWindow->hide();
    Hourglass.reset();
    Host.EnableHostControls(true);
    Host.EnableControls(true);
}

void TFirmwareUpdate::EndAttempt() {
    Host.StopTimeOut();
    Firmware.reset();
    RestoreWindow();
    Host.SetRXState(TRXState::stNormal);
}

} // namespace kvl
