// TMuxHost: the narrow face of the main window that the subsystems beside it
// (tables, configuration files, firmware update, NMEA 2000 scanner, network
// setup, auxiliary windows) use to reach the multiplexer. They never touch the
// main window's controls; what they need of it is here.
#pragma once

#include "host/RXState.h"
#include "model/MuxConfig.h"
#include "model/MuxVersion.h"
#include "sentence/Sentence.h"

#include <QString>

#include <cstdint>
#include <string>

namespace kvl {

class TComm;

// What the multiplexer told about itself in its VER answer.
struct TMuxIdentity {
    std::string Device;
    std::string FirmwareVersion;
    std::string Serial;
};

class TMuxHost {
public:
    virtual ~TMuxHost() = default;

    // Sending. The waits run a nested drain, so answers are dispatched meanwhile;
    // they raise the time-out error when the multiplexer does not answer.
    virtual void SendSentence(const std::string& text) = 0;
    virtual void SendAndWait(const std::string& text, TPQZXCmd command) = 0;
    virtual void SendAndWaitReady(const std::string& text) = 0;
    virtual void WaitForReply(TPQZXCmd command, int timeoutMs) = 0;
    // Writes a sentence straight to the link, not logged (the NMEA 2000 requests
    // and device commands). Raises the link's error when the write fails.
    virtual void SendNmea(const std::string& text) = 0;

    // The receive state of the connection controller.
    virtual TRXState GetRXState() const = 0;
    virtual void SetRXState(TRXState state) = 0;

    // The link and what the multiplexer told about itself.
    virtual TComm& Comm() = 0;
    virtual bool IsLinkOpen() const = 0;
    virtual TMuxConfig& Config() = 0;
    virtual std::uint16_t Capabilities() const = 0;
    virtual const TMuxVersion& FirmwareVersion() const = 0;
    virtual int MuxInterfaceType() const = 0;
    virtual TMuxIdentity Identity() const = 0;

    // The window's enabling and refresh.
    virtual void EnableControls(bool enable) = 0;
    virtual void UpdateView() = 0;
    // The connection group and the "Read Configuration" button.
    virtual void EnableHostControls(bool enable) = 0;
    // A bootloader announced itself: both update commands become available and
    // the status bar names the bootloader.
    virtual void EnableUpdateCommand() = 0;

    // The one-shot time-out of a multi-step exchange and the message it shows.
    virtual void StartTimeOut(const std::string& message) = 0;
    virtual void StopTimeOut() = 0;

    // The version answer's handler: the multiplexer is read as after a connect.
    virtual void ProcessVER(const TSentence& sentence) = 0;

    // The connection group's network fields, for the network setup: the host
    // text (edtMuxIP), and the switch to the module's new settings, which closes
    // the link, selects the "TCP" or "UDP" entry, takes the port text and
    // refreshes the window.
    virtual std::string MuxIP() const = 0;
    virtual void SetMuxIP(const std::string& host) = 0;
    virtual void UseNetworkLink(bool tcp, const std::string& port) = 0;
    // The serial number of the version answer.
    virtual std::string MuxSerial() const = 0;
    // The status bar's configuration file panel: "Config file: " and the name.
    virtual void ShowConfigFileName(const QString& fileName) = 0;

    // Writes the whole model to the multiplexer, the table stores included.
    virtual void WriteAllSettings() = 0;
    // Why a write-all cannot run now (no link, capabilities unknown, firmware too
    // old); empty when it can. Asked before a file replaces the model.
    virtual QString WriteAllRefusal() const { return {}; }

    // An operation that waits for the multiplexer (a store, a write-all, a wait)
    // is running: no other store, write-all, load or read may start meanwhile.
    // Kept by TBusyGuard; the window's enabling reads it.
    virtual void BeginBusy() {}
    virtual void EndBusy() {}
    virtual bool IsBusy() const { return false; }
    // Sends a text file to the multiplexer line by line.
    virtual void SendTextFile(const QString& fileName) = 0;
};

// Marks the host busy for the life of a scope, on every path.
class TBusyGuard {
public:
    explicit TBusyGuard(TMuxHost& host) : Host(host) { Host.BeginBusy(); }
    ~TBusyGuard() { Host.EndBusy(); }
    TBusyGuard(const TBusyGuard&) = delete;
    TBusyGuard& operator=(const TBusyGuard&) = delete;

private:
    TMuxHost& Host;
};

} // namespace kvl
