// A configuration is never lost, half-written or silently changed: files that
// are no configuration are refused, missing keys are listed, saves follow
// symbolic links, and what a device reported comes back from its own backup.
#include "model/ConfigDiff.h"
#include "model/ConfigSentences.h"
#include "model/FileAccess.h"
#include "model/FileError.h"
#include "model/MuxConfig.h"
#include "model/MuxVersion.h"
#include "model/TableCells.h"

#include "FullConfig.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

using namespace kvl;
using kvl::test::ReadBytes;
using kvl::test::TTempDir;
using kvl::test::WriteBytes;

namespace {

bool Lists(const std::vector<std::string>& notes, const std::string& part) {
    for (const std::string& note : notes)
        if (note.find(part) != std::string::npos)
            return true;
    return false;
}

} // namespace

TEST(ConfigSafety, AFileThatIsNoConfigurationIsRefusedAndChangesNothing) {
    const struct {
        const char* Name;
        std::string Bytes;
    } cases[] = {
        {"image.kvl", std::string("KVL3\0\x01\x02[Configuration]\r\n", 20)}, // not text
        {"other.ini", "[Chart Plotter]\r\nBrightness=7\r\n"},                // no Configuration section
        {"empty.ini", ""},
    };
    TTempDir dir;
    for (const auto& c : cases) {
        const std::string path = dir.Path(c.Name);
        WriteBytes(path, c.Bytes);
        TMuxConfig config;
        test::FillFullConfig(config);
        try {
            config.Load(path);
            ADD_FAILURE() << c.Name << " was loaded";
        } catch (const EFileError& e) {
            EXPECT_EQ(std::string(e.what()), path + " is not a Korvelan configuration file");
        }
        EXPECT_EQ(config.RoutingTable.size(), TMuxConfig::kMaxRoutes) << c.Name;
        EXPECT_EQ(config.BaudIn1, 1u) << c.Name;
    }
}

TEST(ConfigSafety, MissingKeysAndDataSourceRowsAreListed) {
    TTempDir dir;
    WriteBytes(dir.Path("part.ini"),
               "[Configuration]\r\nBaud In1=2\r\n[Data Sources]\r\nR1=1,0000000000000000\r\n");
    TMuxConfig config;
    config.DataSrcTable[2] = {'3', 0};
    const TLoadReport report = config.Load(dir.Path("part.ini"));
    EXPECT_TRUE(report.Notes.empty());
    EXPECT_EQ(report.Missing.size(), 43u + 2u); // every other key, and R2 and R3
    EXPECT_TRUE(Lists(report.Missing, "\"Baud Out2\" is missing: the default 3 is used"));
    EXPECT_TRUE(Lists(report.Missing, "[Data Sources] R3 is missing: no source is used"));
    EXPECT_EQ(config.DataSrcTable[2], TDataSource()); // not silently kept from before
}

// A device's own reports, as some firmware words them, saved by the tool and
// loaded back: nothing to note, nothing different, the same sentences written.
TEST(ConfigSafety, WhatADeviceReportedSurvivesItsBackup) {
    const struct {
        const char* Quirk;
        const char* Report;
        void (*Decode)(const TSentence&, TMuxConfig&);
        std::function<void(const TMuxConfig&)> Check;
    } cases[] = {
        {"an unset source reported as -", "$PQZXDS,R,1,-", DecodeDS,
         [](const TMuxConfig& c) {
             EXPECT_EQ(c.DataSrcTable[1].Input, TDataSource::kNone);
             EXPECT_EQ(EncodeDS(c, 1), "$PQZXDS,C,1");
         }},
        {"the mode without the slave address", "$PQZXMB,R,M,1", DecodeMB,
         [](const TMuxConfig& c) { EXPECT_EQ(c.ModbusSlvAddr, 0u); }},
        {"a transducer ID with a blank", "$PQZXMB,R,X,1,100,H,F,R,1,C,C,ENGINE 1,00", DecodeMBEntry,
         [](const TMuxConfig& c) {
             ASSERT_EQ(c.ModbusTable.size(), 1u);
             EXPECT_EQ(EncodeMBEntry(*c.ModbusTable[0]), "$PQZXMB,C,X,1,100,H,F,R,1,C,C,ENGINE");
         }},
        {"a sentence address with a blank", "$PQZXRTE,R,GP RM,01,,20,0000000000000000", DecodeRTE,
         [](const TMuxConfig& c) {
             ASSERT_EQ(c.RoutingTable.size(), 1u);
             EXPECT_EQ(c.RoutingTable[0]->Address, "GP");
         }},
    };
    TTempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Quirk);
        TMuxConfig device;
        c.Decode(TSentence(c.Report, ""), device);
        c.Check(device);
        device.Save(dir.Path("backup.ini"), "tool", "device", "3.30", "serial");
        TMuxConfig file;
        const TLoadReport loaded = file.Load(dir.Path("backup.ini"));
        EXPECT_TRUE(loaded.Empty()) << (loaded.All().empty() ? "" : loaded.All().front());
        EXPECT_FALSE(CompareWithDevice(device, file, kCapsNmea2000).HasDifferences());
        c.Check(file);
    }
}

TEST(ConfigSafety, AnEditorCutsAValueAtItsBlankAsTheFileDoes) {
    TModbus entry(1, 100, 'H', 'F', 0, 1, 'C', 'C', "", 0);
    EXPECT_EQ(CommitModbusCell(entry, kModbusColXdrID, "ENGINE 1"), "");
    EXPECT_EQ(entry.XdrID, "ENGINE");
    TRoute route("", 0, 0, 0, TName(), 255);
    EXPECT_NE(CommitRouteCell(route, kRouteColSentence, "GP RM"), ""); // five characters are needed
    EXPECT_EQ(CommitRouteCell(route, kRouteColSentence, "GPRMC"), "");
    EXPECT_EQ(route.Address, "GPRMC");
}

TEST(ConfigSafety, ASaveThroughASymbolicLinkWritesTheFileItPointsTo) {
    TTempDir dir;
    const std::string target = dir.Path("boat.ini");
    const std::string link = dir.Path("current.ini");
    WriteBytes(target, "old");
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    ASSERT_EQ(::symlink("boat.ini", link.c_str()), 0);
    WriteFileAtomically(link, "new");
    struct stat info {};
    ASSERT_EQ(::lstat(link.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(ReadBytes(target), "new");
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(dir.FileCount(), 2u); // no temporary file left
}
