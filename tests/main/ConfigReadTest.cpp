#include "ConfigFixture.h"
#include "SentenceFrame.h"

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabWidget>

#include <unistd.h>

using namespace kvl;
using namespace kvl::test;

class ConfigReadTest : public ConfigTest {
protected:
    // Connects to a device that leaves the configuration query unanswered, so
    // that the test itself sends the dump the window reads.
    void AwaitDumpFromTheTest() {
        auto options = Quiet();
        options.silent = {"CFQ"};
        StartSimulator(options);
        CreateForm();
        ConnectTcp(Sim->TcpPort());
        ASSERT_TRUE(WaitUntil([&] { return Form->GetRXState() == TRXState::stGetConfig; }));
    }
};

TEST_F(ConfigReadTest, FullReadShowsTheDevicesConfigurationControlByControl) {
    ReadFrom(Distinctive());
    EXPECT_TRUE(TestDialogs().Messages.isEmpty()) << TestDialogs().Messages.join("|").toStdString();
    ASSERT_TRUE(SimReceived("$PQZXCFQ"));
    EXPECT_TRUE(Enabled("cbBaudIn2"));
    EXPECT_EQ(Form->StatusPanel(0), "Device: Korvelan-3N (simulator)");
    EXPECT_EQ(Form->StatusPanel(1), "Version: 3.30.2");
    EXPECT_EQ(Form->StatusPanel(2), "Serial: K3N-20417");

    // NMEA Inputs/Outputs
    EXPECT_EQ(Index("cbBaudIn1"), 1);
    EXPECT_EQ(Index("cbBaudIn2"), 2);
    EXPECT_EQ(Index("cbBaudIn3"), 4);
    EXPECT_EQ(Index("cbBaudIn4"), 5);
    EXPECT_EQ(Index("cbBaudOut1"), 5);
    EXPECT_EQ(Index("cbBaudOut2"), 3);
    EXPECT_EQ(Text("edtTalkID1"), "GP");
    EXPECT_EQ(Text("edtTalkID2"), "II");
    EXPECT_EQ(Text("edtTalkID3"), "");
    EXPECT_EQ(Text("edtTalkID4"), "AB");
    EXPECT_EQ(Text("edtTalkIDConv"), "YX");
    EXPECT_EQ(Index("cbModeIn1"), 2);
    EXPECT_EQ(Index("cbModeIn2"), 1);
    EXPECT_EQ(Index("cbModeIn3"), 3);
    EXPECT_EQ(Index("cbModeIn4"), 4);
    EXPECT_EQ(Index("cbPrioIn1"), 1);
    EXPECT_EQ(Index("cbPrioIn2"), 6);
    EXPECT_EQ(Index("cbPrioIn3"), 0);
    EXPECT_EQ(Index("cbPrioIn4"), 10);
    EXPECT_EQ(Control<QComboBox>("cbPrioIn4")->currentText(), "200");
    EXPECT_EQ(Control<QComboBox>("cbPrioN2K")->currentText(), "DI");
    EXPECT_EQ(Control<QComboBox>("cbPrioTimeout")->currentText(), "10 sec.");
    EXPECT_TRUE(Checked("chbRouteIn1Out1"));
    EXPECT_FALSE(Checked("chbRouteIn2Out1"));
    EXPECT_TRUE(Checked("chbRouteIn3Out1"));
    EXPECT_FALSE(Checked("chbRouteConvOut1"));
    EXPECT_TRUE(Checked("chbRouteN2KOut1"));
    EXPECT_TRUE(Checked("chbRouteIn2Out2"));
    EXPECT_TRUE(Checked("chbRouteConvOut2"));
    EXPECT_FALSE(Checked("chbRouteIn1Out2"));
    EXPECT_EQ(Control<QComboBox>("cbModeOut1")->currentText(), "Yes");
    EXPECT_EQ(Control<QComboBox>("cbModeOut2")->currentText(), "Override");
    EXPECT_TRUE(Checked("chbNmeaV15"));
    EXPECT_TRUE(Checked("chbNoDiv"));
    EXPECT_TRUE(Checked("chbPrioGPSStatus"));
    // Modbus slave on output 2 hides output 2's own settings.
    EXPECT_TRUE(Shown("lblModbus"));
    EXPECT_FALSE(Shown("cbModeOut2"));
    EXPECT_FALSE(Shown("chbRouteIn1Out2"));
    EXPECT_FALSE(Shown("chbRouteN2KOut2"));
    EXPECT_FALSE(Shown("lblAISMobEnabled"));

    // Options
    EXPECT_TRUE(Checked("chbOptRawST"));
    EXPECT_TRUE(Checked("chbOptTAGBlocks"));
    EXPECT_TRUE(Checked("chbIntVariation"));
    EXPECT_FALSE(Checked("chbOptAISMobAlarm"));
    EXPECT_FALSE(Checked("chbHiSpeed"));
    EXPECT_EQ(Control<QComboBox>("cbModbusMode")->currentText(), "Slave");
    EXPECT_TRUE(Shown("edtMbSlaveAddr"));
    EXPECT_EQ(Text("edtMbSlaveAddr"), "17");
    EXPECT_EQ(Text("edtUniqueID"), "BOAT42");
    EXPECT_EQ(Control<QGroupBox>("gbNmeaGen")->title(), "NMEA 0183 from NMEA 2000 and SeaTalk");
    EXPECT_EQ(Control<QCheckBox>("chbTxZDA")->text(), "ZDA/PGN 126992");
    EXPECT_TRUE(Checked("chbTxRMC"));
    EXPECT_TRUE(Checked("chbTxZDA"));
    EXPECT_TRUE(Checked("chbTxZTG"));
    EXPECT_FALSE(Checked("chbTxGGA"));
    EXPECT_EQ(Control<QComboBox>("cbDepth")->currentText(), "DBT");
    EXPECT_EQ(Control<QComboBox>("cbAttitude")->currentText(), "XDR");

    // Conversions
    EXPECT_TRUE(Checked("chbCnvHDGConv"));
    EXPECT_TRUE(Checked("chbCnvRevHdng"));
    EXPECT_TRUE(Checked("chbOptAutoReverse"));
    EXPECT_TRUE(Enabled("chbOptAutoReverse"));
    EXPECT_TRUE(Checked("chbCnvReltoTheorWind"));
    EXPECT_TRUE(Enabled("cbTrueWind"));
    EXPECT_EQ(Control<QComboBox>("cbTrueWind")->currentText(), "STW");
    EXPECT_TRUE(Checked("chbCnvTLLtoWPL"));
    EXPECT_TRUE(Shown("chbCnvTLLtoPGN130074"));
    EXPECT_TRUE(Checked("chbCnvTLLtoPGN130074"));
    EXPECT_EQ(Control<QComboBox>("cbPrimHdgSrc")->currentText(), "2");
    EXPECT_EQ(Control<QComboBox>("cbRotHdgSrc")->currentText(), "N");
    EXPECT_EQ(Control<QComboBox>("cbRotWindSrc")->currentText(), "--");
    EXPECT_FALSE(Shown("lblN2kPrimHdgSrc"));
    EXPECT_TRUE(Shown("lblN2kRotHdgSrc"));

    // NMEA 2000
    EXPECT_TRUE(TabShown("tabNMEA2000"));
    EXPECT_EQ(Control<QComboBox>("cbDevFuncHost")->currentText(), "PC Gateway");
    EXPECT_EQ(Control<QComboBox>("cbDevFuncIn2")->currentText(), "Wind/Pressure/Humidity");
    EXPECT_EQ(Control<QComboBox>("cbDevFuncIn4")->currentText(), "Ownship Position (GNSS)");
    EXPECT_EQ(Text("edtSAHost"), "10");
    EXPECT_EQ(Text("edtSAIn2"), "n/a");
    EXPECT_EQ(Text("edtSAConv"), "251");
    EXPECT_EQ(Text("edtDIIn4"), "200");
    EXPECT_EQ(Text("edtDIConv"), "255");
    EXPECT_TRUE(Checked("chbConvAllPGNs"));
    EXPECT_FALSE(Checked("chbConvUnknownPGNs"));
}

