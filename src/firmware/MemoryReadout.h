// The memory read-out: a "$PQZXMEM" report announces address, size and the
// number of the last block; "$PQZXBIN" sentences bring the blocks; once the
// announced size has arrived the user may save the bytes as an Intel HEX file.
// A damaged line or a read-out that stalls ends it with a message and nothing
// saved; the progress window shows how far it has come.
#pragma once

#include "firmware/IntelHex.h"
#include "host/MuxHost.h"
#include "sentence/Sentence.h"

#include <QTimer>

#include <cstdint>
#include <memory>

namespace kvl {

class TProgress;

class TMemoryReadout {
public:
    TMemoryReadout(TMuxHost& host, TProgress& progress);
    ~TMemoryReadout();

    // Every "$PQZXMEM", in any state: a valid report starts a read-out
    // (stGetBinary); any report ends the one before. Ignored while a firmware
    // update runs, which owns the link.
    void HandleMEM(const TSentence& sentence);
    // A "$PQZXBIN" while stGetBinary. True when the read-out is finished (saved,
    // or broken off by a damaged line); the state is then already stNormal (a
    // report that arrives while the save dialog is open starts a new read-out
    // that this one does not touch).
    bool HandleBIN(const TSentence& sentence);
    // The link is closing: a running read-out ends without a word.
    void LinkClosed();

    // No line for this long ends a read-out.
    static constexpr int kStallMs = 2000;

    std::uint32_t BinaryAddress = 0;
    std::uint32_t BinarySize = 0;
    std::uint32_t BinaryBlocks = 0;
    std::unique_ptr<TBinaryData> BinaryData; // only while a read-out runs
    QTimer StallTimer;

private:
    void Save(const TBinaryData& data, std::uint32_t address);
    void Stop();
    void Abort(const QString& message);

    TMuxHost& Host;
    TProgress& Progress;
};

} // namespace kvl
