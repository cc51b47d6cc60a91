#include "ConfigFixture.h"
#include "model/FullConfig.h"

using namespace kvl;
using namespace kvl::test;

namespace {

class WriteAllTest : public ConfigTest {
protected:
    // A fresh device with factory settings, read once so that the link, the
    // capabilities and the firmware are known.
    void ConnectToFreshDevice(const std::string& caps) {
        sim::DeviceConfig factory = sim::FactoryConfig("FRESH");
        ReadFrom(factory, caps);
        ASSERT_TRUE(WaitUntil([&] { return Enabled("cbBaudIn2"); }));
        Mark = Sim->ReceivedCount();
    }
    std::vector<std::string> SentSinceMark() {
        const auto lines = Sim->ReceivedLines();
        return {lines.begin() + static_cast<std::ptrdiff_t>(Mark), lines.end()};
    }
    std::size_t Mark = 0;
};

} // namespace

TEST_F(WriteAllTest, DeviceEqualsTheModelAfterAWriteOfAll) {
    ConnectToFreshDevice("A010");
    FillFullConfig(Form->Config(), TFill::Writable); // as a loaded file leaves it
    Form->WriteAllSettings();
    EXPECT_TRUE(TestDialogs().Messages.isEmpty()) << TestDialogs().Messages.join("|").toStdString();

    const TMuxConfig& m = Form->Config();
    const sim::DeviceConfig d = Sim->Config();
    EXPECT_EQ(d.prioTimeout, m.PrioTimeout);
    EXPECT_EQ(d.baud, (std::array<std::uint8_t, 5>{1, 2, 4, 5, 0}));
    EXPECT_EQ(d.talkerId, (std::array<std::string, 5>{"GP", "", "S3", "II", "YX"}));
    EXPECT_EQ(d.uid, m.UID);
    EXPECT_EQ(d.defRouteOut1, m.DefRouteOut1);
    EXPECT_EQ(d.modeOut1, m.ModeOut1);
    EXPECT_EQ(d.defRouteOut2, m.DefRouteOut2);
    EXPECT_EQ(d.modeOut2, m.ModeOut2);
    EXPECT_EQ(d.modeIn, (std::array<std::uint8_t, 4>{7, 1, 3, 5}));
    EXPECT_EQ(d.priority, (std::array<std::uint8_t, 5>{10, 0, 3, 2, 6}));
    EXPECT_EQ(d.options, m.Options);
    EXPECT_EQ(d.conversions, m.Conversions);
    EXPECT_EQ(d.n2kOptions, m.N2kOptions);
    EXPECT_EQ(d.modbusMode, m.ModbusMode);
    EXPECT_EQ(d.modbusXdrInterval, m.ModbusXdrInterval);
    EXPECT_EQ(d.modbusPollInterval, m.ModbusPollInterval);
    EXPECT_EQ(d.deviceFunction, (std::array<std::uint8_t, 6>{1, 33, 21, 0, 2, 18}));
    EXPECT_EQ(d.deviceInstance, (std::array<std::uint8_t, 6>{255, 1, 2, 3, 4, 5}));
    EXPECT_EQ(d.dataSource[0], (sim::DataSource{'1', 0}));
    EXPECT_EQ(d.dataSource[1], (sim::DataSource{'N', 0x1122334455667788ull}));
    EXPECT_EQ(d.dataSource[2].type, '0');
    // The write ends with the controls alive and showing the model.
    EXPECT_TRUE(Enabled("cbBaudIn2"));
    EXPECT_EQ(Text("edtUniqueID"), "BOAT12");
}

TEST_F(WriteAllTest, OrderOfTheSentencesAndNoNmea2000WithoutIt) {
    ConnectToFreshDevice("A000");
    FillFullConfig(Form->Config(), TFill::Writable); // as a loaded file leaves it
    Form->Config().ModeIn1 = 6;                      // without NMEA 2000 input 1 knows no SeaTalk-STNG
    Form->Config().PrioIn1 = Form->Config().PrioIn2 = Form->Config().PrioIn3 = Form->Config().PrioIn4 = 4;
    Form->WriteAllSettings();
    std::vector<std::string> addresses;
    for (const std::string& line : SentSinceMark())
        if (line.rfind("$PQZXCF,A", 0) != 0)
            addresses.push_back(line.substr(0, line.find(',', line.find(',') + 1)));
    EXPECT_EQ(addresses,
              (std::vector<std::string>{"$PQZXCF,C", "$PQZXSP,C", "$PQZXID,C", "$PQZXUI,C", "$PQZXDR,C",
                                        "$PQZXIN,C", "$PQZXPR,C", "$PQZXOP,C", "$PQZXCNV,C",
                                        // mode, slave address, intervals
                                        "$PQZXMB,C", "$PQZXMB,C", "$PQZXMB,C",
                                        // the three tables' stores, empty: their DELETEs alone
                                        "$PQZXRTE,C", "$PQZXMB,C", "$PQZXMOB,C", "$PQZXDS,C", "$PQZXDS,C",
                                        "$PQZXDS,C"}));
}

