// The network setup from the main window: its menus, the WiFi sentences over the
// link to the simulated multiplexer, the Ethernet dialogs against a simulated
// XPort module, and what the window does with the module's new settings.
#include "DialogDriver.h"
#include "SentenceFrame.h"
#include "XPortFixture.h"
#include "main/MainFormFixture.h"
#include "network/NetworkSetup.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QListWidget>
#include <QMenu>
#include <QRadioButton>

namespace kvl::test {
namespace {

class MainWindowNetwork : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        SavedTiming = XPortTiming();
        XPortTiming().ConnectTimeoutMs = 2000;
        XPortTiming().ReadTimeoutMs = 300;
        XPortTiming().VerifyStepMs = 1;
        XPortTiming().AssignStepMs = 1;
        XPortTiming().FactoryStepMs = 1;
    }
    void TearDown() override {
        MainFormTest::TearDown();
        if (Module)
            Module->Stop();
        SetDiscoveryAddress(std::nullopt);
        XPortTiming() = SavedTiming;
    }

    static sim::SimOptions WiFiModel() {
        sim::SimOptions options = Quiet();
        options.identity.caps = "A003";
        options.identity.serial = "K3W-00815";
        return options;
    }

    QAction* Command(const char* name) { return Form->findChild<QAction*>(QString::fromLatin1(name)); }
    template <typename T>
    T& Dialog() {
        return *Form->findChild<T*>();
    }

    void StartModule(const std::string& address) {
        sim::XPortModuleOptions options;
        options.address = address;
        options.port = 0;
        Module = std::make_unique<sim::XPortModule>(options);
        Module->Start();
        SetDiscoveryAddress(TXPortEndpoint{"127.255.255.255", Module->Port()});
    }

    std::unique_ptr<sim::XPortModule> Module;
    TXPortTiming SavedTiming;
};

