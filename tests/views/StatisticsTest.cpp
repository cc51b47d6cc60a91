// The statistics window against the simulated multiplexer: the reports switched
// on and off from the menu, the figures on the bars, figures beyond a bar's range.
#include "SentenceFrame.h"
#include "main/MainFormFixture.h"
#include "views/AuxViews.h"

#include <QAction>
#include <QProgressBar>

#include <array>

namespace kvl::test {
namespace {

class StatisticsTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        StartSimulator(Quiet());
        CreateForm();
        ConnectAndClearView();
    }

    TStats& Stats() { return Form->AuxViews().Stats; }
    QAction* StatsItem() { return Control<QAction>("miStats"); }

    // Bars in the order of the report's fields 2 to 7.
    std::array<int, 6> Bars() {
        std::array<int, 6> values{};
        const char* const names[] = {"pbProcTime", "pbDBUse", "pbCanRX", "pbCanTX", "pbQOut1", "pbQOut2"};
        for (std::size_t i = 0; i < values.size(); ++i)
            values[i] = Stats().findChild<QProgressBar*>(QString::fromLatin1(names[i]))->value();
        return values;
    }

    // The device sends body, followed by a line that shows when it has been dispatched.
    void DeviceSends(const std::string& body) {
        Sim->SendToHost(sim::FrameSentence(body) + sim::FrameSentence("$GPZDA,1"));
        ASSERT_TRUE(WaitUntil([&] {
            return !Form->GetNmeaData().empty() && Form->GetNmeaData().back().rfind("$GPZDA,1", 0) == 0;
        }));
        Click("btnClear");
    }
};

TEST_F(StatisticsTest, MenuSwitchesReportsOnBesideTheWindowAndOffAgain) {
    const std::size_t from = Sim->ReceivedCount();
    StatsItem()->trigger();
    EXPECT_TRUE(SimReceived("$PQZXSTAT,C,1*", from));
    ASSERT_TRUE(Stats().isVisible());
    EXPECT_EQ(Stats().pos(), QPoint(Form->frameGeometry().right() + 1, Form->frameGeometry().top()));
    // The simulated device reports once a second with its database in use.
    EXPECT_TRUE(WaitUntil([&] { return Bars()[1] > 0; }));

    const std::size_t off = Sim->ReceivedCount();
    StatsItem()->trigger();
    EXPECT_TRUE(SimReceived("$PQZXSTAT,C,0*", off));
    EXPECT_FALSE(Stats().isVisible());
    EXPECT_FALSE(StatsItem()->isChecked());
}

TEST_F(StatisticsTest, ReportSetsEveryBarInOrderAndOnlyReportsCount) {
    DeviceSends("$PQZXSTAT,R,10368,50,7,9,100,3");
    EXPECT_EQ(Bars(), (std::array<int, 6>{10368, 50, 7, 9, 100, 3}));
    // 10368 is half the processing-time scale (the 25 ms mark), 50 half the others.
    EXPECT_EQ(Stats().findChild<QProgressBar*>(QStringLiteral("pbProcTime"))->maximum(), 20736);
    EXPECT_EQ(Stats().findChild<QProgressBar*>(QStringLiteral("pbDBUse"))->maximum(), 100);

    DeviceSends("$PQZXSTAT,C,1,2,3,4,5,6");
    EXPECT_EQ(Bars(), (std::array<int, 6>{10368, 50, 7, 9, 100, 3}));
}

TEST_F(StatisticsTest, FiguresBeyondTheRangeShowAFullBar) {
    DeviceSends("$PQZXSTAT,R,30000,101,250,4294967295,100,20736");
    EXPECT_EQ(Bars(), (std::array<int, 6>{20736, 100, 100, 100, 100, 100}));
}

TEST_F(StatisticsTest, BadFieldIsReportedAndTheBarsBeforeItKeepTheirFigures) {
    DeviceSends("$PQZXSTAT,R,1000,40,x,9,9,9");
    EXPECT_EQ(Bars(), (std::array<int, 6>{1000, 40, 0, 0, 0, 0}));
    ASSERT_FALSE(TestDialogs().Messages.isEmpty());
    EXPECT_TRUE(TestDialogs().Messages.back().startsWith(QStringLiteral("Number error in sentence:\r")))
        << TestDialogs().Messages.back().toStdString();
}

TEST_F(StatisticsTest, ShowingTheWindowAgainStartsAtZero) {
    StatsItem()->trigger();
    DeviceSends("$PQZXSTAT,R,500,20,30,40,50,60");
    StatsItem()->trigger();
    StatsItem()->trigger();
    EXPECT_TRUE(Stats().isVisible());
    EXPECT_EQ(Bars(), (std::array<int, 6>{0, 0, 0, 0, 0, 0}));
}

TEST_F(StatisticsTest, DisconnectHidesTheWindowAndClearsTheMark) {
    StatsItem()->trigger();
    ASSERT_TRUE(Stats().isVisible());
    Click("btnConnect");
    EXPECT_FALSE(Stats().isVisible());
    EXPECT_FALSE(StatsItem()->isChecked());
}

// A link lost while the statistics window opens: the window stays closed, for
// its menu item is disabled with the link and could not close it again.
TEST_F(StatisticsTest, TheWindowNeverAppearsOverALinkLostWhileItOpens) {
    Sim->Stop();
    QTest::qWait(200); // the receive thread meets the end of the connection
    StatsItem()->trigger();
    EXPECT_TRUE(TestDialogs().Messages.contains(QStringLiteral("TCP Connection lost")));
    EXPECT_FALSE(Form->IsLinkOpen());
    EXPECT_FALSE(Stats().isVisible());
    EXPECT_FALSE(StatsItem()->isChecked());
}

} // namespace
} // namespace kvl::test
