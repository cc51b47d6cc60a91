// The Ethernet setup dialogs against simulated XPort modules on loopback.
#include "DialogDriver.h"
#include "XPortFixture.h"
#include "main/RecordingDialogs.h"
#include "network/NetworkSetup.h"
#include "support/FakeMuxHost.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QRadioButton>
#include <QWidget>

namespace kvl::test {
namespace {

class EthernetDialogs : public XPortTest {
protected:
    void SetUp() override {
        XPortTest::SetUp();
        XPortTiming().FactoryStepMs = 1;
        XPortTiming().AssignStepMs = 1;
        XPortTiming().VerifyStepMs = 1;
        TestDialogs().Reset();
        Setup = std::make_unique<TNetworkSetup>(Host, &Window);
    }
    void TearDown() override {
        Setup.reset();
        XPortTest::TearDown();
    }

    TXPortListDlg& ListDlg() { return Setup->XPortListDlg(); }
    QListWidget* Modules() { return Find<QListWidget>(ListDlg(), "lbXPorts"); }

    void SelectLine(int row) {
        QListWidget* list = Modules();
        const QRect rect = list->visualItemRect(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    }

    // The network settings dialog read from host; the action runs while it is open.
    int RunNetworkDialog(const std::string& host, std::function<void(TNetworkDlg&)> action) {
        Host.Host = host;
        TNetworkDlg& dlg = Setup->NetworkDlg();
        WhenShown(dlg, [&dlg, action] { action(dlg); });
        Setup->miNetworkSetupClick();
        return dlg.result();
    }

    // The written setup record as the module must receive it: what it sent, with
    // the code and the edited bytes changed.
    static TXPortBytes Edited(const sim::XPortPacket& read, std::uint8_t code,
                              std::initializer_list<std::pair<int, int>> bytes) {
        TXPortBytes expected = Bytes(read);
        expected[3] = code;
        for (auto [at, value] : bytes)
            expected[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(value);
        return expected;
    }

    QWidget Window;
    TFakeMuxHost Host;
    std::unique_ptr<TNetworkSetup> Setup;
};

TEST_F(EthernetDialogs, SearchListsTheModuleWithItsAddressAndMac) {
    AddModule("127.0.0.71");
    WhenShown(ListDlg(), [&] {
        ASSERT_EQ(Modules()->count(), 1);
        EXPECT_EQ(Modules()->item(0)->text(), QStringLiteral("127.0.0.71  (00-20-4A-5E-11-07)"));
        EXPECT_FALSE(Find<QPushButton>(ListDlg(), "btnOK")->isEnabled());
        SelectLine(0);
        EXPECT_TRUE(Find<QPushButton>(ListDlg(), "btnReset")->isEnabled());
        EXPECT_EQ(ListDlg().GetMAC(), QStringLiteral("00-20-4A-5E-11-07"));
        Press(ListDlg(), "btnOK");
    });
    Setup->miSearch3EClick();
    EXPECT_EQ(Host.Host, "127.0.0.71");
}

TEST_F(EthernetDialogs, TheButtonsFollowAKeyboardSelection) {
    AddModule("127.0.0.74");
    bool enabled = false;
    WhenShown(ListDlg(), [&] {
        ASSERT_EQ(Modules()->count(), 1);
        Modules()->setFocus();
        QTest::keyClick(Modules(), Qt::Key_Down);
        enabled = Find<QPushButton>(ListDlg(), "btnOK")->isEnabled() &&
                  Find<QPushButton>(ListDlg(), "btnReset")->isEnabled() &&
                  Find<QPushButton>(ListDlg(), "btnChangeIP")->isEnabled();
        QTest::keyClick(Modules(), Qt::Key_Space, Qt::ControlModifier); // deselects
        enabled = enabled && !Find<QPushButton>(ListDlg(), "btnOK")->isEnabled();
        QTest::keyClick(Modules(), Qt::Key_Space, Qt::ControlModifier);
        Press(ListDlg(), "btnOK");
    });
    Setup->miSearch3EClick();
    EXPECT_TRUE(enabled);
    EXPECT_EQ(Host.Host, "127.0.0.74");
}

TEST_F(EthernetDialogs, NoModuleShowsTheNoneFoundText) {
    AddModule("127.0.0.72").Stop();
    WhenShown(ListDlg(), [&] {
        EXPECT_FALSE(Modules()->isVisible());
        EXPECT_TRUE(Find<QLabel>(ListDlg(), "lblNoneFound")->isVisible());
        for (const char* button : {"btnOK", "btnReset", "btnChangeIP"})
            EXPECT_FALSE(Find<QPushButton>(ListDlg(), button)->isEnabled()) << button;
        Press(ListDlg(), "btnCancel");
    });
    Host.Host = "kept";
    Setup->miSearch3EClick();
    EXPECT_EQ(Host.Host, "kept");
}

TEST_F(EthernetDialogs, ChangeIPSendsTheSetIPDatagramAndTheModuleAnswersAtItsNewAddress) {
    auto& module = AddModule("127.0.0.73");
    TAssignIPDlg& assign = Setup->AssignIPDlg();
    WhenShown(ListDlg(), [&] {
        SelectLine(0);
        WhenShown(assign, [&] {
            EXPECT_EQ(Find<QLineEdit>(assign, "edtMAC")->text(), QStringLiteral("00-20-4A-5E-11-07"));
            Type(assign, "edtIP", QStringLiteral("127.0.0.74"));
            Press(assign, "btnOK");
        });
        Press(ListDlg(), "btnChangeIP");
        // The list was searched again after the change.
        ASSERT_EQ(Modules()->count(), 1);
        EXPECT_EQ(Modules()->item(0)->text(), QStringLiteral("127.0.0.74  (00-20-4A-5E-11-07)"));
        Press(ListDlg(), "btnCancel");
    });
    Setup->miSearch3EClick();

    const auto received = module.Received();
    ASSERT_GE(received.size(), 2u);
    EXPECT_EQ(Bytes(received[1]), (TXPortBytes{0,   0,   0, 0xFC, 'I',  'P',  '-', 'S', 'E', 'T',
                                               'U', 'P', 0, 0,    0x11, 0x07, 127, 0,   0,   74}));
    EXPECT_EQ(Setup->StandInProgress()->Positions().size(), 51u);
    EXPECT_TRUE(TestDialogs().Messages.isEmpty());
}

TEST_F(EthernetDialogs, AssignIPRefusesBadEntriesAndKeepsTheDialogOpen) {
    AddModule("127.0.0.75");
    struct Case {
        const char* Mac;
        const char* IP;
        const char* Focus;
    };
    const Case cases[] = {
        {"00:20:4A:5E:11:07", "127.0.0.76", "edtMAC"}, {"00-20-4A-5E-11", "127.0.0.76", "edtMAC"},
        {"00-20-4A-5E-11-07", "0.1.2.3", "edtIP"},     {"00-20-4A-5E-11-07", "127.0.0.255", "edtIP"},
        {"00-20-4A-5E-11-07", "127.0.0", "edtIP"},     {"00-20-4A-5E-1G-07", "127.0.0.76", "edtMAC"},
        {"00-20-4A-5E-11-0Z", "0.0.0.0", "edtMAC"}};
    TAssignIPDlg& assign = Setup->AssignIPDlg();
    WhenShown(assign, [&] {
        for (const Case& c : cases) {
            TestDialogs().Reset();
            Type(assign, "edtMAC", QString::fromLatin1(c.Mac));
            Type(assign, "edtIP", QString::fromLatin1(c.IP));
            Press(assign, "btnOK");
            EXPECT_EQ(TestDialogs().Messages,
                      QStringList{QStringLiteral("Invalid MAC or IP address entered")})
                << c.Mac << " " << c.IP;
            EXPECT_TRUE(assign.isVisible());
            EXPECT_EQ(assign.focusWidget(), Find<QWidget>(assign, c.Focus)) << c.Mac << " " << c.IP;
        }
        Press(assign, "btnCancel");
    });
    Setup->miAssignIPClick();
    EXPECT_EQ(assign.result(), QDialog::Rejected);
    EXPECT_EQ(XPortTest::Modules.front()->Received().size(), 0u);
}

TEST_F(EthernetDialogs, AssignIPAcceptsNoAddress) {
    auto& module = AddModule("127.0.0.77");
    TAssignIPDlg& assign = Setup->AssignIPDlg();
    WhenShown(assign, [&] {
        Type(assign, "edtMAC", QStringLiteral("00-20-4a-5e-11-07"));
        Type(assign, "edtIP", QStringLiteral("0.0.0.0"));
        Press(assign, "btnOK");
    });
    Setup->miAssignIPClick();
    EXPECT_EQ(assign.result(), QDialog::Accepted);
    EXPECT_TRUE(TestDialogs().Messages.isEmpty());
    EXPECT_EQ(module.Received().size(), 1u);
}

TEST_F(EthernetDialogs, NetworkSettingsShowTheModulesRecord) {
    AddModule("127.0.0.78");
    RunNetworkDialog("127.0.0.78", [](TNetworkDlg& dlg) {
        EXPECT_EQ(Find<QLineEdit>(dlg, "edtIPAddress")->text(), QStringLiteral("127.0.0.78"));
        EXPECT_EQ(Find<QLineEdit>(dlg, "edtNetmask")->text(), QStringLiteral("255.255.255.0"));
        EXPECT_EQ(Find<QLineEdit>(dlg, "edtGateway")->text(), QStringLiteral("127.0.0.1"));
        EXPECT_EQ(Find<QLineEdit>(dlg, "edtPort")->text(), QStringLiteral("10110"));
        EXPECT_TRUE(Find<QRadioButton>(dlg, "rbTCP")->isChecked());
        EXPECT_FALSE(Find<QComboBox>(dlg, "cbUDPMode")->isEnabled());
        EXPECT_FALSE(Find<QLineEdit>(dlg, "edtDestination")->isEnabled());
        Press(dlg, "btnCancel");
    });
    EXPECT_TRUE(Host.Switched.empty());
}

TEST_F(EthernetDialogs, NewAddressAndUdpBroadcastGoToTheModuleWithEveryOtherByteUnchanged) {
    auto& module = AddModule("127.0.0.79");
    const sim::XPortPacket read = module.Setup();
    const int result = RunNetworkDialog("127.0.0.79", [](TNetworkDlg& dlg) {
        Type(dlg, "edtIPAddress", QStringLiteral("127.0.0.80"));
        Type(dlg, "edtNetmask", QStringLiteral("255.255.0.0"));
        Type(dlg, "edtPort", QStringLiteral("2000"));
        Find<QRadioButton>(dlg, "rbUDP")->click();
        EXPECT_TRUE(Find<QComboBox>(dlg, "cbUDPMode")->isEnabled());
        EXPECT_FALSE(Find<QLineEdit>(dlg, "edtDestination")->isEnabled()); // Broadcast
        Press(dlg, "btnOK");
    });
    EXPECT_EQ(result, QDialog::Accepted);
    const auto received = module.Received();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(Bytes(received[0]), (TXPortBytes{0, 0, 0, 0xF8}));
    EXPECT_EQ(Bytes(received[1]), Edited(read, 0xFD,
                                         {{7, 80},
                                          {10, 16},
                                          {24, 0xD0},
                                          {25, 0x07},
                                          {26, 0xD0},
                                          {27, 0x07},
                                          {28, 0xFF},
                                          {29, 0xFF},
                                          {30, 0xFF},
                                          {31, 0xFF},
                                          {32, 0xCC},
                                          {33, 0x01},
                                          {39, 0x30}}));
    EXPECT_TRUE(module.WaitForAddress("127.0.0.80", std::chrono::seconds(5)));
    EXPECT_TRUE(TestDialogs().Messages.isEmpty()) << TestDialogs().Messages.join('|').toStdString();
    EXPECT_EQ(Host.Host, "127.0.0.80");
    EXPECT_EQ(Host.Switched, (std::vector<std::string>{"UDP:2000"}));

    // The module answers at its new address with what was written.
    TXPort xport;
    TXPortSetup0 again;
    ASSERT_TRUE(xport.GetSetup("127.0.0.80", again));
    TXPortBytes expected = Bytes(received[1]);
    expected[3] = 0xF9;
    EXPECT_EQ(TXPortBytes(again.Bytes().begin(), again.Bytes().end()), expected);
}

TEST_F(EthernetDialogs, DirectedUdpWithTheAddressUnchangedIsVerifiedAtTheHost) {
    auto& module = AddModule("127.0.0.81");
    const sim::XPortPacket read = module.Setup();
    RunNetworkDialog("127.0.0.81", [](TNetworkDlg& dlg) {
        Find<QRadioButton>(dlg, "rbUDP")->click();
        auto* mode = Find<QComboBox>(dlg, "cbUDPMode");
        mode->setCurrentIndex(1);
        emit mode->activated(1);
        EXPECT_TRUE(Find<QLineEdit>(dlg, "edtDestination")->isEnabled());
        Type(dlg, "edtDestination", QStringLiteral("127.0.0.1"));
        Press(dlg, "btnOK");
    });
    const auto received = module.Received();
    ASSERT_GE(received.size(), 2u);
    EXPECT_EQ(Bytes(received[1]),
              Edited(read, 0xFA, {{28, 127}, {29, 0}, {30, 0}, {31, 1}, {32, 0xCC}, {33, 0x01}, {39, 0x30}}));
    EXPECT_TRUE(TestDialogs().Messages.isEmpty());
    EXPECT_EQ(Host.Host, "127.0.0.81");
    EXPECT_EQ(Host.Switched, (std::vector<std::string>{"UDP:10110"}));
}

TEST_F(EthernetDialogs, InvalidSettingsAreRefusedAndNothingIsWritten) {
    auto& module = AddModule("127.0.0.82");
    struct Case {
        const char* IP;
        const char* Mask;
        const char* Port;
        const char* Focus;
    };
    const Case cases[] = {{"192.168.1.255", "255.255.255.0", "10110", "edtIPAddress"},
                          {"192.168.1.0", "255.255.255.0", "10110", "edtIPAddress"},
                          {"192.168.1.20", "255.0.255.0", "10110", "edtNetmask"},
                          {"192.168.1.20", "255.255.255.0", "0", "edtPort"},
                          {"192.168.1.20", "255.255.255.0", "65536", "edtPort"},
                          {"192.168.1.20", "255.255.255.0", "port", "edtPort"},
                          {"192.168.1", "255.255.255.0", "10110", "edtIPAddress"}};
    RunNetworkDialog("127.0.0.82", [&](TNetworkDlg& dlg) {
        for (const Case& c : cases) {
            TestDialogs().Reset();
            Type(dlg, "edtIPAddress", QString::fromLatin1(c.IP));
            Type(dlg, "edtNetmask", QString::fromLatin1(c.Mask));
            Type(dlg, "edtPort", QString::fromLatin1(c.Port));
            Press(dlg, "btnOK");
            EXPECT_EQ(TestDialogs().Messages,
                      QStringList{QStringLiteral("Invalid IP address, network mask or port number entered")})
                << c.IP << " " << c.Mask << " " << c.Port;
            EXPECT_TRUE(dlg.isVisible());
            EXPECT_EQ(dlg.focusWidget(), Find<QWidget>(dlg, c.Focus)) << c.IP << " " << c.Port;
        }
        Press(dlg, "btnCancel");
    });
    EXPECT_EQ(module.Received().size(), 1u); // the read only
    EXPECT_TRUE(Host.Switched.empty());
}

TEST_F(EthernetDialogs, NoAddressPassesWithoutTheHostPartCheck) {
    // "No address" is the number 0, however it is written.
    const struct {
        const char* Module;
        const char* Entered;
    } cases[] = {{"127.0.0.83", "0.0.0.0"}, {"127.0.0.84", "00.0.0.0"}};
    for (const auto& c : cases) {
        auto& module = AddModule(c.Module);
        Host.Switched.clear();
        RunNetworkDialog(c.Module, [&](TNetworkDlg& dlg) {
            Type(dlg, "edtIPAddress", QString::fromLatin1(c.Entered));
            Press(dlg, "btnOK");
        });
        ASSERT_EQ(module.Received().size(), 2u) << c.Entered;
        EXPECT_EQ(module.Received()[1][3], 0xFD);
        EXPECT_TRUE(TestDialogs().Messages.isEmpty());
        EXPECT_EQ(Host.Host, c.Module) << c.Entered; // no address does not replace the host
        EXPECT_EQ(Host.Switched, (std::vector<std::string>{"TCP:10110"}));
    }
}

TEST_F(EthernetDialogs, UnreachableModuleClosesTheDialogAsCancelled) {
    AddModule("127.0.0.84").Stop();
    bool shown = false;
    const int result = RunNetworkDialog("127.0.0.84", [&](TNetworkDlg& dlg) {
        shown = true;
        Press(dlg, "btnCancel");
    });
    EXPECT_FALSE(shown);
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(TestDialogs().Messages, QStringList{QStringLiteral("Cannot connect to Korvelan")});
    EXPECT_TRUE(Host.Switched.empty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(EthernetDialogs, AModuleThatWillNotTakeTheRecordLeavesTheLinkAlone) {
    auto& module = AddModule("127.0.0.85");
    const int result = RunNetworkDialog("127.0.0.85", [&](TNetworkDlg& dlg) {
        module.Stop();
        Press(dlg, "btnOK");
    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(TestDialogs().Messages, QStringList{QStringLiteral("Cannot connect to Korvelan")});
    EXPECT_TRUE(Host.Switched.empty());
}

TEST_F(EthernetDialogs, AModuleThatDoesNotComeBackIsReported) {
    sim::XPortModuleOptions options;
    options.restartMs = 60000;
    AddModule("127.0.0.86", options);
    RunNetworkDialog("127.0.0.86", [](TNetworkDlg& dlg) { Press(dlg, "btnOK"); });
    EXPECT_EQ(TestDialogs().Messages, QStringList{QStringLiteral("Unable to verify network settings!")});
    // Written all the same: the window follows the new settings.
    EXPECT_EQ(Host.Switched, (std::vector<std::string>{"TCP:10110"}));
    EXPECT_EQ(Setup->StandInProgress()->Positions().size(), 50u);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(EthernetDialogs, FactoryResetAsksRestoresAndSearchesAgain) {
    auto& module = AddModule("127.0.0.87");
    TestDialogs().ConfirmAnswers = {true};
    WhenShown(ListDlg(), [&] {
        SelectLine(0);
        Press(ListDlg(), "btnReset");
        EXPECT_EQ(Modules()->count(), 1);
        Press(ListDlg(), "btnCancel");
    });
    Setup->miSearch3EClick();
    EXPECT_EQ(TestDialogs().Questions,
              QStringList{QStringLiteral(
                  "This restores the factory default network settings.\rDo you really want to proceed?")});
    EXPECT_TRUE(TestDialogs().Messages.isEmpty());
    EXPECT_EQ(module.Resets(), 1);
    EXPECT_EQ(Setup->StandInProgress()->Positions().size(), 21u);
    // Two searches, the three steps of the restore.
    EXPECT_EQ(module.Received().size(), 2u + 4u);
}

TEST_F(EthernetDialogs, NetworkSetupNeedsAHost) {
    QMenu e;
    QMenu wi;
    Setup->AttachMenus(&e, &wi);
    auto* networkSetup = e.findChild<QAction*>(QStringLiteral("miNetworkSetup"));
    ASSERT_NE(networkSetup, nullptr);
    Host.Host.clear();
    Setup->miKorvelan3EClick();
    EXPECT_FALSE(networkSetup->isEnabled());
    Host.Host = "127.0.0.1";
    Setup->miKorvelan3EClick();
    EXPECT_TRUE(networkSetup->isEnabled());
}

} // namespace
} // namespace kvl::test
