// TSentence: the parsed form of one line received from the multiplexer, with its
// TAG block, source tag, checksum faults, address and (for the multiplexer's own
// proprietary sentences) the recognised command and its field list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kvl {

enum class TSource : std::uint8_t { SrcNone, SrcN0183, SrcN2K };

// The multiplexer's proprietary commands, recognised by the exact first field.
enum class TPQZXCmd : std::uint8_t {
    PQZXNone,
    PQZXRDY,
    PQZXLDR,
    PQZXVER,
    PQZXOV,
    PQZXSTAT,
    PQZXCF,
    PQZXDR,
    PQZXID,
    PQZXSP,
    PQZXRTE,
    PQZXOP,
    PQZXPR,
    PQZXWI,
    PQZXIN,
    PQZXDB,
    PQZXMB,
    PQZXUI,
    PQZXNA,
    PQZXNC,
    PQZXND,
    PQZXNF,
    PQZXNO,
    PQZXNP,
    PQZXNPE, // "!PQZXNP": the NP command sent with the '!' start character
    PQZXMOB,
    PQZXCNV,
    PQZXDS,
    PQZXBIN,
    PQZXMEM,
    QJPGN, // never matches: a $QJPGN line is not proprietary and is plain traffic
};

// The first field of each command, in enumeration order (PQZXNone has none).
std::string_view PQZXCmdText(TPQZXCmd cmd);

class TSentence {
public:
    // Parse faults recorded in Error; a line is never rejected because of them.
    static constexpr std::uint8_t kErrTagNoChecksum = 2;
    static constexpr std::uint8_t kErrChecksum = 4;
    static constexpr std::uint8_t kErrTagChecksum = 8;
    static constexpr std::uint8_t kNoSourceAddress = 255;

    // Builds the sentence from one received line (without CR LF). uniqueId is the
    // multiplexer's unique ID as last read; it only serves to find the source tag.
    // Never throws.
    TSentence(std::string line, std::string_view uniqueId);

    std::string TAGblock; // "\...\" including both backslashes, or empty
    std::string Sentence; // the line without its TAG block
    std::string Address;  // between the start character and the first comma
    TPQZXCmd Command = TPQZXCmd::PQZXNone;
    std::vector<std::string> Fields; // proprietary sentences only; [0] is "$PQZX.."
    bool HasFields = false;          // whether Fields was built (a "$PQZX" line)
    TSource Source = TSource::SrcNone;
    std::uint8_t Input = 0;             // with SrcN0183
    std::uint8_t SA = kNoSourceAddress; // with SrcN2K; 255 means none
    std::uint8_t Error = 0;

    // Checked access for the handlers. Field(i) throws EMissingField beyond the
    // list; the number readers throw ENumberError for text that is not a number
    // or exceeds max; FirstChar throws EFieldSize for an empty field.
    std::size_t FieldCount() const { return Fields.size(); }
    bool HasField(std::size_t index) const { return index < Fields.size(); }
    const std::string& Field(std::size_t index) const;
    std::uint32_t FieldDec(std::size_t index, std::uint32_t max = UINT32_MAX) const;
    std::uint32_t FieldHex(std::size_t index, std::uint32_t max = UINT32_MAX) const;
    std::uint64_t FieldHex64(std::size_t index) const;
    char FirstChar(std::size_t index) const;

    // The fields joined with commas for the dispatcher's messages: a field holding
    // a blank, a control character, a comma or a double quote is written in double
    // quotes with inner double quotes doubled.
    std::string JoinedFields() const;

private:
    void ParseTagBlock();
    void ParseSource(std::string_view uniqueId);
    void CheckSentenceChecksum();
    void ParseAddress();
    void ParseFields();
};

} // namespace kvl
