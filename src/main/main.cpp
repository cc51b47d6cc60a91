// Program entry of KVLConfig3: the command line, the application, its windows,
// the event loop.
#include "main/CommandLine.h"
#include "main/CompareCommand.h"
#include "main/ConfigBatch.h"
#include "main/DecodeCommand.h"
#include "main/KvlApplication.h"
#include "main/MainForm.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <iostream>

int main(int argc, char* argv[]) {
    // The command line is read before the application exists: --help, --version
    // and a bad option answer without a display and before any window opens.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const kvl::TCommandLine commandLine = kvl::ParseCommandLine(arguments);
    if (commandLine.Action == kvl::TCommandLine::TAction::Exit) {
        std::fputs(commandLine.Output.toLocal8Bit().constData(), stdout);
        std::fputs(commandLine.Error.toLocal8Bit().constData(), stderr);
        return commandLine.ExitCode;
    }

    if (const auto& decode = commandLine.Options.Decode) // no application, no window, no display
        return kvl::RunDecode(decode->toLocal8Bit().toStdString(), std::cout, std::cerr);

    if (!commandLine.Options.CompareConfig.isEmpty()) {
        // Only the link and the event loop: no window, no display needed.
        QCoreApplication app(argc, argv);
        return kvl::RunCompareConfig(*commandLine.Options.Connect, commandLine.Options.CompareConfig,
                                     std::cout, std::cerr);
    }

    if (commandLine.Options.DiscoveryAddress)
        kvl::SetDiscoveryAddress(commandLine.Options.DiscoveryAddress);
    const bool batch = !commandLine.Options.SaveConfig.isEmpty() || !commandLine.Options.LoadConfig.isEmpty();
    // A batch operation shows no window: it runs without a display too.
    if (batch && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    kvl::TKvlApplication app(argc, argv);
    kvl::TMainForm mainForm;
    const kvl::TCommandLineOptions& options = commandLine.Options;
    if (batch) {
        // The window's own code paths, the window never shown; reports on standard error.
        kvl::TConfigBatch batchRun(mainForm, std::cerr);
        batchRun.Force = options.Force;
        return batchRun.Run(*options.Connect, options.SaveConfig, options.LoadConfig);
    }
    mainForm.show();
    if (const auto& target = commandLine.Options.Connect) {
        // From the event loop, so that a failure's message box has its window.
        QTimer::singleShot(0, &mainForm, [&mainForm, target = *target] { mainForm.ConnectTo(target); });
    }
    return app.exec();
}
