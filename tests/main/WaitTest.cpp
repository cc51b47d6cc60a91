#include "MainFormFixture.h"
#include "host/MainErrors.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

using namespace kvl;
using namespace kvl::test;

namespace {

class WaitTest : public MainFormTest {
protected:
    void ConnectTo(std::set<std::string> silent) {
        auto options = Quiet();
        options.silent = std::move(silent);
        StartSimulator(options);
        CreateForm();
        ConnectAndClearView(); // the read's RDY would end any wait
    }
};

} // namespace

TEST_F(WaitTest, AnInnerWaitsAnswerDoesNotReleaseTheOuterWait) {
    ConnectTo({"ID"});
    bool innerAnswered = false;
    QTimer::singleShot(50, Form.get(), [&] {
        Form->SendAndWait("$PQZXPR,C,0,0,0,0,0", TPQZXCmd::PQZXPR);
        innerAnswered = true;
    });
    EXPECT_THROW(Form->SendAndWait("$PQZXID,C,,,,,", TPQZXCmd::PQZXID), ETimeOut);
    EXPECT_TRUE(innerAnswered);
    EXPECT_EQ(Form->WaitForResponse(), TPQZXCmd::PQZXNone);
}

TEST_F(WaitTest, ReadyReleasesEveryWait) {
    ConnectTo({"SP"});
    QTimer::singleShot(50, Form.get(), [&] { Sim->SendToHost("$PQZXRDY*4C\r\n"); });
    EXPECT_NO_THROW(Form->SendAndWait("$PQZXSP,C,0,0,0,0,0", TPQZXCmd::PQZXSP));
}

TEST_F(WaitTest, DisconnectEndsAPendingWaitAtOnceAndTheWaitRaises) {
    ConnectTo({"SP"});
    QTimer::singleShot(50, Form.get(), [&] { Click("btnConnect"); });
    QElapsedTimer clock;
    clock.start();
    // No answer can come: the caller must not carry on as if one had.
    EXPECT_THROW(Form->SendAndWait("$PQZXSP,C,0,0,0,0,0", TPQZXCmd::PQZXSP), ELinkClosed);
    EXPECT_THROW(Form->SendAndWait("$PQZXSP,C,0,0,0,0,0", TPQZXCmd::PQZXSP), ELinkClosed);
    EXPECT_EQ(Form->Comm().CommMode(), TCommMode::cmClosed);
    EXPECT_EQ(Form->WaitForResponse(), TPQZXCmd::PQZXNone);
}

TEST_F(WaitTest, TextFileLinesAreSentUnchanged) {
    ConnectTo({});
    QTemporaryDir dir;
    const QString path = dir.filePath("commands.txt");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("$PQZXSP,C,1,1,1,1,1\r\n\r\n$GPTXT,typed*00\n$PQZXCFQ\r\n");
    file.close();
    const std::size_t mark = Sim->ReceivedCount();
    Form->SendTextFile(path);
    ASSERT_TRUE(SimReceived("$PQZXCFQ", mark));
    const auto lines = Sim->ReceivedLines();
    EXPECT_EQ(std::vector<std::string>(lines.begin() + static_cast<std::ptrdiff_t>(mark), lines.end()),
              (std::vector<std::string>{"$PQZXSP,C,1,1,1,1,1*72", "$GPTXT,typed*00", "$PQZXCFQ*57"}));
}
