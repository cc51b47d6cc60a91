#include "model/IniFile.h"
#include "model/FileError.h"

#include "TempDir.h"

#include <gtest/gtest.h>

using namespace kvl;
using kvl::test::TTempDir;

namespace {

// Written by hand on Windows: CR LF, mixed case, blanks around "=", comments, a
// section of another program and a Latin-1 byte.
const std::string kHandWritten = "; backup of the boat's multiplexer\r\n"
                                 "[other program]\r\n"
                                 "Colour = Blue\xE9\r\n"
                                 "\r\n"
                                 "[configuration]\r\n"
                                 "  baud in1   =  2  \r\n"
                                 "; a note inside\r\n"
                                 "UNIQUE ID=Boat1\r\n"
                                 "[ROUTING]\r\n"
                                 "R01=GPRMC,21,00,30,0000000000000000\r\n";

} // namespace

TEST(IniFile, NamesMatchWithoutCaseAndValuesLoseTheirBlanks) {
    const TIniFile file(kHandWritten);
    EXPECT_EQ(file.Value("Configuration", "Baud In1"), "2");
    EXPECT_EQ(file.Value("CONFIGURATION", "unique id"), "Boat1");
    EXPECT_EQ(file.Value("Other Program", "colour"), "Blue\xE9");
    EXPECT_EQ(file.Value("Configuration", "Colour"), std::nullopt);
    EXPECT_TRUE(file.HasSection("routing"));
    EXPECT_FALSE(file.HasSection("ModBus"));
}

TEST(IniFile, UntouchedTextComesBackByteForByte) {
    const std::string mixedEndings = "[A]\nk=v\r\n; note\n[B]\r\nx = 1"; // LF, CR LF, no final line end
    EXPECT_EQ(TIniFile(kHandWritten).Text(), kHandWritten);
    EXPECT_EQ(TIniFile(mixedEndings).Text(), mixedEndings);
}

TEST(IniFile, RepeatedSectionsAndKeysGiveEveryLineInOrder) {
    const TIniFile file("[Routing]\r\nR1=a\r\nR1=b\r\n[X]\r\nR1=x\r\n[routing]\r\nR9=c\r\n");
    const TIniEntries expected{{"R1", "a"}, {"R1", "b"}, {"R9", "c"}};
    EXPECT_EQ(file.Entries("Routing"), expected);
    EXPECT_EQ(file.Value("Routing", "r1"), "b"); // the later line overrides the earlier
}

TEST(IniFile, ReplacingASectionKeepsOtherSectionsAndComments) {
    TIniFile file(kHandWritten);
    file.ReplaceSection("Configuration", {{"Baud In1", "3"}});
    file.RemoveSection("Routing");
    EXPECT_EQ(file.Text(), "; backup of the boat's multiplexer\r\n"
                           "[other program]\r\n"
                           "Colour = Blue\xE9\r\n"
                           "\r\n"
                           "[Configuration]\r\n"
                           "Baud In1=3\r\n"
                           "\r\n"
                           "; a note inside\r\n");
}

TEST(IniFile, ReplacingRemovesEveryOccurrenceAndWritesOneWhereTheFirstStood) {
    TIniFile file("[Routing]\r\nR1=a\r\n[X]\r\nk=1\r\n[ROUTING]\r\nR2=b\r\n");
    file.ReplaceSection("Routing", {{"R01", "new"}});
    EXPECT_EQ(file.Text(), "[Routing]\r\nR01=new\r\n\r\n[X]\r\nk=1\r\n");
}

TEST(IniFile, RewritingTheSameSectionsAgainChangesNothing) {
    TIniFile file(
        "; top\r\n[Routing]\r\nR1=a\r\n; mine\r\n\r\n[X]\r\nk=1\r\n[Configuration]\r\nBaud In1=1\r\n");
    const std::vector<std::string> ours = {"Configuration", "Routing"};
    const std::vector<TIniSection> sections = {{"Configuration", {{"Baud In1", "2"}}},
                                               {"Routing", {{"R01", "b"}}}};
    file.ReplaceSections(ours, sections);
    const std::string once = file.Text();
    EXPECT_EQ(once, "; top\r\n\r\n[Configuration]\r\nBaud In1=2\r\n\r\n[Routing]\r\nR01=b\r\n\r\n; "
                    "mine\r\n[X]\r\nk=1\r\n");
    TIniFile again(once);
    again.ReplaceSections(ours, sections);
    EXPECT_EQ(again.Text(), once);
}

TEST(IniFile, NewSectionsFollowTheLastLineAfterABlankLine) {
    TIniFile file("[X]\nk=1"); // no line end at the end
    file.ReplaceSection("Routing", {{"R01", "a"}, {"R02", "b"}});
    EXPECT_EQ(file.Text(), "[X]\nk=1\r\n\r\n[Routing]\r\nR01=a\r\nR02=b\r\n");
    TIniFile empty;
    empty.ReplaceSection("A", {{"k", "v"}});
    EXPECT_EQ(empty.Text(), "[A]\r\nk=v\r\n");
}

TEST(IniFile, AFileThatCannotBeReadRaisesAnErrorNamingIt) {
    TTempDir dir;
    const std::string missing = dir.Path("missing.ini");
    try {
        TIniFile::ReadFile(missing);
        FAIL() << "no error";
    } catch (const EFileError& error) {
        EXPECT_EQ(std::string(error.what()), "Unable to read " + missing + "\rNo such file or directory");
    }
    EXPECT_THROW(TIniFile::ReadFile(dir.Path("")), EFileError); // a folder
    EXPECT_EQ(TIniFile::ReadFileOrEmpty(missing).Text(), "");
}
