// The "Sentence Rates" window against the simulated multiplexer: rows per source
// and address with their rates and errors, Reset, the CSV export, and the
// counting that restarts with each connection.
#include "SentenceFrame.h"
#include "main/MainFormFixture.h"
#include "views/AuxViews.h"

#include <QAction>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>

namespace kvl::test {
namespace {

class SentenceRatesWindowTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        StartSimulator(Quiet());
        CreateForm();
        ConnectAndClearView();
        Control<QAction>("miSentenceRates")->trigger();
    }

    TSentenceRatesForm& Window() { return Form->AuxViews().RatesForm; }

    // The window's row for a source and sentence, refreshed now; -1 when none.
    int RowOf(const QString& source, const QString& sentence) {
        Window().Refresh();
        const TSentenceRatesModel& model = Window().Model();
        for (int row = 0; row < model.rowCount(); ++row)
            if (model.CellText(row, TSentenceRatesModel::colSource) == source &&
                model.CellText(row, TSentenceRatesModel::colSentence) == sentence)
                return row;
        return -1;
    }
    QString Cell(int row, int column) { return Window().Model().CellText(row, column); }

    static std::string Tagged(const std::string& source, const std::string& body) {
        return sim::TagBlock("s:KV3SIM" + source) + sim::FrameSentence(body);
    }
};

TEST_F(SentenceRatesWindowTest, RowsShowRatesSourcesAndErrors) {
    ASSERT_TRUE(Window().isVisible());
    // One second of traffic: wind ten times a second from input 2, a position at
    // the start and the end from input 1, one wind line with a broken checksum.
    const auto start = std::chrono::steady_clock::now();
    for (int tenth = 0; tenth <= 10; ++tenth) {
        std::string bytes = tenth == 5 ? sim::TagBlock("s:KV3SIM-2") + "$IIMWV,045.0,R,12.6,N,A*00\r\n"
                                       : Tagged("-2", "$IIMWV,045.0,R,12.6,N,A");
        if (tenth % 10 == 0)
            bytes += Tagged("-1", "$GPRMC,1");
        Sim->SendToHost(bytes);
        QTest::qWait(100);
    }
    Sim->SendToHost(Tagged("#0B", "$IIHDG,1"));
    ASSERT_TRUE(WaitUntil([&] { return RowOf("NMEA 2000 #0B", "IIHDG") >= 0; }));

    const int wind = RowOf("Input 2", "IIMWV");
    const int position = RowOf("Input 1", "GPRMC");
    ASSERT_GE(wind, 0);
    ASSERT_GE(position, 0);
    // The lines were sent at least 100 ms apart, within the time the test has run
    // until the last refresh: a loaded machine stretches the one second, so the
    // rates are checked against what actually passed.
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(Cell(wind, TSentenceRatesModel::colCount), "11");
    const double windRate = Cell(wind, TSentenceRatesModel::colRate).toDouble();
    EXPECT_GE(windRate, 10.0 / elapsed - 0.05);
    EXPECT_LE(windRate, 11.0);
    EXPECT_EQ(Cell(wind, TSentenceRatesModel::colErrors), "1");
    EXPECT_EQ(Cell(position, TSentenceRatesModel::colCount), "2");
    const double positionRate = Cell(position, TSentenceRatesModel::colRate).toDouble();
    EXPECT_GE(positionRate, 1.0 / elapsed - 0.05);
    EXPECT_LE(positionRate, 1.1);
    EXPECT_EQ(Cell(position, TSentenceRatesModel::colLastText).toStdString(),
              sim::FrameSentence("$GPRMC,1").substr(0, 11));

    Window().close(); // closing the window stops nothing
    Sim->SendToHost(Tagged("-1", "$GPRMC,1"));
    ASSERT_TRUE(
        WaitUntil([&] { return Cell(RowOf("Input 1", "GPRMC"), TSentenceRatesModel::colCount) == "3"; }));
}

TEST_F(SentenceRatesWindowTest, CsvExportResetAndReconnect) {
    Sim->SendToHost(Tagged("-3", "$SDDPT,1,\"0.5\""));
    ASSERT_TRUE(WaitUntil([&] { return RowOf("Input 3", "SDDPT") >= 0; }));
    QTemporaryDir folder;
    const QString name = folder.filePath(QStringLiteral("rates.csv"));
    TestDialogs().FileNames.push_back(name);
    Click("btnSaveCsv");
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"));
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[0],
              "Source,Sentence,Count,Rate (Hz),Interval min/max (ms),Last seen (s),Errors,Last sentence");
    const QString depth = lines.filter(QStringLiteral("Input 3")).value(0);
    EXPECT_TRUE(depth.startsWith(QStringLiteral("Input 3,SDDPT,1,0.0,,"))) << depth.toStdString();
    EXPECT_TRUE(depth.endsWith(QStringLiteral(",0,\"$SDDPT,1,\"\"0.5\"\"*") +
                               QString::fromLatin1(sim::FrameSentence("$SDDPT,1,\"0.5\"").substr(15, 2)) +
                               QStringLiteral("\"")))
        << depth.toStdString();

    Click("btnReset");
    EXPECT_EQ(Window().Model().rowCount(), 0);
    Sim->SendToHost(Tagged("-3", "$SDDPT,2"));
    ASSERT_TRUE(WaitUntil([&] { return RowOf("Input 3", "SDDPT") >= 0; }));
    Click("btnConnect"); // disconnect
    ConnectAndClearView();
    EXPECT_EQ(RowOf("Input 3", "SDDPT"), -1) << "a new connection starts counting afresh";
}

} // namespace
} // namespace kvl::test
