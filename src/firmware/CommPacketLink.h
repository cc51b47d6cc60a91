// The link's packet operations as the upload procedures use them.
#pragma once

#include "firmware/BootloaderUpload.h"
#include "link/Comms.h"

namespace kvl {

class TCommPacketLink : public TPacketLink {
public:
    explicit TCommPacketLink(TComm& comm) : Comm(comm) {}
    void EnterLinkMode() override { Comm.EnterLinkMode(); }
    void ExitLinkMode() override { Comm.ExitLinkMode(); }
    void Send(const TPacket& packet) override { Comm.Send(packet); }
    TRxState Recv(TPacket& packet) override { return Comm.Recv(packet); }

private:
    TComm& Comm;
};

} // namespace kvl