TEST_F(MainWindowNetwork, WiFiParametersAreReadAndTheWriteIsAnswered) {
    StartSimulator(WiFiModel());
    CreateForm();
    ConnectAndClearView();
    auto& dlg = Dialog<TWiSettings>();
    WhenShown(dlg, [&] {
        ASSERT_TRUE(WaitUntil([&] { return dlg.SSID() != QStringLiteral("..."); }));
        EXPECT_EQ(dlg.SSID(), QStringLiteral("Korvelan-K3W-00815"));
        EXPECT_EQ(dlg.PassPhrase(), QStringLiteral("Tarnwick"));
        EXPECT_EQ(dlg.Channel(), 6u);
        Type(dlg, "edtSSID", QStringLiteral("Harbour#1"));
        Type(dlg, "edtPassPhrase", QStringLiteral("longenough"));
        Press(dlg, "OKBtn");
    });
    const std::size_t from = Sim->ReceivedCount();
    Command("miWiFiSetup")->trigger();
    EXPECT_TRUE(SimReceived("$PQZXWI,W,Harbour#1,longenough,6*", from));
    EXPECT_TRUE(TestDialogs().Messages.isEmpty()) << TestDialogs().Messages.join('|').toStdString();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(MainWindowNetwork, ASilentMultiplexerEndsTheWriteAfterFiveSeconds) {
    sim::SimOptions options = WiFiModel();
    options.silent = {"WI"};
    StartSimulator(options);
    CreateForm();
    ConnectAndClearView();
    auto& dlg = Dialog<TWiSettings>();
    WhenShown(dlg, [&] {
        Type(dlg, "edtSSID", QStringLiteral("Harbour"));
        Type(dlg, "edtPassPhrase", QStringLiteral("longenough"));
        Press(dlg, "OKBtn");
    });
    QElapsedTimer clock;
    clock.start();
    Command("miWiFiSetup")->trigger();
    EXPECT_GE(clock.elapsed(), 5000);
    EXPECT_EQ(TestDialogs().Messages, QStringList{QStringLiteral("Multiplexer does not respond")});
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(MainWindowNetwork, AStrayWIDoesNotEndTheConfigurationRead) {
    sim::SimOptions options = WiFiModel();
    options.silent = {"CFQ"};
    StartSimulator(options);
    CreateForm();
    ConnectTcp(Sim->TcpPort());
    ASSERT_TRUE(WaitUntil([&] { return Form->GetRXState() == TRXState::stGetConfig; }));
    Sim->SendToHost(sim::FrameSentence("$PQZXWI,AP,Harbour,longenough,x6"));
    ASSERT_TRUE(WaitUntil([&] {
        for (const auto& line : Form->GetNmeaData())
            if (line.rfind("$PQZXWI,AP,Harbour", 0) == 0)
                return true;
        return false;
    }));
    EXPECT_EQ(Form->GetRXState(), TRXState::stGetConfig);
    EXPECT_TRUE(TestDialogs().Messages.isEmpty()) << TestDialogs().Messages.join('|').toStdString();
}

TEST_F(MainWindowNetwork, WiFiMenuRestoresTheFactorySettingsWithTheSerialNumber) {
    StartSimulator(WiFiModel());
    CreateForm();
    ConnectAndClearView();
    TestDialogs().ConfirmAnswers = {true};
    const std::size_t from = Sim->ReceivedCount();
    Command("miWiFiInit")->trigger();
    EXPECT_TRUE(SimReceived("$PQZXWI,A*", from));
    ASSERT_EQ(TestDialogs().Questions.size(), 1);
    EXPECT_TRUE(TestDialogs().Questions.front().contains(QStringLiteral("SSID:\t\tKorvelan-K3W-00815\r")));
}

TEST_F(MainWindowNetwork, NetworkSetupNeedsAHost) {
    CreateForm();
    ChoosePort(kPortTcpIndex);
    auto* menu = Form->findChild<QMenu*>(QStringLiteral("miKorvelan3E"));
    TypeInto("edtMuxIP", QString());
    emit menu->aboutToShow();
    EXPECT_FALSE(Command("miNetworkSetup")->isEnabled());
    TypeInto("edtMuxIP", QStringLiteral("127.0.0.90"));
    emit menu->aboutToShow();
    EXPECT_TRUE(Command("miNetworkSetup")->isEnabled());
}

TEST_F(MainWindowNetwork, SearchPutsTheChosenModuleIntoTheHostField) {
    StartModule("127.0.0.91");
    CreateForm();
    ChoosePort(kPortTcpIndex);
    auto& dlg = Dialog<TXPortListDlg>();
    WhenShown(dlg, [&] {
        auto* list = Find<QListWidget>(dlg, "lbXPorts");
        ASSERT_EQ(list->count(), 1);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
        Press(dlg, "btnOK");
    });
    Command("miSearch3E")->trigger();
    EXPECT_EQ(Control<QLineEdit>("edtMuxIP")->text(), QStringLiteral("127.0.0.91"));
}

TEST_F(MainWindowNetwork, NewNetworkSettingsSwitchTheLinkToTheModulesNewAddress) {
    StartModule("127.0.0.92");
    StartSimulator(Quiet());
    CreateForm();
    ConnectTcp(Sim->TcpPort());
    ASSERT_TRUE(Form->Comm().CommMode() != TCommMode::cmClosed);
    // The host field is disabled while connected: the module's address as a search would put it there.
    Form->SetMuxIP("127.0.0.92");
    const sim::XPortPacket read = Module->Setup();
    auto& dlg = Dialog<TNetworkDlg>();
    WhenShown(dlg, [&] {
        Type(dlg, "edtIPAddress", QStringLiteral("127.0.0.93"));
        Type(dlg, "edtPort", QStringLiteral("10111"));
        Find<QRadioButton>(dlg, "rbUDP")->click();
        Press(dlg, "btnOK");
    });
    Command("miNetworkSetup")->trigger();

    TXPortBytes expected = Bytes(read);
    for (auto [at, value] : std::initializer_list<std::pair<int, int>>{{3, 0xFD},
                                                                       {7, 93},
                                                                       {24, 0x7F},
                                                                       {25, 0x27},
                                                                       {26, 0x7F},
                                                                       {27, 0x27},
                                                                       {28, 0xFF},
                                                                       {29, 0xFF},
                                                                       {30, 0xFF},
                                                                       {31, 0xFF},
                                                                       {32, 0xCC},
                                                                       {33, 0x01},
                                                                       {39, 0x30}})
        expected[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(value);
    ASSERT_EQ(Module->Received().size(), 2u);
    EXPECT_EQ(Bytes(Module->Received()[1]), expected);
    EXPECT_TRUE(Module->WaitForAddress("127.0.0.93", std::chrono::seconds(5)));
    EXPECT_TRUE(TestDialogs().Messages.isEmpty()) << TestDialogs().Messages.join('|').toStdString();
    EXPECT_EQ(Form->Comm().CommMode(), TCommMode::cmClosed);
    EXPECT_EQ(Control<QComboBox>("cbPort")->currentText(), QStringLiteral("UDP"));
    EXPECT_EQ(Control<QLineEdit>("edtMuxIP")->text(), QStringLiteral("127.0.0.93"));
    EXPECT_EQ(Control<QLineEdit>("edtMuxPort")->text(), QStringLiteral("10111"));
}

} // namespace
} // namespace kvl::test
