#include "model/FileError.h"
#include "model/MuxConfig.h"

#include "FullConfig.h"
#include "ModelSnapshot.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <sys/resource.h>

using namespace kvl;
using kvl::test::ReadBytes;
using kvl::test::Snapshot;
using kvl::test::TTempDir;
using kvl::test::WriteBytes;

namespace {

const std::string kApp = "Korvelan-3 Configuration Tool V3.17.0";

void SaveTo(const TMuxConfig& config, const std::string& path) {
    config.Save(path, kApp, "Korvelan-3N", "3.30.2", "K3N-20417");
}

std::string Row(const std::string& key, const std::string& value) {
    return key + "=" + value + "\r\n";
}

bool HasNote(const TLoadReport& report, const std::string& part) {
    for (const std::string& note : report.Notes) {
        if (note.find(part) != std::string::npos)
            return true;
    }
    return false;
}

} // namespace

TEST(ConfigFile, AFullConfigurationSavedAndLoadedEqualsTheModelFieldByField) {
    TTempDir dir;
    TMuxConfig original;
    test::FillFullConfig(original);
    SaveTo(original, dir.Path("full.ini"));
    TMuxConfig loaded;
    const TLoadReport report = loaded.Load(dir.Path("full.ini"));
    EXPECT_TRUE(report.Empty()) << report.Notes.front();
    EXPECT_EQ(Snapshot(loaded), Snapshot(original));
}

TEST(ConfigFile, TheFileHoldsTheSectionsAndKeysInTheirOrder) {
    TTempDir dir;
    TMuxConfig config;
    config.RouteAdd("GPRMC", 0x21, 7, 0x30, 0, 255);
    config.ModbusAdd(1, 100, 'H', 'I', 0, 1, 'C', 'C', "ENGINE1", 0);
    config.DataSrcTable[0] = {'1', 0};
    SaveTo(config, dir.Path("c.ini"));
    const std::string text = ReadBytes(dir.Path("c.ini"));
    const std::string configuration =
        "[Configuration]\r\nConfig Version=1\r\nBaud In1=0\r\nBaud In2=0\r\nBaud In3=0\r\nBaud In4/Out1=0\r\n"
        "Baud Out2=0\r\nPriority Timeout=0\r\nTalker ID1=\r\nTalker ID2=\r\nTalker ID3=\r\nTalker ID4=\r\n"
        "Talker ID Conversions=\r\nUnique ID=\r\nRoute Inputs to Out1=00\r\nRoute Inputs to Out2=00\r\n"
        "Mode In1=0\r\nMode In2=0\r\nMode In3=0\r\nMode In4=0\r\nMode Out1=0\r\nMode Out2=0\r\n"
        "Priority In1=0\r\nPriority In2=0\r\nPriority In3=0\r\nPriority In4=0\r\nPriority NMEA 2000=0\r\n"
        "Modbus Mode=0\r\nMobus Slave Address=0\r\nMobus XDR Interval=0\r\nMobus Poll Interval=0\r\n"
        "Options=00000000\r\nConversions=00000000\r\nNMEA 2000 Options=00000000\r\n"
        "Device Function Host=0\r\nDevice Function In1=0\r\nDevice Function In2=0\r\nDevice Function "
        "In3=0\r\n"
        "Device Function In4=0\r\nDevice Function Conv=0\r\nDevice Instance Host=0\r\nDevice Instance "
        "In1=0\r\n"
        "Device Instance In2=0\r\nDevice Instance In3=0\r\nDevice Instance In4=0\r\nDevice Instance "
        "Conv=0\r\n";
    EXPECT_EQ(text,
              "[Information]\r\nKVL-Config=" + kApp +
                  "\r\nDevice=Korvelan-3N\r\nFirmware Version=3.30.2\r\nSerial Number=K3N-20417\r\n\r\n" +
                  configuration +
                  "\r\n[Routing]\r\nR01=GPRMC,21,07,30,0000000000000000\r\n"
                  "\r\n[ModBus]\r\nR1=1,100,H,I,0,1,C,C,ENGINE1\r\n"
                  "\r\n[Data Sources]\r\nR1=1,0000000000000000\r\nR2=\r\nR3=\r\n");
}

