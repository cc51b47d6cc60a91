// The simulated bootloader on the wire, driven by a host that frames its own
// packets and computes the expected checksums with the tool's functions.
#include "SimFixture.h"

#include "BootChecksum.h"
#include "MemoryReadout.h"
#include "SentenceFrame.h"
#include "firmware/ImageChecksum.h"
#include "sentence/NmeaText.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace simtest;
using Bytes = std::vector<std::uint8_t>;

namespace {

const Bytes kPattern = {0xF0, 0xF1, 0xF2, 0xF3};
const Bytes kAck = {0xC0};

Bytes Page(std::uint8_t command, unsigned page, std::size_t size) {
    Bytes packet = {command, static_cast<std::uint8_t>(page), static_cast<std::uint8_t>(page >> 8)};
    if (command == 4)
        packet.push_back(0);
    for (std::size_t i = 0; i < size; ++i)
        packet.push_back(static_cast<std::uint8_t>(0xF9 + i * 3 + page)); // escapes included
    return packet;
}

Bytes Encryption(std::uint8_t method, std::size_t ivBytes) {
    Bytes packet = {6, method};
    packet.resize(2 + ivBytes, 0x42);
    return packet;
}

struct BootDevice {
    explicit BootDevice(kvl::sim::SimOptions options = Quiet(), bool serial = false)
        : Options(Prepared(std::move(options), serial)), Sim(Options) {
        Sim.Start();
        Host = serial ? WireClient::Serial(Options.ptyLink) : WireClient::Tcp(Sim.TcpPort());
    }
    static kvl::sim::SimOptions Prepared(kvl::sim::SimOptions options, bool serial) {
        if (serial) {
            options.transport = kvl::sim::TransportKind::Pty;
            options.ptyLink = ::testing::TempDir() + "bootpty" + std::to_string(::getpid());
            options.ptyBaud = 0; // the bootloader's answers are tested here, not the line's timing
        }
        return options;
    }
    // "$PQZXRESET", the LDR sentence, then link mode and the start pattern.
    std::optional<std::string> Enter() {
        Host->SetRawMode(false);
        Host->Send("$PQZXRESET");
        auto ldr = Host->WaitForPrefix("$PQZXLDR", 2s);
        Host->SetRawMode(true);
        Host->SendFrame(kPattern);
        return ldr;
    }
    std::optional<Bytes> Ask(const Bytes& packet, std::chrono::milliseconds wait = kWait) {
        Host->SendFrame(packet);
        return Host->NextFrame(wait);
    }
    kvl::sim::SimOptions Options;
    kvl::sim::Simulator Sim;
    std::unique_ptr<WireClient> Host;
};

Bytes Le32(std::uint8_t code, std::uint32_t value) {
    return {code, static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

kvl::sim::SimOptions WithFault(const std::string& fault, std::uint8_t hardwareId = 0x10) {
    auto options = Quiet();
    options.boot.fault = *kvl::sim::ParseBootFault(fault);
    options.boot.hardwareId = hardwareId;
    return options;
}

} // namespace

TEST(BootChecksum, CheckValues) {
    const std::uint8_t abcd[] = {'a', 'b', 'c', 'd'};
    EXPECT_EQ(kvl::sim::FlashSum24(abcd, 4), 0x00A0A1u);
    EXPECT_EQ(kvl::sim::FlashCrc32(abcd, 4), 0xA62F1C36u);
    const Bytes erased(262144, 0xFF);
    EXPECT_EQ(kvl::sim::FlashSum24(erased.data(), erased.size()), 0x050005u);
}

TEST(Bootloader, ResetAnnouncesTheBootloaderWithItsHardwareId) {
    auto options = Quiet();
    options.boot.hardwareId = 0x2B;
    BootDevice device(options);
    device.Host->Send("$PQZXRESET,1"); // the factory reset stays what it was
    EXPECT_FALSE(device.Host->WaitForPrefix("$PQZXLDR", 200ms));
    EXPECT_EQ(device.Enter(), OnWire("$PQZXLDR,2B"));
}

TEST(Bootloader, AnAvrUpdateReportsTheChecksumOfItsFlashAndRestarts) {
    BootDevice device;
    ASSERT_EQ(device.Enter(), OnWire("$PQZXLDR,10"));
    EXPECT_EQ(device.Ask({0x01}), kAck);
    EXPECT_EQ(device.Ask(Encryption(2, 16)), kAck);
    Bytes flash(262144, 0xFF);
    for (const unsigned page : {0u, 1u, 300u}) {
        const Bytes packet = Page(3, page, 512);
        std::copy(packet.begin() + 3, packet.end(), flash.begin() + page * 512);
        EXPECT_EQ(device.Ask(packet), kAck) << page;
    }
    const std::uint32_t sum = kvl::ImageCrc24(flash.data(), flash.size());
    EXPECT_EQ(device.Ask({0x05}), Le32(0x05, sum));
    EXPECT_EQ(device.Sim.BootChecksum(), sum);
    device.Host->SetRawMode(false);
    const auto ver = device.Host->WaitForPrefix("$PQZXVER", 2s);
    ASSERT_TRUE(ver);
    EXPECT_EQ(FieldsOf(*ver)[1], "3.29.0");
    EXPECT_EQ(device.Sim.CompletedUpdates(), 1u);
    device.Host->Send("$PQZXVER"); // the firmware runs again
    EXPECT_TRUE(device.Host->WaitForPrefix("$PQZXVER,3.29.0", 2s));
}

TEST(Bootloader, AnArmUpdateOverTheSerialLinkChecksTheProgrammedPages) {
    auto options = Quiet();
    options.boot.hardwareId = 0x20;
    options.boot.crcAnswerCode = 0x85;
    BootDevice device(options, true);
    ASSERT_EQ(device.Enter(), OnWire("$PQZXLDR,20"));
    EXPECT_EQ(device.Ask({0x01}), kAck);
    EXPECT_EQ(device.Ask(Encryption(3, 4)), kAck);
    Bytes flash;
    for (unsigned page = 0; page < 3; ++page) {
        const Bytes packet = Page(4, page, 2048);
        flash.insert(flash.end(), packet.begin() + 4, packet.end());
        EXPECT_EQ(device.Ask(packet), kAck);
    }
    EXPECT_EQ(device.Ask({0x05, 3, 0}), Le32(0x85, kvl::ImageCrc32(flash.data(), flash.size())));
}

TEST(Bootloader, MalformedCommandsGetTheirErrorCodes) {
    BootDevice device;
    device.Enter();
    EXPECT_EQ(device.Ask({0x09}), Bytes{0xE1});
    EXPECT_EQ(device.Ask({0x01, 0x00}), Bytes{0xE0});
    EXPECT_EQ(device.Ask(Encryption(3, 4)), Bytes{0xE2});
    EXPECT_EQ(device.Ask(Encryption(2, 15)), Bytes{0xE0});
    EXPECT_EQ(device.Ask(Page(3, 0, 512)), Bytes{0xE2}) << "no decryption set up yet";
    EXPECT_EQ(device.Ask(Encryption(2, 16)), kAck);
    EXPECT_EQ(device.Ask(Page(4, 0, 512)), Bytes{0xE1}) << "the ARM page command";
    EXPECT_EQ(device.Ask(Page(3, 0, 511)), Bytes{0xE0});
    EXPECT_EQ(device.Ask(Page(3, 512, 512)), Bytes{0xE0}) << "beyond the flash";
}

TEST(Bootloader, AnInjectedErrorHitsOnlyTheFirstAttempt) {
    BootDevice device(WithFault("error:erase:E1"));
    device.Enter();
    EXPECT_EQ(device.Ask({0x01}), Bytes{0xE1});
    ASSERT_EQ(device.Enter(), OnWire("$PQZXLDR,10")) << "a reset restarts the waiting bootloader";
    EXPECT_EQ(device.Ask({0x01}), kAck);
}

TEST(Bootloader, SilenceAndAWrongSizeAtTheirStep) {
    BootDevice device(WithFault("silent:page:1"));
    device.Enter();
    device.Ask({0x01});
    device.Ask(Encryption(2, 16));
    EXPECT_EQ(device.Ask(Page(3, 0, 512)), kAck);
    EXPECT_FALSE(device.Ask(Page(3, 1, 512), 300ms));

    BootDevice sized(WithFault("size:encryption"));
    sized.Enter();
    sized.Ask({0x01});
    EXPECT_EQ(sized.Ask(Encryption(2, 16)), (Bytes{0xC0, 0x00}));
}

TEST(Bootloader, ASilentBootloaderAnnouncesItselfOnTheNextReset) {
    BootDevice device(WithFault("silent:ldr"));
    device.Host->Send("$PQZXRESET");
    EXPECT_FALSE(device.Host->WaitForPrefix("$PQZXLDR", 300ms));
    EXPECT_EQ(device.Enter(), OnWire("$PQZXLDR,10"));
}

TEST(Bootloader, AWrongChecksumAnswerAndNoRestart) {
    BootDevice device(WithFault("badcrc"));
    device.Enter();
    device.Ask({0x01});
    device.Ask(Encryption(2, 16));
    const Bytes erased(262144, 0xFF);
    const std::uint32_t sum = kvl::ImageCrc24(erased.data(), erased.size());
    EXPECT_EQ(device.Ask({0x05}), Le32(0x05, sum ^ 0x00010001u));
    EXPECT_EQ(device.Sim.BootChecksum(), sum) << "what it computed";
    device.Host->SetRawMode(false);
    EXPECT_FALSE(device.Host->WaitForPrefix("$PQZXVER", 300ms));
}

TEST(Bootloader, TheTcpConnectionEndsAtTheChosenPage) {
    BootDevice device(WithFault("drop:page:2"));
    device.Enter();
    device.Ask({0x01});
    device.Ask(Encryption(2, 16));
    device.Ask(Page(3, 0, 512));
    device.Ask(Page(3, 1, 512));
    device.Host->SendFrame(Page(3, 2, 512));
    EXPECT_TRUE(device.Host->WaitClosed(2s));
}

TEST(MemoryReadout, ArmouringAsTheSentenceLayerDecodesIt) {
    EXPECT_EQ(kvl::sim::Armour6Bit(Bytes{0, 0, 0}.data(), 3), "0000");
    EXPECT_EQ(kvl::sim::Armour6Bit(Bytes{0xFF, 0xFF, 0xFF}.data(), 3), "wwww");
    const Bytes bytes = kvl::sim::SimulatedMemory(0x4000, 47);
    std::vector<std::uint8_t> decoded;
    kvl::Decode6Bit(kvl::sim::Armour6Bit(bytes.data(), bytes.size()), decoded);
    EXPECT_EQ(decoded, bytes);
}

TEST(MemoryReadout, ARequestIsAnsweredWithTheAnnouncementAndTheBlocks) {
    TcpDevice device;
    device.Host->Send("$PSIMMEM,1FFF0,40");
    EXPECT_EQ(device.Host->WaitForPrefix("$PQZXMEM"), OnWire("$PQZXMEM,R,0001FFF0,00000040,2"));
    Bytes collected;
    for (const std::string number : {"1", "2"}) {
        const auto line = device.Host->WaitForPrefix("$PQZXBIN");
        ASSERT_TRUE(line);
        ASSERT_TRUE(ChecksumsRight(*line));
        EXPECT_EQ(FieldsOf(*line)[1], number);
        std::vector<std::uint8_t> block;
        kvl::Decode6Bit(FieldsOf(*line)[2], block);
        collected.insert(collected.end(), block.begin(), block.end());
    }
    EXPECT_EQ(collected, kvl::sim::SimulatedMemory(0x1FFF0, 0x40));
}

TEST(BootOptions, FaultsAndBootloaderOptionsOnTheCommandLine) {
    using kvl::sim::ParseCommandLine;
    const auto line = ParseCommandLine({"--hardware-id", "21", "--crc-answer", "85", "--updated-version",
                                        "3.31.0", "--boot-fault", "error:page:7:E0"});
    ASSERT_EQ(line.error, "");
    EXPECT_EQ(line.options.boot.hardwareId, 0x21);
    EXPECT_EQ(line.options.boot.crcAnswerCode, 0x85);
    EXPECT_EQ(line.options.boot.versionAfterUpdate, "3.31.0");
    EXPECT_EQ(line.options.boot.fault.kind, kvl::sim::BootFault::Kind::Error);
    EXPECT_EQ(line.options.boot.fault.page, 7u);
    EXPECT_EQ(line.options.boot.fault.code, 0xE0);
    for (const char* bad :
         {"error:erase", "silent:crc:1", "size:ldr", "drop:page", "loud:erase", "error:page:x:E0"})
        EXPECT_NE(ParseCommandLine({"--boot-fault", bad}).error, "") << bad;
    EXPECT_NE(ParseCommandLine({"--crc-answer", "07"}).error, "");
}

TEST(Bootloader, AWaitingBootloaderAnswersAnyLineWithItsAnnouncement) {
    BootDevice device(WithFault("drop:page:0"));
    device.Enter();
    device.Ask({0x01});
    device.Ask(Encryption(2, 16));
    device.Host->SendFrame(Page(3, 0, 512));
    ASSERT_TRUE(device.Host->WaitClosed(2s));
    // The host connects again and asks for the version, as after any connect.
    device.Host = WireClient::Tcp(device.Sim.TcpPort());
    device.Host->Send("$PQZXVER");
    EXPECT_EQ(device.Host->WaitForPrefix("$PQZXLDR", 1s), OnWire("$PQZXLDR,10"));
}

TEST(Bootloader, AFirmwareThatDoesNotStartLeavesTheBootloaderAnnouncingItselfAgain) {
    BootDevice device(WithFault("reannounce"));
    device.Enter();
    device.Ask({0x01});
    device.Ask(Encryption(2, 16));
    ASSERT_EQ(device.Ask({0x05}).value_or(Bytes{}).size(), 5u);
    device.Host->SetRawMode(false);
    EXPECT_EQ(device.Host->WaitForPrefix("$PQZX", 1s), OnWire("$PQZXLDR,10"));
    EXPECT_EQ(device.Sim.CompletedUpdates(), 0u);
}

TEST(MemoryReadout, AFaultyReadOutBreaksOffOrCorruptsTheChosenBlock) {
    const Bytes memory = kvl::sim::SimulatedMemory(0x100, 100);
    const std::string stalled =
        kvl::sim::ReadoutOnWire(0x100, memory, 48, *kvl::sim::ParseReadoutFault("stall:2"));
    EXPECT_EQ(stalled, kvl::sim::FrameSentence("$PQZXMEM,R,00000100,00000064,3") +
                           kvl::sim::FrameSentence("$PQZXBIN,1," + kvl::sim::Armour6Bit(memory.data(), 48)));
    const std::string corrupt =
        kvl::sim::ReadoutOnWire(0x100, memory, 48, *kvl::sim::ParseReadoutFault("badline:3"));
    const auto last = corrupt.rfind("$PQZXBIN,3,");
    ASSERT_NE(last, std::string::npos);
    EXPECT_FALSE(ChecksumsRight(corrupt.substr(last, corrupt.size() - last - 2)));
    EXPECT_EQ(corrupt.substr(0, last),
              kvl::sim::ReadoutOnWire(0x100, memory, 48, *kvl::sim::ParseReadoutFault("stall:3")));
    for (const char* bad : {"stall:0", "badline", "slow:2", "stall:x"})
        EXPECT_FALSE(kvl::sim::ParseReadoutFault(bad)) << bad;
}

TEST(BootOptions, TheMarkerTheFirmwareFaultsAndTheReadOutFaultOnTheCommandLine) {
    using kvl::sim::ParseCommandLine;
    const auto line =
        ParseCommandLine({"--unmarked", "--boot-fault", "reannounce", "--readout-fault", "badline:4"});
    ASSERT_EQ(line.error, "");
    EXPECT_FALSE(line.options.identity.marked);
    EXPECT_EQ(line.options.boot.fault.kind, kvl::sim::BootFault::Kind::Reannounce);
    EXPECT_EQ(line.options.readoutFault.kind, kvl::sim::ReadoutFault::Kind::BadChecksum);
    EXPECT_EQ(line.options.readoutFault.block, 4u);
    EXPECT_NE(ParseCommandLine({"--readout-fault", "stall:0"}).error, "");
    EXPECT_TRUE(ParseCommandLine({}).options.identity.marked);
}
