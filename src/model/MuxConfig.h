// TMuxConfig: the tool's image of the configuration of the connected multiplexer.
// A plain data holder: it knows nothing of the link, the sentences or the windows.
// Its only outward behaviour is one change notification per table, through which
// the table editors redraw.
#pragma once

#include "model/DataSource.h"
#include "model/IniFile.h"
#include "model/LoadReport.h"
#include "model/Mob.h"
#include "model/Modbus.h"
#include "model/Name.h"
#include "model/OnChange.h"
#include "model/Route.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kvl {

using TRouteList = std::vector<std::unique_ptr<TRoute>>;
using TModbusList = std::vector<std::unique_ptr<TModbus>>;
using TMobList = std::vector<std::unique_ptr<TMob>>;

class TMuxConfig {
public:
    static constexpr std::size_t kMaxRoutes = 50;
    static constexpr std::size_t kMaxModbus = 30;
    static constexpr std::size_t kMaxMob = 8;
    static constexpr std::size_t kDataSources = 3;
    static constexpr std::size_t kTalkerIDLength = 2;
    static constexpr std::size_t kUIDLength = 12;
    static constexpr std::uint8_t kNoSourceAddress = 255;
    // Where a captured sentence goes until the user says otherwise: host and WiFi links.
    static constexpr std::uint16_t kCaptureRoute = (1u << kDstWiFi) | (1u << kDstHost);

    // Result codes of the add operations.
    static constexpr int kDone = 0;
    static constexpr int kRoutingFull = -1;
    static constexpr int kModbusFull = -2;
    static constexpr int kMobFull = -3;
    static constexpr int kDataSrcRange = -4;

    TMuxConfig();
    // Detaches the notifications before the tables go, so no editor hears of it.
    ~TMuxConfig();
    // The table editors hold references to the lists: the model never moves.
    TMuxConfig(const TMuxConfig&) = delete;
    TMuxConfig& operator=(const TMuxConfig&) = delete;

    std::uint32_t BaudIn1 = 0;
    std::uint32_t BaudIn2 = 0;
    std::uint32_t BaudIn3 = 0;
    std::uint32_t BaudIn4Out1 = 0; // input 4 and output 1 share one speed
    std::uint32_t BaudOut2 = 0;
    std::uint32_t PrioTimeout = 0;
    std::string TalkID1; // at most kTalkerIDLength characters; empty = none
    std::string TalkID2;
    std::string TalkID3;
    std::string TalkID4;
    std::string TalkIDConv;
    std::string UID; // at most kUIDLength characters; the prefix of the TAG block source tags
    std::uint32_t DefRouteOut1 = 0;
    std::uint32_t DefRouteOut2 = 0;
    std::uint32_t ModeIn1 = 0;
    std::uint32_t ModeIn2 = 0;
    std::uint32_t ModeIn3 = 0;
    std::uint32_t ModeIn4 = 0;
    std::uint32_t ModeOut1 = 0;
    std::uint32_t ModeOut2 = 0;
    std::uint32_t PrioIn1 = 0;
    std::uint32_t PrioIn2 = 0;
    std::uint32_t PrioIn3 = 0;
    std::uint32_t PrioIn4 = 0;
    std::uint32_t PrioN2K = 0;
    std::uint32_t Options = 0;
    std::uint32_t Conversions = 0;
    std::uint32_t N2kOptions = 0;
    std::uint32_t ModbusMode = 0;
    std::uint32_t ModbusSlvAddr = 0;
    std::uint32_t ModbusXdrInterval = 0;  // units of 10 ms
    std::uint32_t ModbusPollInterval = 0; // units of 10 ms
    std::uint32_t DevFuncHost = 0;
    std::uint32_t DevFuncIn1 = 0;
    std::uint32_t DevFuncIn2 = 0;
    std::uint32_t DevFuncIn3 = 0;
    std::uint32_t DevFuncIn4 = 0;
    std::uint32_t DevFuncConv = 0;
    std::uint32_t SAHost = 0; // 255 = none; never written to a configuration file
    std::uint32_t SAIn1 = 0;
    std::uint32_t SAIn2 = 0;
    std::uint32_t SAIn3 = 0;
    std::uint32_t SAIn4 = 0;
    std::uint32_t SAConv = 0;
    std::uint32_t DIHost = 0;
    std::uint32_t DIIn1 = 0;
    std::uint32_t DIIn2 = 0;
    std::uint32_t DIIn3 = 0;
    std::uint32_t DIIn4 = 0;
    std::uint32_t DIConv = 0;
    TRouteList RoutingTable; // at most kMaxRoutes entries
    TModbusList ModbusTable; // at most kMaxModbus entries
    TMobList MOBTable;       // at most kMaxMob entries
    // 0 main heading, 1 rotating heading/mast, 2 rotating wind.
    std::array<TDataSource, kDataSources> DataSrcTable{};
    TOnChange OnRoutingChange;
    TOnChange OnModbusChange;
    TOnChange OnMobChange;

