#include "main/DeviceConfigRead.h"

#include "model/ConfigDumpReader.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <string>

namespace kvl {

namespace {

constexpr int kPollMs = 5;

bool IsDeviceLine(const std::string& line) {
    return line.find("$PQZX") != std::string::npos;
}

} // namespace

std::uint16_t ReadDeviceConfiguration(TComm& link, TMuxConfig& config, int quietMs) {
    TConfigDumpReader reader(config);
    const std::size_t droppedBefore = link.DroppedLines();
    link.SendNmea(std::string(TConfigDumpReader::kVersionRequest));
    // Ordinary traffic keeps flowing during the read: only the multiplexer's own
    // sentences show that it is still answering.
    QElapsedTimer quiet;
    quiet.start();
    std::string line;
    while (!reader.Finished()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, kPollMs);
        bool took = false;
        while (!reader.Finished() && link.TakeLine(line)) {
            took = true;
            if (IsDeviceLine(line))
                quiet.restart();
            const std::string next = reader.Take(line);
            if (!next.empty())
                link.SendNmea(next);
        }
        if (!reader.Finished() && quiet.elapsed() > quietMs)
            throw EDeviceRead("Multiplexer does not respond");
        if (!took)
            QThread::msleep(kPollMs);
    }
    if (reader.State() == TConfigDumpReader::TState::Failed)
        throw EDeviceRead(reader.Error());
    // A report lost to a full receive queue would pass for a setting the device lacks.
    if (link.DroppedLines() != droppedBefore)
        throw EDeviceRead(std::to_string(link.DroppedLines() - droppedBefore) +
                          " lines dropped during the configuration read");
    return reader.Capabilities();
}

} // namespace kvl
