#include "MainFormFixture.h"

using namespace kvl;
using namespace kvl::test;

namespace {

QStringList Items(QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items.append(box->itemText(i));
    return items;
}

} // namespace

class PortListTest : public MainFormTest {
protected:
    // The window with an enumeration the test controls, polled once.
    void CreateWithPorts(std::vector<TSerialPortEntry> ports) {
        Present = std::move(ports);
        CreateForm();
        Form->SetPortEnumerator([this] { return Present; });
        Form->PortListTimerTimer();
    }
    void Poll(std::vector<TSerialPortEntry> ports) {
        Present = std::move(ports);
        Form->PortListTimerTimer();
    }

    std::vector<TSerialPortEntry> Present;
    const TSerialPortEntry UsbA{"USB Serial Port (ttyUSB0)", "/dev/ttyUSB0"};
    const TSerialPortEntry UsbB{"Korvelan-3 (ttyACM0)", "/dev/ttyACM0"};
};

TEST_F(PortListTest, SerialEntriesFollowAdaptersPluggedInAndPulledOut) {
    CreateWithPorts({UsbA});
    auto* port = Control<QComboBox>("cbPort");
    Form->AddSerialPortEntry(QStringLiteral("Simulated (pty)"), QStringLiteral("/tmp/kvl-pty"));
    EXPECT_EQ(Items(port), (QStringList{"UDP All", "UDP", "TCP", "USB Serial Port (ttyUSB0)",
                                        "Simulated (pty)", "Simulated Korvelan-3"}));
    ChoosePort(3);

    // Plugged in: sorted before the chosen one, which stays chosen.
    Poll({UsbB, UsbA});
    EXPECT_EQ(Items(port),
              (QStringList{"UDP All", "UDP", "TCP", "Korvelan-3 (ttyACM0)", "USB Serial Port (ttyUSB0)",
                           "Simulated (pty)", "Simulated Korvelan-3"}));
    EXPECT_EQ(port->currentIndex(), 4);
    EXPECT_EQ(Form->Comm().Ports()[4], "/dev/ttyUSB0");
    EXPECT_EQ(Form->Comm().Ports()[5], "/tmp/kvl-pty");
    EXPECT_TRUE(Control<QPushButton>("btnConnect")->isEnabled());

    // The chosen one pulled out: nothing is chosen, Connect is disabled.
    Poll({UsbB});
    EXPECT_EQ(Items(port), (QStringList{"UDP All", "UDP", "TCP", "Korvelan-3 (ttyACM0)", "Simulated (pty)",
                                        "Simulated Korvelan-3"}));
    EXPECT_EQ(port->currentIndex(), -1);
    EXPECT_FALSE(Control<QPushButton>("btnConnect")->isEnabled());
}

TEST_F(PortListTest, NetworkSelectionStaysWhileSerialPortsChange) {
    CreateWithPorts({});
    ChoosePort(kPortTcpIndex);
    TypeInto("edtMuxIP", QStringLiteral("127.0.0.1"));
    Poll({UsbA});
    Poll({UsbA, UsbB});
    EXPECT_EQ(Control<QComboBox>("cbPort")->currentIndex(), kPortTcpIndex);
    EXPECT_TRUE(Control<QLineEdit>("edtMuxIP")->isVisible());
    EXPECT_TRUE(Control<QPushButton>("btnConnect")->isEnabled());
}

TEST_F(PortListTest, ListDoesNotChangeWhileALinkIsOpen) {
    StartSimulator(Quiet());
    CreateWithPorts({UsbA});
    ConnectTcp(Sim->TcpPort());
    ASSERT_TRUE(Form->IsLinkOpen());
    Poll({UsbB});
    EXPECT_EQ(Items(Control<QComboBox>("cbPort")),
              (QStringList{"UDP All", "UDP", "TCP", "USB Serial Port (ttyUSB0)", "Simulated Korvelan-3"}));
    // Once closed, the next poll catches up.
    Click("btnConnect");
    Form->PortListTimerTimer();
    EXPECT_EQ(Items(Control<QComboBox>("cbPort")),
              (QStringList{"UDP All", "UDP", "TCP", "Korvelan-3 (ttyACM0)", "Simulated Korvelan-3"}));
    EXPECT_EQ(Control<QComboBox>("cbPort")->currentIndex(), kPortTcpIndex);
}
