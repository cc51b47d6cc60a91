#include "model/ConfigSentences.h"
#include "sentence/NmeaText.h"

#include "model/ConfigError.h"
#include "model/TableError.h"
#include "model/TextRules.h"
#include "model/WireFormat.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>

namespace kvl {

namespace {

using TNumberField = std::uint32_t TMuxConfig::*;
using TTextField = std::string TMuxConfig::*;

constexpr std::array<TNumberField, 5> kSpeedFields = {&TMuxConfig::BaudIn1, &TMuxConfig::BaudIn2,
                                                      &TMuxConfig::BaudIn3, &TMuxConfig::BaudIn4Out1,
                                                      &TMuxConfig::BaudOut2};
constexpr std::array<TNumberField, 4> kModeInFields = {&TMuxConfig::ModeIn1, &TMuxConfig::ModeIn2,
                                                       &TMuxConfig::ModeIn3, &TMuxConfig::ModeIn4};
constexpr std::array<TNumberField, 5> kPrioFields = {&TMuxConfig::PrioIn1, &TMuxConfig::PrioIn2,
                                                     &TMuxConfig::PrioIn3, &TMuxConfig::PrioIn4,
                                                     &TMuxConfig::PrioN2K};
constexpr std::array<TNumberField, 6> kDevFuncFields = {&TMuxConfig::DevFuncHost, &TMuxConfig::DevFuncIn1,
                                                        &TMuxConfig::DevFuncIn2,  &TMuxConfig::DevFuncIn3,
                                                        &TMuxConfig::DevFuncIn4,  &TMuxConfig::DevFuncConv};
constexpr std::array<TNumberField, 6> kSAFields = {&TMuxConfig::SAHost, &TMuxConfig::SAIn1,
                                                   &TMuxConfig::SAIn2,  &TMuxConfig::SAIn3,
                                                   &TMuxConfig::SAIn4,  &TMuxConfig::SAConv};
constexpr std::array<TNumberField, 6> kDIFields = {&TMuxConfig::DIHost, &TMuxConfig::DIIn1,
                                                   &TMuxConfig::DIIn2,  &TMuxConfig::DIIn3,
                                                   &TMuxConfig::DIIn4,  &TMuxConfig::DIConv};
constexpr std::array<TTextField, 5> kTalkIDFields = {&TMuxConfig::TalkID1, &TMuxConfig::TalkID2,
                                                     &TMuxConfig::TalkID3, &TMuxConfig::TalkID4,
                                                     &TMuxConfig::TalkIDConv};

// Source addresses and device instances are single bytes on the NMEA 2000 bus.
constexpr std::uint32_t kByteMax = 255;
constexpr std::size_t kNameDigits = 16;
constexpr std::uint32_t kDefaultPollInterval = 10;
constexpr std::string_view kNoAddress = "-";

bool IsUpperOrDigit(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}
bool IsLetterOrDigit(char c) {
    return IsUpperOrDigit(c) || (c >= 'a' && c <= 'z');
}

// "<address>,C" followed by each value as a decimal field.
template <std::size_t N>
std::string ComposeDecimals(std::string_view address, const TMuxConfig& config,
                            const std::array<TNumberField, N>& fields) {
    std::string text = std::string(address) + ",C";
    for (const TNumberField field : fields)
        text += ',' + FormatDec(config.*field);
    return text;
}

std::string ComposeWord(std::string_view address, std::uint32_t word) {
    return std::string(address) + ",C," + FormatHex(word, 8);
}

bool IsReport(const TSentence& sentence) {
    return sentence.Field(1) == "R"; // a report without its kind field is missing a field
}

template <std::size_t N>
std::array<std::uint32_t, N> ReadDecimals(const TSentence& sentence, std::size_t first,
                                          std::uint32_t max = UINT32_MAX) {
    std::array<std::uint32_t, N> values{};
    for (std::size_t i = 0; i < N; ++i)
        values[i] = sentence.FieldDec(first + i, max);
    return values;
}

template <std::size_t N>
void StoreAll(TMuxConfig& config, const std::array<TNumberField, N>& fields,
              const std::array<std::uint32_t, N>& values) {
    for (std::size_t i = 0; i < N; ++i)
        config.*fields[i] = values[i];
}

template <std::size_t N>
void DecodeDecimals(const TSentence& sentence, TMuxConfig& config, const std::array<TNumberField, N>& fields,
                    std::uint32_t max = UINT32_MAX) {
    if (!IsReport(sentence))
        return;
    StoreAll(config, fields, ReadDecimals<N>(sentence, 2, max));
}

void DecodeWord(const TSentence& sentence, std::uint32_t& word) {
    if (!IsReport(sentence))
        return;
    word = sentence.FieldHex(2);
}

} // namespace

void ValidateTalkerID(std::string_view text) {
    if (text.empty())
        return;
    if (text.size() != TMuxConfig::kTalkerIDLength || !IsUpperOrDigit(text[0]) || !IsUpperOrDigit(text[1]))
        throw ETalkerID(kMsgTalkerIDIllegal);
    if (text[0] == 'P')
        throw ETalkerID(kMsgTalkerIDProprietary);
}

void ValidateUniqueID(std::string_view text) {
    if (text.size() > TMuxConfig::kUIDLength)
        throw EUniqueID(kMsgUniqueIDIllegal);
    for (const char c : text) {
        if (!IsLetterOrDigit(c))
            throw EUniqueID(kMsgUniqueIDIllegal);
    }
}

std::string EncodeCF(const TMuxConfig& config) {
    return "$PQZXCF,C,3," + FormatDec(config.PrioTimeout);
}

std::string EncodeSP(const TMuxConfig& config) {
    return ComposeDecimals("$PQZXSP", config, kSpeedFields);
}

std::string EncodeID(const TMuxConfig& config) {
    std::string text = "$PQZXID,C";
    for (const TTextField field : kTalkIDFields) {
        // The editors keep the talker-ID rules; here only what would break the
        // sentence is refused, so an ID the device itself reported goes back unchanged.
        if (!IsNmeaText(config.*field))
            throw ETalkerID(kMsgTalkerIDIllegal);
        text += ',' + config.*field;
    }
    return text;
}

std::string EncodeUI(const TMuxConfig& config) {
    if (!IsNmeaText(config.UID))
        throw EUniqueID(kMsgUniqueIDIllegal);
    return "$PQZXUI,C," + config.UID;
}

std::string EncodeDR(const TMuxConfig& config) {
    return "$PQZXDR,C," + FormatHex(config.DefRouteOut1, 2) + ',' + FormatHex(config.ModeOut1, 1) + ',' +
           FormatHex(config.DefRouteOut2, 2) + ',' + FormatHex(config.ModeOut2, 1);
}

std::string EncodeIN(const TMuxConfig& config) {
    return ComposeDecimals("$PQZXIN", config, kModeInFields);
}

std::string EncodePR(const TMuxConfig& config) {
    return ComposeDecimals("$PQZXPR", config, kPrioFields);
}

std::string EncodeOP(const TMuxConfig& config) {
    return ComposeWord("$PQZXOP", config.Options);
}

std::string EncodeCNV(const TMuxConfig& config) {
    return ComposeWord("$PQZXCNV", config.Conversions);
}

std::string EncodeNO(const TMuxConfig& config) {
    return ComposeWord("$PQZXNO", config.N2kOptions);
}

std::string EncodeNF(const TMuxConfig& config) {
    return ComposeDecimals("$PQZXNF", config, kDevFuncFields);
}

std::string EncodeNA(const TMuxConfig& config) {
    return ComposeDecimals("$PQZXNA", config, kSAFields);
}

std::string EncodeND(const TMuxConfig& config) {
    return ComposeDecimals("$PQZXND", config, kDIFields);
}

std::string EncodeDS(const TMuxConfig& config, unsigned n) {
    if (n >= TMuxConfig::kDataSources)
        throw std::out_of_range("data source " + std::to_string(n) + " does not exist");
    const TDataSource& source = config.DataSrcTable[n];
    std::string text = "$PQZXDS,C," + FormatDec(n);
    if (source.Input == TDataSource::kN2K)
        return text + ",N," + source.Name.ToHex();
    if (source.Input >= '1' && source.Input <= '4')
        return text + ',' + source.Input;
    return text;
}

std::string EncodeMBMode(const TMuxConfig& config) {
    return "$PQZXMB,C,M," + FormatDec(config.ModbusMode);
}

std::string EncodeMBSlave(const TMuxConfig& config) {
    return "$PQZXMB,C,S," + FormatDec(config.ModbusSlvAddr);
}

std::string EncodeMBIntervals(const TMuxConfig& config) {
    return "$PQZXMB,C,R," + FormatDec(config.ModbusXdrInterval) + ',' + FormatDec(config.ModbusPollInterval);
}

void DecodeCF(const TSentence& sentence, TMuxConfig& config) {
    if (!IsReport(sentence))
        return;
    config.PrioTimeout = sentence.FieldDec(3);
}

void DecodeSP(const TSentence& sentence, TMuxConfig& config) {
    DecodeDecimals(sentence, config, kSpeedFields);
}

void DecodeID(const TSentence& sentence, TMuxConfig& config) {
    if (!IsReport(sentence))
        return;
    std::array<const std::string*, kTalkIDFields.size()> values{};
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = &sentence.Field(2 + i);
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (values[i]->size() <= TMuxConfig::kTalkerIDLength)
            config.*kTalkIDFields[i] = *values[i];
    }
}

