#include "firmware/BootloaderUpload.h"

#include "firmware/BootloaderPackets.h"
#include "link/CommError.h"

#include <cstdio>

namespace kvl {

namespace {

// Puts the link back into line mode on every way out of a procedure.
class TLinkModeGuard {
public:
    explicit TLinkModeGuard(TPacketLink& link) : Link(link) { Link.EnterLinkMode(); }
    ~TLinkModeGuard() { Link.ExitLinkMode(); }
    TLinkModeGuard(const TLinkModeGuard&) = delete;
    TLinkModeGuard& operator=(const TLinkModeGuard&) = delete;

private:
    TPacketLink& Link;
};

// One command and its answer; anything but a received packet is the command's
// time-out (a closed link must not pass for an answer).
TPacket Exchange(TPacketLink& link, const TPacket& command, const char* timeoutMessage) {
    link.Send(command);
    TPacket answer;
    if (link.Recv(answer) != TRxState::stReady)
        throw ECommError(timeoutMessage);
    return answer;
}

void Judge(TPacketLink& link, const TPacket& command, const char* timeoutMessage, TBootCommand code) {
    CheckBootloaderAnswer(static_cast<int>(code), Exchange(link, command, timeoutMessage));
}

void CheckCrc(TPacketLink& link, const TPacket& command, std::uint32_t fileCrc) {
    const TPacket answer = Exchange(link, command, "Bootloader: CRC command timeout");
    const auto reported = CrcAnswerValue(answer);
    if (!reported) {
        CheckBootloaderAnswer(static_cast<int>(TBootCommand::CalculateCrc), answer);
        return;
    }
    if (*reported != fileCrc) {
        char message[80];
        std::snprintf(message, sizeof message, "Bootloader: CRC error\rFile CRC: %08X\rMult.CRC: %08X",
                      static_cast<unsigned>(fileCrc), static_cast<unsigned>(*reported));
        throw ECommError(message);
    }
}

void SendPages(const TFirmware& firmware, TPacketLink& link, TUploadProgress& progress, bool arm) {
    for (unsigned n = 0; n < firmware.PageCount; ++n) {
        const auto page = static_cast<std::uint16_t>(n);
        const std::uint8_t* data = firmware.PageData(page);
        if (arm)
            Judge(link, EraseProgramPagePacket(page, data, firmware.PageSize),
                  "Bootloader: Programming timeout", TBootCommand::EraseProgramApplicationPage);
        else
            Judge(link, ProgramPagePacket(page, data, firmware.PageSize), "Bootloader: Programming timeout",
                  TBootCommand::ProgramApplicationPage);
        progress.SetPosition(static_cast<int>(n));
        progress.Repaint();
    }
}

void Upload(const TFirmware& firmware, TPacketLink& link, TUploadProgress& progress, bool arm) {
    TLinkModeGuard linkMode(link);
    link.Send(StartPatternPacket());
    progress.SetMaximum(firmware.PageCount - 1);
    if (!arm)
        progress.SetTask("Erasing...");
    progress.Repaint();
    Judge(link, EraseApplicationPacket(), "Bootloader: Erase command timeout",
          TBootCommand::EraseApplication);
    const TPacket encryption = arm ? EncryptionPacket(kDecryptionArm, firmware.IV.data(), 4)
                                   : EncryptionPacket(kDecryptionAvr, firmware.IV.data(), 16);
    Judge(link, encryption, "Bootloader: Encryption command timeout", TBootCommand::Encryption);
    progress.SetTask("Programming...");
    SendPages(firmware, link, progress, arm);
    CheckCrc(link, arm ? CalculateCrcPacket(firmware.PageCount) : CalculateCrcPacket(), firmware.CodeCRC);
}

} // namespace

void UploadAvr(const TFirmware& firmware, TPacketLink& link, TUploadProgress& progress) {
    Upload(firmware, link, progress, false);
}

void UploadArm(const TFirmware& firmware, TPacketLink& link, TUploadProgress& progress) {
    Upload(firmware, link, progress, true);
}

void TFirmware::Upload(std::uint16_t AHardwareID, TPacketLink& link, TUploadProgress& progress) {
    switch (SelectImage(AHardwareID)) {
    case TUploadProcedure::upAvr:
        UploadAvr(*this, link, progress);
        break;
    case TUploadProcedure::upArm:
        UploadArm(*this, link, progress);
        break;
    case TUploadProcedure::upNone:
        break;
    }
}

void UploadFirmware(TFirmware& firmware, std::uint16_t hardwareId, TPacketLink& link,
                    TUploadProgress& progress) {
    firmware.Upload(hardwareId, link, progress);
}

} // namespace kvl
