// The memory read-out: a "$PQZXMEM" report announces address, size and the
// number of the last block; "$PQZXBIN" sentences bring the blocks; once the
// announced size has arrived the user may save the bytes as an Intel HEX file.
#pragma once

#include "firmware/IntelHex.h"
#include "host/MuxHost.h"
#include "sentence/Sentence.h"

#include <cstdint>
#include <memory>

namespace kvl {

class TMemoryReadout {
public:
    explicit TMemoryReadout(TMuxHost& host) : Host(host) {}

    // Every "$PQZXMEM", in any state: a valid report starts a read-out
    // (stGetBinary); any report ends the one before.
    void HandleMEM(const TSentence& sentence);
    // A "$PQZXBIN" while stGetBinary. True when the read-out is finished; the
    // state is then already stNormal (a report that arrives while the save
    // dialog is open starts a new read-out that this one does not touch).
    bool HandleBIN(const TSentence& sentence);

    std::uint32_t BinaryAddress = 0;
    std::uint32_t BinarySize = 0;
    std::uint32_t BinaryBlocks = 0;
    std::unique_ptr<TBinaryData> BinaryData; // only while a read-out runs

private:
    void Save(const TBinaryData& data, std::uint32_t address);

    TMuxHost& Host;
};

} // namespace kvl
