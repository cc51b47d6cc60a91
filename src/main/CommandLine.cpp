#include "main/CommandLine.h"

#include "host/ProgramVersion.h"

#include "SimModels.h"

#include <QCommandLineParser>

namespace kvl {

namespace {

constexpr int kMaxPort = 65535;

const QString kConnectForms =
    QStringLiteral("tcp:HOST:PORT, udp:HOST:PORT, udp-all:HOST:PORT, serial:PATH or sim:MODEL");

// The simulated models for --help: "3, 3N, 3E, 3Wi, 3M, ...".
QString SimModelCodes() {
    QStringList codes;
    for (const sim::SimModel& model : sim::SimModels())
        codes.append(QString::fromStdString(model.code));
    return codes.join(QStringLiteral(", "));
}

bool ValidPort(const QString& text) {
    bool isNumber = false;
    const int port = text.toInt(&isNumber);
    return isNumber && port >= 1 && port <= kMaxPort;
}

std::optional<TConnectTarget> ParseNetworkTarget(TConnectTarget::TKind kind, const QString& rest,
                                                 const QString& text, QString& error) {
    // The port is after the last colon, so the host part is everything before it.
    const qsizetype colon = rest.lastIndexOf(QLatin1Char(':'));
    if (colon <= 0 || colon == rest.size() - 1) {
        error = QStringLiteral("--connect %1: a host and a port are needed (%2)").arg(text, kConnectForms);
        return std::nullopt;
    }
    TConnectTarget target;
    target.Kind = kind;
    target.Host = rest.left(colon);
    target.Port = rest.mid(colon + 1);
    if (!ValidPort(target.Port)) {
        error = QStringLiteral("--connect %1: the port must be a number from 1 to 65535").arg(text);
        return std::nullopt;
    }
    return target;
}

// Qt's own options (QGuiApplication and QApplication read them after this
// parser): accepted here and left to Qt.
void AddToolkitOptions(QCommandLineParser& parser) {
    for (const char* name : {"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
                             "qwindowicon", "qwindowtitle", "display", "geometry", "style", "stylesheet",
                             "session", "name", "title", "visual"}) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : {"reverse", "widgetcount", "nograb", "dograb", "sync"}) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

} // namespace

std::optional<TConnectTarget> ParseConnectTarget(const QString& text, QString& error) {
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    const QString scheme = colon < 0 ? QString() : text.left(colon);
    const QString rest = colon < 0 ? QString() : text.mid(colon + 1);
    if (scheme == QLatin1String("tcp"))
        return ParseNetworkTarget(TConnectTarget::TKind::Tcp, rest, text, error);
    if (scheme == QLatin1String("udp"))
        return ParseNetworkTarget(TConnectTarget::TKind::Udp, rest, text, error);
    if (scheme == QLatin1String("udp-all"))
        return ParseNetworkTarget(TConnectTarget::TKind::UdpAll, rest, text, error);
    if (scheme == QLatin1String("serial")) {
        if (rest.isEmpty()) {
            error = QStringLiteral("--connect %1: the serial device's path is missing").arg(text);
            return std::nullopt;
        }
        TConnectTarget target;
        target.Kind = TConnectTarget::TKind::Serial;
        target.Path = rest;
        return target;
    }
    if (scheme == QLatin1String("sim")) {
        const sim::SimModel* model = sim::FindSimModel(rest.toStdString());
        if (model == nullptr) {
            error =
                QStringLiteral("--connect %1: the simulated model is one of %2").arg(text, SimModelCodes());
            return std::nullopt;
        }
        TConnectTarget target;
        target.Kind = TConnectTarget::TKind::Sim;
        target.Path = QString::fromStdString(model->code);
        return target;
    }
    error = QStringLiteral("--connect %1: expected %2").arg(text, kConnectForms);
    return std::nullopt;
}

TCommandLine ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Korvelan-3 Configuration Tool"));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption connect(
        QStringLiteral("connect"),
        QStringLiteral("Connect at once, as the Connect button does: %1. sim:MODEL starts a simulated "
                       "multiplexer inside the program, no hardware needed; MODEL is one of %2 (M: with "
                       "Modbus and AIS MOB alarm).")
            .arg(kConnectForms, SimModelCodes()),
        QStringLiteral("link"));
    parser.addOption(connect);
    const QCommandLineOption discovery(
        QStringLiteral("discovery-address"),
        QStringLiteral("Search for Korvelan-3E modules at ADDRESS[:PORT] only (port 30718) instead of the "
                       "broadcast address of every network interface."),
        QStringLiteral("address"));
    parser.addOption(discovery);
    const QCommandLineOption saveConfig(
        QStringLiteral("save-config"),
        QStringLiteral(
            "With --connect: read the configuration, save it to <file> and exit (0 done, 1 failed)."),
        QStringLiteral("file"));
    const QCommandLineOption loadConfig(
        QStringLiteral("load-config"),
        QStringLiteral("With --connect: load <file>, write it to the multiplexer, read it back and exit "
                       "(0 the multiplexer holds it, 1 failed or different)."),
        QStringLiteral("file"));
    const QCommandLineOption compareConfig(
        QStringLiteral("compare-config"),
        QStringLiteral(
            "With --connect: read the configuration, print each setting that differs from <file> on "
            "a line and exit (0 none differs, 1 some differ, 2 failed); nothing but the read is "
            "sent."),
        QStringLiteral("file"));
    const QCommandLineOption force(
        QStringLiteral("force"),
        QStringLiteral("With --load-config: write a file whose keys are missing or refused all the same "
                       "(they are listed on standard error; without --force such a file is not written)."));
    parser.addOption(saveConfig);
    parser.addOption(loadConfig);
    parser.addOption(force);
    parser.addOption(compareConfig);
    const QCommandLineOption decode(
        QStringLiteral("decode"),
        QStringLiteral("Explain each line of <file> (\"-\": standard input), a capture or a traffic log, as "
                       "JSON Lines on standard output and exit (0 done, 2 the file cannot be read); no "
                       "window, no display."),
        QStringLiteral("file"));
    parser.addOption(decode);
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    AddToolkitOptions(parser);

    TCommandLine result;
    auto badUsage = [&](const QString& message) {
        result.Action = TCommandLine::TAction::Exit;
        result.ExitCode = kExitBadUsage;
        result.Error = QStringLiteral("kvlconfig3: %1\nTry 'kvlconfig3 --help'.\n").arg(message);
        return result;
    };
    if (!parser.parse(arguments))
        return badUsage(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return badUsage(QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first()));
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        result.Action = TCommandLine::TAction::Exit;
        // Read before the application exists, the parser cannot know the program's name.
        result.Output =
            parser.helpText().replace(QStringLiteral("<executable_name>"), QStringLiteral("kvlconfig3"));
        return result;
    }
    if (parser.isSet(version)) {
        result.Action = TCommandLine::TAction::Exit;
        result.Output = QStringLiteral("kvlconfig3 %1\n").arg(QString::fromLatin1(GetProgramVersion()));
        return result;
    }
    if (parser.isSet(connect)) {
        if (parser.values(connect).size() > 1)
            return badUsage(QStringLiteral("--connect may be given once"));
        QString error;
        result.Options.Connect = ParseConnectTarget(parser.value(connect), error);
        if (!result.Options.Connect)
            return badUsage(error);
    }
    if (parser.isSet(discovery)) {
        result.Options.DiscoveryAddress = ParseDiscoveryAddress(parser.value(discovery).toStdString());
        if (!result.Options.DiscoveryAddress)
            return badUsage(
                QStringLiteral("--discovery-address %1: ADDRESS[:PORT] expected, with a dotted IPv4 "
                               "address and a port from 1 to 65535")
                    .arg(parser.value(discovery)));
    }
    if (parser.isSet(decode)) {
        if (parser.values(decode).size() > 1)
            return badUsage(QStringLiteral("--decode may be given once"));
        result.Options.Decode = parser.value(decode);
    }
    for (const QCommandLineOption* batch : {&saveConfig, &loadConfig, &compareConfig}) {
        if (parser.values(*batch).size() > 1)
            return badUsage(QStringLiteral("--%1 may be given once").arg(batch->names().first()));
    }
    result.Options.SaveConfig = parser.value(saveConfig);
    result.Options.LoadConfig = parser.value(loadConfig);
    const bool batch = parser.isSet(saveConfig) || parser.isSet(loadConfig);
    if (parser.isSet(saveConfig) && parser.isSet(loadConfig))
        return badUsage(QStringLiteral("--save-config and --load-config cannot be given together"));
    if (batch && !result.Options.Connect)
        return badUsage(QStringLiteral("--save-config and --load-config need --connect"));
    if (batch && (result.Options.SaveConfig.isEmpty() && result.Options.LoadConfig.isEmpty()))
        return badUsage(QStringLiteral("the configuration file name is missing"));
    result.Options.Force = parser.isSet(force);
    if (result.Options.Force && !parser.isSet(loadConfig))
        return badUsage(QStringLiteral("--force is given with --load-config only"));
    if (parser.isSet(compareConfig)) {
        result.Options.CompareConfig = parser.value(compareConfig);
        if (batch)
            return badUsage(
                QStringLiteral("--compare-config cannot be given with --save-config or --load-config"));
        if (!result.Options.Connect)
            return badUsage(QStringLiteral("--compare-config needs --connect"));
        if (result.Options.CompareConfig.isEmpty())
            return badUsage(QStringLiteral("the configuration file name is missing"));
    }
    return result;
}

} // namespace kvl
