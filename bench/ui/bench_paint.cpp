// What the traffic view costs on a real display: the main window is shown and
// fed tagged traffic at the link's full rate (562 lines/s at 460800 baud) through
// the real queue, drained by its own 20 ms timer and painted by the window
// system. Reports the process's CPU share (user + system time over wall time),
// and its resident memory as it goes.
//
// Run it on an X server (bench/paint-cpu starts Xvfb for it). On the offscreen
// platform --grab renders the whole window after each drain, far more than a
// display repaints: it shows that painting works, not what it costs.
//
//   bench_paint [--seconds N] [--rate LINES_PER_S] [--no-scroll]
//               [--diag-log FILE] [--rss-every S] [--grab] [--rates-window]
#include "host/Dialogs.h"
#include "main/KvlApplication.h"
#include "main/MainForm.h"

#include <QAction>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

struct TOptions {
    double Seconds = 20;
    double Rate = 562;
    bool NoScroll = false;
    bool Grab = false;
    bool RatesWindow = false;
    std::string DiagLog;
    double RssEvery = 0;
};

bool ParseOptions(int argc, char** argv, TOptions& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--seconds" && hasValue)
            options.Seconds = std::atof(argv[++i]);
        else if (arg == "--rate" && hasValue)
            options.Rate = std::atof(argv[++i]);
        else if (arg == "--diag-log" && hasValue)
            options.DiagLog = argv[++i];
        else if (arg == "--rss-every" && hasValue)
            options.RssEvery = std::atof(argv[++i]);
        else if (arg == "--no-scroll")
            options.NoScroll = true;
        else if (arg == "--grab")
            options.Grab = true;
        else if (arg == "--rates-window")
            options.RatesWindow = true;
        else {
            std::fprintf(stderr, "bench_paint: unknown option %s\n", arg.c_str());
            return false;
        }
    }
    return options.Seconds > 0 && options.Rate > 0;
}

std::string WithChecksum(const std::string& body) {
    unsigned sum = 0;
    for (std::size_t i = 1; i < body.size(); ++i)
        sum ^= static_cast<unsigned char>(body[i]);
    static const char* digits = "0123456789ABCDEF";
    return body + "*" + digits[sum >> 4] + digits[sum & 15];
}

// Traffic as a multiplexer forwards it: each line behind a source tag, the
// numbers changing so that no two consecutive lines are the same.
std::string TrafficLine(std::uint64_t n) {
    static const std::vector<std::string> bodies = {
        "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W",
        "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,",
        "$WIMWV,214.8,R,0.1,K,A",
        "$SDDPT,12.4,0.5",
        "$HCHDG,98.3,0.0,E,12.6,W",
        "!AIVDM,1,1,,B,177KQJ5000G?tO`K>RA1wUbN0TKH,0",
        "$IIVHW,,T,,M,5.2,N,9.6,K",
        "$GPGLL,4916.45,N,12311.12,W,225444,A",
    };
    const std::string tag = WithChecksum("\\s:KV3SIM-" + std::to_string(1 + n % 4)) + "\\";
    return tag + WithChecksum(bodies[n % bodies.size()] + "," + std::to_string(n % 1000));
}

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

long ResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return -1;
}

// Answers the log's save dialog with the file asked for on the command line.
class TBenchDialogs final : public kvl::TDialogs {
public:
    explicit TBenchDialogs(QString logName) : LogName(std::move(logName)) {}

protected:
    void DoShowMessageBox(const QString&, const QString& text, TIcon) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    bool DoConfirm(const QString&, const QString&) override { return false; }
    QString DoOpenFileName(const QString&, int) override { return {}; }
    QString DoSaveFileName(const QString&, int, const QString&) override { return LogName; }

private:
    QString LogName;
};

