#include "model/IniFile.h"

#include "model/FileAccess.h"

#include <algorithm>
#include <stdexcept>

namespace kvl {

namespace {

constexpr std::string_view kNewLine = "\r\n";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// The line without its LF or CR LF.
std::string_view Content(const std::string& raw) {
    std::string_view text = raw;
    if (!text.empty() && text.back() == '\n')
        text.remove_suffix(1);
    if (!text.empty() && text.back() == '\r')
        text.remove_suffix(1);
    return text;
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

} // namespace

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

TIniFile::TIniFile(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t lf = text.find('\n', start);
        const std::size_t end = lf == std::string_view::npos ? text.size() : lf + 1;
        Lines.push_back(ParseLine(std::string(text.substr(start, end - start))));
        start = end;
    }
}

TIniFile TIniFile::ReadFile(const std::string& path) {
    return TIniFile(ReadWholeFile(path));
}

TIniFile TIniFile::ReadFileOrEmpty(const std::string& path) {
    const auto text = ReadFileIfExists(path);
    return text ? TIniFile(*text) : TIniFile();
}

TIniFile::TLine TIniFile::ParseLine(std::string raw) {
    TLine line;
    const std::string_view text = Trim(Content(raw));
    if (!text.empty() && text.front() == '[') {
        const std::size_t close = text.find(']');
        line.Kind = TKind::Section;
        line.Name =
            Trim(text.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
    } else if (!text.empty() && text.front() != ';' && text.front() != '#') {
        const std::size_t equals = text.find('=');
        if (equals != std::string_view::npos && !Trim(text.substr(0, equals)).empty()) {
            line.Kind = TKind::Key;
            line.Name = Trim(text.substr(0, equals));
            line.Value = Trim(text.substr(equals + 1));
        }
    }
    line.Raw = std::move(raw);
    return line;
}

TIniFile::TLine TIniFile::NewLine(std::string content, TKind kind, std::string name, std::string value) {
    TLine line;
    line.Raw = std::move(content);
    line.Raw += kNewLine;
    line.Kind = kind;
    line.Name = std::move(name);
    line.Value = std::move(value);
    return line;
}

std::vector<bool> TIniFile::Members(std::string_view section) const {
    std::vector<bool> members(Lines.size(), false);
    bool inside = false;
    for (std::size_t i = 0; i < Lines.size(); ++i) {
        const TLine& line = Lines[i];
        if (line.Kind == TKind::Section)
            inside = SameName(line.Name, section);
        members[i] = inside && line.Kind != TKind::Other;
    }
    return members;
}

bool TIniFile::HasSection(std::string_view section) const {
    return std::any_of(Lines.begin(), Lines.end(), [section](const TLine& line) {
        return line.Kind == TKind::Section && SameName(line.Name, section);
    });
}

TIniEntries TIniFile::Entries(std::string_view section) const {
    const std::vector<bool> members = Members(section);
    TIniEntries entries;
    for (std::size_t i = 0; i < Lines.size(); ++i) {
        if (members[i] && Lines[i].Kind == TKind::Key)
            entries.push_back({Lines[i].Name, Lines[i].Value});
    }
    return entries;
}

std::optional<std::string> TIniFile::Value(std::string_view section, std::string_view key) const {
    std::optional<std::string> value;
    for (const TIniEntry& entry : Entries(section)) {
        if (SameName(entry.Key, key))
            value = entry.Value;
    }
    return value;
}

void TIniFile::RemoveSection(std::string_view section) {
    const std::vector<bool> members = Members(section);
    std::vector<TLine> kept;
    kept.reserve(Lines.size());
    for (std::size_t i = 0; i < Lines.size(); ++i) {
        if (!members[i])
            kept.push_back(std::move(Lines[i]));
    }
    Lines = std::move(kept);
}

void TIniFile::AppendSeparator() {
    if (Lines.empty())
        return;
    TLine& last = Lines.back();
    if (last.Raw.empty() || last.Raw.back() != '\n')
        last.Raw += kNewLine;
    if (!Trim(Content(last.Raw)).empty())
        Lines.push_back(NewLine("", TKind::Other, "", ""));
}

void TIniFile::ReplaceSection(std::string_view section, const TIniEntries& entries) {
    const std::string name(section);
    if (HasLineBreak(name) || name.find(']') != std::string::npos)
        throw std::invalid_argument("section name unfit for an INI file: " + name);
    std::vector<TLine> block{NewLine("[" + name + "]", TKind::Section, name, "")};
    for (const TIniEntry& entry : entries) {
        if (HasLineBreak(entry.Key) || HasLineBreak(entry.Value) || entry.Key.find('=') != std::string::npos)
            throw std::invalid_argument("entry unfit for an INI file: " + entry.Key);
        block.push_back(NewLine(entry.Key + "=" + entry.Value, TKind::Key, entry.Key, entry.Value));
    }

    const std::vector<bool> members = Members(section);
    const auto first = std::find(members.begin(), members.end(), true);
    if (first == members.end()) {
        AppendSeparator();
        Lines.insert(Lines.end(), std::make_move_iterator(block.begin()),
                     std::make_move_iterator(block.end()));
        return;
    }
    const auto at = static_cast<std::size_t>(first - members.begin());
    std::vector<TLine> result;
    result.reserve(Lines.size() + block.size());
    for (std::size_t i = 0; i < Lines.size(); ++i) {
        if (i == at)
            result.insert(result.end(), std::make_move_iterator(block.begin()),
                          std::make_move_iterator(block.end()));
        if (!members[i])
            result.push_back(std::move(Lines[i]));
    }
    Lines = std::move(result);
}

std::string TIniFile::Text() const {
    std::string text;
    for (std::size_t i = 0; i < Lines.size(); ++i) {
        text += Lines[i].Raw;
        // A last line without its line ending gets one once something follows it.
        if (i + 1 < Lines.size() && (Lines[i].Raw.empty() || Lines[i].Raw.back() != '\n'))
            text += kNewLine;
    }
    return text;
}

void TIniFile::WriteFile(const std::string& path) const {
    WriteFileAtomically(path, Text());
}

} // namespace kvl
