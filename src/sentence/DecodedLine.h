// What one received line says, field by field: the result of TSentenceDecoder.
//
// The views (names, keys, units, meanings) point into constant tables or into the
// decoder's copy of the line, so decoding a line allocates nothing once the
// decoder's buffers have grown; a TDecodedLine is valid until the next Decode.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kvl {

enum class TValueKind : std::uint8_t {
    Empty,     // the field was sent empty: "no value"
    Number,    // Value holds the number in Unit
    Text,      // free text, shown as sent
    Code,      // a letter or number with a Meaning ("valid"); Meaning empty when unknown
    Time,      // hhmmss.ss, Raw as sent
    Date,      // ddmmyy; Value holds the year with its century
    Latitude,  // Value in signed decimal degrees, Raw the ddmm.mm text, Meaning "N"/"S"
    Longitude, // Value in signed decimal degrees, Raw the dddmm.mm text, Meaning "E"/"W"
    Unreadable // a number or position that could not be read; Raw as sent
};

struct TDecodedField {
    std::string_view Name;    // "Speed over ground"; empty for an unknown field ("Field N")
    std::string_view Key;     // JSON name: "speed_over_ground"; empty for an unknown field ("field_N")
    std::string_view Unit;    // "kn", "deg", "m"; empty when none
    std::string_view Raw;     // the field's text as sent
    std::string_view Meaning; // Code: the meaning of Raw
    double Value = 0;
    TValueKind Kind = TValueKind::Empty;
    std::uint16_t Number = 0; // 1-based field number after the address
};

// One TAG block parameter ("s:ais_rx1").
struct TTagParam {
    std::string_view Key;   // "s"
    std::string_view Name;  // "Source station"; empty for an unknown key
    std::string_view Value; // "ais_rx1"
};

// One field of a decoded AIS message.
struct TAisField {
    enum class TKind : std::uint8_t { Integer, Real, Flag, Text };
    std::string_view Name;    // "Speed over ground"
    std::string_view Key;     // "speed"
    std::string_view Unit;    // "kn"
    std::string_view Meaning; // enumerations: "under way using engine"
    TKind Kind = TKind::Integer;
    bool NotAvailable = false; // the field holds its "not available" code
    std::int64_t Integer = 0;  // Integer, Flag, and the raw value of Real
    double Real = 0;
    std::string Text; // Text: trimmed of '@' and trailing blanks
};

struct TAisMessage {
    unsigned Type = 0;
    std::uint32_t Mmsi = 0;
    unsigned Bits = 0;             // message length after the fill bits
    std::vector<TAisField> Fields; // type, repeat and MMSI first
    const TAisField* Find(std::string_view key) const;
};

struct TDecodedLine {
    std::string_view Line;             // the whole line as given (without CR LF)
    std::string_view LogPrefix;        // the traffic log's direction tag ("\t:rx*44\"), if any
    std::string_view Direction;        // "rx" or "tx" from that tag
    std::string_view TagBlock;         // the line's own TAG block, backslashes included
    std::vector<TTagParam> Tags;       // its parameters
    std::optional<bool> TagChecksumOk; // unset without TAG block or without its '*'
    std::string_view Sentence;         // from the start character up to the end
    char Start = 0;                    // '$' or '!'; 0 when the line holds no sentence
    std::string_view Address;          // "GPRMC"
    std::string_view Talker;           // "GP"; "P" for a proprietary sentence
    std::string_view TalkerName;       // "GPS receiver"; empty when unknown
    std::string_view Type;             // "RMC"; the address after "P" for a proprietary sentence
    std::string_view TypeName;         // "Recommended minimum navigation data"; empty when unknown
    std::optional<bool> ChecksumOk;    // unset when the sentence has no '*'
    std::uint8_t ChecksumSent = 0;
    std::uint8_t ChecksumComputed = 0;
    std::vector<TDecodedField> Fields;
    std::string_view Error; // why the line (or its AIS message) could not be decoded; empty when it could

    // AIS: the message that this line completes, or where its assembly stands.
    bool IsAis = false;
    std::optional<TAisMessage> Ais;
    std::string AisProgress; // "fragment 1 of 2", "incomplete: fragment 1 of 2 missing"

    void Clear();
};

} // namespace kvl
