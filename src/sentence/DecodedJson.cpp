#include "sentence/DecodedJson.h"

#include "sentence/FieldValues.h"

#include <charconv>
#include <cmath>

namespace kvl {

namespace {

constexpr double kPositionScale = 1e8; // NMEA positions: eight decimals of a degree are below a millimetre

// A JSON string of 8-bit wire text: Latin-1 becomes UTF-8, control characters \u escapes.
void AppendString(std::string_view text, std::string& out) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    for (const char c : text) {
        const auto code = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (code < 0x20 || code == 0x7F) {
            out += "\\u00";
            out += kHex[code >> 4];
            out += kHex[code & 0x0F];
        } else if (code >= 0x80) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += c;
        }
    }
    out += '"';
}

void AppendNumber(double value, std::string& out) {
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    if (value == 0)
        value = 0; // no "-0"
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

void AppendInteger(std::int64_t value, std::string& out) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

void AppendKey(std::string_view key, std::string& out) {
    AppendString(key, out);
    out += ':';
}

void AppendFieldKey(const TDecodedField& field, std::string& out) {
    if (!field.Key.empty()) {
        AppendKey(field.Key, out);
        return;
    }
    out += "\"field_";
    AppendInteger(field.Number, out);
    out += "\":";
}

bool SameKey(const TDecodedField& a, const TDecodedField& b) {
    return a.Key.empty() ? (b.Key.empty() && a.Number == b.Number) : a.Key == b.Key;
}

void AppendFieldValue(const TDecodedField& field, std::string& out) {
    switch (field.Kind) {
    case TValueKind::Empty:
        out += "null";
        return;
    case TValueKind::Number:
        AppendNumber(field.Value, out);
        return;
    case TValueKind::Latitude:
    case TValueKind::Longitude:
        AppendNumber(std::round(field.Value * kPositionScale) / kPositionScale, out);
        return;
    case TValueKind::Time: {
        std::string time(field.Raw.substr(0, 2));
        time += ':';
        time += field.Raw.substr(2, 2);
        time += ':';
        time += field.Raw.substr(4);
        AppendString(time, out);
        return;
    }
    case TValueKind::Date: {
        std::string date = std::to_string(static_cast<int>(field.Value));
        date += '-';
        date += field.Raw.substr(2, 2);
        date += '-';
        date += field.Raw.substr(0, 2);
        AppendString(date, out);
        return;
    }
    case TValueKind::Code:
        AppendString(field.Meaning.empty() ? field.Raw : field.Meaning, out);
        return;
    case TValueKind::Text:
    case TValueKind::Unreadable:
        AppendString(field.Raw, out);
        return;
    }
}

// Fields that share a key (GSV's satellites, RTE's waypoints) become one array.
void AppendFields(const std::vector<TDecodedField>& fields, std::string& out) {
    out += "\"fields\":{";
    bool first = true;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        bool seen = false;
        for (std::size_t j = 0; j < i && !seen; ++j)
            seen = SameKey(fields[j], fields[i]);
        if (seen)
            continue;
        std::size_t count = 0;
        for (std::size_t j = i; j < fields.size(); ++j)
            count += SameKey(fields[j], fields[i]) ? 1 : 0;
        if (!first)
            out += ',';
        first = false;
        AppendFieldKey(fields[i], out);
        if (count == 1) {
            AppendFieldValue(fields[i], out);
            continue;
        }
        out += '[';
        bool firstItem = true;
        for (std::size_t j = i; j < fields.size(); ++j) {
            if (!SameKey(fields[j], fields[i]))
                continue;
            if (!firstItem)
                out += ',';
            firstItem = false;
            AppendFieldValue(fields[j], out);
        }
        out += ']';
    }
    out += '}';
}

void AppendTags(const TDecodedLine& line, std::string& out) {
    out += "\"tag\":{";
    bool first = true;
    for (const TTagParam& tag : line.Tags) {
        if (!first)
            out += ',';
        first = false;
        AppendKey(tag.Key, out);
        const bool numeric = tag.Key == "c" || tag.Key == "n" || tag.Key == "r";
        const auto number = numeric ? ReadNumber(tag.Value) : std::nullopt;
        if (number)
            AppendNumber(*number, out);
        else
            AppendString(tag.Value, out);
    }
    out += "},\"tag_checksum_ok\":";
    out += !line.TagChecksumOk ? "null" : (*line.TagChecksumOk ? "true" : "false");
    out += ',';
}

void AppendAis(const TAisMessage& message, std::string& out) {
    out += "\"ais\":{";
    bool first = true;
    for (const TAisField& field : message.Fields) {
        if (!first)
            out += ',';
        first = false;
        AppendKey(field.Key, out);
        switch (field.Kind) {
        case TAisField::TKind::Text:
            AppendString(field.Text, out);
            break;
        case TAisField::TKind::Flag:
            out += field.Integer != 0 ? "true" : "false";
            break;
        case TAisField::TKind::Real:
            AppendNumber(field.Real, out);
            break;
        case TAisField::TKind::Integer:
            AppendInteger(field.Integer, out);
            if (!field.Meaning.empty() && field.Key != "type" && field.Key != "repeat") {
                out += ",\"";
                out += field.Key;
                out += "_text\":";
                AppendString(field.Meaning, out);
            }
            break;
        }
    }
    out += ",\"not_available\":[";
    bool firstNa = true;
    for (const TAisField& field : message.Fields) {
        if (!field.NotAvailable)
            continue;
        if (!firstNa)
            out += ',';
        firstNa = false;
        AppendString(field.Key, out);
    }
    out += "]},";
}

void AppendOptionalString(std::string_view key, std::string_view value, std::string& out) {
    AppendKey(key, out);
    if (value.empty())
        out += "null";
    else
        AppendString(value, out);
    out += ',';
}

} // namespace

void AppendJson(const TDecodedLine& line, std::size_t lineNumber, std::string& out) {
    out += "{\"line_number\":";
    AppendInteger(static_cast<std::int64_t>(lineNumber), out);
    out += ",\"line\":";
    AppendString(line.Line, out);
    out += ',';
    if (!line.Direction.empty())
        AppendOptionalString("direction", line.Direction, out);
    if (!line.TagBlock.empty())
        AppendTags(line, out);
    AppendOptionalString("talker", line.Talker, out);
    AppendOptionalString("talker_name", line.TalkerName, out);
    AppendOptionalString("sentence", line.Type, out);
    AppendOptionalString("sentence_name", line.TypeName, out);
    out += "\"checksum_ok\":";
    out += !line.ChecksumOk ? "null" : (*line.ChecksumOk ? "true" : "false");
    out += ',';
    AppendFields(line.Fields, out);
    out += ',';
    if (!line.AisProgress.empty())
        AppendOptionalString("ais_progress", line.AisProgress, out);
    if (line.Ais)
        AppendAis(*line.Ais, out);
    if (!line.Error.empty())
        AppendOptionalString("error", line.Error, out);
    out.pop_back(); // the last comma
    out += "}\n";
}

} // namespace kvl
