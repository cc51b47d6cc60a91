// The program's command line. Parsing is kept apart from acting on it: the
// options land in a plain struct that main() and the window read, so another
// option is one field, one QCommandLineOption and one check here.
#pragma once

#include "network/records/DiscoveryTargets.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace kvl {

// A link given with --connect, as the port selector, host and port show it.
struct TConnectTarget {
    enum class TKind { UdpAll, Udp, Tcp, Serial, Sim };
    TKind Kind = TKind::Tcp;
    QString Host; // network links
    QString Port; // network links: 1..65535 as text
    QString Path; // serial: the device, e.g. /dev/ttyUSB0; sim: the simulated model, e.g. 3N

    bool operator==(const TConnectTarget&) const = default;
};

struct TCommandLineOptions {
    std::optional<TConnectTarget> Connect; // connect at once, as the Connect button does
    // Where the search for Ethernet models goes instead of every interface's broadcast address.
    std::optional<TXPortEndpoint> DiscoveryAddress;
    // Batch backup and restore (with --connect, without showing the window).
    QString SaveConfig;            // read the configuration and save it to this file
    QString LoadConfig;            // load this file, write it to the multiplexer and check it
    bool Force = false;            // --load-config: write a file with keys missing or refused all the same
    QString CompareConfig;         // print how the multiplexer differs from this file; nothing is written
    std::optional<QString> Decode; // explain this file of NMEA lines ("-" standard input) as JSON Lines
};

struct TCommandLine {
    enum class TAction { Run, Exit };
    TAction Action = TAction::Run;
    int ExitCode = 0; // for Exit: 0 after --help or --version, 2 for bad usage
    QString Output;   // for standard output (--help, --version)
    QString Error;    // for standard error (bad usage)
    TCommandLineOptions Options;
};

inline constexpr int kExitBadUsage = 2;

// arguments: the whole command line, program name first.
TCommandLine ParseCommandLine(const QStringList& arguments);

// "tcp:HOST:PORT", "udp:HOST:PORT", "udp-all:HOST:PORT", "serial:PATH" or "sim:MODEL";
// nullopt with the reason in error when the text is none of these.
std::optional<TConnectTarget> ParseConnectTarget(const QString& text, QString& error);

} // namespace kvl
