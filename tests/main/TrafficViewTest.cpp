#include "main/TrafficView.h"
#include "MainFormFixture.h"

#include <QPlainTextEdit>

using namespace kvl;
using namespace kvl::test;

namespace {

QString Joined(const std::deque<std::string>& lines) {
    QStringList joined;
    for (const std::string& line : lines)
        joined.append(QString::fromLatin1(line));
    return joined.join('\n');
}

// A round of traffic as a drain tick might bring it: sentences of a few
// addresses, and lines without one.
void Round(TTrafficLines& lines, bool noScroll, int round, int count) {
    static const char* addresses[] = {"GPRMC", "GPGGA", "WIMWV", "SDDPT", ""};
    for (int i = 0; i < count; ++i) {
        const std::string address = addresses[(round * 7 + i) % 5];
        const std::string text = "$" + (address.empty() ? std::string("NOCOMMA") : address + ",") +
                                 std::to_string(round) + "." + std::to_string(i);
        if (noScroll)
            lines.Put(text, address);
        else
            lines.Add(text);
    }
}

} // namespace

// Whatever mix of appended, replaced and dropped rows a refresh meets, the
// screen shows exactly NmeaData afterwards.
TEST(TrafficViewTest, ScreenFollowsNmeaDataThroughAppendsReplacementsAndDrops) {
    for (const bool noScroll : {false, true}) {
        SCOPED_TRACE(noScroll ? "No Scroll" : "scrolling");
        QPlainTextEdit edit;
        TTrafficView view(edit);
        view.Clear(!noScroll);
        // Rounds small and large: single lines, a tick's dozen, more than the view holds.
        const int counts[] = {1, 3, 12, 0, 150, 12, 1, 120, 7, 2600, 5, 40};
        for (int round = 0; round < static_cast<int>(std::size(counts)); ++round) {
            Round(view.NmeaData, noScroll, round, counts[round]);
            view.RefreshNow();
            ASSERT_EQ(edit.toPlainText(), Joined(view.NmeaData.Lines())) << "round " << round;
        }
        ASSERT_EQ(view.NmeaData.Lines().size(),
                  noScroll ? TTrafficLines::kNoScrollLines : TTrafficLines::kScrollLines);
    }
}

TEST(TrafficViewTest, QuietViewShowsAtOnceAndBusyViewWithinARefreshSlot) {
    QPlainTextEdit edit;
    TTrafficView view(edit);
    view.NmeaData.Add("$GPGLL,1");
    view.Refresh();
    EXPECT_EQ(edit.toPlainText(), "$GPGLL,1");
    view.NmeaData.Add("$GPGLL,2");
    view.Refresh(); // too soon after the first: deferred
    EXPECT_EQ(edit.toPlainText(), "$GPGLL,1");
    EXPECT_TRUE(WaitUntil([&] { return edit.toPlainText() == "$GPGLL,1\n$GPGLL,2"; }, 2000));
}

TEST(TrafficLinesTest, NoScrollRowsMoveUpWhenTheOldestLineIsDropped) {
    TTrafficLines lines;
    for (std::size_t i = 0; i < TTrafficLines::kNoScrollLines - 1; ++i)
        lines.Put("$NOCOMMA" + std::to_string(i), "");
    lines.Put("$GPRMC,1", "GPRMC"); // the last row
    (void)lines.TakeChanges();
    lines.Put("$GPRMC,2", "GPRMC"); // rewritten in place ...
    lines.Put("$NOCOMMA", "");      // ... then the table is full and the first row goes
    const TTrafficLines::TChanges changes = lines.TakeChanges();
    EXPECT_FALSE(changes.Rebuild);
    EXPECT_EQ(changes.Appended, 1u);
    EXPECT_EQ(changes.Rewritten, (std::set<std::size_t>{TTrafficLines::kNoScrollLines - 2}));
    EXPECT_EQ(lines.Lines()[TTrafficLines::kNoScrollLines - 2], "$GPRMC,2");
    EXPECT_FALSE(lines.TakeChanges().Any());
}