TEST(ConfigFile, TheFileOpensInPythonsConfigParser) {
    if (std::system("/usr/bin/python3 -c 'import configparser' 2>/dev/null") != 0)
        GTEST_SKIP() << "no python3";
    TTempDir dir;
    TMuxConfig config;
    test::FillFullConfig(config);
    SaveTo(config, dir.Path("full.ini"));
    const std::string script =
        "import configparser,sys\n"
        "p=configparser.RawConfigParser(); p.optionxform=str; p.read(sys.argv[1], encoding='latin-1')\n"
        "assert p.sections()==['Information','Configuration','Routing','ModBus','Data Sources','AIS MOB'],"
        "p.sections()\n"
        "assert len(p['Configuration'])==45 and p['Configuration']['Mobus Slave Address']=='247'\n"
        "assert p['Routing']['R50'].startswith('GP049,') and p['AIS MOB']['R8']=='972000007'\n";
    WriteBytes(dir.Path("check.py"), script);
    EXPECT_EQ(std::system(("/usr/bin/python3 " + dir.Path("check.py") + " " + dir.Path("full.ini")).c_str()),
              0);
}

TEST(ConfigFile, AHandWrittenWindowsFileLoadsAndASaveKeepsWhatIsNotOurs) {
    TTempDir dir;
    const std::string path = dir.Path("hand.ini");
    const std::string foreign = "[Chart Plotter]\r\nBrightness = 7\r\n; kept as it is\r\n";
    WriteBytes(path, "; installed 2026-05-01\r\n" + foreign +
                         "[configuration]\r\n  BAUD IN1 = 2 \r\nunique id= BOAT7\r\n"
                         "talker id1 =GP\r\noptions = 00000224\r\nmobus slave address = 12\r\n"
                         "[routing]\r\nr1 = GPRMC , 21 , 7 , 30 , 00000000000000AB\r\nX7=IIMWV,01,0,01,0\r\n"
                         "[ais mob]\r\nR1 = 211234567\r\n");
    TMuxConfig config;
    const TLoadReport report = config.Load(path);
    EXPECT_TRUE(report.Notes.empty()); // the keys it lacks are listed apart
    EXPECT_EQ(config.BaudIn1, 2u);
    EXPECT_EQ(config.BaudOut2, 3u); // missing: its default
    EXPECT_EQ(config.UID, "BOAT7");
    EXPECT_EQ(config.TalkID1, "GP");
    EXPECT_EQ(config.Options, 0x224u);
    EXPECT_EQ(config.ModbusSlvAddr, 12u);
    EXPECT_EQ(config.ModbusXdrInterval, 100u);
    ASSERT_EQ(config.RoutingTable.size(), 2u);
    EXPECT_EQ(config.RoutingTable[0]->Divisor, 7);
    EXPECT_EQ(config.RoutingTable[1]->Address, "IIMWV");
    ASSERT_EQ(config.MOBTable.size(), 1u);

    SaveTo(config, path);
    const std::string saved = ReadBytes(path);
    EXPECT_TRUE(saved.starts_with("; installed 2026-05-01\r\n" + foreign)) << saved;
    EXPECT_EQ(saved.find("[configuration]"), std::string::npos);
    EXPECT_NE(saved.find("[Configuration]\r\nConfig Version=1\r\nBaud In1=2\r\n"), std::string::npos);
    EXPECT_NE(
        saved.find("[Routing]\r\nR01=GPRMC,21,07,30,00000000000000AB\r\nR02=IIMWV,01,00,01,0000000000000000"),
        std::string::npos);
}

TEST(ConfigFile, EmptyTablesWriteNoSectionButTheDataSourcesAlwaysThreeRows) {
    TTempDir dir;
    const std::string path = dir.Path("c.ini");
    WriteBytes(
        path, "[Routing]\r\nR01=GPRMC,21,00,30,0\r\n[Other]\r\nk=v\r\n[ROUTING]\r\nR02=GPGGA,21,00,30,0\r\n");
    TMuxConfig config;
    SaveTo(config, path);
    const std::string text = ReadBytes(path);
    EXPECT_EQ(text.find("outing"), std::string::npos); // every occurrence went
    EXPECT_EQ(text.find("[ModBus]"), std::string::npos);
    EXPECT_EQ(text.find("[AIS MOB]"), std::string::npos);
    EXPECT_NE(text.find("[Other]\r\nk=v\r\n"), std::string::npos);
    EXPECT_NE(text.find("[Data Sources]\r\nR1=\r\nR2=\r\nR3=\r\n"), std::string::npos);
}

