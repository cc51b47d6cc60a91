// A main window reduced to what the subsystems beside it ask of it: the
// connection fields and the sentences sent, recorded for the test.
#pragma once

#include "host/MuxHost.h"
#include "link/Comms.h"

#include <string>
#include <vector>

namespace kvl::test {

class TFakeMuxHost final : public TMuxHost {
public:
    void SendSentence(const std::string& text) override { Sent.push_back(text); }
    void SendAndWait(const std::string& text, TPQZXCmd) override { Sent.push_back(text); }
    void SendAndWaitReady(const std::string& text) override { Sent.push_back(text); }
    void WaitForReply(TPQZXCmd, int) override {}
    TRXState GetRXState() const override { return TRXState::stNormal; }
    void SetRXState(TRXState) override {}
    TComm& Comm() override { return Link; }
    bool IsLinkOpen() const override { return LinkOpen && Open; }
    TMuxConfig& Config() override { return Model; }
    std::uint16_t Capabilities() const override { return Caps; }
    const TMuxVersion& FirmwareVersion() const override { return Version; }
    int MuxInterfaceType() const override { return -1; }
    void EnableControls(bool) override {}
    void UpdateView() override {}
    void EnableHostControls(bool) override {}
    void EnableUpdateCommand() override {}
    void StartTimeOut(const std::string&) override {}
    void StopTimeOut() override {}
    void ProcessVER(const TSentence&) override {}
    TMuxIdentity Identity() const override { return {}; }
    void ShowConfigFileName(const QString&) override {}
    void WriteAllSettings() override {}
    void SendTextFile(const QString&) override {}
    void SendNmea(const std::string& text) override { Sent.push_back(text); }
    std::string MuxIP() const override { return Host; }
    void SetMuxIP(const std::string& host) override { Host = host; }
    void UseNetworkLink(bool tcp, const std::string& port) override {
        LinkOpen = false;
        Switched.push_back(std::string(tcp ? "TCP:" : "UDP:") + port);
    }
    std::string MuxSerial() const override { return Serial; }

    std::vector<std::string> Sent;
    std::vector<std::string> Switched; // "TCP:10110" for each switch of the link
    std::string Host;
    std::string Serial = "K3E-00042";
    bool LinkOpen = true; // false once the link was switched to the module's settings
    bool Open = true;     // the link as a test opens and closes it
    std::uint16_t Caps = 0xA010;

private:
    TComm Link;
    TMuxConfig Model;
    TMuxVersion Version;
};

} // namespace kvl::test