    // The NAME of the NMEA 2000 device that holds a source address (0 when none has
    // claimed it); the main window connects it to the device scanner. Never asked
    // about address 255.
    std::function<std::uint64_t(std::uint8_t)> NameForSourceAddress;

    // The configuration file. Save builds the whole file in memory, keeping the
    // sections of other programs and the comments of an existing file, and
    // replaces the file atomically; an empty Fname does nothing. Load reads the
    // file first: when it cannot be read, or is no configuration (not text, or no
    // "Configuration" section: "X is not a Korvelan configuration file"),
    // EFileError leaves the model unchanged. Values that do not parse or are out
    // of range fall back to their defaults, unfit rows and rows beyond the tables'
    // limits are left out, and missing keys take their defaults; the report says
    // what was. Both throw EFileError.
    void Save(const std::string& Fname, const std::string& AppName, const std::string& Device,
              const std::string& FwVer, const std::string& Serial) const;
    TLoadReport Load(const std::string& FName);

    int RouteAdd(std::string_view Address, std::uint16_t Inputs, std::uint8_t Divisor, std::uint16_t Route,
                 TName Name, std::uint8_t SA);
    // Records one captured sentence: its source bits join the entry with the same
    // address and source address, or a new entry routed to the host and WiFi links
    // is made. kRoutingFull on a full table, which then stays wholly unchanged.
    int RouteCapture(std::string_view Address, std::uint16_t Inputs, std::uint8_t SA);
    void RouteClear();

    int ModbusAdd(std::uint8_t Slave, std::uint16_t Reg, char RType, char DType, std::uint8_t Rev,
                  std::uint8_t Prec, char XdrType, char XdrUnit, std::string_view XdrID, std::uint8_t Status);
    void ModbusClear();
    // Marks every entry's state unknown once the table has been written to the multiplexer.
    void ModbusClearStatus();

    int MobAdd(std::string_view MMSI, char Status);
    void MobClear();

    // ID is taken wide so that a number read from outside is never narrowed onto a
    // valid index: anything above 2 gives kDataSrcRange. Raises no notification.
    int DataSrcAdd(unsigned ID, char AInput, TName AName);
    void DataSrcClear();

private:
    TIniEntries SaveConfiguration() const;
    TIniEntries SaveRouting() const;
    TIniEntries SaveModbus() const;
    TIniEntries SaveDataSources() const;
    TIniEntries SaveMob() const;
    void LoadConfiguration(const TIniFile& file, TLoadReport& report);
    void LoadRouting(const TIniEntries& keys, TLoadReport& report);
    void LoadModbus(const TIniEntries& keys, TLoadReport& report);
    void LoadDataSources(const TIniEntries& keys, TLoadReport& report);
    void LoadMob(const TIniEntries& keys, TLoadReport& report);

    std::optional<std::size_t> FindRoute(std::string_view Address, std::uint8_t SA) const;
    std::uint64_t LookUpName(std::uint8_t SA) const;
    static void Notify(const TOnChange& onChange);
};

} // namespace kvl
