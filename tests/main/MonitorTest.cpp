#include "MainFormFixture.h"
#include "SentenceFrame.h"
#include "widgets/LedIndicator.h"

#include <QCheckBox>
#include <QFile>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTemporaryDir>

using namespace kvl;
using namespace kvl::test;

namespace {

std::string Line(const std::string& body) {
    std::string framed = sim::FrameSentence(body);
    framed.resize(framed.size() - 2); // without CR LF
    return framed;
}

} // namespace

TEST_F(MainFormTest, ScrollingViewKeepsTheNewest101Lines) {
    StartSimulator(Quiet());
    CreateForm();
    ConnectAndClearView();
    std::string bytes;
    for (int i = 0; i < 150; ++i)
        bytes += Line("$GPGLL," + std::to_string(i)) + "\r\n";
    Sim->SendToHost(bytes);
    ASSERT_TRUE(WaitUntil(
        [&] { return !Form->GetNmeaData().empty() && Form->GetNmeaData().back() == Line("$GPGLL,149"); }));
    ASSERT_EQ(Form->GetNmeaData().size(), 101u);
    EXPECT_EQ(Form->GetNmeaData().front(), Line("$GPGLL,49"));
    // The screen follows within one refresh slot.
    auto* view = Control<QPlainTextEdit>("NmeaView");
    ASSERT_TRUE(
        WaitUntil([&] { return view->toPlainText().endsWith(QString::fromLatin1(Line("$GPGLL,149"))); }));
    const QStringList shown = view->toPlainText().split('\n');
    ASSERT_EQ(shown.size(), 101);
    EXPECT_EQ(shown.last().toStdString(), Line("$GPGLL,149"));
    // The newest lines are the visible ones.
    QCoreApplication::processEvents();
    EXPECT_GT(view->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(view->verticalScrollBar()->value(), view->verticalScrollBar()->maximum());
}

TEST_F(MainFormTest, NoScrollKeepsOneLinePerAddress) {
    StartSimulator(Quiet());
    CreateForm();
    ConnectAndClearView();
    Control<QCheckBox>("chbNoScroll")->setChecked(true);
    Sim->SendToHost(sim::FrameSentence("$GPRMC,1") + sim::FrameSentence("$GPGGA,1") +
                    sim::FrameSentence("$GPRMC,2") + sim::FrameSentence("$GPGGA,2") +
                    sim::FrameSentence("$NOCOMMA") + sim::FrameSentence("$NOCOMMA") +
                    sim::FrameSentence("$GPZDA,9"));
    ASSERT_TRUE(WaitUntil(
        [&] { return !Form->GetNmeaData().empty() && Form->GetNmeaData().back() == Line("$GPZDA,9"); }));
    EXPECT_EQ(Form->GetNmeaData(),
              (std::deque<std::string>{Line("$GPRMC,2"), Line("$GPGGA,2"), Line("$NOCOMMA"), Line("$NOCOMMA"),
                                       Line("$GPZDA,9")}));
    Control<QCheckBox>("chbNoScroll")->setChecked(false);
    EXPECT_TRUE(Form->GetNmeaData().empty());
    EXPECT_TRUE(Control<QPlainTextEdit>("NmeaView")->toPlainText().isEmpty());
}

TEST_F(MainFormTest, SourceFilterFollowsTheTagBlockSource) {
    StartSimulator(Quiet());
    CreateForm();
    ConnectAndClearView();
    Form->Config().UID = "KV3SIM";
    auto* filter = Control<QComboBox>("cbViewFilter");
    ASSERT_TRUE(filter->isEnabled());
    filter->setCurrentIndex(2); // "Input 2"
    emit filter->activated(2);
    EXPECT_EQ(Form->GetViewFilter(), 2);
    Sim->SendToHost(sim::TagBlock("s:KV3SIM-2") + sim::FrameSentence("$GPGLL,in2") +
                    sim::TagBlock("s:KV3SIM-1") + sim::FrameSentence("$GPGLL,in1") +
                    sim::FrameSentence("$GPGLL,untagged") + sim::TagBlock("s:KV3SIM#2A") +
                    sim::FrameSentence("$GPGLL,n2k") + sim::FrameSentence("$GPGLL,end"));
    ASSERT_TRUE(WaitUntil(
        [&] { return !Form->GetNmeaData().empty() && Form->GetNmeaData().back() == Line("$GPGLL,end"); }));
    EXPECT_EQ(Form->GetNmeaData(),
              (std::deque<std::string>{Line("$GPGLL,in2"), Line("$GPGLL,untagged"), Line("$GPGLL,end")}));

    filter->setCurrentIndex(7); // "Multiplexer" is source 0
    emit filter->activated(7);
    EXPECT_EQ(Form->GetViewFilter(), 0);
    filter->setCurrentIndex(6);
    emit filter->activated(6);
    EXPECT_EQ(Form->GetViewFilter(), 6);
    Sim->SendToHost(sim::TagBlock("s:KV3SIM=42") + sim::FrameSentence("$GPGLL,n2k-dec"));
    ASSERT_TRUE(WaitUntil([&] { return Form->GetNmeaData().back() == Line("$GPGLL,n2k-dec"); }));

    // A disconnect returns the filter to "All".
    Click("btnConnect");
    EXPECT_EQ(Form->GetViewFilter(), -1);
    EXPECT_EQ(filter->currentIndex(), 0);
    EXPECT_FALSE(filter->isEnabled());
}

TEST_F(MainFormTest, TagBlocksAreShownOnRequestAndStatisticsNever) {
    StartSimulator(Quiet());
    CreateForm();
    ConnectAndClearView();
    Control<QCheckBox>("chbTAGShow")->setChecked(true);
    const std::string tag = sim::TagBlock("s:KV3SIM-1");
    Sim->SendToHost(sim::FrameSentence("$PQZXSTAT,R,1,2,3,4,5,6") + tag + sim::FrameSentence("$GPGLL,1"));
    ASSERT_TRUE(WaitUntil([&] { return !Form->GetNmeaData().empty(); }));
    EXPECT_EQ(Form->GetNmeaData(), std::deque<std::string>{tag + Line("$GPGLL,1")});
}

TEST_F(MainFormTest, SendBoxKeepsAHistoryOfTwentyNewestFirst) {
    StartSimulator(Quiet());
    CreateForm();
    ConnectTcp(Sim->TcpPort());
    ASSERT_TRUE(SimReceived("$PQZXVER"));
    auto* sentence = Control<QComboBox>("cbSentence");
    sentence->setEditText("GPGLL,1");
    Click("btnSend");
    EXPECT_EQ(SimReceived("$GPGLL"), std::optional<std::string>("$GPGLL,1*4D"));
    EXPECT_EQ(sentence->itemText(0), "GPGLL,1");
    Click("btnSend"); // the same text again keeps one item
    EXPECT_EQ(sentence->count(), 1);
    for (int i = 0; i < 22; ++i) {
        sentence->setEditText(QStringLiteral("$GPTXT,%1").arg(i));
        QTest::keyClick(sentence->lineEdit(), Qt::Key_Return);
    }
    ASSERT_EQ(sentence->count(), 20);
    EXPECT_EQ(sentence->itemText(0), "$GPTXT,21");
    EXPECT_EQ(sentence->itemText(19), "$GPTXT,2");
    EXPECT_TRUE(SimReceived("$GPTXT,21"));
    Click("btnClrHistory");
    EXPECT_EQ(sentence->count(), 0);
    EXPECT_EQ(sentence->currentText(), "$GPTXT,21");
}

TEST_F(MainFormTest, SentenceWithItsOwnStarIsSentAsTyped) {
    StartSimulator(Quiet());
    CreateForm();
    ConnectTcp(Sim->TcpPort());
    Control<QComboBox>("cbSentence")->setEditText("!AIVDM,typed*00");
    Click("btnSend");
    EXPECT_EQ(SimReceived("!AIVDM"), std::optional<std::string>("!AIVDM,typed*00"));
}

TEST_F(MainFormTest, OverflowReportLightsTheLampsOfItsOutputs) {
    StartSimulator(Quiet());
    CreateForm();
    ConnectTcp(Sim->TcpPort());
    auto* lamp1 = Control<TLedIndicator>("ldOverflow1");
    auto* lamp2 = Control<TLedIndicator>("ldOverflow2");
    Form->OVTimer.setInterval(60000); // keep them lit while the test looks
    Sim->SendToHost(sim::FrameSentence("$PQZXOV,2"));
    ASSERT_TRUE(WaitUntil([&] { return lamp2->IsLit(); }));
    EXPECT_FALSE(lamp1->IsLit());
    EXPECT_EQ(lamp2->CurrentColor(), QColor(Qt::red));
    Sim->SendToHost(sim::FrameSentence("$PQZXOV,") + sim::FrameSentence("$PQZXOV,3"));
    ASSERT_TRUE(WaitUntil([&] { return lamp1->IsLit(); }));
    Form->OVTimer.setInterval(20);
    ASSERT_TRUE(WaitUntil([&] { return !lamp1->IsLit() && !lamp2->IsLit(); }));
    EXPECT_TRUE(TestDialogs().Messages.isEmpty());
}

TEST_F(MainFormTest, MalformedReportsGetTheDispatcherMessages) {
    StartSimulator(Quiet());
    CreateForm();
    ConnectTcp(Sim->TcpPort());
    Sim->SendToHost(sim::FrameSentence("$PQZXOV,ZZ"));
    ASSERT_TRUE(WaitUntil([&] { return !TestDialogs().Messages.isEmpty(); }));
    EXPECT_EQ(TestDialogs().Messages, QStringList{"Number error in sentence:\r$PQZXOV,ZZ"});
    TestDialogs().Reset();
    Sim->SendToHost(sim::FrameSentence("$PQZXOV"));
    ASSERT_TRUE(WaitUntil([&] { return !TestDialogs().Messages.isEmpty(); }));
    EXPECT_EQ(TestDialogs().Messages, QStringList{"Missing field in sentence:\r$PQZXOV"});
}