TEST_F(ConfigReadTest, ModelEqualsTheDeviceFieldByField) {
    const sim::DeviceConfig device = Distinctive();
    ReadFrom(device);
    const TMuxConfig& m = Form->Config();
    EXPECT_EQ(m.PrioTimeout, device.prioTimeout);
    EXPECT_EQ((std::array<std::uint32_t, 5>{m.BaudIn1, m.BaudIn2, m.BaudIn3, m.BaudIn4Out1, m.BaudOut2}),
              (std::array<std::uint32_t, 5>{1, 2, 4, 5, 3}));
    EXPECT_EQ((std::array<std::string, 5>{m.TalkID1, m.TalkID2, m.TalkID3, m.TalkID4, m.TalkIDConv}),
              device.talkerId);
    EXPECT_EQ(m.UID, device.uid);
    EXPECT_EQ(m.DefRouteOut1, device.defRouteOut1);
    EXPECT_EQ(m.DefRouteOut2, device.defRouteOut2);
    EXPECT_EQ(m.ModeOut1, device.modeOut1);
    EXPECT_EQ(m.ModeOut2, device.modeOut2);
    EXPECT_EQ(m.Options, device.options);
    EXPECT_EQ(m.Conversions, device.conversions);
    EXPECT_EQ(m.N2kOptions, device.n2kOptions);
    EXPECT_EQ(m.DevFuncIn2, 33u);
    EXPECT_EQ(m.SAIn2, 255u);
    EXPECT_EQ(m.DIIn4, 200u);
    EXPECT_EQ(m.DataSrcTable[1].Input, 'N');
    EXPECT_EQ(m.DataSrcTable[1].Name.N, 0x00A1B2C3D4E5F607ull);
    EXPECT_EQ(m.ModbusMode, 2u);
    EXPECT_EQ(m.ModbusSlvAddr, 17u);
    EXPECT_EQ(m.ModbusXdrInterval, device.modbusXdrInterval);
    EXPECT_EQ(m.ModbusPollInterval, device.modbusPollInterval);
}

