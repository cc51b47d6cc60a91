#include "SimOptions.h"

#include "SimFields.h"

#include <arpa/inet.h>

#include <cstdlib>
#include <string_view>

namespace kvl::sim {

namespace {

constexpr std::string_view kUsage = R"(Usage: kvl3sim [options]
A simulated Korvelan-3 multiplexer for KVLConfig3 and its tests.

Host link (one of them; TCP on port 10110 when none is given):
  --tcp PORT            listen on 127.0.0.1:PORT; 0 picks a free port. A new
                        connection replaces the previous one.
  --pty LINK            open a pseudo-terminal and make LINK a symbolic link to
                        its slave side, to be opened as a serial port
  --pty-baud RATE       the pseudo-terminal passes bytes both ways no faster
                        than a serial line at RATE baud, 8N1 (460800); 0 as
                        fast as it can
  --udp PORT            bind the --udp-bind address on PORT, send traffic to
                        127.0.0.1:PORT and answer commands to their sender
  --udp-bind ADDR       the device's loopback address for --udp (127.0.0.2)

Model and identity:
  --version TEXT        firmware version in the VER answer (3.30.2)
  --device TEXT         device name (Korvelan-3N)
  --serial TEXT         serial number (K3N-20417)
  --caps HEX            capability word, sent exactly as given (A010: NMEA 2000,
                        USB); bit 4 decides whether NMEA 2000 settings exist
  --uid TEXT            factory unique ID, up to 12 letters or digits (KV3SIM)
  --unmarked            leave the marker (simulator) off the device name in the
                        VER answer: the program then takes the simulator for a
                        real multiplexer and sends it none of its test firmware
  --full-tables         start with full routing, Modbus and AIS MOB tables (a
                        factory reset empties them)
  --quirky-reports      report an unset data source as "-", the Modbus mode
                        without the slave address, and start with a Modbus
                        entry whose transducer ID holds a blank (ENGINE 1)

NMEA 2000 bus (models with NMEA 2000):
  --n2k-bus demo        put the demonstration devices on the bus: a Raymarine
                        SeaTalk-STNG converter (product 16763) at 35, an Airmar
                        sensor at 12, a Garmin display at 40, a device at 20 that
                        answers only product information parts A and B, one at
                        50 that moves to 60 when first asked, two Furuno sensors
                        at 70 and 71 that differ only in their device instances,
                        a Maretron device at 80 that takes a changed instance
                        only after a second, and a Victron device at 90 that
                        refuses an instance change
  --n2k-device SPEC     add a device; SPEC is ADDRESS:NAME:PRODUCT:MODELID:MODELVERSION
                        with NAME as 16 hex digits, then any of :ab (never sends
                        part C), :late (takes a changed instance only after a
                        second) and :fixed (refuses an instance change). May be
                        given more than once.

Traffic and reports:
  --traffic RATE        NMEA lines per second from inputs 1-4, conversions and
                        NMEA 2000, 0 for none (5); TAG blocks when option bit 5 is set
  --profile NAME        the order of the traffic: rotation (each sentence in
                        turn) or lively (a one-second cycle of 20 lines: position
                        and heading once a second, wind and depth more often,
                        some AIS; use it with --traffic 20)
  --overflow-every MS   send $PQZXOV every MS milliseconds (bits 1, 2, 3 in turn)
                        The host may also send $PSIMOV,<hex bits> (with checksum):
                        the device answers with $PQZXOV,<hex bits> at once.

Faults:
  --silent LIST         leave these commands unanswered, comma separated names
                        after $PQZX: VER, CFQ, SP, ...; RDY drops every $PQZXRDY
  --close-after N       TCP: close each connection after N lines sent
  --bad-checksum        the device's own sentences carry a wrong checksum

Bootloader ("$PQZXRESET" starts it; it announces itself with $PQZXLDR):
  --hardware-id HEX     hardware ID in the LDR sentence (10: AVR; 20: ARM)
  --updated-version TEXT  version in the VER sentence after an update (3.29.0)
  --crc-answer HEX      first byte of the checksum answer, 05 or 85 (05)
  --boot-fault FAULT    one fault in the first update attempt: silent:STEP,
                        error:STEP:CODE, size:STEP (two-byte answer), badcrc,
                        drop:STEP (TCP: the connection ends); STEP is ldr, erase,
                        encryption, page:N, crc or restart (silent only for ldr
                        and restart); reannounce: after the checksum the
                        bootloader announces itself again instead of the
                        firmware's VER. Example: error:erase:E1
                        A waiting bootloader answers every other line with its
                        $PQZXLDR announcement.
                        The host may also send $PSIMMEM,<hex address>,<hex size>
                        (with checksum) for a memory read-out ($PQZXMEM, $PQZXBIN).
  --readout-fault F     every such read-out goes wrong at block N: badline:N (a
                        wrong checksum) or stall:N (the device stops before it)

XPort module (the Ethernet model's network side, on loopback only):
  --xport ADDR[:PORT]   run a module at the loopback address ADDR (for example
                        127.0.0.5) on PORT (30718), hearing searches sent to
                        127.255.255.255:PORT; it moves to the loopback address the
                        tool assigns

Other:
  --echo                print every line received from the host to stdout
  --help                this text

On start one line "kvl3sim ready <link>" goes to stdout; SIGINT or SIGTERM end
the simulator.
)";

bool ReadPort(const std::string& text, std::uint16_t& port) {
    const auto value = ReadDecimal(text, 65535);
    if (!value)
        return false;
    port = static_cast<std::uint16_t>(*value);
    return true;
}

bool ReadXPort(const std::string& text, std::optional<XPortModuleOptions>& xport) {
    XPortModuleOptions options;
    const auto colon = text.find(':');
    options.address = text.substr(0, colon);
    if (colon != std::string::npos && !ReadPort(text.substr(colon + 1), options.port))
        return false;
    in_addr address{};
    if (::inet_pton(AF_INET, options.address.c_str(), &address) != 1 || (ntohl(address.s_addr) >> 24) != 127)
        return false;
    xport = options;
    return true;
}

bool ReadRate(const std::string& text, double& rate) {
    if (text.empty())
        return false;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !(value >= 0) || value > 10000)
        return false;
    rate = value;
    return true;
}

bool ReadSilent(const std::string& text, std::set<std::string>& names) {
    for (std::string_view name : SplitFields(text)) {
        if (name.starts_with("$PQZX"))
            name.remove_prefix(5);
        else if (name.starts_with("PQZX"))
            name.remove_prefix(4);
        if (name.empty())
            return false;
        for (const char c : name)
            if (c < 'A' || c > 'Z')
                return false;
        names.emplace(name);
    }
    return true;
}

std::vector<std::string> SplitColons(const std::string& text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t colon = text.find(':', start);
        parts.push_back(text.substr(start, colon - start));
        if (colon == std::string::npos)
            return parts;
        start = colon + 1;
    }
}

