#include "SimOptions.h"

#include "SimFields.h"

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
  --full-tables         start with full routing, Modbus and AIS MOB tables (a
                        factory reset empties them)

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
        static const std::set<std::string> kKnown{
            "--udp-bind", "--version", "--device", "--serial",      "--caps",          "--uid",
            "--traffic",  "--profile", "--silent", "--close-after", "--overflow-every"};
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
