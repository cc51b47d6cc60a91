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

bool TIniFile::IsBlankLine(const TLine& line) {
    return line.Kind == TKind::Other && Trim(Content(line.Raw)).empty();
}

std::vector<bool> TIniFile::Members(std::string_view section) const {
    std::vector<bool> members(Lines.size(), false);
    bool inside = false;
    for (std::size_t i = 0; i < Lines.size(); ++i) {
        const TLine& line = Lines[i];
        if (line.Kind == TKind::Section)
            inside = SameName(line.Name, section);
        members[i] = inside && (line.Kind != TKind::Other || IsBlankLine(line));
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

std::vector<TIniFile::TLine> TIniFile::Block(const std::vector<TIniSection>& sections) {
    std::vector<TLine> block;
    for (const TIniSection& section : sections) {
        if (HasLineBreak(section.Name) || section.Name.find(']') != std::string::npos)
            throw std::invalid_argument("section name unfit for an INI file: " + section.Name);
        if (!block.empty())
            block.push_back(NewLine("", TKind::Other, "", ""));
        block.push_back(NewLine("[" + section.Name + "]", TKind::Section, section.Name, ""));
        for (const TIniEntry& entry : section.Entries) {
            if (HasLineBreak(entry.Key) || HasLineBreak(entry.Value) ||
                entry.Key.find('=') != std::string::npos || Trim(entry.Key).empty())
                throw std::invalid_argument("entry unfit for an INI file: " + entry.Key);
            block.push_back(NewLine(entry.Key + "=" + entry.Value, TKind::Key, entry.Key, entry.Value));
        }
    }
    return block;
}

void TIniFile::ReplaceSections(const std::vector<std::string>& removed,
                               const std::vector<TIniSection>& sections) {
    std::vector<TLine> block = Block(sections);
    std::vector<bool> gone(Lines.size(), false);
    for (const std::string& name : removed) {
        const std::vector<bool> members = Members(name);
        for (std::size_t i = 0; i < Lines.size(); ++i)
            gone[i] = gone[i] || members[i];
    }
    const auto first = std::find(gone.begin(), gone.end(), true);
    const auto at = static_cast<std::size_t>(first - gone.begin()); // Lines.size() when none
    std::vector<TLine> result;
    result.reserve(Lines.size() + block.size() + 2);
    for (std::size_t i = 0; i <= Lines.size(); ++i) {
        if (i == at && !block.empty()) {
            if (!result.empty()) {
                TLine& last = result.back();
                if (last.Raw.empty() || last.Raw.back() != '\n')
                    last.Raw += kNewLine;
                if (!IsBlankLine(last))
                    result.push_back(NewLine("", TKind::Other, "", ""));
            }
            result.insert(result.end(), std::make_move_iterator(block.begin()),
                          std::make_move_iterator(block.end()));
            block.clear();
            // A blank line between the block and whatever follows it.
            const auto next = std::find(gone.begin() + static_cast<std::ptrdiff_t>(i), gone.end(), false);
            if (next != gone.end() && !IsBlankLine(Lines[static_cast<std::size_t>(next - gone.begin())]))
                result.push_back(NewLine("", TKind::Other, "", ""));
        }
        if (i < Lines.size() && !gone[i])
            result.push_back(std::move(Lines[i]));
    }
    Lines = std::move(result);
}

void TIniFile::ReplaceSection(std::string_view section, const TIniEntries& entries) {
    ReplaceSections({std::string(section)}, {{std::string(section), entries}});
}

void TIniFile::RemoveSection(std::string_view section) {
    ReplaceSections({std::string(section)}, {});
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