bool ReadDevice(const std::string& text, std::vector<N2kDevice>& bus) {
    const std::vector<std::string> parts = SplitColons(text);
    if (parts.size() < 5)
        return false;
    N2kDevice device;
    for (std::size_t i = 5; i < parts.size(); ++i) {
        if (parts[i] == "ab")
            device.answersPartC = false;
        else if (parts[i] == "late")
            device.instanceChange = N2kDevice::InstanceChange::Delayed;
        else if (parts[i] == "fixed")
            device.instanceChange = N2kDevice::InstanceChange::Refused;
        else
            return false;
    }
    const auto address = ReadDecimal(parts[0], 251);
    const auto name = ReadHex(parts[1], 16, 16);
    if (!address || !name)
        return false;
    for (std::size_t i = 2; i < 5; ++i)
        if (!IsFieldText(parts[i]))
            return false;
    device.address = static_cast<std::uint8_t>(*address);
    device.name = *name;
    device.productCode = parts[2];
    device.modelId = parts[3];
    device.modelVersion = parts[4];
    bus.push_back(device);
    return true;
}

bool IsUid(const std::string& text) {
    if (text.size() > 12)
        return false;
    for (const char c : text)
        if (!IsLetterOrDigit(c))
            return false;
    return true;
}

class Parser {
public:
    explicit Parser(const std::vector<std::string>& args) : Args(args) {}

    CommandLine Run() {
        bool transportGiven = false;
        while (Index < Args.size() && Result.error.empty()) {
            const std::string option = Args[Index++];
            if (option == "--help") {
                Result.help = true;
            } else if (option == "--echo") {
                Result.echo = true;
            } else if (option == "--bad-checksum") {
                Result.options.badChecksum = true;
            } else if (option == "--full-tables") {
                Result.options.fullTables = true;
            } else if (option == "--unmarked") {
                Result.options.identity.marked = false;
            } else if (option == "--quirky-reports") {
                Result.options.quirkyReports = true;
            } else if (option == "--tcp" || option == "--pty" || option == "--udp") {
                if (transportGiven)
                    return Fail("only one of --tcp, --pty and --udp can be given");
                transportGiven = true;
                ReadTransport(option);
            } else {
                Valued(option);
            }
        }
        return Result;
    }

private:
    CommandLine Fail(std::string message) {
        Result.error = std::move(message);
        return Result;
    }

    bool Value(const std::string& option, std::string& value) {
        if (Index >= Args.size()) {
            Fail(option + " needs a value");
            return false;
        }
        value = Args[Index++];
        return true;
    }

    void ReadTransport(const std::string& option) {
        std::string value;
        if (!Value(option, value))
            return;
        SimOptions& o = Result.options;
        if (option == "--pty") {
            o.transport = TransportKind::Pty;
            o.ptyLink = value;
            if (value.empty())
                Fail("--pty needs a path");
            return;
        }
        o.transport = option == "--tcp" ? TransportKind::Tcp : TransportKind::Udp;
        if (!ReadPort(value, option == "--tcp" ? o.tcpPort : o.udpPort))
            Fail(option + ": not a port number: " + value);
    }

