// A main window connected to a simulator that holds a given configuration.
#pragma once

#include "MainFormFixture.h"

#include <QCheckBox>
#include <QTabWidget>

namespace kvl::test {

// A device configuration where every setting differs from the factory's, so a
// control that shows the wrong field cannot pass.
inline sim::DeviceConfig Distinctive() {
    sim::DeviceConfig c = sim::FactoryConfig("BOAT42");
    c.prioTimeout = 4;
    c.baud = {1, 2, 4, 5, 3};
    c.talkerId = {"GP", "II", "", "AB", "YX"};
    c.defRouteOut1 = 0x85; // inputs 1, 3 and NMEA 2000
    c.modeOut1 = 1;
    c.defRouteOut2 = 0x12; // input 2 and the conversions
    c.modeOut2 = 2;
    c.modeIn = {2, 1, 3, 4};
    c.priority = {1, 6, 0, 10, 6};
    c.options =
        (1u << 2) | (1u << 3) | (1u << 5) | (1u << 6) | (1u << 11) | (1u << 16) | (1u << 18) | (1u << 7);
    c.conversions = (1u << 0) | (1u << 1) | (1u << 4) | (1u << 12) | (1u << 20);
    c.n2kOptions = (1u << 0) | (1u << 9) | (1u << 10) | (1u << 13) | (1u << 17) | (1u << 31);
    c.deviceFunction = {1, 4, 33, 0, 21, 7};
    c.sourceAddress = {10, 11, sim::kNoAddress, 13, 14, 251};
    c.deviceInstance = {0, 1, 2, 3, 200, 255};
    c.dataSource = {sim::DataSource{'2', 0}, sim::DataSource{'N', 0x00A1B2C3D4E5F607ull},
                    sim::DataSource{'0', 0}};
    c.modbusMode = 2;
    c.modbusSlaveAddress = 17;
    return c;
}

class ConfigTest : public MainFormTest {
protected:
    // Starts the simulator with the given configuration and identity, connects
    // and waits until the read has ended.
    void ReadFrom(const sim::DeviceConfig& config, const std::string& caps = "A010",
                  const std::string& version = "3.30.2") {
        auto options = Quiet();
        options.initialConfig = config;
        options.uid = config.uid;
        options.identity.caps = caps;
        options.identity.version = version;
        StartSimulator(options);
        CreateForm();
        ConnectTcp(Sim->TcpPort());
        ASSERT_TRUE(WaitUntil([&] { return Form->GetRXState() == TRXState::stNormal; }));
    }

    QString Text(const char* edit) { return Control<QLineEdit>(edit)->text(); }
    int Index(const char* combo) { return Control<QComboBox>(combo)->currentIndex(); }
    bool Checked(const char* box) { return Control<QCheckBox>(box)->isChecked(); }
    bool Shown(const char* name) {
        return !Control<QWidget>(name)->isHidden();
    } // hidden by the window, not by its tab
    bool Enabled(const char* name) { return Control<QWidget>(name)->isEnabled(); }
    bool TabShown(const char* name) {
        auto* tabs = Control<QTabWidget>("pcSettings");
        return tabs->isTabVisible(tabs->indexOf(Control<QWidget>(name)));
    }
};

} // namespace kvl::test
