// The log panel of the status bar under heavy traffic: it shows the count at
// once, then at most ten times a second with the latest count.
#include "MainFormFixture.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

namespace kvl::test {
namespace {

TEST_F(MainFormTest, LogPanelShowsTheLatestCountAtMostTenTimesASecond) {
    CreateForm(); // no link: nothing but the lines of the test is logged
    QTemporaryDir dir;
    const QString path = dir.filePath("diag.txt");
    TestDialogs().FileNames.push_back(path);
    Control<QAction>("miDiagLog")->trigger();

    // 300 lines over about 600 ms: every change of the panel is counted.
    QStringList shown;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 300; ++i) {
        Form->DispatchSentence("$GPGLL," + std::to_string(i));
        if (shown.isEmpty() || shown.back() != Form->StatusPanel(4))
            shown.append(Form->StatusPanel(4));
        if (i % 10 == 9)
            QTest::qWait(20);
    }
    const qint64 elapsed = clock.elapsed();
    EXPECT_EQ(shown.front(), "Log: 1 lines");
    EXPECT_LE(shown.size(), 2 + elapsed / TMainForm::kLogPanelMs) << shown.join('|').toStdString();
    ASSERT_TRUE(WaitUntil([&] { return Form->StatusPanel(4) == "Log: 300 lines"; }, 1000));
    Control<QAction>("miStopLog")->trigger();
    QFile log(path);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(log.readAll().count("\\t:rx*44\\$GPGLL,"), 300);
}

} // namespace
} // namespace kvl::test