    void Valued(const std::string& option) {
        static const std::set<std::string> kKnown{"--udp-bind",        "--version",        "--device",
                                                  "--serial",          "--caps",           "--uid",
                                                  "--traffic",         "--profile",        "--silent",
                                                  "--close-after",     "--overflow-every", "--hardware-id",
                                                  "--updated-version", "--crc-answer",     "--boot-fault",
                                                  "--xport",           "--n2k-bus",        "--n2k-device",
                                                  "--readout-fault",   "--pty-baud"};
        if (!kKnown.contains(option)) {
            Fail("unknown option: " + option);
            return;
        }
        std::string value;
        if (!Value(option, value))
            return;
        SimOptions& o = Result.options;
        if (option == "--udp-bind") {
            o.udpBind = value;
        } else if (option == "--pty-baud") {
            const auto baud = ReadDecimal(value, 10000000);
            if (!baud)
                Fail("--pty-baud: a baud rate from 0 to 10000000: " + value);
            else
                o.ptyBaud = *baud;
        } else if (option == "--version" || option == "--device" || option == "--serial" ||
                   option == "--caps") {
            if (!IsFieldText(value)) {
                Fail(option + ": characters that cannot stand in a sentence field: " + value);
                return;
            }
            std::string& target = option == "--version"  ? o.identity.version
                                  : option == "--device" ? o.identity.device
                                  : option == "--serial" ? o.identity.serial
                                                         : o.identity.caps;
            target = value;
        } else if (option == "--uid") {
            if (!IsUid(value))
                Fail("--uid: up to 12 letters or digits: " + value);
            o.uid = value;
        } else if (option == "--traffic") {
            if (!ReadRate(value, o.trafficRate))
                Fail("--traffic: lines per second from 0 to 10000: " + value);
        } else if (option == "--profile") {
            if (const auto profile = ProfileNamed(value))
                o.trafficProfile = *profile;
            else
                Fail("--profile: rotation or lively: " + value);
        } else if (option == "--silent") {
            if (!ReadSilent(value, o.silent))
                Fail("--silent: command names such as VER,CFQ,SP: " + value);
        } else if (option == "--hardware-id" || option == "--updated-version" || option == "--crc-answer" ||
                   option == "--boot-fault") {
            ReadBootOption(option, value);
        } else if (option == "--readout-fault") {
            if (const auto fault = ParseReadoutFault(value))
                o.readoutFault = *fault;
            else
                Fail("--readout-fault: badline:N or stall:N with a block number from 1: " + value);
        } else if (option == "--xport") {
            if (!ReadXPort(value, Result.xport))
                Fail("--xport: a loopback address 127.x.x.x, optionally with :PORT: " + value);
        } else if (option == "--n2k-bus") {
            if (value != "demo")
                Fail("--n2k-bus: the only bus is demo: " + value);
            else
                o.n2kBus = DemoBus();
        } else if (option == "--n2k-device") {
            if (!ReadDevice(value, o.n2kBus))
                Fail("--n2k-device: ADDRESS:NAME:PRODUCT:MODELID:MODELVERSION[:ab][:late|:fixed]: " + value);
        } else if (option == "--close-after") {
            const auto lines = ReadDecimal(value, 1000000000);
            if (!lines || *lines == 0)
                Fail("--close-after: a number of lines from 1: " + value);
            else
                o.closeAfter = *lines;
        } else {
            const auto ms = ReadDecimal(value, 3600000);
            if (!ms)
                Fail("--overflow-every: milliseconds from 0 to 3600000: " + value);
            else
                o.overflowEveryMs = *ms;
        }
    }

    void ReadBootOption(const std::string& option, const std::string& value) {
        BootOptions& boot = Result.options.boot;
        if (option == "--updated-version") {
            if (!IsFieldText(value))
                Fail(option + ": characters that cannot stand in a sentence field: " + value);
            boot.versionAfterUpdate = value;
        } else if (option == "--boot-fault") {
            const auto fault = ParseBootFault(value);
            if (!fault)
                Fail("--boot-fault: not a fault such as silent:erase or error:page:3:E0: " + value);
            else
                boot.fault = *fault;
        } else {
            const auto byte = ReadHex(value, 1, 2);
            const bool crc = option == "--crc-answer";
            if (!byte || (crc && *byte != 0x05 && *byte != 0x85))
                Fail(option + (crc ? ": 05 or 85: " : ": one hexadecimal byte: ") + value);
            else
                (crc ? boot.crcAnswerCode : boot.hardwareId) = static_cast<std::uint8_t>(*byte);
        }
    }

    const std::vector<std::string>& Args;
    std::size_t Index = 0;
    CommandLine Result;
};

} // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    return Parser(args).Run();
}

std::string UsageText() {
    return std::string(kUsage);
}

} // namespace kvl::sim