// Queues the traffic from its own thread, as the link's receive thread does,
// spread evenly over time.
class TFeeder {
public:
    TFeeder(kvl::TComm& link, double rate) : Link(link), Rate(rate), Worker([this] { Run(); }) {}
    ~TFeeder() {
        Stop = true;
        Worker.join();
    }
    std::uint64_t Sent() const { return Count.load(); }

private:
    void Run() {
        const auto start = std::chrono::steady_clock::now();
        while (!Stop) {
            const double elapsed =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            const auto due = static_cast<std::uint64_t>(elapsed * Rate);
            for (std::uint64_t n = Count.load(); n < due; ++n) {
                Link.QueueLine(TrafficLine(n));
                Count = n + 1;
            }
            // Sleep until the next line is due, as a receive thread waits for its next read.
            const auto next = start + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                          std::chrono::duration<double>(static_cast<double>(due + 1) / Rate));
            std::this_thread::sleep_until(std::min(next, std::chrono::steady_clock::now() + kMaxSleep));
        }
    }

    static constexpr auto kMaxSleep = std::chrono::milliseconds(50); // keeps Stop noticed

    kvl::TComm& Link;
    double Rate;
    std::atomic<bool> Stop{false};
    std::atomic<std::uint64_t> Count{0};
    std::thread Worker;
};

} // namespace

int main(int argc, char** argv) {
    TOptions options;
    if (!ParseOptions(argc, argv, options))
        return 2;
    kvl::TKvlApplication app(argc, argv);
    kvl::SetDialogs(std::make_unique<TBenchDialogs>(QString::fromLocal8Bit(options.DiagLog.c_str())));
    kvl::TMainForm form;
    form.Config().UID = "KV3SIM";
    form.findChild<QCheckBox*>("chbNoScroll")->setChecked(options.NoScroll);
    form.show();
    if (!options.DiagLog.empty())
        form.findChild<QAction*>("miDiagLog")->trigger();
    if (options.RatesWindow)
        form.findChild<QAction*>("miSentenceRates")->trigger();

    if (options.Grab) {
        // Offscreen nothing is painted unless asked: grab after each drain.
        QObject::connect(&form.NmeaReadTimer, &QTimer::timeout, &form, [&form] { (void)form.grab(); });
    }

    // Let the window settle before the clock starts.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);

    TFeeder feeder(form.Comm(), options.Rate);
    QElapsedTimer wall;
    wall.start();
    const double cpuStart = CpuSeconds();
    const long rssStart = ResidentKiB();
    double nextRss = options.RssEvery;
    std::printf("platform %s, %.0f lines/s for %.0f s, %s view%s\n",
                qPrintable(QGuiApplication::platformName()), options.Rate, options.Seconds,
                options.NoScroll ? "\"No Scroll\"" : "scrolling",
                options.DiagLog.empty() ? "" : ", diagnostic log open");
    std::printf("start: resident %ld KiB\n", rssStart);
    std::fflush(stdout);

    QTimer stop;
    QObject::connect(&stop, &QTimer::timeout, &app, [&] {
        const double seconds = static_cast<double>(wall.elapsed()) / 1000.0;
        if (options.RssEvery > 0 && seconds >= nextRss) {
            std::printf("%6.0f s: resident %ld KiB, %llu lines\n", seconds, ResidentKiB(),
                        static_cast<unsigned long long>(feeder.Sent()));
            std::fflush(stdout);
            nextRss += options.RssEvery;
        }
        if (seconds >= options.Seconds)
            app.quit();
    });
    stop.start(100);
    app.exec();

    const double seconds = static_cast<double>(wall.elapsed()) / 1000.0;
    const double cpu = CpuSeconds() - cpuStart;
    std::printf("lines queued %llu, still queued %zu, dropped %zu\n",
                static_cast<unsigned long long>(feeder.Sent()), form.Comm().QueuedLines(),
                form.Comm().DroppedLines());
    std::printf("end: resident %ld KiB\n", ResidentKiB());
    std::printf("CPU %.2f s in %.2f s: %.2f%% of one core\n", cpu, seconds, 100.0 * cpu / seconds);
    return 0;
}
