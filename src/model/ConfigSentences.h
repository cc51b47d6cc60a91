// The configuration sentences: the C sentences the tool composes from the model and
// the decoders of the multiplexer's R reports. Sentences are composed without
// checksum; the link appends "*", the checksum and CR LF.
#pragma once

#include "model/MuxConfig.h"
#include "sentence/Sentence.h"

#include <string>
#include <string_view>

namespace kvl {

// Sent without waiting for an answer.
inline constexpr std::string_view kConfigQuery = "$PQZXCFQ"; // the whole configuration, ended by RDY
// Sent when a link opens and every 4000 ms while it stays open.
inline constexpr std::string_view kConfigKeepAlive = "$PQZXCF,A";
inline constexpr std::string_view kFactoryReset = "$PQZXRESET,1";

// Throw ETalkerID unless the text is empty or two upper-case letters or digits not
// starting with 'P'.
void ValidateTalkerID(std::string_view text);
// Throws EUniqueID unless the text is up to twelve letters or digits.
void ValidateUniqueID(std::string_view text);

// Encoders, one per C sentence.
std::string EncodeCF(const TMuxConfig& config); // "$PQZXCF,C,3,<PrioTimeout>"
std::string EncodeSP(const TMuxConfig& config); // the five speeds
std::string
EncodeID(const TMuxConfig& config); // the five talker IDs; ETalkerID when one would break the sentence
std::string EncodeUI(const TMuxConfig& config);  // UID; EUniqueID when it would break the sentence
std::string EncodeDR(const TMuxConfig& config);  // default routes and host data modes
std::string EncodeIN(const TMuxConfig& config);  // input modes
std::string EncodePR(const TMuxConfig& config);  // priorities
std::string EncodeOP(const TMuxConfig& config);  // Options
std::string EncodeCNV(const TMuxConfig& config); // Conversions
std::string EncodeNO(const TMuxConfig& config);  // N2kOptions
std::string EncodeNF(const TMuxConfig& config);  // NMEA 2000 device functions
std::string EncodeNA(const TMuxConfig& config);  // NMEA 2000 source addresses
std::string EncodeND(const TMuxConfig& config);  // NMEA 2000 device instances
// Data source n (0-2) in the form its type asks for: "N" with its NAME (even 0),
// "1" to "4" with the input, anything else as unset. Throws std::out_of_range for n above 2.
std::string EncodeDS(const TMuxConfig& config, unsigned n);
std::string EncodeMBMode(const TMuxConfig& config);      // "$PQZXMB,C,M,<ModbusMode>"
std::string EncodeMBSlave(const TMuxConfig& config);     // "$PQZXMB,C,S,<ModbusSlvAddr>"
std::string EncodeMBIntervals(const TMuxConfig& config); // "$PQZXMB,C,R,<Xdr>,<Poll>"

// Decoders, one per R report. Each does nothing unless field 1 is "R". Missing
// fields raise EMissingField, text that is not a number ENumberError, an empty DS
// type EFieldSize; every field is read before anything is stored, so a rejected
// sentence leaves the model untouched.
void DecodeCF(const TSentence& sentence, TMuxConfig& config);
void DecodeSP(const TSentence& sentence, TMuxConfig& config);
void DecodeID(const TSentence& sentence, TMuxConfig& config); // IDs over 2 characters are dropped
void DecodeUI(const TSentence& sentence, TMuxConfig& config); // a UID over 12 characters is dropped
void DecodeDR(const TSentence& sentence, TMuxConfig& config);
void DecodeIN(const TSentence& sentence, TMuxConfig& config);
void DecodePR(const TSentence& sentence, TMuxConfig& config);
void DecodeOP(const TSentence& sentence, TMuxConfig& config);
void DecodeCNV(const TSentence& sentence, TMuxConfig& config);
void DecodeNO(const TSentence& sentence, TMuxConfig& config);
void DecodeNF(const TSentence& sentence, TMuxConfig& config);
void DecodeNA(const TSentence& sentence, TMuxConfig& config); // "-" stores 255
void DecodeND(const TSentence& sentence, TMuxConfig& config);
void DecodeDS(const TSentence& sentence, TMuxConfig& config); // source numbers above 2 are dropped
// Kinds M (mode, slave address) and R (intervals); every other kind is left to its owner.
void DecodeMB(const TSentence& sentence, TMuxConfig& config);

} // namespace kvl
