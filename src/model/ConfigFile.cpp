// TMuxConfig::Save and Load: the configuration file in INI form.
#include "model/ConfigKeys.h"
#include "model/ConfigRows.h"
#include "model/FileAccess.h"
#include "model/FileError.h"
#include "model/IniFile.h"
#include "model/MuxConfig.h"
#include "model/TextRules.h"
#include "model/WireFormat.h"
#include "sentence/NmeaText.h"

#include <array>
#include <cstdint>

namespace kvl {

using namespace config_keys;

namespace {

constexpr std::string_view kSectionInformation = "Information";
constexpr std::string_view kSectionConfiguration = "Configuration";
constexpr std::string_view kSectionRouting = "Routing";
constexpr std::string_view kSectionModbus = "ModBus";
constexpr std::string_view kSectionDataSources = "Data Sources";
constexpr std::string_view kSectionMob = "AIS MOB";
constexpr std::string_view kConfigVersionKey = "Config Version";
constexpr std::uint32_t kConfigVersion = 1;

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

// A value that goes on one line of the file whatever the device reported.
std::string OneLine(std::string_view text) {
    std::string line;
    for (const char c : text) {
        if (c != '\r' && c != '\n')
            line.push_back(c);
    }
    return line;
}

std::string KeyValueText(std::string_view key, std::string_view value) {
    return Quoted(key) + " = " + Quoted(value);
}

// "R01", "R02", ... in "Routing"; "R1", "R2", ... elsewhere.
std::string RowKey(std::size_t row, bool padded) {
    std::string number = FormatDec(row);
    if (padded && number.size() < 2)
        number.insert(0, 1, '0');
    return "R" + number;
}

// What a missing "Configuration" key leaves in the model.
std::string MissingOutcome(const TKey& key) {
    switch (key.Form) {
    case TForm::Dec:
        return "the default " + FormatDec(key.Default) + " is used";
    case TForm::Text:
        return "left empty";
    case TForm::Hex2:
    case TForm::Hex8:
        break;
    }
    return "0 is used";
}

template <typename List, typename Writer>
TIniEntries Rows(const List& list, bool padded, Writer writer) {
    TIniEntries rows;
    for (std::size_t i = 0; i < list.size(); ++i)
        rows.push_back({RowKey(i + 1, padded), OneLine(writer(*list[i]))});
    return rows;
}

// The table sections are written only when they hold rows.
void AddTable(std::vector<TIniSection>& sections, std::string_view name, TIniEntries rows) {
    if (!rows.empty())
        sections.push_back({std::string(name), std::move(rows)});
}

// Reads the rows of a table section in file order, keeping at most limit entries.
template <typename Entry, typename List, typename Reader>
void LoadRows(const TIniEntries& keys, std::string_view section, std::size_t limit, List& list, Reader reader,
              TLoadReport& report) {
    std::size_t beyond = 0;
    for (const TIniEntry& key : keys) {
        auto row = reader(key.Value);
        if (!row.Entry) {
            report.Add("[" + std::string(section) + "] " + key.Key + " left out: " + row.Problem);
            continue;
        }
        if (list.size() >= limit) {
            ++beyond;
            continue;
        }
        list.push_back(std::make_unique<Entry>(std::move(*row.Entry)));
    }
    if (beyond > 0)
        report.Add("[" + std::string(section) + "]: the table holds " + FormatDec(limit) + " entries; " +
                   FormatDec(beyond) + " more rows were left out");
}

} // namespace

void TMuxConfig::Save(const std::string& Fname, const std::string& AppName, const std::string& Device,
                      const std::string& FwVer, const std::string& Serial) const {
    if (Fname.empty())
        return;
    TIniFile file = TIniFile::ReadFileOrEmpty(Fname);
    std::vector<TIniSection> sections{{std::string(kSectionInformation),
                                       {{"KVL-Config", OneLine(AppName)},
                                        {"Device", OneLine(Device)},
                                        {"Firmware Version", OneLine(FwVer)},
                                        {"Serial Number", OneLine(Serial)}}},
                                      {std::string(kSectionConfiguration), SaveConfiguration()}};
    AddTable(sections, kSectionRouting, SaveRouting());
    AddTable(sections, kSectionModbus, SaveModbus());
    sections.push_back({std::string(kSectionDataSources), SaveDataSources()});
    AddTable(sections, kSectionMob, SaveMob());
    file.ReplaceSections({std::string(kSectionInformation), std::string(kSectionConfiguration),
                          std::string(kSectionRouting), std::string(kSectionModbus),
                          std::string(kSectionDataSources), std::string(kSectionMob)},
                         sections);
    file.WriteFile(Fname);
}

TIniEntries TMuxConfig::SaveConfiguration() const {
    TIniEntries entries;
    entries.push_back({std::string(kConfigVersionKey), FormatDec(kConfigVersion)});
    for (const TKey& key : kKeys)
        entries.push_back({std::string(key.Name), OneLine(KeyText(*this, key))});
    return entries;
}

TIniEntries TMuxConfig::SaveRouting() const {
    return Rows(RoutingTable, true, RoutingRow);
}

TIniEntries TMuxConfig::SaveModbus() const {
    return Rows(ModbusTable, false, ModbusRow);
}

TIniEntries TMuxConfig::SaveDataSources() const {
    TIniEntries rows;
    for (std::size_t i = 0; i < DataSrcTable.size(); ++i)
        rows.push_back({RowKey(i + 1, false), DataSourceRow(DataSrcTable[i])});
    return rows;
}

TIniEntries TMuxConfig::SaveMob() const {
    return Rows(MOBTable, false, MobRow);
}

TLoadReport TMuxConfig::Load(const std::string& FName) {
    const std::string text = ReadWholeFile(FName);
    // A firmware image or another program's INI file must never reset the device.
    if (text.find('\0') != std::string::npos || !TIniFile(text).HasSection(kSectionConfiguration))
        throw EFileError(FName + " is not a Korvelan configuration file");
    const TIniFile file(text);
    TLoadReport report;
    RouteClear();
    ModbusClear();
    MobClear();
    LoadConfiguration(file, report);
    if (const TIniEntries keys = file.Entries(kSectionRouting); !keys.empty())
        LoadRouting(keys, report);
    if (const TIniEntries keys = file.Entries(kSectionModbus); !keys.empty())
        LoadModbus(keys, report);
    LoadDataSources(file.Entries(kSectionDataSources), report);
    if (const TIniEntries keys = file.Entries(kSectionMob); !keys.empty())
        LoadMob(keys, report);
    return report;
}

void TMuxConfig::LoadConfiguration(const TIniFile& file, TLoadReport& report) {
    (void)file.Value(kSectionConfiguration, kConfigVersionKey); // the version is read and not used
    bool groupStopped[2] = {false, false};                      // A (default routes), B (option words)
    for (const TKey& key : kKeys) {
        const std::optional<std::string> value = file.Value(kSectionConfiguration, key.Name);
        if (!value)
            report.AddMissing(Quoted(key.Name) + " is missing: " + MissingOutcome(key));
        switch (key.Form) {
        case TForm::Dec: {
            this->*key.Number = key.Default;
            if (!value)
                break;
            const auto number = ParseFileInteger(*value);
            if (number && *number >= key.Min && *number <= key.Max)
                this->*key.Number = static_cast<std::uint32_t>(*number);
            else
                report.Add(KeyValueText(key.Name, *value) + " is not a number from " + FormatDec(key.Min) +
                           " to " + FormatDec(key.Max) + ": the default " + FormatDec(key.Default) +
                           " is used");
            break;
        }
        case TForm::Text: {
            const std::string text = value.value_or("").substr(0, key.Length);
            if (IsWordText(text)) {
                this->*key.Text = text;
            } else {
                (this->*key.Text).clear();
                report.Add(KeyValueText(key.Name, text) + " cannot go into a sentence: left empty");
            }
            break;
        }
        case TForm::Hex2:
        case TForm::Hex8: {
            bool& stopped = groupStopped[key.Form == TForm::Hex2 ? 0 : 1];
            if (stopped)
                break;
            const auto number = ParseHex(value.value_or("0"), key.Max);
            if (number) {
                this->*key.Number = static_cast<std::uint32_t>(*number);
                break;
            }
            stopped = true;
            report.Add(KeyValueText(key.Name, *value) + " is not hexadecimal (up to " +
                       FormatHex(key.Max, 2) + "): it and the keys after it in its group keep their values");
            break;
        }
        }
    }
}

void TMuxConfig::LoadRouting(const TIniEntries& keys, TLoadReport& report) {
    LoadRows<TRoute>(keys, kSectionRouting, kMaxRoutes, RoutingTable, ReadRoutingRow, report);
    Notify(OnRoutingChange);
}

void TMuxConfig::LoadModbus(const TIniEntries& keys, TLoadReport& report) {
    LoadRows<TModbus>(keys, kSectionModbus, kMaxModbus, ModbusTable, ReadModbusRow, report);
    Notify(OnModbusChange);
}

void TMuxConfig::LoadDataSources(const TIniEntries& keys, TLoadReport& report) {
    for (std::size_t i = 0; i < DataSrcTable.size(); ++i) {
        if (i >= keys.size()) {
            DataSrcTable[i] = TDataSource();
            report.AddMissing("[" + std::string(kSectionDataSources) + "] " + RowKey(i + 1, false) +
                              " is missing: no source is used");
            continue;
        }
        std::string problem;
        DataSrcTable[i] = ReadDataSourceRow(keys[i].Value, problem);
        if (!problem.empty())
            report.Add("[" + std::string(kSectionDataSources) + "] " + keys[i].Key + ": " + problem);
    }
}

void TMuxConfig::LoadMob(const TIniEntries& keys, TLoadReport& report) {
    LoadRows<TMob>(keys, kSectionMob, kMaxMob, MOBTable, ReadMobRow, report);
    Notify(OnMobChange);
}

} // namespace kvl