TEST(ConfigFile, AFileThatCannotBeReadChangesNothing) {
    TTempDir dir;
    TMuxConfig config;
    test::FillDistinct(config);
    const std::string before = Snapshot(config);
    bool notified = false;
    config.OnRoutingChange = [&] { notified = true; };
    EXPECT_THROW(config.Load(dir.Path("missing.ini")), EFileError);
    EXPECT_EQ(Snapshot(config), before);
    EXPECT_FALSE(notified);
}

TEST(ConfigFile, AConfigurationWithoutKeysGivesEveryDefault) {
    TTempDir dir;
    WriteBytes(dir.Path("empty.ini"), "[Configuration]\r\n");
    TMuxConfig config;
    test::FillDistinct(config);
    config.Load(dir.Path("empty.ini"));
    EXPECT_EQ(config.BaudOut2, 3u);
    EXPECT_EQ(config.PrioIn1, 1u);
    EXPECT_EQ(config.ModbusSlvAddr, 1u);
    EXPECT_EQ(config.ModbusXdrInterval, 100u);
    EXPECT_EQ(config.ModbusPollInterval, 10u);
    EXPECT_EQ(config.DevFuncIn1, 1u);
    EXPECT_EQ(config.DIHost, 0u);
    EXPECT_EQ(config.Options, 0u);
    EXPECT_EQ(config.TalkID1, "");
    EXPECT_EQ(config.SAHost, 133u); // never in the file, never touched
    EXPECT_TRUE(config.RoutingTable.empty());
    EXPECT_EQ(config.DataSrcTable[1], TDataSource()); // the file says none: none, not what was there
}

TEST(ConfigFile, AnUnreadableHexValueStopsItsGroup) {
    TTempDir dir;
    TMuxConfig config;
    config.Options = 1;
    config.Conversions = 2;
    config.N2kOptions = 3;
    WriteBytes(dir.Path("a.ini"), "[Configuration]\r\nOptions=ZZ\r\nConversions=10\r\n");
    EXPECT_TRUE(HasNote(config.Load(dir.Path("a.ini")), "\"Options\" = \"ZZ\""));
    EXPECT_EQ(config.Options, 1u);
    EXPECT_EQ(config.Conversions, 2u);
    EXPECT_EQ(config.N2kOptions, 3u);

    WriteBytes(dir.Path("b.ini"), "[Configuration]\r\nOptions=10\r\nConversions=-1\r\n");
    config.Load(dir.Path("b.ini"));
    EXPECT_EQ(config.Options, 0x10u);
    EXPECT_EQ(config.Conversions, 2u);
    EXPECT_EQ(config.N2kOptions, 3u);

    WriteBytes(dir.Path("c.ini"), "[Configuration]\r\nRoute Inputs to Out1=100\r\n"); // above a byte
    config.DefRouteOut1 = 5;
    config.DefRouteOut2 = 6;
    config.Load(dir.Path("c.ini"));
    EXPECT_EQ(config.DefRouteOut1, 5u);
    EXPECT_EQ(config.DefRouteOut2, 6u);
}

TEST(ConfigFile, BadValuesAreRefusedAndTheUserIsTold) {
    TTempDir dir;
    WriteBytes(dir.Path("bad.ini"), "[Configuration]\r\nBaud In1=9\r\nMobus Slave Address=0\r\n"
                                    "Device Instance In1=256\r\nMode Out1=$2\r\nPriority In1=4294967297\r\n"
                                    "Talker ID1=ABC\r\nTalker ID2=G*\r\nUnique ID=BOAT,1\r\n"
                                    "Talker ID3=G\r\n");
    TMuxConfig config;
    const TLoadReport report = config.Load(dir.Path("bad.ini"));
    EXPECT_EQ(config.BaudIn1, 0u);
    EXPECT_EQ(config.ModbusSlvAddr, 0u); // 0: the multiplexer did not report it
    EXPECT_EQ(config.DIIn1, 0u);
    EXPECT_EQ(config.ModeOut1, 2u); // "$2" is a whole number
    EXPECT_EQ(config.PrioIn1, 1u);
    EXPECT_EQ(config.TalkID1, "AB"); // cut, not refused
    EXPECT_EQ(config.TalkID2, "");
    EXPECT_EQ(config.UID, "");
    EXPECT_EQ(config.TalkID3, "G");
    EXPECT_EQ(report.Notes.size(), 5u);
    EXPECT_TRUE(HasNote(report, "\"Baud In1\" = \"9\" is not a number from 0 to 5: the default 0 is used"));
    EXPECT_TRUE(HasNote(report, "\"Talker ID2\" = \"G*\" cannot go into a sentence"));
}

