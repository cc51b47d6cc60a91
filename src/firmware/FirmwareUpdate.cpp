#include "firmware/FirmwareUpdate.h"

#include "firmware/BootloaderUpload.h"
#include "firmware/CommPacketLink.h"
#include "firmware/EmbeddedFirmware.h"
#include "firmware/UploadProgressWindow.h"
#include "host/Dialogs.h"
#include "link/CommError.h"
#include "model/InOutError.h"

#include <QFile>

#include <exception>

namespace kvl {

namespace {

constexpr int kInterfaceEthernet = 2;
constexpr int kInterfaceWiFi = 3;

std::uint32_t Comparable(std::uint32_t major, std::uint32_t minor, std::uint32_t patch) {
    return major * 65536 + minor * 256 + patch;
}

} // namespace

TFirmwareUpdate::TFirmwareUpdate(TMuxHost& host, QWidget* window)
    : Readout(host), Host(host), ProgressWindow(std::make_unique<TProgress>(window)) {}

TFirmwareUpdate::~TFirmwareUpdate() = default;

void TFirmwareUpdate::miUpdateFirmwareClick(bool embedded) {
    if (Host.GetRXState() == TRXState::stFwUpdStart || Host.GetRXState() == TRXState::stFwUpdEnd)
        return; // one attempt at a time
    if (!InterfaceAllowsUpdate())
        return;
    try {
        if (!CreateFirmware(embedded) || !ConfirmDowngrade()) {
            Firmware.reset();
            return;
        }
        Host.SendSentence("$PQZXRESET");
        if (!Host.IsLinkOpen()) { // lost while sending, and told so
            Firmware.reset();
            return;
        }
    } catch (const EInOutError& e) {
        Firmware.reset();
        Dialogs().ShowMessage(QString::fromLocal8Bit(e.what()));
        return;
    } catch (const std::exception& e) {
        // A file that cannot be opened, a lost connection: not a container fault.
        Firmware.reset();
        Dialogs().ShowMessage(QString::fromLocal8Bit(e.what()));
        return;
    }
    BeginAttempt();
}

bool TFirmwareUpdate::InterfaceAllowsUpdate() {
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
    return true;
}

bool TFirmwareUpdate::CreateFirmware(bool embedded) {
    Firmware.reset();
    if (embedded) {
        Firmware = std::make_unique<TFirmware>(std::string(kEmbeddedFirmware), EmbeddedFirmware());
        return true;
    }
    const QString fileName = Dialogs().OpenFileName(kOpenFilters, 1);
    if (fileName.isEmpty())
        return false;
    Firmware = std::make_unique<TFirmware>(QFile::encodeName(fileName).toStdString(), EmbeddedFirmware());
    return true;
}

bool TFirmwareUpdate::ConfirmDowngrade() {
    const TMuxVersion& mux = Host.FirmwareVersion();
    const TVersion& file = Firmware->Version;
    if (Comparable(file.Major, file.Minor, file.Patch) >= Comparable(mux.Major, mux.Minor, mux.Patchlevel))
        return true;
    return Dialogs().Confirm(
        QStringLiteral("The version of this firmware file is lower than the version\rof the "
                       "multiplexer. Do you really want to proceed?"),
        QStringLiteral("KVLConfig3"));
}

void TFirmwareUpdate::BeginAttempt() {
    Host.StartTimeOut("Bootloader: Initialisation failed");
    Host.SetRXState(TRXState::stFwUpdStart);
    Host.EnableControls(false);
    Host.EnableHostControls(false);
    Hourglass.emplace();
    ProgressWindow->Start(QStringLiteral("Updating Korvelan Firmware"),
                          QStringLiteral("Starting bootloader..."));
}

void TFirmwareUpdate::HandleLDR(const TSentence& sentence) {
    Host.EnableUpdateCommand();
    try {
        MuxHardwareID = static_cast<std::uint8_t>(sentence.FieldHex(1, 0xFF));
    } catch (...) {
        // A malformed announcement ends a waiting attempt; the dispatcher reports it.
        if (Host.GetRXState() == TRXState::stFwUpdStart)
            EndAttempt();
        throw;
    }
    Host.StopTimeOut();
}

void TFirmwareUpdate::UploadFirmware() {
    Host.SetRXState(TRXState::stFwUpdEnd);
    QString fault;
    try {
        TCommPacketLink link(Host.Comm());
        TUploadProgressWindow progress(*ProgressWindow);
        Firmware->Upload(MuxHardwareID, link, progress);
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
        Dialogs().ShowMessage(fault);
    }
    Host.StartTimeOut("The firmware update failed");
}

void TFirmwareUpdate::CompleteUpdate(const TSentence& sentence) {
    Firmware.reset();
    Host.SetRXState(TRXState::stNormal);
    // Stopped first: a slow reader of the message must not also get the failure.
    Host.StopTimeOut();
    Dialogs().ShowMessage(QStringLiteral("The firmware update was successful"));
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
