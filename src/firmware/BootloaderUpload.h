// The two upload procedures that drive the bootloader command by command: start
// pattern, erase, decryption set-up, every page, checksum. The link and the
// progress display are reached through the two small interfaces below, so the
// procedures run against the real link as well as in tests.
#pragma once

#include "firmware/Firmware.h"
#include "link/FramingState.h"
#include "link/PacketFraming.h"

#include <string>

namespace kvl {

// The packet side of the link: Recv waits up to 2000 ms and returns stReady with
// a packet, stTimeOut, or anything else when the link cannot carry packets.
class TPacketLink {
public:
    virtual ~TPacketLink() = default;
    virtual void EnterLinkMode() = 0;
    virtual void ExitLinkMode() = 0;
    virtual void Send(const TPacket& packet) = 0;
    virtual TRxState Recv(TPacket& packet) = 0;
};

class TUploadProgress {
public:
    virtual ~TUploadProgress() = default;
    virtual void SetMaximum(int maximum) = 0;
    virtual void SetPosition(int position) = 0;
    virtual void SetTask(const std::string& task) = 0;
    // Lets the window repaint (no other user input is taken meanwhile).
    virtual void Repaint() = 0;
};

// Progress that nobody watches: an upload without a window.
class TSilentProgress final : public TUploadProgress {
public:
    void SetMaximum(int) override {}
    void SetPosition(int) override {}
    void SetTask(const std::string&) override {}
    void Repaint() override {}
};

// Both raise ECommError on the first time-out or fault; the link is back in
// line mode whatever happens.
void UploadAvr(const TFirmware& firmware, TPacketLink& link, TUploadProgress& progress);
void UploadArm(const TFirmware& firmware, TPacketLink& link, TUploadProgress& progress);

// Selects and checks the image for the hardware ID, then runs its procedure.
// Container faults raise EInOutError before anything is sent.
void UploadFirmware(TFirmware& firmware, std::uint16_t hardwareId, TPacketLink& link,
                    TUploadProgress& progress);

} // namespace kvl