TEST_F(ConfigReadTest, WithoutNmea2000TheSeaTalkRulesApply) {
    sim::DeviceConfig config = Distinctive();
    config.modeIn[0] = 2; // not SeaTalk
    config.priority = {1, 2, 3, 4, 0};
    config.options |= 1u << 9; // AIS MOB alarm: input 4 is the mute input
    config.modbusMode = 0;
    ReadFrom(config, "A000");
    EXPECT_FALSE(TabShown("tabNMEA2000"));
    EXPECT_EQ(Control<QComboBox>("cbModeIn1")->count(), 7);
    EXPECT_EQ(Control<QComboBox>("cbPrioIn1")->count(), 5);
    EXPECT_FALSE(Shown("lblN2KInput"));
    EXPECT_FALSE(Shown("cbPrioN2K"));
    EXPECT_FALSE(Shown("chbRouteN2KOut1"));
    EXPECT_FALSE(Shown("chbRouteN2KOut2"));
    EXPECT_EQ(Control<QGroupBox>("gbNmeaGen")->title(), "NMEA 0183 from SeaTalk");
    EXPECT_EQ(Control<QCheckBox>("chbTxZDA")->text(), "ZDA");
    EXPECT_FALSE(Shown("chbTxZTG"));
    EXPECT_FALSE(Enabled("chbTxRMC")); // input 1 is not in a SeaTalk mode
    EXPECT_FALSE(Shown("chbCnvTLLtoPGN130074"));
    // AIS MOB alarm turns the input 4 row into the mute input.
    EXPECT_TRUE(Shown("lblAISMobEnabled"));
    EXPECT_FALSE(Shown("cbBaudIn4"));
    EXPECT_FALSE(Shown("edtTalkID4"));
    EXPECT_FALSE(Shown("chbRouteIn4Out2"));
    EXPECT_TRUE(Shown("chbRouteIn3Out2"));
    EXPECT_FALSE(Shown("lblModbus"));
    EXPECT_FALSE(Shown("edtMbSlaveAddr"));
}

