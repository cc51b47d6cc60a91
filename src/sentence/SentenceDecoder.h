// TSentenceDecoder: explains one received line. It reads the traffic log's
// direction tag, the TAG block, the checksum, the talker and the sentence type,
// and each field by the sentence's layout (fields of unknown sentences by
// number); AIS payloads are assembled across fragments and decoded.
//
// It never throws on what a device sends and keeps its buffers between lines, so
// decoding allocates nothing for ordinary sentences. The decoder is stateful only
// for AIS fragments: feed it the lines in the order they arrived.
#pragma once

#include "sentence/AisAssembler.h"
#include "sentence/AisBits.h"
#include "sentence/DecodedLine.h"

#include <string>
#include <string_view>
#include <vector>

namespace kvl {

struct TSentenceLayout;

class TSentenceDecoder {
public:
    // The result is valid until the next call.
    const TDecodedLine& Decode(std::string_view line);
    // Forgets pending AIS fragments.
    void Reset() { Assembler.Clear(); }

private:
    std::size_t ReadLogPrefix(std::size_t pos);
    std::size_t ReadTagBlock(std::size_t pos);
    void ReadSentence(std::string_view sentence);
    void ReadAddress();
    void ApplyLayout(const TSentenceLayout* layout);
    void ReadAis();

    std::string Buffer; // the line; every view of Result points into it
    TDecodedLine Result;
    std::vector<std::string_view> Raw; // the comma-separated fields, address first
    TAisAssembler Assembler;
    TAisBits Bits;
};

} // namespace kvl
