#include "main/CompareCommand.h"

#include "main/CommandLine.h"
#include "model/ConfigDiff.h"
#include "model/FileAccess.h"
#include "model/FileError.h"

#include <QFile>

namespace kvl {

namespace {

// Messages break their lines with "\r" for the window's boxes.
std::string ErrorLines(std::string text) {
    for (char& c : text)
        if (c == '\r')
            c = '\n';
    return text;
}

constexpr int kHostSerialSpeedIndex = 7; // 460800 baud

// Opens the link as the Connect button would; the reason of a failure is thrown.
void OpenLink(TComm& link, const TConnectTarget& target) {
    using TKind = TConnectTarget::TKind;
    const std::string network = (target.Host + QLatin1Char(':') + target.Port).toStdString();
    switch (target.Kind) {
    case TKind::UdpAll:
        // "UDP All" hears every multiplexer at once: none of them is read.
        throw EDeviceRead("udp-all hears every multiplexer: name one with udp:HOST:PORT or tcp:HOST:PORT");
    case TKind::Udp:
        link.OpenPort(TCommMode::cmUDP, network, 1);
        break;
    case TKind::Tcp:
        link.OpenPort(TCommMode::cmTCP, network, 0);
        break;
    case TKind::Serial:
        if (link.OpenPort(TCommMode::cmSerial, QFile::encodeName(target.Path).toStdString(),
                          kHostSerialSpeedIndex) == TCommMode::cmClosed)
            throw EDeviceRead("Unable to open " + target.Path.toStdString());
        break;
    case TKind::Sim:
        link.OpenPort(TCommMode::cmSim, target.Path.toStdString(), 0);
        break;
    }
}

} // namespace

int PrintDifferences(TComm& link, const TMuxConfig& file, std::ostream& out, std::ostream& err, int quietMs) {
    TMuxConfig device;
    std::uint16_t caps = 0;
    try {
        caps = ReadDeviceConfiguration(link, device, quietMs);
    } catch (const std::exception& e) {
        err << "kvlconfig3: " << e.what() << '\n';
        return kCompareFailed;
    }
    const TConfigComparison comparison = CompareWithDevice(device, file, caps);
    for (const TConfigDifference& difference : comparison.Differences)
        out << DifferenceLine(difference) << '\n';
    out.flush();
    return comparison.HasDifferences() ? kCompareDiffers : kCompareSame;
}

int RunCompareConfig(const TConnectTarget& target, const QString& fileName, std::ostream& out,
                     std::ostream& err) {
    const std::string path = QFile::encodeName(fileName).toStdString();
    TMuxConfig file;
    TComm link;
    try {
        // A file that does not exist would read as one without keys: all defaults.
        (void)ReadWholeFile(path);
        for (const std::string& note : file.Load(path).All())
            err << "kvlconfig3: " << note << '\n';
        OpenLink(link, target);
    } catch (const std::exception& e) {
        err << "kvlconfig3: " << ErrorLines(e.what()) << '\n';
        return kCompareFailed;
    }
    return PrintDifferences(link, file, out, err);
}

} // namespace kvl
