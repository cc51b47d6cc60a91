#include "XPortFixture.h"

#include <algorithm>
#include <set>

namespace kvl::test {
namespace {

using Client = XPortTest;

TEST_F(Client, SearchListsEachModuleWithItsAddressAndMac) {
    sim::XPortModuleOptions second;
    second.mac = {0x00, 0x20, 0x4A, 0xAB, 0xCD, 0xEF};
    second.answerDelayMs = 50; // arrives second
    AddModule("127.0.0.61");
    AddModule("127.0.0.62", second);
    TXPort xport;
    EXPECT_EQ(xport.Discover(), 2);
    EXPECT_EQ(xport.FoundList(), (std::vector<std::string>{"127.0.0.61  (00-20-4A-5E-11-07)",
                                                           "127.0.0.62  (00-20-4A-AB-CD-EF)"}));
}

TEST_F(Client, ADatagramOfAnotherLengthEndsTheSearch) {
    sim::XPortModuleOptions first;
    sim::XPortPacket reply(30, 0x11);
    reply[0] = reply[1] = reply[2] = 0;
    reply[3] = 0xF7;
    first.searchAnswers = {reply, sim::XPortPacket(31, 0)};
    sim::XPortModuleOptions late;
    late.answerDelayMs = 100;
    AddModule("127.0.0.63", first);
    AddModule("127.0.0.64", late);
    TXPort xport;
    EXPECT_EQ(xport.Discover(), 1);
    EXPECT_EQ(xport.FoundList(), (std::vector<std::string>{"127.0.0.63  (11-11-11-11-11-11)"}));
}

TEST_F(Client, AnAnswerWithAnotherCodeIsSkipped) {
    sim::XPortModuleOptions options;
    sim::XPortPacket other(30, 0x22);
    other[3] = 0xF9;
    sim::XPortPacket reply(30, 0x33);
    reply[3] = 0xF7;
    options.searchAnswers = {other, reply};
    AddModule("127.0.0.65", options);
    TXPort xport;
    EXPECT_EQ(xport.Discover(), 1);
    EXPECT_EQ(xport.FoundList(), (std::vector<std::string>{"127.0.0.65  (33-33-33-33-33-33)"}));
}

TEST_F(Client, NoModuleFindsNothing) {
    AddModule("127.0.0.66").Stop();
    TXPort xport;
    EXPECT_EQ(xport.Discover(), 0);
    EXPECT_TRUE(xport.FoundList().empty());
}

TEST_F(Client, DiscoveryAddressReplacesTheInterfaceList) {
    const std::vector<std::string> computed = InterfaceBroadcastTargets();
    ASSERT_FALSE(computed.empty());
    EXPECT_EQ(computed.front(), "255.255.255.255");
    EXPECT_EQ(std::set<std::string>(computed.begin(), computed.end()).size(), computed.size());

    SetDiscoveryAddress(TXPortEndpoint{"127.255.255.255", 40123});
    TXPort xport;
    EXPECT_EQ(xport.Targets(), (std::vector<std::string>{"127.255.255.255"}));
    EXPECT_EQ(xport.Port(), 40123);
}

TEST_F(Client, SetupReadGathersAnAnswerThatComesInPieces) {
    sim::XPortModuleOptions options;
    options.answerChunk = 7;
    auto& module = AddModule("127.0.0.67", options);
    TXPort xport;
    TXPortSetup0 record;
    ASSERT_TRUE(xport.GetSetup("127.0.0.67", record));
    EXPECT_EQ(TXPortBytes(record.Bytes().begin(), record.Bytes().end()), Bytes(module.Setup()));
}

TEST_F(Client, WrittenRecordIsTheReadOneWithItsCode) {
    auto& module = AddModule("127.0.0.68");
    TXPort xport;
    TXPortSetup0 record;
    ASSERT_TRUE(xport.GetSetup("127.0.0.68", record));
    ASSERT_TRUE(xport.SetSetup("127.0.0.68", record, false));
    TXPortBytes expected = Bytes(module.Setup());
    expected[3] = 0xFA;
    EXPECT_EQ(Bytes(module.Received().back()), expected);
}

TEST_F(Client, UnreachableModuleFails) {
    AddModule("127.0.0.69").Stop();
    TXPort xport;
    TXPortSetup0 record;
    EXPECT_FALSE(xport.GetSetup("127.0.0.69", record));
    EXPECT_FALSE(xport.SetSetup("127.0.0.69", record, true));
    EXPECT_FALSE(xport.RestoreDefaults("127.0.0.69"));
    EXPECT_FALSE(xport.TryConnect("127.0.0.69"));
}

TEST_F(Client, FactoryRestoreSendsItsThreeStepsExactly) {
    auto& module = AddModule("127.0.0.70");
    const TXPortBytes extended = Bytes(module.Extended());
    TXPort xport;
    ASSERT_TRUE(xport.RestoreDefaults("127.0.0.70"));

    TXPortBytes extendedWrite = extended;
    extendedWrite[1] = 0x01;
    extendedWrite[3] = 0xC3;
    extendedWrite[120] = 0x85; // 0x25 with bit 0x20 cleared and bit 0x80 set
    TXPortBytes reset(130, 0);
    reset[1] = 0x01;
    reset[3] = 0xC7;
    reset[5] = 0x06;
    reset[6] = 0x01;
    TXPortBytes factory(124, 0);
    for (auto [at, value] : std::initializer_list<std::pair<int, int>>{{3, 0xFD},
                                                                       {11, 0x2D},
                                                                       {20, 0x4C},
                                                                       {21, 0x0B},
                                                                       {22, 0x02},
                                                                       {24, 0x7E},
                                                                       {25, 0x27},
                                                                       {26, 0x7E},
                                                                       {27, 0x27},
                                                                       {28, 0xFF},
                                                                       {29, 0xFF},
                                                                       {30, 0xFF},
                                                                       {31, 0xFF},
                                                                       {32, 0xCC},
                                                                       {33, 0x01},
                                                                       {36, 0x0D},
                                                                       {37, 0x0A},
                                                                       {38, 0xF7},
                                                                       {39, 0x30}})
        factory[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(value);
    std::vector<TXPortBytes> received;
    for (const auto& packet : module.Received())
        received.push_back(Bytes(packet));
    EXPECT_EQ(received, (std::vector<TXPortBytes>{{0, 0, 0, 0xE3}, extendedWrite, reset, factory}));
    EXPECT_EQ(module.Resets(), 1);
}

} // namespace
} // namespace kvl::test