TEST_F(ConfigReadTest, SeaTalkOnInput1FixesItsSpeedWithoutSending) {
    sim::DeviceConfig config = Distinctive();
    config.modeIn[0] = 6;
    config.baud[0] = 3;
    config.modeIn[3] = 5; // plain text on input 4 has no talker ID
    ReadFrom(config, "A000");
    EXPECT_EQ(Control<QComboBox>("cbBaudIn1")->currentText(), "4800");
    EXPECT_FALSE(Enabled("cbBaudIn1"));
    EXPECT_EQ(Form->Config().BaudIn1, 0u);
    EXPECT_TRUE(Enabled("chbTxRMC")); // SeaTalk feeds the sentences of "NMEA 0183 from..."
    EXPECT_FALSE(Shown("edtTalkID4"));
    for (const std::string& line : Sim->ReceivedLines())
        EXPECT_NE(line.rfind("$PQZXSP", 0), 0u) << line;
}

TEST_F(ConfigReadTest, OldFirmwareGreysTheViewAndReadsNothing) {
    ReadFrom(Distinctive(), "A010", "3.28.9");
    EXPECT_EQ(Form->GetRXState(), TRXState::stNormal);
    EXPECT_FALSE(Enabled("cbBaudIn2"));
    EXPECT_EQ(Index("cbBaudIn2"), -1);
    EXPECT_EQ(Control<QPlainTextEdit>("NmeaView")->palette().color(QPalette::Base),
              QApplication::palette().color(QPalette::Button));
    EXPECT_EQ(Form->StatusPanel(1), "Version: 3.28.9");
    QTest::qWait(200);
    for (const std::string& line : Sim->ReceivedLines())
        EXPECT_NE(line.rfind("$PQZXCFQ", 0), 0u);
}

TEST_F(ConfigReadTest, UnsupportedCapabilityWordWarnsAndKeepsTheControlsDisabled) {
    ReadFrom(Distinctive(), "8010");
    ASSERT_EQ(TestDialogs().Boxes.size(), 1u);
    EXPECT_EQ(TestDialogs().Boxes[0].Caption, "KVLConfig");
    EXPECT_EQ(TestDialogs().Boxes[0].Text,
              "This version of KVLConfig does not support\rthe connected multiplexer.");
    EXPECT_EQ(TestDialogs().Boxes[0].Icon, TDialogs::TIcon::Warning);
    EXPECT_TRUE(SimReceived("$PQZXCFQ")); // the read goes on
    EXPECT_EQ(Form->MuxInterfaceType(), -1);
    EXPECT_EQ(Form->Capabilities(), 0u); // the rejected word is not taken
    EXPECT_FALSE(Enabled("cbBaudIn2"));
}

TEST_F(ConfigReadTest, ThreeCharacterCapabilityFieldIsIgnoredSilently) {
    ReadFrom(Distinctive(), "A01");
    EXPECT_TRUE(TestDialogs().Messages.isEmpty());
    EXPECT_TRUE(SimReceived("$PQZXCFQ"));
    EXPECT_FALSE(Enabled("cbBaudIn2"));
}

TEST_F(ConfigReadTest, UnreadableCapabilityWordSaysSo) {
    ReadFrom(Distinctive(), "A0G0");
    EXPECT_EQ(TestDialogs().Messages, QStringList{"Unable to read Korvelan capabilities!"});
    EXPECT_FALSE(Enabled("cbBaudIn2"));
}

TEST_F(ConfigReadTest, WiFiMenuOnlyOnASerialLink) {
    ReadFrom(Distinctive(), "A013");
    EXPECT_EQ(Form->MuxInterfaceType(), 3);
    EXPECT_FALSE(Form->findChild<QMenu*>("miKorvelan3Wi")->menuAction()->isVisible());
    EXPECT_TRUE(Form->findChild<QMenu*>("miKorvelan3E")->menuAction()->isVisible());
}

