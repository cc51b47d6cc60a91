#include "ConfigFixture.h"
#include "SentenceFrame.h"

#include <QAction>
#include <QLabel>

using namespace kvl;
using namespace kvl::test;

namespace {

// The checksum a device expects, computed here independently of the tool.
std::string Framed(const std::string& body) {
    unsigned sum = 0;
    for (std::size_t i = 1; i < body.size(); ++i)
        sum ^= static_cast<unsigned char>(body[i]);
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02X", sum);
    return body + "*" + digits;
}

class ConfigEditTest : public ConfigTest {
protected:
    void SetUp() override {
        ConfigTest::SetUp();
        ReadFrom(Distinctive());
        ASSERT_TRUE(WaitUntil([&] { return Enabled("cbBaudIn2"); }));
        Mark = Sim->ReceivedCount();
    }

    // What the user does, as the controls see it.
    void Choose(const char* name, int index) {
        auto* combo = Control<QComboBox>(name);
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
    void Toggle(const char* name) { Control<QCheckBox>(name)->click(); }
    void Enter(const char* name, const QString& text) {
        auto* edit = Control<QLineEdit>(name);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }

    // The next line the device received with this address, as bytes on the wire.
    std::optional<std::string> Sent(const std::string& address) {
        auto line = SimReceived(address + ",", Mark);
        Mark = Sim->ReceivedCount();
        return line;
    }
    // Nothing with this address reached the device since the last look.
    bool NothingSent(const std::string& address) {
        QTest::qWait(150);
        const auto lines = Sim->ReceivedLines();
        for (std::size_t i = Mark; i < lines.size(); ++i)
            if (lines[i].rfind(address, 0) == 0)
                return false;
        return true;
    }

    std::size_t Mark = 0;
};

} // namespace

TEST_F(ConfigEditTest, SpeedOfInput4AndOutput1MoveTogether) {
    Choose("cbBaudIn4", 3);
    EXPECT_EQ(Index("cbBaudOut1"), 3);
    EXPECT_EQ(Sent("$PQZXSP"), Framed("$PQZXSP,C,1,2,4,3,3"));
    Choose("cbBaudOut1", 0);
    EXPECT_EQ(Index("cbBaudIn4"), 0);
    EXPECT_EQ(Sent("$PQZXSP"), Framed("$PQZXSP,C,1,2,4,0,3"));
    EXPECT_EQ(Sim->Config().baud, (std::array<std::uint8_t, 5>{1, 2, 4, 0, 3}));
    EXPECT_TRUE(TestDialogs().Messages.isEmpty()) << TestDialogs().Messages.join("|").toStdString();
}

TEST_F(ConfigEditTest, PrioritiesAndTimeOut) {
    Choose("cbPrioIn3", 7);
    EXPECT_EQ(Sent("$PQZXPR"), Framed("$PQZXPR,C,1,6,7,10,6"));
    Choose("cbPrioTimeout", 0);
    EXPECT_EQ(Sent("$PQZXCF"), Framed("$PQZXCF,C,3,0"));
    EXPECT_EQ(Sim->Config().prioTimeout, 0);
}

TEST_F(ConfigEditTest, OptionWordsOneHandlerPerWord) {
    const std::uint32_t options = Form->Config().Options;
    Toggle("chbHiSpeed");
    char expected[32];
    std::snprintf(expected, sizeof expected, "$PQZXOP,C,%08X", options | (1u << 17));
    EXPECT_EQ(Sent("$PQZXOP"), Framed(expected));
    Toggle("chbOptTAGBlocks"); // clears bit 5
    std::snprintf(expected, sizeof expected, "$PQZXOP,C,%08X", (options | (1u << 17)) & ~(1u << 5));
    EXPECT_EQ(Sent("$PQZXOP"), Framed(expected));

    Toggle("chbCnvWindDir");
    EXPECT_EQ(Sent("$PQZXCNV"), Framed("$PQZXCNV,C,00101033"));
    Toggle("chbTxGGA");
    EXPECT_EQ(Sent("$PQZXNO"), Framed("$PQZXNO,C,80022603"));
    Choose("cbDepth", 0); // "DPT" clears bit 10
    EXPECT_EQ(Sent("$PQZXNO"), Framed("$PQZXNO,C,80022203"));
    Toggle("chbConvUnknownPGNs");
    EXPECT_EQ(Sent("$PQZXNO"), Framed("$PQZXNO,C,C0022203"));
    Choose("cbTrueWind", 1); // "SOG" sets bit 15 of the option word
    EXPECT_EQ(Form->Config().Options & (1u << 15), 1u << 15);
    EXPECT_TRUE(Sent("$PQZXOP"));
    EXPECT_EQ(Sim->Config().n2kOptions, 0xC0022203u);
    EXPECT_EQ(Sim->Config().conversions, 0x00101033u);
}

TEST_F(ConfigEditTest, AisMobAlarmTurnsInput4IntoTheMuteInput) {
    Toggle("chbOptAISMobAlarm");
    ASSERT_TRUE(Sent("$PQZXOP"));
    EXPECT_TRUE(Shown("lblAISMobEnabled"));
    EXPECT_FALSE(Shown("cbBaudIn4"));
    EXPECT_TRUE(Sim->Config().options & (1u << 9));
}

TEST_F(ConfigEditTest, DefaultRoutesAndHostDataGoInOneSentence) {
    Toggle("chbRouteIn4Out1"); // adds bit 3 to 0x85
    EXPECT_EQ(Sent("$PQZXDR"), Framed("$PQZXDR,C,8D,1,12,2"));
    Choose("cbModeOut1", 2);
    EXPECT_EQ(Sent("$PQZXDR"), Framed("$PQZXDR,C,8D,2,12,2"));
    EXPECT_EQ(Sim->Config().defRouteOut1, 0x8D);
    EXPECT_EQ(Sim->Config().modeOut1, 2);
}

TEST_F(ConfigEditTest, InputModeSeaTalkSetsTheOptionBitOnlyInTheModel) {
    const std::uint32_t options = Form->Config().Options;
    Choose("cbModeIn1", 6);
    EXPECT_EQ(Sent("$PQZXIN"), Framed("$PQZXIN,C,6,1,3,4"));
    EXPECT_EQ(Form->Config().Options, options | 2u);
    EXPECT_TRUE(NothingSent("$PQZXOP"));
    EXPECT_FALSE(Enabled("cbBaudIn1")); // SeaTalk fixes the speed
}

TEST_F(ConfigEditTest, DeviceTypesInstancesAndAddresses) {
    Choose("cbDevFuncConv", 19);
    EXPECT_EQ(Sent("$PQZXNF"), Framed("$PQZXNF,C,1,4,33,0,21,19"));
    Enter("edtDIIn1", "42");
    EXPECT_EQ(Sent("$PQZXND"), Framed("$PQZXND,C,0,42,2,3,200,255"));
    // The input 2 field shows "n/a": no number, nothing sent.
    Enter("edtSAIn1", "252");
    EXPECT_EQ(TestDialogs().Messages.size(), 1);
    EXPECT_TRUE(NothingSent("$PQZXNA"));
    TestDialogs().Reset();
    Enter("edtSAIn2", "20");
    // 252 is beyond the addresses: input 1 keeps 11.
    EXPECT_EQ(Sent("$PQZXNA"), Framed("$PQZXNA,C,10,11,20,13,14,251"));
    EXPECT_EQ(Sim->Config().deviceInstance[1], 42);
    EXPECT_EQ(Sim->Config().sourceAddress[2], 20);
}

TEST_F(ConfigEditTest, TalkerIdsAreCheckedBeforeAnythingIsSent) {
    Enter("edtTalkID1", "GP");
    EXPECT_EQ(Sent("$PQZXID"), Framed("$PQZXID,C,GP,II,,AB,YX"));
    auto* id4 = Control<QLineEdit>("edtTalkID4");
    Control<QLineEdit>("edtTalkID3")->setText("");
    id4->setText("P1");
    Control<QLineEdit>("edtTalkID1")->setText("GN");
    Enter("edtTalkIDConv", "AB");
    EXPECT_EQ(TestDialogs().Messages, QStringList{"A Talker ID cannot start with a 'P'"});
    EXPECT_EQ(id4->palette().color(QPalette::Base), QColor(Qt::red));
    EXPECT_EQ(Form->Config().TalkID1, "GN"); // the fields before the bad one are stored
    EXPECT_EQ(Form->Config().TalkID4, "AB");
    EXPECT_TRUE(NothingSent("$PQZXID"));
    TestDialogs().Reset();
    id4->setText("Q");
    QTest::keyClick(id4, Qt::Key_Return);
    EXPECT_EQ(TestDialogs().Messages, QStringList{"Illegal character in Talker ID"});
}

TEST_F(ConfigEditTest, TypedTalkerIdTurnsUpperCaseAndYellowUntilSent) {
    auto* id2 = Control<QLineEdit>("edtTalkID2");
    id2->setFocus();
    id2->selectAll();
    QTest::keyClick(id2, Qt::Key_Backspace);
    QTest::keyClicks(id2, "ec");
    EXPECT_EQ(id2->text(), "EC");
    EXPECT_EQ(id2->palette().color(QPalette::Base), QColor(Qt::yellow));
    QTest::keyClick(id2, Qt::Key_Return);
    EXPECT_EQ(Sent("$PQZXID"), Framed("$PQZXID,C,GP,EC,,AB,YX"));
    EXPECT_NE(id2->palette().color(QPalette::Base), QColor(Qt::yellow));
}

TEST_F(ConfigEditTest, UniqueIdAndModbusSettings) {
    Enter("edtUniqueID", "NEWID7");
    EXPECT_EQ(Sent("$PQZXUI"), Framed("$PQZXUI,C,NEWID7"));
    EXPECT_EQ(Sim->Config().uid, "NEWID7");

    Enter("edtMbSlaveAddr", "248");
    EXPECT_EQ(TestDialogs().Messages, QStringList{"Invalid slave address (1-247)"});
    Enter("edtMbSlaveAddr", "247");
    EXPECT_EQ(Sent("$PQZXMB"), Framed("$PQZXMB,C,S,247"));
    TestDialogs().Reset();
    Control<QLineEdit>("edtMbPollIntvl")->setText("20");
    Enter("edtMbXdrIntvl", "70000");
    EXPECT_EQ(TestDialogs().Messages, QStringList{"Invalid XDR interval (1-65535)"});
    TestDialogs().Reset();
    Control<QLineEdit>("edtMbPollIntvl")->setText("0");
    Enter("edtMbXdrIntvl", "500");
    EXPECT_EQ(TestDialogs().Messages, QStringList{"Invalid poll interval (1-255)"});
    EXPECT_TRUE(NothingSent("$PQZXMB"));
    Control<QLineEdit>("edtMbPollIntvl")->setText("20");
    Enter("edtMbXdrIntvl", "500");
    EXPECT_EQ(Sent("$PQZXMB"), Framed("$PQZXMB,C,R,500,20"));
    Choose("cbModbusMode", 0);
    EXPECT_EQ(Sent("$PQZXMB"), Framed("$PQZXMB,C,M,0"));
    EXPECT_FALSE(Shown("edtMbSlaveAddr"));
    EXPECT_TRUE(Shown("cbModeOut2")); // output 2 is an NMEA output again
    const sim::DeviceConfig device = Sim->Config();
    EXPECT_EQ(device.modbusMode, 0);
    EXPECT_EQ(device.modbusSlaveAddress, 247);
    EXPECT_EQ(device.modbusXdrInterval, 500);
    EXPECT_EQ(device.modbusPollInterval, 20);
}

TEST_F(ConfigEditTest, DataSources) {
    Choose("cbRotWindSrc", 3);
    EXPECT_EQ(Sent("$PQZXDS"), Framed("$PQZXDS,C,2,3"));
    Choose("cbPrimHdgSrc", 5); // "N" without a device: nothing to send yet
    EXPECT_TRUE(NothingSent("$PQZXDS"));
    EXPECT_TRUE(Shown("lblN2kPrimHdgSrc"));
    EXPECT_EQ(Control<QLabel>("lblN2kPrimHdgSrc")->text(), "<Click>");
    Choose("cbRotHdgSrc", 0);
    EXPECT_EQ(Sent("$PQZXDS"), Framed("$PQZXDS,C,1"));
    Choose("cbRotHdgSrc", 5); // the NAME stays with the entry
    EXPECT_EQ(Sent("$PQZXDS"), Framed("$PQZXDS,C,1,N,00A1B2C3D4E5F607"));
}

TEST_F(ConfigEditTest, EditsSurviveAFreshRead) {
    Choose("cbBaudIn2", 5);
    ASSERT_TRUE(Sent("$PQZXSP"));
    Toggle("chbCnvVWRtoMWV");
    ASSERT_TRUE(Sent("$PQZXCNV"));
    Enter("edtTalkIDConv", "ZZ");
    ASSERT_TRUE(Sent("$PQZXID"));
    Click("btnReadConfig");
    ASSERT_TRUE(WaitUntil([&] { return Form->GetRXState() == TRXState::stNormal && Enabled("cbBaudIn2"); }));
    EXPECT_EQ(Index("cbBaudIn2"), 5);
    EXPECT_TRUE(Checked("chbCnvVWRtoMWV"));
    EXPECT_EQ(Text("edtTalkIDConv"), "ZZ");
}

TEST_F(ConfigEditTest, FactoryResetAsksAndReadsAgainWhateverTheAnswer) {
    auto* reset = Form->findChild<QAction*>("miResetFactorySettings");
    ASSERT_TRUE(reset->isEnabled());
    TestDialogs().ConfirmAnswers = {false};
    reset->trigger();
    EXPECT_EQ(
        TestDialogs().Questions,
        QStringList{
            "This will restore the factory settings\rof the multiplexer. Do you really want to proceed?"});
    EXPECT_TRUE(NothingSent("$PQZXRESET"));
    EXPECT_TRUE(SimReceived("$PQZXVER", Mark));
    ASSERT_TRUE(WaitUntil([&] { return Form->GetRXState() == TRXState::stNormal && Enabled("cbBaudIn2"); }));

    Mark = Sim->ReceivedCount();
    TestDialogs().ConfirmAnswers = {true};
    reset->trigger();
    EXPECT_EQ(SimReceived("$PQZXRESET", Mark), Framed("$PQZXRESET,1"));
    ASSERT_TRUE(WaitUntil([&] { return Form->GetRXState() == TRXState::stNormal && Enabled("cbBaudIn2"); }));
    EXPECT_EQ(Text("edtUniqueID"), "BOAT42"); // the factory ID of this device
    EXPECT_EQ(Index("cbBaudIn2"), 0);
    EXPECT_EQ(Control<QComboBox>("cbPrioTimeout")->currentText(), "5 sec.");
}

TEST_F(MainFormTest, SilentDeviceGivesTheTimeOutAndKeepsTheNewValue) {
    auto options = Quiet();
    options.initialConfig = Distinctive();
    options.silent = {"SP"};
    StartSimulator(options);
    CreateForm();
    ConnectAndClearView();
    auto* speed = Form->findChild<QComboBox*>("cbBaudIn3");
    ASSERT_TRUE(speed->isEnabled());
    speed->setCurrentIndex(0);
    emit speed->activated(0);
    EXPECT_EQ(TestDialogs().Messages, QStringList{"Multiplexer does not respond"});
    EXPECT_EQ(Form->Config().BaudIn3, 0u);
    EXPECT_EQ(speed->currentIndex(), 0);
    EXPECT_EQ(Form->WaitForResponse(), TPQZXCmd::PQZXNone);
    EXPECT_TRUE(speed->isEnabled());
}

// Every option check box of the three words, clicked once: the sentence carries
// the word with exactly that box's bit changed.
TEST_F(ConfigEditTest, EachOptionCheckBoxChangesItsOwnBit) {
    struct TBox {
        const char* Name;
        const char* Address;
        unsigned Bit;
    };
    const TBox boxes[] = {
        {"chbNmeaV15", "$PQZXOP", 6},
        {"chbNoDiv", "$PQZXOP", 11},
        {"chbPrioGPSStatus", "$PQZXOP", 3},
        {"chbOptNoPinning", "$PQZXOP", 4},
        {"chbOptTAGBlocks", "$PQZXOP", 5},
        {"chbOptRawST", "$PQZXOP", 2},
        {"chbOptAIStoGNSS", "$PQZXOP", 12},
        {"chbOptStDepthM", "$PQZXOP", 10},
        {"chbIntVariation", "$PQZXOP", 16},
        {"chbHiSpeed", "$PQZXOP", 17},
        {"chbOptAutoReverse", "$PQZXOP", 18},
        {"chbCnvHDGConv", "$PQZXCNV", 0},
        {"chbCnvRevHdng", "$PQZXCNV", 1},
        {"chbCnvCOGtoHDT", "$PQZXCNV", 2},
        {"chbCnvVWRtoMWV", "$PQZXCNV", 3},
        {"chbCnvReltoTheorWind", "$PQZXCNV", 4},
        {"chbCnvWindDir", "$PQZXCNV", 5},
        {"chbCnvRevWind", "$PQZXCNV", 6},
        {"chbCnvVTGConv", "$PQZXCNV", 7},
        {"chbCnvVHWConv", "$PQZXCNV", 8},
        {"chbCnvRevSpeed", "$PQZXCNV", 9},
        {"chbCnvHDGInVHW", "$PQZXCNV", 10},
        // Before "TLL to WPL" is cleared, which disables it.
        {"chbCnvTLLtoPGN130074", "$PQZXNO", 17},
        {"chbCnvHDTtoTHS", "$PQZXCNV", 11},
        {"chbCnvTLLtoWPL", "$PQZXCNV", 12},
        {"chbTxRMC", "$PQZXNO", 0},
        {"chbTxGGA", "$PQZXNO", 1},
        {"chbTxGLL", "$PQZXNO", 2},
        {"chbTxVTG", "$PQZXNO", 3},
        {"chbTxGSx", "$PQZXNO", 4},
        {"chbTxRMB", "$PQZXNO", 5},
        {"chbTxAPB", "$PQZXNO", 6},
        {"chbTxXTE", "$PQZXNO", 7},
        {"chbTxBWX", "$PQZXNO", 8},
        {"chbTxZDA", "$PQZXNO", 9},
        {"chbGNSS10Hz", "$PQZXNO", 11},
        {"chbTxZTG", "$PQZXNO", 13},
        {"chbSpeed10Hz", "$PQZXNO", 14},
        {"chbTxMDA", "$PQZXNO", 15},
        {"chbConvUnknownPGNs", "$PQZXNO", 30},
        {"chbConvAllPGNs", "$PQZXNO", 31},
    };
    for (const TBox& box : boxes) {
        const std::string address = box.Address;
        const TMuxConfig& m = Form->Config();
        const std::uint32_t before = address == "$PQZXOP"    ? m.Options
                                     : address == "$PQZXCNV" ? m.Conversions
                                                             : m.N2kOptions;
        ASSERT_TRUE(Enabled(box.Name)) << box.Name;
        Toggle(box.Name);
        char expected[40];
        std::snprintf(expected, sizeof expected, "%s,C,%08X", box.Address, before ^ (1u << box.Bit));
        EXPECT_EQ(Sent(address), Framed(expected)) << box.Name;
    }
    EXPECT_TRUE(TestDialogs().Messages.isEmpty()) << TestDialogs().Messages.join("|").toStdString();
}

// Every selector and default-route box, one after the other: each edit sends the
// whole sentence of its setting with the earlier edits in it.
TEST_F(ConfigEditTest, EachSelectorAndRouteBoxSendsItsWholeSentence) {
    struct TChoice {
        const char* Name;
        int Index; // -1: a check box, clicked
        const char* Body;
    };
    const TChoice choices[] = {
        {"cbBaudIn1", 0, "$PQZXSP,C,0,2,4,5,3"},         {"cbBaudIn2", 1, "$PQZXSP,C,0,1,4,5,3"},
        {"cbBaudIn3", 2, "$PQZXSP,C,0,1,2,5,3"},         {"cbBaudOut2", 4, "$PQZXSP,C,0,1,2,5,4"},
        {"cbPrioIn1", 2, "$PQZXPR,C,2,6,0,10,6"},        {"cbPrioIn2", 3, "$PQZXPR,C,2,3,0,10,6"},
        {"cbPrioIn4", 5, "$PQZXPR,C,2,3,0,5,6"},         {"cbPrioN2K", 1, "$PQZXPR,C,2,3,0,5,1"},
        {"cbModeIn2", 0, "$PQZXIN,C,2,0,3,4"},           {"cbModeIn3", 5, "$PQZXIN,C,2,0,5,4"},
        {"cbModeIn4", 1, "$PQZXIN,C,2,0,5,1"},           {"cbModeOut2", 0, "$PQZXDR,C,85,1,12,0"},
        {"cbAttitude", 1, "$PQZXNO,C,80023601"},         {"cbTrueHeading", 1, "$PQZXNO,C,80033601"},
        {"cbDevFuncHost", 2, "$PQZXNF,C,2,4,33,0,21,7"}, {"cbDevFuncIn1", 5, "$PQZXNF,C,2,5,33,0,21,7"},
        {"cbDevFuncIn2", 0, "$PQZXNF,C,2,5,0,0,21,7"},   {"cbDevFuncIn3", 3, "$PQZXNF,C,2,5,0,3,21,7"},
        {"cbDevFuncIn4", 4, "$PQZXNF,C,2,5,0,3,4,7"},    {"chbRouteIn1Out1", -1, "$PQZXDR,C,84,1,12,0"},
        {"chbRouteIn2Out1", -1, "$PQZXDR,C,86,1,12,0"},  {"chbRouteIn3Out1", -1, "$PQZXDR,C,82,1,12,0"},
        {"chbRouteIn4Out1", -1, "$PQZXDR,C,8A,1,12,0"},  {"chbRouteConvOut1", -1, "$PQZXDR,C,9A,1,12,0"},
        {"chbRouteN2KOut1", -1, "$PQZXDR,C,1A,1,12,0"},  {"chbRouteIn1Out2", -1, "$PQZXDR,C,1A,1,13,0"},
        {"chbRouteIn2Out2", -1, "$PQZXDR,C,1A,1,11,0"},  {"chbRouteIn3Out2", -1, "$PQZXDR,C,1A,1,15,0"},
        {"chbRouteIn4Out2", -1, "$PQZXDR,C,1A,1,1D,0"},  {"chbRouteConvOut2", -1, "$PQZXDR,C,1A,1,0D,0"},
        {"chbRouteN2KOut2", -1, "$PQZXDR,C,1A,1,8D,0"},
    };
    for (const TChoice& choice : choices) {
        if (choice.Index < 0)
            Toggle(choice.Name);
        else
            Choose(choice.Name, choice.Index);
        const std::string body = choice.Body;
        EXPECT_EQ(Sent(body.substr(0, body.find(','))), Framed(body)) << choice.Name;
    }
    EXPECT_TRUE(TestDialogs().Messages.isEmpty()) << TestDialogs().Messages.join("|").toStdString();
    const sim::DeviceConfig device = Sim->Config();
    EXPECT_EQ(device.defRouteOut1, 0x1A);
    EXPECT_EQ(device.defRouteOut2, 0x8D);
    EXPECT_EQ(device.deviceFunction, (std::array<std::uint8_t, 6>{2, 5, 0, 3, 4, 7}));
}
