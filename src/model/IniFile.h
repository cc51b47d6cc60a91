// TIniFile: a Windows-style INI text held in memory line by line. Section and key
// names match without regard to case, values are taken without the blanks around
// them, and bytes are kept as they are (Latin-1). Everything a rewrite does not
// touch (other sections, comments, blank lines, line endings) is written back
// byte for byte; new lines end in CR LF.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kvl {

struct TIniEntry {
    std::string Key;
    std::string Value;
    friend bool operator==(const TIniEntry&, const TIniEntry&) = default;
};
using TIniEntries = std::vector<TIniEntry>;

struct TIniSection {
    std::string Name;
    TIniEntries Entries;
};

class TIniFile {
public:
    TIniFile() = default;
    explicit TIniFile(std::string_view text);

    // Throws EFileError when the file cannot be read.
    static TIniFile ReadFile(const std::string& path);
    // An empty file for a file that does not exist; other read errors throw.
    static TIniFile ReadFileOrEmpty(const std::string& path);

    bool HasSection(std::string_view section) const;
    // Every key line of every occurrence of the section, in file order: a key that
    // appears twice gives two entries.
    TIniEntries Entries(std::string_view section) const;
    // The value of the key's last line in the section (each line overrides the
    // lines before it, as when the lines are applied in turn).
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;

    // Removes every occurrence of each named section (its headers, key lines and
    // blank lines; comments and other lines stay where they were) and writes the
    // given sections, in order and a blank line apart, where the first removed
    // occurrence stood, or at the end of the file. Names and values must not hold
    // CR or LF; std::invalid_argument otherwise.
    void ReplaceSections(const std::vector<std::string>& removed, const std::vector<TIniSection>& sections);
    void ReplaceSection(std::string_view section, const TIniEntries& entries);
    void RemoveSection(std::string_view section);

    std::string Text() const;
    // Atomic: see WriteFileAtomically. Throws EFileError.
    void WriteFile(const std::string& path) const;

private:
    enum class TKind { Other, Section, Key };
    struct TLine {
        std::string Raw; // with its line ending, if it had one
        TKind Kind = TKind::Other;
        std::string Name; // section name or key, trimmed
        std::string Value;
    };
    static TLine ParseLine(std::string raw);
    static TLine NewLine(std::string content, TKind kind, std::string name, std::string value);
    // For each line, whether a rewrite of the section removes it: one of its
    // headers, or a key line or blank line below one of them.
    std::vector<bool> Members(std::string_view section) const;
    static bool IsBlankLine(const TLine& line);
    static std::vector<TLine> Block(const std::vector<TIniSection>& sections);

    std::vector<TLine> Lines;
};

// ASCII case-insensitive comparison of names.
bool SameName(std::string_view a, std::string_view b);

} // namespace kvl
