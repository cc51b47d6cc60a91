// The configuration read without the window, against the simulator over TCP.
#include "main/DeviceConfigRead.h"
#include "ConfigFixture.h"

namespace kvl::test {
namespace {

class DeviceConfigReadTest : public MainFormTest {
protected:
    void Open() {
        Link = std::make_unique<TComm>();
        Link->OpenPort(TCommMode::cmTCP, "127.0.0.1:" + std::to_string(Sim->TcpPort()), 0);
    }

    std::unique_ptr<TComm> Link;
};

TEST_F(DeviceConfigReadTest, ReadsEverySettingAndSendsNothingButTheTwoRequests) {
    sim::SimOptions options; // with its traffic: the read picks its reports out of it
    options.initialConfig = Distinctive();
    StartSimulator(options);
    Open();
    TMuxConfig config;
    EXPECT_EQ(ReadDeviceConfiguration(*Link, config), 0xA010);
    EXPECT_EQ(config.BaudIn3, 4u);
    EXPECT_EQ(config.TalkID4, "AB");
    EXPECT_EQ(config.PrioIn4, 10u);
    EXPECT_EQ(config.DIIn4, 200u);
    EXPECT_EQ(config.ModbusSlvAddr, 17u);
    EXPECT_EQ(config.DataSrcTable[1].Name.N, 0x00A1B2C3D4E5F607ull);
    Link.reset();
    const std::vector<std::string> received = Sim->ReceivedLines();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].rfind("$PQZXVER*", 0), 0u) << received[0];
    EXPECT_EQ(received[1].rfind("$PQZXCFQ*", 0), 0u) << received[1];
}

TEST_F(DeviceConfigReadTest, FailsWhenTheDeviceDoesNotAnswerOrCannotBeUnderstood) {
    struct TCase {
        const char* Silent;
        const char* Caps;
        const char* Error;
    };
    const TCase cases[] = {
        {"VER", "A010", "Multiplexer does not respond"},
        {"RDY", "A010", "Multiplexer does not respond"},
        {"", "8010", "This version of KVLConfig does not support the connected multiplexer."}};
    for (const TCase& c : cases) {
        sim::SimOptions options = Quiet();
        if (*c.Silent)
            options.silent = {c.Silent};
        options.identity.caps = c.Caps;
        StartSimulator(options);
        Open();
        TMuxConfig config;
        try {
            ReadDeviceConfiguration(*Link, config, 300);
            ADD_FAILURE() << "no failure with " << c.Silent << " " << c.Caps;
        } catch (const EDeviceRead& e) {
            EXPECT_STREQ(e.what(), c.Error);
        }
        Link.reset();
        Sim->Stop();
    }
}

} // namespace
} // namespace kvl::test