TEST_F(ConfigReadTest, WiFiMenuShownOverThePseudoTerminal) {
    sim::SimOptions options = Quiet();
    options.identity.caps = "A013";
    options.transport = sim::TransportKind::Pty;
    options.ptyLink = QDir::tempPath().toStdString() + "/kvl-wifi-pty-" + std::to_string(::getpid());
    Sim = std::make_unique<sim::Simulator>(options);
    Sim->Start();
    CreateForm();
    Form->AddSerialPortEntry(QStringLiteral("Simulated"), QString::fromStdString(options.ptyLink));
    ChoosePort(LastSerialEntry());
    Click("btnConnect");
    ASSERT_TRUE(
        WaitUntil([&] { return Form->MuxInterfaceType() == 3 && Form->GetRXState() == TRXState::stNormal; }));
    EXPECT_TRUE(Form->findChild<QMenu*>("miKorvelan3Wi")->menuAction()->isVisible());
    EXPECT_FALSE(Form->findChild<QMenu*>("miKorvelan3E")->menuAction()->isVisible());
}

TEST_F(ConfigReadTest, MissingFieldDuringTheReadAbandonsIt) {
    ASSERT_NO_FATAL_FAILURE(AwaitDumpFromTheTest());
    Sim->SendToHost(sim::FrameSentence("$PQZXSP,R,1,2,3,4,5") + sim::FrameSentence("$PQZXCF,R") +
                    sim::FrameSentence("$PQZXIN,R,1,1,1,1") + sim::FrameSentence("$PQZXRDY"));
    ASSERT_TRUE(WaitUntil([&] { return !TestDialogs().Messages.isEmpty(); }));
    EXPECT_EQ(TestDialogs().Messages, QStringList{"Missing field in sentence:\r$PQZXCF,R"});
    EXPECT_EQ(Form->GetRXState(), TRXState::stNormal);
    QTest::qWait(100);
    EXPECT_EQ(Form->Config().BaudIn4Out1, 4u); // what came before stays
    EXPECT_NE(Form->Config().ModeIn2, 1u);     // what came after is not read
    EXPECT_FALSE(Enabled("cbBaudIn2"));        // the RDY after the error does not enable
}

TEST_F(ConfigReadTest, BadReportsTakeTheErrorPathsAndKeepEarlierValues) {
    ASSERT_NO_FATAL_FAILURE(AwaitDumpFromTheTest());
    Sim->SendToHost(sim::FrameSentence("$PQZXID,R,GP,II,NM,AB,CD") + sim::FrameSentence("$PQZXUI,R,ABCDEF") +
                    sim::FrameSentence("$PQZXID,R,GPS,II,N,,CDE") +
                    sim::FrameSentence("$PQZXUI,R,ABCDEFGHIJKLM") + sim::FrameSentence("$PQZXOP,R,0000002X"));
    ASSERT_TRUE(WaitUntil([&] { return !TestDialogs().Messages.isEmpty(); }));
    EXPECT_EQ(TestDialogs().Messages, QStringList{"Number error in sentence:\r$PQZXOP,R,0000002X"});
    const TMuxConfig& m = Form->Config();
    EXPECT_EQ(m.TalkID1, "GP"); // the over-long IDs kept their earlier values
    EXPECT_EQ(m.TalkID3, "N");
    EXPECT_EQ(m.TalkID4, "");
    EXPECT_EQ(m.TalkIDConv, "CD");
    EXPECT_EQ(m.UID, "ABCDEF");
    EXPECT_EQ(Form->GetRXState(), TRXState::stNormal);

    // An empty data-source type is a field size error.
    TestDialogs().Reset();
    Click("btnReadConfig");
    ASSERT_TRUE(WaitUntil([&] { return Form->GetRXState() == TRXState::stGetConfig; }));
    Sim->SendToHost(sim::FrameSentence("$PQZXDS,R,1,"));
    ASSERT_TRUE(WaitUntil([&] { return !TestDialogs().Messages.isEmpty(); }));
    EXPECT_EQ(TestDialogs().Messages, QStringList{"field size error in sentence:\r$PQZXDS,R,1,"});
}