void DecodeUI(const TSentence& sentence, TMuxConfig& config) {
    if (!IsReport(sentence))
        return;
    const std::string& uid = sentence.Field(2);
    if (uid.size() <= TMuxConfig::kUIDLength)
        config.UID = uid;
}

void DecodeDR(const TSentence& sentence, TMuxConfig& config) {
    if (!IsReport(sentence))
        return;
    const std::uint32_t route1 = sentence.FieldHex(2);
    const std::uint32_t mode1 = sentence.FieldDec(3);
    const std::uint32_t route2 = sentence.FieldHex(4);
    const std::uint32_t mode2 = sentence.FieldDec(5);
    config.DefRouteOut1 = route1;
    config.ModeOut1 = mode1;
    config.DefRouteOut2 = route2;
    config.ModeOut2 = mode2;
}

void DecodeIN(const TSentence& sentence, TMuxConfig& config) {
    DecodeDecimals(sentence, config, kModeInFields);
}

void DecodePR(const TSentence& sentence, TMuxConfig& config) {
    DecodeDecimals(sentence, config, kPrioFields);
}

void DecodeOP(const TSentence& sentence, TMuxConfig& config) {
    DecodeWord(sentence, config.Options);
}

void DecodeCNV(const TSentence& sentence, TMuxConfig& config) {
    DecodeWord(sentence, config.Conversions);
}

