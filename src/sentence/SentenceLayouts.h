// The field layouts of the NMEA 0183 sentences the decoder explains: for each
// sentence type its name in words and each field's name, JSON key, format and unit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace kvl {

// A coded value and what it means ("A" -> "valid").
struct TCode {
    std::string_view Code;
    std::string_view Meaning;
};

enum class TFieldFormat : std::uint8_t {
    Text,           // c--c, shown as sent
    Number,         // x.x in Unit
    Time,           // hhmmss.ss UTC
    Date,           // ddmmyy
    Latitude,       // ddmm.mm followed by N/S: takes two fields
    Longitude,      // dddmm.mm followed by E/W: takes two fields
    Code,           // a letter or digit explained by Codes
    UnitOfPrevious, // a unit letter (Codes give the unit) for the number before it; not shown itself
    Fixed           // a fixed reference letter ("T" after a true course); not shown
};

struct TFieldSpec {
    std::string_view Name;
    std::string_view Key;
    TFieldFormat Format = TFieldFormat::Text;
    std::string_view Unit;
    std::span<const TCode> Codes;
    bool SkipEmpty = false; // an empty slot of a list (GSA's unused satellite slots) is left out
};

struct TSentenceLayout {
    std::string_view Type = {}; // "RMC"
    std::string_view Name = {}; // "Recommended minimum navigation data"
    std::span<const TFieldSpec> Fields = {};
    // Fields[RepeatFrom..] repeat as a group while the sentence has fields left
    // (GSV's satellites, XDR's transducers, RTE's waypoints).
    std::size_t RepeatFrom = SIZE_MAX;
    // GSV (4.10+): one field left over after the last whole group is this field.
    const TFieldSpec* Trailing = nullptr;
};

// The layout for a sentence type ("RMC"), or nullptr when the type is not known.
// The field count and the second field pick between the forms of a sentence that
// has two (VTG's old form has no reference letters).
const TSentenceLayout* FindSentenceLayout(std::string_view type, std::size_t fieldCount,
                                          std::string_view secondField);

// The multiplexer's own sentences, by address ("PQZXSP"), or nullptr.
const TSentenceLayout* FindPqzxLayout(std::string_view address);

// The source of a talker ID ("GP" -> "GPS receiver"), empty when unknown.
std::string_view TalkerName(std::string_view talker);

} // namespace kvl