TEST_F(WriteAllTest, TalkerIdFromAFileIsCheckedBeforeAnythingIsSent) {
    ConnectToFreshDevice("A010");
    FillFullConfig(Form->Config(), TFill::Writable); // as a loaded file leaves it
    Form->Config().TalkID3 = "G,";
    Form->WriteAllSettings();
    EXPECT_EQ(TestDialogs().Messages, QStringList{"Illegal character in Talker ID"});
    QTest::qWait(100);
    for (const std::string& line : SentSinceMark())
        EXPECT_EQ(line.rfind("$PQZXCF,A", 0), 0u) << line;
    Form->Config().TalkID3 = "";
    Form->Config().UID = "TOO*LONG";
    Form->WriteAllSettings();
    EXPECT_EQ(TestDialogs().Messages.last(), "The Unique ID must be up to 12 letters or digits");
}

TEST_F(WriteAllTest, TimeOutSkipsTheRestAndEnablesTheControlsAgain) {
    auto options = Quiet();
    options.initialConfig = sim::FactoryConfig("FRESH");
    options.silent = {"IN"};
    StartSimulator(options);
    CreateForm();
    ConnectAndClearView();
    ASSERT_TRUE(WaitUntil([&] { return Enabled("cbBaudIn2"); }));
    Mark = Sim->ReceivedCount();
    FillFullConfig(Form->Config(), TFill::Writable); // as a loaded file leaves it
    Form->WriteAllSettings();
    EXPECT_EQ(TestDialogs().Messages, QStringList{"Multiplexer does not respond"});
    for (const std::string& line : SentSinceMark())
        EXPECT_NE(line.rfind("$PQZXPR", 0), 0u) << "nothing after the unanswered IN";
    EXPECT_TRUE(Enabled("cbBaudIn2"));
}

TEST_F(WriteAllTest, WithoutAValidCapabilityWordTheModelStaysLocal) {
    auto options = Quiet();
    options.identity.caps = "8010";
    StartSimulator(options);
    CreateForm();
    ConnectAndClearView();
    Mark = Sim->ReceivedCount();
    FillFullConfig(Form->Config(), TFill::Writable); // as a loaded file leaves it
    Form->WriteAllSettings();
    EXPECT_EQ(TestDialogs().Messages.last(),
              "The capabilities of the multiplexer are unknown: nothing was written.");
    QTest::qWait(100);
    for (const std::string& line : SentSinceMark())
        EXPECT_EQ(line.rfind("$PQZXCF,A", 0), 0u) << line;
    EXPECT_FALSE(Enabled("cbBaudIn2"));
    EXPECT_EQ(Form->Config().UID, "BOAT12");
}

TEST_F(WriteAllTest, WhatTheDeviceReportedGoesBackUnchanged) {
    sim::DeviceConfig reported = sim::FactoryConfig("KVL-1");
    reported.talkerId = {"g", "", "PX", "", ""};
    ReadFrom(reported, "A010");
    ASSERT_TRUE(WaitUntil([&] { return Enabled("cbBaudIn2"); }));
    Mark = Sim->ReceivedCount();
    Form->WriteAllSettings();
    EXPECT_TRUE(TestDialogs().Messages.isEmpty()) << TestDialogs().Messages.join("|").toStdString();
    const auto sent = SentSinceMark();
    EXPECT_NE(std::find(sent.begin(), sent.end(), "$PQZXID,C,g,,PX,,*22"), sent.end());
    EXPECT_NE(std::find(sent.begin(), sent.end(), "$PQZXUI,C,KVL-1*11"), sent.end());
}
