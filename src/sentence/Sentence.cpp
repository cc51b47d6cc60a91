#include "sentence/Sentence.h"

#include "sentence/NmeaError.h"
#include "sentence/NmeaText.h"

#include <array>

namespace kvl {

namespace {

constexpr std::array<std::string_view, 31> kCommandTexts = {
    "",        "$PQZXRDY", "$PQZXLDR", "$PQZXVER", "$PQZXOV",  "$PQZXSTAT", "$PQZXCF", "$PQZXDR",
    "$PQZXID", "$PQZXSP",  "$PQZXRTE", "$PQZXOP",  "$PQZXPR",  "$PQZXWI",   "$PQZXIN", "$PQZXDB",
    "$PQZXMB", "$PQZXUI",  "$PQZXNA",  "$PQZXNC",  "$PQZXND",  "$PQZXNF",   "$PQZXNO", "$PQZXNP",
    "!PQZXNP", "$PQZXMOB", "$PQZXCNV", "$PQZXDS",  "$PQZXBIN", "$PQZXMEM",  "$QJPGN",
};

bool NeedsQuotes(const std::string& field) {
    for (const char c : field) {
        const auto code = static_cast<unsigned char>(c);
        if (code <= ' ' || c == ',' || c == '"' || code == 0x7F)
            return true;
    }
    return false;
}

} // namespace

std::string_view PQZXCmdText(TPQZXCmd cmd) {
    return kCommandTexts[static_cast<std::size_t>(cmd)];
}

TSentence::TSentence(std::string line, std::string_view uniqueId) : Sentence(std::move(line)) {
    ParseTagBlock();
    if (!TAGblock.empty() && !uniqueId.empty())
        ParseSource(uniqueId);
    CheckSentenceChecksum();
    ParseAddress();
    ParseFields();
}

void TSentence::ParseTagBlock() {
    if (Sentence.empty() || Sentence[0] != '\\')
        return;
    const std::size_t close = Sentence.find('\\', 1);
    if (close == std::string::npos)
        return;
    TAGblock = Sentence.substr(0, close + 1);
    Sentence.erase(0, close + 1);
    const std::size_t star = TAGblock.find('*');
    if (star == std::string::npos)
        Error |= kErrTagNoChecksum;
    else if (!CheckNmeaChecksum(TAGblock, star))
        Error |= kErrTagChecksum;
}

void TSentence::ParseSource(std::string_view uniqueId) {
    const std::string key = "s:" + std::string(uniqueId);
    const std::size_t match = TAGblock.find(key);
    if (match == std::string::npos)
        return;
    const std::size_t k = match + key.size(); // the kind character
    if (k >= TAGblock.size())
        return;
    const char kind = TAGblock[k];
    if (kind == '-') {
        if (k + 1 < TAGblock.size()) {
            const char digit = TAGblock[k + 1];
            if (digit >= '0' && digit <= '9') {
                Input = static_cast<std::uint8_t>(digit - '0');
                Source = TSource::SrcN0183;
            }
        }
        return;
    }
    if (kind != '#' && kind != '=')
        return;
    std::size_t end = TAGblock.find(',', k + 1);
    if (end == std::string::npos)
        end = TAGblock.find('*', k + 1);
    if (end == std::string::npos)
        return;
    const std::string_view digits = std::string_view(TAGblock).substr(k + 1, end - k - 1);
    // A source address is one byte; a larger number names no device, so it is
    // treated like an unreadable one rather than wrapped onto another address.
    const auto value = kind == '#' ? ParseHex(digits, 0xFF) : ParseDecimal(digits, 0xFF);
    if (!value)
        return;
    SA = static_cast<std::uint8_t>(*value);
    Source = TSource::SrcN2K;
}

void TSentence::CheckSentenceChecksum() {
    const std::size_t star = Sentence.find('*');
    if (star != std::string::npos && !CheckNmeaChecksum(Sentence, star))
        Error |= kErrChecksum;
}

void TSentence::ParseAddress() {
    const std::size_t comma = Sentence.find(',');
    if (comma != std::string::npos && comma > 1)
        Address = Sentence.substr(1, comma - 1);
}

void TSentence::ParseFields() {
    if (Sentence.size() < 5 || Sentence.compare(1, 4, "PQZX") != 0)
        return;
    HasFields = true;
    const std::size_t star = Sentence.find('*', 4);
    const std::string_view text = std::string_view(Sentence).substr(0, star);
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        Fields.emplace_back(text.substr(start, comma == std::string_view::npos ? text.npos : comma - start));
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    for (std::size_t i = 1; i < kCommandTexts.size(); ++i) {
        if (Fields[0] == kCommandTexts[i]) {
            Command = static_cast<TPQZXCmd>(i);
            break;
        }
    }
}

const std::string& TSentence::Field(std::size_t index) const {
    if (index >= Fields.size())
        throw EMissingField("field " + std::to_string(index) + " missing");
    return Fields[index];
}

std::uint32_t TSentence::FieldDec(std::size_t index, std::uint32_t max) const {
    const std::string& text = Field(index);
    const auto value = ParseDecimal(text, max);
    if (!value)
        throw ENumberError("'" + text + "' is not a valid integer value");
    return static_cast<std::uint32_t>(*value);
}

std::uint32_t TSentence::FieldHex(std::size_t index, std::uint32_t max) const {
    const std::string& text = Field(index);
    const auto value = ParseHex(text, max);
    if (!value)
        throw ENumberError("'" + text + "' is not a valid hexadecimal value");
    return static_cast<std::uint32_t>(*value);
}

std::uint64_t TSentence::FieldHex64(std::size_t index) const {
    const std::string& text = Field(index);
    const auto value = ParseHex(text);
    if (!value)
        throw ENumberError("'" + text + "' is not a valid hexadecimal value");
    return *value;
}

char TSentence::FirstChar(std::size_t index) const {
    const std::string& text = Field(index);
    if (text.empty())
        throw EFieldSize("field " + std::to_string(index) + " is empty");
    return text[0];
}

std::string TSentence::JoinedFields() const {
    std::string joined;
    for (std::size_t i = 0; i < Fields.size(); ++i) {
        if (i > 0)
            joined += ',';
        const std::string& field = Fields[i];
        if (!NeedsQuotes(field)) {
            joined += field;
            continue;
        }
        joined += '"';
        for (const char c : field) {
            if (c == '"')
                joined += '"';
            joined += c;
        }
        joined += '"';
    }
    return joined;
}

} // namespace kvl
