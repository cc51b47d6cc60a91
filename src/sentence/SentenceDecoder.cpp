#include "sentence/SentenceDecoder.h"

#include "sentence/AisDecoder.h"
#include "sentence/FieldValues.h"
#include "sentence/NmeaText.h"
#include "sentence/SentenceLayouts.h"

#include <algorithm>

namespace kvl {

namespace {

constexpr std::size_t kTalkerLength = 2;
constexpr std::size_t kMaxFieldNumber = 0xFFFF;
constexpr unsigned kMaxFragments = 9;
constexpr unsigned kMaxFillBits = 5;

std::uint8_t Xor(std::string_view text) {
    std::uint8_t sum = 0;
    for (const char c : text)
        sum ^= static_cast<std::uint8_t>(c);
    return sum;
}

// The two hex digits after a '*'; nothing when they are missing or not hex.
std::optional<std::uint8_t> ReadChecksum(std::string_view afterStar) {
    if (afterStar.size() < 2)
        return std::nullopt;
    const std::optional<std::uint64_t> sum = ParseHex(afterStar.substr(0, 2), 0xFF);
    if (!sum)
        return std::nullopt;
    return static_cast<std::uint8_t>(*sum);
}

void Split(std::string_view text, std::vector<std::string_view>& out) {
    out.clear();
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        if (comma == std::string_view::npos) {
            out.push_back(text.substr(start));
            return;
        }
        out.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
}

std::string_view CodeMeaning(std::span<const TCode> codes, std::string_view code) {
    for (const TCode& c : codes) {
        if (c.Code == code)
            return c.Meaning;
    }
    return {};
}

std::string_view TagName(std::string_view key) {
    if (key == "c")
        return "Time (UNIX)";
    if (key == "s")
        return "Source station";
    if (key == "d")
        return "Destination";
    if (key == "n")
        return "Line count";
    if (key == "g")
        return "Sentence group";
    if (key == "r")
        return "Relative time";
    if (key == "t")
        return "Text";
    return {};
}

std::optional<unsigned> SmallNumber(std::string_view text) {
    if (text.size() != 1 || text[0] < '0' || text[0] > '9')
        return std::nullopt;
    return static_cast<unsigned>(text[0] - '0');
}

} // namespace

void TDecodedLine::Clear() {
    Line = LogPrefix = Direction = TagBlock = Sentence = Address = Talker = TalkerName = Type = TypeName = {};
    Tags.clear();
    TagChecksumOk.reset();
    Start = 0;
    ChecksumOk.reset();
    ChecksumSent = ChecksumComputed = 0;
    Fields.clear();
    Error = {};
    IsAis = false;
    Ais.reset();
    AisProgress.clear();
}

const TDecodedLine& TSentenceDecoder::Decode(std::string_view line) {
    Result.Clear();
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.remove_suffix(1);
    Buffer.assign(line);
    const std::string_view text = Buffer;
    Result.Line = text;

    std::size_t pos = ReadLogPrefix(0);
    // Captures from other tools put a time or a counter in front: the sentence
    // starts at the first TAG block or start character.
    if (pos < text.size() && text[pos] != '\\' && text[pos] != '$' && text[pos] != '!')
        pos = text.find_first_of("\\$!", pos);
    if (pos == std::string_view::npos || pos >= text.size()) {
        Result.Error = "not an NMEA sentence";
        return Result;
    }
    pos = ReadTagBlock(pos);
    if (pos == std::string_view::npos)
        return Result;
    ReadSentence(text.substr(pos));
    return Result;
}

// The traffic log's diagnostic tag: "\t:rx*44\" or "\t:tx*42\" in front of the line.
std::size_t TSentenceDecoder::ReadLogPrefix(std::size_t pos) {
    const std::string_view text = Buffer;
    for (const std::string_view prefix : {std::string_view("\\t:rx*44\\"), std::string_view("\\t:tx*42\\")}) {
        if (text.substr(pos, prefix.size()) == prefix && text.size() > prefix.size()) {
            Result.LogPrefix = text.substr(pos, prefix.size());
            Result.Direction = prefix.substr(3, 2);
            return pos + prefix.size();
        }
    }
    return pos;
}

std::size_t TSentenceDecoder::ReadTagBlock(std::size_t pos) {
    const std::string_view text = Buffer;
    if (text[pos] != '\\')
        return pos;
    const std::size_t close = text.find('\\', pos + 1);
    if (close == std::string_view::npos) {
        Result.Error = "TAG block without its closing backslash";
        return std::string_view::npos;
    }
    Result.TagBlock = text.substr(pos, close - pos + 1);
    std::string_view content = text.substr(pos + 1, close - pos - 1);
    const std::size_t star = content.find('*');
    if (star != std::string_view::npos) {
        const auto sent = ReadChecksum(content.substr(star + 1));
        Result.TagChecksumOk = sent && *sent == Xor(content.substr(0, star));
        content = content.substr(0, star);
    }
    std::size_t start = 0;
    while (start <= content.size() && !content.empty()) {
        std::size_t comma = content.find(',', start);
        if (comma == std::string_view::npos)
            comma = content.size();
        const std::string_view param = content.substr(start, comma - start);
        const std::size_t colon = param.find(':');
        TTagParam tag;
        tag.Key = param.substr(0, colon);
        tag.Value = colon == std::string_view::npos ? std::string_view() : param.substr(colon + 1);
        tag.Name = TagName(tag.Key);
        if (!param.empty())
            Result.Tags.push_back(tag);
        start = comma + 1;
    }
    if (close + 1 >= text.size()) {
        Result.Error = "TAG block without a sentence";
        return std::string_view::npos;
    }
    return close + 1;
}

void TSentenceDecoder::ReadSentence(std::string_view sentence) {
    Result.Sentence = sentence;
    if (sentence.empty() || (sentence[0] != '$' && sentence[0] != '!')) {
        Result.Error = "not an NMEA sentence";
        return;
    }
    Result.Start = sentence[0];
    std::string_view body = sentence.substr(1);
    const std::size_t star = body.find('*');
    if (star != std::string_view::npos) {
        Result.ChecksumComputed = Xor(body.substr(0, star));
        const auto sent = ReadChecksum(body.substr(star + 1));
        Result.ChecksumSent = sent.value_or(0);
        Result.ChecksumOk = sent && *sent == Result.ChecksumComputed;
        body = body.substr(0, star);
    }
    Split(body, Raw);
    ReadAddress();
    if (Result.Talker == "P") {
        ApplyLayout(FindPqzxLayout(Result.Address));
        return;
    }
    ApplyLayout(
        FindSentenceLayout(Result.Type, Raw.size() - 1, Raw.size() > 2 ? Raw[2] : std::string_view()));
    if (Result.Type == "VDM" || Result.Type == "VDO")
        ReadAis();
}

void TSentenceDecoder::ReadAddress() {
    const std::string_view address = Raw[0];
    Result.Address = address;
    if (!address.empty() && address[0] == 'P') {
        // Proprietary: "P", the maker's code and the maker's sentence.
        Result.Talker = address.substr(0, 1);
        Result.TalkerName = "Proprietary";
        Result.Type = address.substr(1);
        const TSentenceLayout* layout = FindPqzxLayout(address);
        Result.TypeName = layout ? layout->Name : std::string_view("Proprietary sentence");
        return;
    }
    if (address.size() <= kTalkerLength) {
        Result.Error = "address too short";
        return;
    }
    Result.Talker = address.substr(0, kTalkerLength);
    Result.TalkerName = TalkerName(Result.Talker);
    Result.Type = address.substr(kTalkerLength);
    const TSentenceLayout* layout = FindSentenceLayout(Result.Type, SIZE_MAX, "T");
    if (layout)
        Result.TypeName = layout->Name;
}

void TSentenceDecoder::ApplyLayout(const TSentenceLayout* layout) {
    const std::span<const TFieldSpec> specs = layout ? layout->Fields : std::span<const TFieldSpec>();
    const std::size_t groupSize =
        layout && layout->RepeatFrom < specs.size() ? specs.size() - layout->RepeatFrom : 0;
    std::size_t si = 0;
    std::size_t fi = 1;
    while (fi < Raw.size()) {
        if (si >= specs.size() && groupSize > 0)
            si = layout->RepeatFrom;
        TDecodedField field;
        field.Number = static_cast<std::uint16_t>(std::min(fi, kMaxFieldNumber));
        field.Raw = Raw[fi];
        const TFieldSpec* spec = si < specs.size() ? &specs[si] : nullptr;
        // GSV: a lone field after the last whole group of four is the signal ID.
        if (spec && groupSize > 0 && si == layout->RepeatFrom && layout->Trailing && Raw.size() - fi == 1)
            spec = layout->Trailing;
        ++si;
        ++fi;
        if (spec == nullptr) {
            field.Kind = field.Raw.empty() ? TValueKind::Empty : TValueKind::Text;
            Result.Fields.push_back(field);
            continue;
        }
        field.Name = spec->Name;
        field.Key = spec->Key;
        field.Unit = spec->Unit;
        if (spec->Format == TFieldFormat::Fixed)
            continue;
        if (spec->Format == TFieldFormat::UnitOfPrevious) {
            if (!Result.Fields.empty() && !field.Raw.empty()) {
                const std::string_view unit = CodeMeaning(spec->Codes, field.Raw);
                Result.Fields.back().Unit = unit.empty() ? field.Raw : unit;
            }
            continue;
        }
        const bool position =
            spec->Format == TFieldFormat::Latitude || spec->Format == TFieldFormat::Longitude;
        if (position) {
            // The hemisphere letter is the next field.
            field.Meaning = fi < Raw.size() ? Raw[fi] : std::string_view();
            ++fi;
        }
        if (field.Raw.empty()) {
            if (!spec->SkipEmpty)
                Result.Fields.push_back(field);
            continue;
        }
        switch (spec->Format) {
        case TFieldFormat::Number:
            if (const auto value = ReadNumber(field.Raw)) {
                field.Kind = TValueKind::Number;
                field.Value = *value;
            } else {
                field.Kind = TValueKind::Unreadable;
            }
            break;
        case TFieldFormat::Latitude:
        case TFieldFormat::Longitude:
            if (const auto value =
                    ReadPosition(field.Raw, field.Meaning, spec->Format == TFieldFormat::Latitude)) {
                field.Kind =
                    spec->Format == TFieldFormat::Latitude ? TValueKind::Latitude : TValueKind::Longitude;
                field.Value = *value;
            } else {
                field.Kind = TValueKind::Unreadable;
            }
            break;
        case TFieldFormat::Time:
            field.Kind = IsUtcTime(field.Raw) ? TValueKind::Time : TValueKind::Unreadable;
            break;
        case TFieldFormat::Date:
            if (const auto year = ReadDateYear(field.Raw)) {
                field.Kind = TValueKind::Date;
                field.Value = *year;
            } else {
                field.Kind = TValueKind::Unreadable;
            }
            break;
        case TFieldFormat::Code:
            field.Kind = TValueKind::Code;
            field.Meaning = CodeMeaning(spec->Codes, field.Raw);
            break;
        default:
            field.Kind = TValueKind::Text;
            break;
        }
        Result.Fields.push_back(field);
    }
}

void TSentenceDecoder::ReadAis() {
    Result.IsAis = true;
    constexpr std::size_t kWrapperFields = 7; // address and six fields
    if (Raw.size() < kWrapperFields) {
        Result.Error = "AIS sentence with too few fields";
        return;
    }
    TAisFragment fragment;
    const auto count = SmallNumber(Raw[1]);
    const auto number = SmallNumber(Raw[2]);
    const auto fill = Raw[6].empty() ? std::optional<unsigned>(0) : SmallNumber(Raw[6]);
    if (!count || !number || *count < 1 || *count > kMaxFragments || *number < 1 || *number > *count) {
        Result.Error = "AIS fragment count or number out of range";
        return;
    }
    if (!fill || *fill > kMaxFillBits) {
        Result.Error = "AIS fill bits out of range";
        return;
    }
    fragment.Count = *count;
    fragment.Number = *number;
    fragment.SequenceId = Raw[3];
    fragment.Channel = Raw[4];
    fragment.Payload = Raw[5];
    fragment.FillBits = *fill;
    for (const TTagParam& tag : Result.Tags) {
        if (tag.Key == "g") {
            fragment.Stream = "g";
            fragment.Stream += tag.Value.substr(tag.Value.rfind('-') + 1);
            break;
        }
        if (tag.Key == "s")
            fragment.Stream = "s" + std::string(tag.Value);
    }
    const std::string counts = std::to_string(fragment.Number) + " of " + std::to_string(fragment.Count);
    switch (Assembler.Add(Result.Type, fragment, Bits)) {
    case TAisAssembler::TResult::Complete:
        if (fragment.Count > 1)
            Result.AisProgress = "fragment " + counts + ": message complete";
        Result.Ais.emplace();
        if (!DecodeAisMessage(Bits, *Result.Ais)) {
            Result.Ais.reset();
            Result.Error = "AIS message too short";
        }
        break;
    case TAisAssembler::TResult::Pending:
        Result.AisProgress = "fragment " + counts + ": waiting for the next fragment";
        break;
    case TAisAssembler::TResult::Incomplete:
        Result.AisProgress = "fragment " + counts + ": incomplete, an earlier fragment is missing";
        Result.Error = "incomplete AIS message";
        break;
    case TAisAssembler::TResult::BadPayload:
        Result.Error = "invalid character in the AIS payload";
        break;
    }
}

} // namespace kvl
