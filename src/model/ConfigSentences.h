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

// The table sentences. A store sends the table's DELETE, then one entry sentence
// per entry. The encoders throw ETableEntry for an entry whose text would cut the
// sentence open ("," "*" and the like); the Modbus encoder also for an entry
// without its transducer type or unit, which the multiplexer would report back
// with empty fields that no configuration read can take.
inline constexpr std::string_view kRouteDelete = "$PQZXRTE,C,DELETE";
inline constexpr std::string_view kModbusDelete = "$PQZXMB,C,DELETE";
inline constexpr std::string_view kMobDelete = "$PQZXMOB,C,DELETE";
std::string EncodeRTE(const TRoute& route);      // "$PQZXRTE,C,GPRMC,03,0,21,0000000000000000"
std::string EncodeMBEntry(const TModbus& entry); // "$PQZXMB,C,X,1,100,H,F,R,1,C,C,ENGINE1"
std::string EncodeMOB(const TMob& entry);        // "$PQZXMOB,C,211234567"

// The table reports of the configuration read, each appended to its table; a full
// table drops the entry. Errors as the decoders above; nothing is stored from a
// rejected sentence.
void DecodeRTE(const TSentence& sentence, TMuxConfig& config);     // addresses not 5 long are ignored
void DecodeMBEntry(const TSentence& sentence, TMuxConfig& config); // kind X only
void DecodeMOB(const TSentence& sentence, TMuxConfig& config);     // MMSIs not 9 long are ignored

// Route capture: records a sentence seen in live traffic with RouteCapture. The
// source bit is NMEA 2000 (bit 7) for a sentence from a device's source address,
// else bit (input - 1) of its source tag for inputs 1 to 6; the multiplexer's own
// lines (input 0), source address 255 and lines without a source tag give no bit
// and no address. Addresses that could not be stored are not recorded; a full
// table is left as it is.
void CaptureRoute(const TSentence& sentence, TMuxConfig& config);

} // namespace kvl