void DecodeNO(const TSentence& sentence, TMuxConfig& config) {
    DecodeWord(sentence, config.N2kOptions);
}

void DecodeNF(const TSentence& sentence, TMuxConfig& config) {
    DecodeDecimals(sentence, config, kDevFuncFields);
}

void DecodeNA(const TSentence& sentence, TMuxConfig& config) {
    if (!IsReport(sentence))
        return;
    std::array<std::uint32_t, kSAFields.size()> values{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::size_t index = 2 + i;
        values[i] = sentence.Field(index) == kNoAddress ? TMuxConfig::kNoSourceAddress
                                                        : sentence.FieldDec(index, kByteMax);
    }
    StoreAll(config, kSAFields, values);
}

void DecodeND(const TSentence& sentence, TMuxConfig& config) {
    DecodeDecimals(sentence, config, kDIFields, kByteMax);
}

void DecodeDS(const TSentence& sentence, TMuxConfig& config) {
    if (!IsReport(sentence))
        return;
    const std::uint32_t source = sentence.FieldDec(2);
    // Unset is whatever is not an input or NMEA 2000 ("0", "-", ...): one "none" for the
    // model, the file, the comparison and the selector.
    char type = sentence.FirstChar(3);
    if (!IsDataSourceType(type))
        type = TDataSource::kNone;
    TName name;
    if (type == TDataSource::kN2K && sentence.Field(4).size() == kNameDigits)
        name = sentence.FieldHex64(4);
    config.DataSrcAdd(source, type, name);
}

void DecodeMB(const TSentence& sentence, TMuxConfig& config) {
    if (!IsReport(sentence))
        return;
    const std::string& kind = sentence.Field(2);
    if (kind == "M") {
        const std::uint32_t mode = sentence.FieldDec(3);
        const std::uint32_t slave = sentence.HasField(4) ? sentence.FieldDec(4) : 0;
        config.ModbusMode = mode;
        config.ModbusSlvAddr = slave;
    } else if (kind == "R") {
        const std::uint32_t xdr = sentence.FieldDec(3);
        const std::uint32_t poll = sentence.HasField(4) ? sentence.FieldDec(4) : kDefaultPollInterval;
        config.ModbusXdrInterval = xdr;
        config.ModbusPollInterval = poll;
    }
}

namespace {

constexpr std::size_t kRouteAddressLength = 5;
constexpr std::uint32_t kMaxBits = 0xFFFF;
constexpr std::uint32_t kMaxWord = 65535;

std::string Letter(char c) {
    return c == 0 ? std::string() : std::string(1, c);
}

void CheckSendable(std::string_view text, std::string_view what) {
    if (!IsFieldText(text))
        throw ETableEntry("The " + std::string(what) + " \"" + std::string(text) +
                          "\" holds a character that cannot be sent to the multiplexer");
}

} // namespace