TEST(ConfigFile, TablesKeepTheirLimitsAndSayWhatWasLeftOut) {
    TTempDir dir;
    std::string text = "[Configuration]\r\n[Routing]\r\n";
    for (unsigned i = 1; i <= 60; ++i)
        text += Row("R" + test::Digits(i, 2), "GP" + test::Digits(i, 3) + ",01,00,20,0");
    text += "[ModBus]\r\n";
    for (unsigned i = 1; i <= 31; ++i)
        text += Row("R" + std::to_string(i), std::to_string(i) + ",1,H,I,0,0,C,C,ID");
    text += "[AIS MOB]\r\n";
    for (unsigned i = 1; i <= 9; ++i)
        text += Row("R" + std::to_string(i), "97200000" + std::to_string(i));
    WriteBytes(dir.Path("big.ini"), text);
    TMuxConfig config;
    const TLoadReport report = config.Load(dir.Path("big.ini"));
    EXPECT_EQ(config.RoutingTable.size(), 50u);
    EXPECT_EQ(config.RoutingTable.back()->Address, "GP050");
    EXPECT_EQ(config.ModbusTable.size(), 30u);
    EXPECT_EQ(config.MOBTable.size(), 8u);
    EXPECT_TRUE(HasNote(report, "[Routing]: the table holds 50 entries; 10 more rows were left out"));
    EXPECT_TRUE(HasNote(report, "[ModBus]: the table holds 30 entries; 1 more rows were left out"));
    EXPECT_TRUE(HasNote(report, "[AIS MOB]: the table holds 8 entries; 1 more rows were left out"));
}

TEST(ConfigFile, UnfitRowsAreLeftOutAndNamedWhileTheOthersLoadInOrder) {
    TTempDir dir;
    WriteBytes(dir.Path("rows.ini"),
               "[Configuration]\r\n[Routing]\r\nR01=GPRMC,21,00,30,0\r\nR02=\"GP*MC\",21,00,30,0\r\n"
               "R03=GPGGA,21,00,30,0\r\n[ModBus]\r\nR1=1,100,H,I,0,1,,C,ID\r\n");
    TMuxConfig config;
    int routingNotes = 0;
    config.OnRoutingChange = [&] { ++routingNotes; };
    const TLoadReport report = config.Load(dir.Path("rows.ini"));
    ASSERT_EQ(config.RoutingTable.size(), 2u);
    EXPECT_EQ(config.RoutingTable[1]->Address, "GPGGA");
    EXPECT_TRUE(config.ModbusTable.empty());
    EXPECT_TRUE(HasNote(report, "[Routing] R02 left out"));
    EXPECT_TRUE(HasNote(report, "[ModBus] R1 left out"));
    EXPECT_EQ(routingNotes, 2); // the clear, then once after the rows
}

TEST(ConfigFile, AnInterruptedSaveLeavesThePreviousFileByteIdentical) {
    TTempDir dir;
    const std::string path = dir.Path("boat.ini");
    const std::string previous = "[Configuration]\nBaud In1=2\n; mine\n";
    WriteBytes(path, previous);
    TMuxConfig config;
    test::FillFullConfig(config);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 1000;
    ::setrlimit(RLIMIT_FSIZE, &small);
    EXPECT_THROW(SaveTo(config, path), EFileError);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(ReadBytes(path), previous);
    EXPECT_EQ(dir.FileCount(), 1u);
}

TEST(ConfigFile, AnEmptyFileNameSavesNothing) {
    TMuxConfig config;
    EXPECT_NO_THROW(config.Save("", kApp, "", "", ""));
}