TEST_F(ConfigReadTest, OutOfRangeNumbersSelectNothingAndChangeNothingElse) {
    ASSERT_NO_FATAL_FAILURE(AwaitDumpFromTheTest());
    Sim->SendToHost(sim::FrameSentence("$PQZXNF,R,40,1,2,3,4,5") + sim::FrameSentence("$PQZXDS,R,1,3") +
                    sim::FrameSentence("$PQZXDS,R,256,4") + sim::FrameSentence("$PQZXRDY"));
    ASSERT_TRUE(WaitUntil([&] { return Form->GetRXState() == TRXState::stNormal; }));
    ASSERT_TRUE(WaitUntil([&] { return Enabled("cbDevFuncIn1"); }));
    EXPECT_EQ(Index("cbDevFuncHost"), -1);
    EXPECT_EQ(Index("cbDevFuncIn1"), 1);
    EXPECT_EQ(Control<QComboBox>("cbRotHdgSrc")->currentText(), "3");
    EXPECT_EQ(Control<QComboBox>("cbPrimHdgSrc")->currentText(), "--"); // source 256 is not source 0
    EXPECT_TRUE(TestDialogs().Messages.isEmpty());
}

TEST_F(ConfigReadTest, SourceAddressReportDuringNormalWorkShowsAtOnce) {
    ReadFrom(Distinctive());
    Sim->SendToHost(sim::FrameSentence("$PQZXNA,R,-,12,13,-,15,16"));
    ASSERT_TRUE(WaitUntil([&] { return Text("edtSAIn1") == "12"; }));
    EXPECT_EQ(Text("edtSAHost"), "n/a");
    EXPECT_EQ(Text("edtSAIn3"), "n/a");
    EXPECT_EQ(Text("edtSAConv"), "16");
    EXPECT_EQ(Form->Config().SAHost, 255u);
}

TEST_F(ConfigReadTest, ConverterOnTheBusMovesInput1BackToSeaTalk) {
    sim::DeviceConfig config = Distinctive();
    config.modeIn[0] = 7;
    ReadFrom(config);
    const std::size_t before = Sim->ReceivedCount();
    Form->OnSTNGConverterFound(0);
    EXPECT_EQ(TestDialogs().Messages,
              QStringList{"Raymarine SeaTalk-STNG Converter found.\rInput 1 is set from "
                          "SeaTalk-STNG to\rSeaTalk to avoid a data-loop."});
    EXPECT_EQ(Form->Config().ModeIn1, 6u);
    EXPECT_EQ(Index("cbModeIn1"), 6);
    EXPECT_EQ(SimReceived("$PQZXIN", before), std::optional<std::string>("$PQZXIN,C,6,1,3,4*6B"));
    // Only the STNG mode reacts.
    TestDialogs().Reset();
    Form->OnSTNGConverterFound(0);
    EXPECT_TRUE(TestDialogs().Messages.isEmpty());
}

TEST_F(ConfigReadTest, UdpAllOnlyResetsTheStateOnAVersionAnswer) {
    StartUdpAndConnect(Quiet(), 0); // "UDP All"
    ASSERT_EQ(Form->Comm().CommMode(), TCommMode::cmUDP);
    ASSERT_TRUE(SimReceived("$PQZXVER"));
    ASSERT_TRUE(WaitUntil([&] {
        for (const auto& line : Form->GetNmeaData())
            if (line.rfind("$PQZXVER,", 0) == 0)
                return true;
        return false;
    }));
    EXPECT_EQ(Form->GetRXState(), TRXState::stNormal);
    EXPECT_FALSE(Form->TimeOutTimer.isActive());
    EXPECT_EQ(Form->StatusPanel(0), "Device: "); // nothing is read from the answer
    QTest::qWait(200);
    for (const std::string& line : Sim->ReceivedLines())
        EXPECT_NE(line.rfind("$PQZXCFQ", 0), 0u);
    EXPECT_TRUE(TestDialogs().Messages.isEmpty()) << TestDialogs().Messages.join("|").toStdString();
}