std::string EncodeRTE(const TRoute& route) {
    CheckSendable(route.Address, "sentence address");
    return "$PQZXRTE,C," + route.Address + ',' + FormatHex(route.Inputs, 2) + ',' + FormatDec(route.Divisor) +
           ',' + FormatHex(route.Route, 2) + ',' + route.Name.ToHex();
}

std::string EncodeMBEntry(const TModbus& entry) {
    if (entry.XdrType == 0 || entry.XdrUnit == 0)
        throw ETableEntry("The Modbus entry for slave " + FormatDec(entry.Slave) + ", register " +
                          FormatDec(entry.Reg) + " has no transducer type or unit");
    const std::string letters{entry.RType, entry.DType, entry.XdrType, entry.XdrUnit};
    for (const char c : letters)
        CheckSendable(Letter(c), "Modbus type or unit");
    CheckSendable(entry.XdrID, "transducer ID");
    return "$PQZXMB,C,X," + FormatDec(entry.Slave) + ',' + FormatDec(entry.Reg) + ',' + Letter(entry.RType) +
           ',' + Letter(entry.DType) + ',' + (entry.Rev == 1 ? "R" : "") + ',' + FormatDec(entry.Prec) + ',' +
           Letter(entry.XdrType) + ',' + Letter(entry.XdrUnit) + ',' + entry.XdrID;
}

std::string EncodeMOB(const TMob& entry) {
    CheckSendable(entry.MMSI, "MMSI");
    return "$PQZXMOB,C," + entry.MMSI;
}

void DecodeRTE(const TSentence& sentence, TMuxConfig& config) {
    if (!IsReport(sentence) || sentence.Field(2).size() != kRouteAddressLength)
        return;
    const auto inputs = static_cast<std::uint16_t>(sentence.FieldHex(3, kMaxBits));
    const auto divisor =
        static_cast<std::uint8_t>(sentence.Field(4).empty() ? 0 : sentence.FieldDec(4, kByteMax));
    const auto route = static_cast<std::uint16_t>(sentence.FieldHex(5, kMaxBits));
    const TName name = sentence.Field(6).size() == kNameDigits ? TName(sentence.FieldHex64(6)) : TName();
    config.RouteAdd(CutAtBlank(sentence.Field(2)), inputs, divisor, route, name,
                    TMuxConfig::kNoSourceAddress);
}

void DecodeMBEntry(const TSentence& sentence, TMuxConfig& config) {
    if (!IsReport(sentence) || sentence.Field(2) != "X")
        return;
    const auto slave = static_cast<std::uint8_t>(sentence.FieldDec(3, kByteMax));
    const auto reg = static_cast<std::uint16_t>(sentence.FieldDec(4, kMaxWord));
    const char rtype = sentence.FirstChar(5);
    const char dtype = sentence.FirstChar(6);
    const std::uint8_t rev = sentence.Field(7) == "R" ? 1 : 0;
    const auto prec = static_cast<std::uint8_t>(sentence.FieldDec(8, kByteMax));
    const char xdrType = sentence.FirstChar(9);
    const char xdrUnit = sentence.FirstChar(10);
    const std::string id = CutAtBlank(sentence.Field(11));
    const auto status = static_cast<std::uint8_t>(sentence.FieldHex(12, kByteMax));
    config.ModbusAdd(slave, reg, rtype, dtype, rev, prec, xdrType, xdrUnit, id, status);
}

void DecodeMOB(const TSentence& sentence, TMuxConfig& config) {
    if (!IsReport(sentence) || sentence.Field(2).size() != TMob::kMMSILength)
        return;
    config.MobAdd(sentence.Field(2), sentence.FirstChar(3));
}

void CaptureRoute(const TSentence& sentence, TMuxConfig& config) {
    constexpr unsigned kMaxCaptureInput = 6; // inputs 1-4, the conversions (5), the host (6)
    std::uint16_t bit = 0;
    std::uint8_t sa = TMuxConfig::kNoSourceAddress;
    if (sentence.Source == TSource::SrcN2K) {
        if (sentence.SA != TSentence::kNoSourceAddress) {
            bit = 1u << kSrcN2K;
            sa = sentence.SA;
        }
    } else if (sentence.Source == TSource::SrcN0183 && sentence.Input >= 1 &&
               sentence.Input <= kMaxCaptureInput) {
        bit = static_cast<std::uint16_t>(1u << (sentence.Input - 1));
    }
    const std::string address = sentence.Address.substr(0, TRoute::kAddressLength);
    if (address.empty() || !IsWordText(address))
        return;
    config.RouteCapture(address, bit, sa);
}

} // namespace kvl
