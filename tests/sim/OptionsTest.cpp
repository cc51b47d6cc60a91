// The command line of kvl3sim.
#include "SimOptions.h"

#include <gtest/gtest.h>

using kvl::sim::ParseCommandLine;
using kvl::sim::TransportKind;

TEST(CommandLine, DefaultsServeTcpOnTheNmeaPort) {
    const auto line = ParseCommandLine({});
    EXPECT_TRUE(line.error.empty());
    EXPECT_FALSE(line.help);
    EXPECT_FALSE(line.echo);
    EXPECT_EQ(line.options.transport, TransportKind::Tcp);
    EXPECT_EQ(line.options.tcpPort, 10110);
    EXPECT_EQ(line.options.identity.version, "3.30.2");
    EXPECT_EQ(line.options.identity.caps, "A010");
    EXPECT_GE(line.options.uid.size(), 4u);
    EXPECT_LE(line.options.uid.size(), 12u);
    EXPECT_GT(line.options.trafficRate, 0);
    EXPECT_FALSE(line.options.badChecksum);
    EXPECT_EQ(line.options.closeAfter, 0u);
}

TEST(CommandLine, EveryOptionIsRead) {
    const auto line = ParseCommandLine({"--udp",
                                        "4000",
                                        "--udp-bind",
                                        "127.0.0.3",
                                        "--version",
                                        "3.28.9",
                                        "--device",
                                        "Korvelan-3Wi",
                                        "--serial",
                                        "W1",
                                        "--caps",
                                        "A01",
                                        "--uid",
                                        "AB12",
                                        "--traffic",
                                        "560",
                                        "--overflow-every",
                                        "250",
                                        "--silent",
                                        "VER,$PQZXSP,PQZXCFQ,RDY",
                                        "--close-after",
                                        "7",
                                        "--bad-checksum",
                                        "--echo"});
    ASSERT_EQ(line.error, "");
    const auto& o = line.options;
    EXPECT_EQ(o.transport, TransportKind::Udp);
    EXPECT_EQ(o.udpPort, 4000);
    EXPECT_EQ(o.udpBind, "127.0.0.3");
    EXPECT_EQ(o.identity.version, "3.28.9");
    EXPECT_EQ(o.identity.device, "Korvelan-3Wi");
    EXPECT_EQ(o.identity.serial, "W1");
    EXPECT_EQ(o.identity.caps, "A01");
    EXPECT_EQ(o.uid, "AB12");
    EXPECT_EQ(o.trafficRate, 560);
    EXPECT_EQ(o.overflowEveryMs, 250u);
    EXPECT_EQ(o.silent, (std::set<std::string>{"VER", "SP", "CFQ", "RDY"}));
    EXPECT_EQ(o.closeAfter, 7u);
    EXPECT_TRUE(o.badChecksum);
    EXPECT_TRUE(line.echo);

    const auto pty = ParseCommandLine({"--pty", "/tmp/kvl"});
    EXPECT_EQ(pty.options.transport, TransportKind::Pty);
    EXPECT_EQ(pty.options.ptyLink, "/tmp/kvl");
    EXPECT_EQ(ParseCommandLine({"--tcp", "0"}).options.tcpPort, 0);
    EXPECT_TRUE(ParseCommandLine({"--help"}).help);
}

TEST(CommandLine, MistakesAreNamed) {
    const std::vector<std::vector<std::string>> wrong{{"--tcp"},
                                                      {"--tcp", "65536"},
                                                      {"--tcp", "-1"},
                                                      {"--tcp", "x"},
                                                      {"--tcp", "1", "--pty", "/tmp/x"},
                                                      {"--pty", ""},
                                                      {"--uid", "ABCDEFGHIJKLM"},
                                                      {"--uid", "A-1"},
                                                      {"--caps", "A0,1"},
                                                      {"--version", "3*1"},
                                                      {"--traffic", "fast"},
                                                      {"--traffic", "-1"},
                                                      {"--traffic", "20000"},
                                                      {"--close-after", "0"},
                                                      {"--silent", "ver"},
                                                      {"--silent", "VER,,SP"},
                                                      {"--overflow-every", "x"},
                                                      {"--frobnicate"}};
    for (const auto& args : wrong)
        EXPECT_FALSE(ParseCommandLine(args).error.empty())
            << args[0] << " " << (args.size() > 1 ? args[1] : "");
}

TEST(CommandLine, HelpNamesEveryOption) {
    const std::string usage = kvl::sim::UsageText();
    for (const char* option :
         {"--tcp",           "--pty",          "--udp",  "--udp-bind", "--version",        "--device",
          "--serial",        "--caps",         "--uid",  "--traffic",  "--overflow-every", "--silent",
          "--close-after",   "--bad-checksum", "--echo", "--help",     "$PSIMOV",          "--unmarked",
          "--readout-fault", "reannounce"})
        EXPECT_NE(usage.find(option), std::string::npos) << option;
}

TEST(SimOptions, TrafficProfileByName) {
    EXPECT_EQ(ParseCommandLine({}).options.trafficProfile, kvl::sim::TrafficProfile::Rotation);
    EXPECT_EQ(ParseCommandLine({"--profile", "lively"}).options.trafficProfile,
              kvl::sim::TrafficProfile::Lively);
    EXPECT_EQ(ParseCommandLine({"--profile", "busy"}).error, "--profile: rotation or lively: busy");
}

TEST(CommandLine, XPortModuleOnALoopbackAddress) {
    EXPECT_FALSE(ParseCommandLine({}).xport);
    const auto plain = ParseCommandLine({"--xport", "127.0.0.5"});
    ASSERT_TRUE(plain.xport);
    EXPECT_EQ(plain.xport->address, "127.0.0.5");
    EXPECT_EQ(plain.xport->port, 30718);
    const auto withPort = ParseCommandLine({"--xport", "127.0.0.6:40000"});
    ASSERT_TRUE(withPort.xport);
    EXPECT_EQ(withPort.xport->port, 40000);
    for (const char* bad : {"192.168.1.5", "127.0.0.5:70000", "127.0.0.5:", "host"})
        EXPECT_FALSE(ParseCommandLine({"--xport", bad}).error.empty()) << bad;
}
