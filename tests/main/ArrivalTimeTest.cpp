// The sentence rates take each line's time from when the link received it, not
// from when the window's drain dispatched it.
#include "MainFormFixture.h"
#include "views/AuxViews.h"

using namespace kvl;
using namespace kvl::test;

TEST_F(MainFormTest, SentenceRatesMeasureFromWhenTheLineWasReceived) {
    CreateForm();
    // Two lines received 7 ms apart but dispatched in the same drain.
    const auto received = TComm::Clock::now();
    Form->Comm().QueueLine("$HEHDT,102.3,T*2F", received);
    Form->Comm().QueueLine("$HEHDT,102.4,T*28", received + std::chrono::milliseconds(7));
    Form->NmeaReadTimerTimer();
    const auto rows = Form->AuxViews().Rates.Snapshot(TComm::Clock::now());
    ASSERT_EQ(rows.size(), 1U);
    EXPECT_EQ(rows[0].Count, 2U);
    EXPECT_EQ(rows[0].MinInterval, std::chrono::milliseconds(7));
    EXPECT_EQ(rows[0].LastSeen, received + std::chrono::milliseconds(7));
}
