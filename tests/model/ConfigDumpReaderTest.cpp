#include "model/ConfigDumpReader.h"

#include <gtest/gtest.h>

using namespace kvl;

namespace {

using TState = TConfigDumpReader::TState;

TEST(ConfigDumpReader, AsksForTheConfigurationOnceTheVersionIsUnderstoodAndEndsAtReady) {
    TMuxConfig config;
    TConfigDumpReader reader(config);
    EXPECT_EQ(reader.Take("$PQZXSP,R,1,1,1,1,1"), ""); // not yet asked for
    EXPECT_EQ(reader.Take("$PQZXVER,3.29.0,Korvelan-3,12345,A010"), "$PQZXCFQ");
    EXPECT_EQ(reader.State(), TState::AwaitDump);
    EXPECT_EQ(reader.Capabilities(), 0xA010);
    EXPECT_EQ(reader.Device(), "Korvelan-3");
    EXPECT_EQ(reader.Take("$PQZXSP,R,2,3,4,5,1"), "");
    EXPECT_EQ(reader.Take("$PQZXNA,R,1,2,3,4,5,-"), "");
    EXPECT_EQ(reader.Take("$PQZXRDY"), "");
    EXPECT_EQ(reader.State(), TState::Done);
    EXPECT_EQ(reader.Take("$PQZXSP,R,0,0,0,0,0"), ""); // after the dump: not read
    EXPECT_EQ(config.BaudIn1, 2u);
    EXPECT_EQ(config.BaudOut2, 1u);
    EXPECT_EQ(config.SAConv, 255u);
}

TEST(ConfigDumpReader, FailsWithTheWindowsWords) {
    struct TCase {
        std::vector<std::string> Lines;
        std::string Error;
    };
    const TCase cases[] = {
        {{"$PQZXVER,3.29.0,K3,1,8010"},
         "This version of KVLConfig does not support the connected multiplexer."},
        {{"$PQZXVER,3.29.0,K3,1,A01"}, "Unable to read Korvelan capabilities!"},
        {{"$PQZXVER,3.29.0,K3,1,XY10"}, "Unable to read Korvelan capabilities!"},
        {{"$PQZXVER,3.28.9.,K3,1,A010"}, "The firmware of the multiplexer is too old: 3.28.9."},
        {{"$PQZXVER,3.29.0,K3"}, "Missing field in sentence: $PQZXVER,3.29.0,K3"},
        {{"$PQZXVER,3.29.0.,K3,1,A000", "$PQZXSP,R,1,1"}, "Missing field in sentence: $PQZXSP,R,1,1"},
        {{"$PQZXVER,3.29.0.,K3,1,A000", "$PQZXOP,R,XYZ"}, "Number error in sentence: $PQZXOP,R,XYZ"},
        {{"$PQZXVER,3.29.0.,K3,1,A000", "$PQZXDS,R,1,"}, "field size error in sentence: $PQZXDS,R,1,"},
    };
    for (const TCase& c : cases) {
        TMuxConfig config;
        TConfigDumpReader reader(config);
        for (const std::string& line : c.Lines)
            reader.Take(line);
        EXPECT_EQ(reader.State(), TState::Failed) << c.Lines.back();
        EXPECT_EQ(reader.Error(), c.Error);
        EXPECT_EQ(reader.Take("$PQZXRDY"), "");
        EXPECT_EQ(reader.State(), TState::Failed);
    }
}

} // namespace
