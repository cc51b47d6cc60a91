// Drives the main window against an in-process simulated multiplexer, as a user
// would: choosing the port, typing the host, pressing the buttons.
#pragma once

#include "RecordingDialogs.h"
#include "Simulator.h"
#include "main/MainForm.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace kvl::test {

inline constexpr int kPortTcpIndex = 2;

// Processes events until the condition holds or the time is up.
// The default is generous: under the sanitizers on a loaded machine a line can take seconds.
inline bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 15000) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QTest::qWait(5);
    }
    return true;
}

class MainFormTest : public testing::Test {
protected:
    void SetUp() override {
        QSettings(QStringLiteral("Orvanto"), QStringLiteral("KVLConfig3")).clear();
        TestDialogs().Reset();
    }

    void TearDown() override {
        Form.reset();
        if (Sim)
            Sim->Stop();
    }

    // Starts the simulator on a free loopback TCP port.
    void StartSimulator(sim::SimOptions options = {}) {
        options.transport = sim::TransportKind::Tcp;
        options.tcpPort = 0;
        Sim = std::make_unique<sim::Simulator>(std::move(options));
        Sim->Start();
    }
    static sim::SimOptions Quiet() {
        sim::SimOptions options;
        options.trafficRate = 0;
        return options;
    }

    TMainForm& CreateForm() {
        Form = std::make_unique<TMainForm>();
        Form->show();
        return *Form;
    }

    template <typename T>
    T* Control(const char* name) {
        T* control = Form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }

    void ChoosePort(int index) {
        auto* port = Control<QComboBox>("cbPort");
        port->setCurrentIndex(index);
        emit port->activated(index);
    }

    // The last serial entry of the port list; "Simulated Korvelan-3" follows it.
    int LastSerialEntry() { return Control<QComboBox>("cbPort")->count() - 2; }

    void TypeInto(const char* editName, const QString& text) {
        auto* edit = Control<QLineEdit>(editName);
        edit->clear();
        QTest::keyClicks(edit, text);
    }

    void Click(const char* buttonName) {
        QTest::mouseClick(Control<QPushButton>(buttonName), Qt::LeftButton);
    }

    // Chooses "TCP", types the simulator's address and presses Connect.
    void ConnectTcp(std::uint16_t port) {
        ChoosePort(kPortTcpIndex);
        TypeInto("edtMuxIP", QStringLiteral("127.0.0.1"));
        TypeInto("edtMuxPort", QString::number(port));
        Click("btnConnect");
        // The device has the connection once it has heard from the tool.
        if (Sim && Sim->IsRunning() && Form->Comm().CommMode() != TCommMode::cmClosed)
            SimReceived("$PQZXVER");
    }

    // Starts the simulator on UDP, opens the window and connects to it through the
    // port list's entry at portIndex ("UDP All" or "UDP").
    void StartUdpAndConnect(sim::SimOptions options, int portIndex) {
        options.transport = sim::TransportKind::Udp;
        options.udpPort = 0;
        Sim = std::make_unique<sim::Simulator>(options);
        Sim->Start();
        CreateForm();
        ChoosePort(portIndex);
        TypeInto("edtMuxIP", QStringLiteral("127.0.0.2"));
        TypeInto("edtMuxPort", QString::number(Sim->UdpPort()));
        Click("btnConnect");
    }

    // Connects over TCP, waits until the configuration read has ended (its
    // "$PQZXRDY" shown) and empties the view, so a test sees only its own lines.
    void ConnectAndClearView() {
        ConnectTcp(Sim->TcpPort());
        WaitUntil([&] {
            for (const auto& line : Form->GetNmeaData())
                if (line.rfind("$PQZXRDY", 0) == 0)
                    return true;
            return false;
        });
        Click("btnClear");
    }

    // Waits for the simulator to receive a line starting with prefix, from the
    // received line numbered `from` on, while the window keeps running.
    std::optional<std::string> SimReceived(const std::string& prefix, std::size_t from = 0,
                                           int timeoutMs = 15000) {
        std::optional<std::string> found;
        WaitUntil(
            [&] {
                found = Sim->WaitForReceived([&](const std::string& l) { return l.rfind(prefix, 0) == 0; },
                                             std::chrono::milliseconds(0), from);
                return found.has_value();
            },
            timeoutMs);
        return found;
    }

    std::unique_ptr<sim::Simulator> Sim;
    std::unique_ptr<TMainForm> Form;
};

} // namespace kvl::test
