// The WiFi access point dialog: its checks, the answer filling it, the factory reset.
#include "DialogDriver.h"
#include "main/RecordingDialogs.h"
#include "network/NetworkSetup.h"
#include "sentence/NmeaText.h"
#include "support/FakeMuxHost.h"

#include <QComboBox>
#include <gtest/gtest.h>

namespace kvl::test {
namespace {

constexpr const char* kSsidMessage = "No SSID entered or SSID too long (maximum 32 char.)";
constexpr const char* kSsidCharMessage = "Invaid character in SSID (!$*\\^ or ,)";
constexpr const char* kShortMessage = "Password must be at least 8 characters";
constexpr const char* kLongMessage = "Password too long (maximum 31 char.)";
constexpr const char* kPassCharMessage = "Invaid character in password (!$*\\^ or ,)";

TSentence Received(const std::string& body) {
    return TSentence(body + "*" + ChecksumHex(NmeaChecksum(body, body.size())), "");
}

class WiFiDialog : public testing::Test {
protected:
    void SetUp() override {
        TestDialogs().Reset();
        Setup = std::make_unique<TNetworkSetup>(Host, &Window);
    }
    TWiSettings& Dlg() { return Setup->WiSettings(); }

    // Opens the dialog from the menu, enters the texts and presses OK; the
    // messages shown, and whether the dialog closed.
    QStringList Check(const QString& ssid, const QString& pass, int channel, bool& closed) {
        TestDialogs().Reset();
        closed = false;
        WhenShown(Dlg(), [&] {
            Type(Dlg(), "edtSSID", ssid);
            Type(Dlg(), "edtPassPhrase", pass);
            Find<QComboBox>(Dlg(), "cbChannel")->setCurrentIndex(channel - 1);
            Press(Dlg(), "OKBtn");
            closed = !Dlg().isVisible();
            if (!closed)
                Press(Dlg(), "CancelBtn");
        });
        Setup->miWiFiSetupClick();
        return TestDialogs().Messages;
    }

    QWidget Window;
    TFakeMuxHost Host;
    std::unique_ptr<TNetworkSetup> Setup;
};

TEST_F(WiFiDialog, ChecksHoldAtTheirEdges) {
    struct Case {
        QString Ssid;
        QString Pass;
        QStringList Messages;
    };
    const QString pass8(8, QLatin1Char('p'));
    const Case cases[] = {
        {QString(32, QLatin1Char('s')), pass8, {}},
        {QString(33, QLatin1Char('s')), pass8, {kSsidMessage}},
        {QStringLiteral("Harbour"), QString(31, QLatin1Char('p')), {}},
        {QStringLiteral("Harbour"), QString(7, QLatin1Char('p')), {kShortMessage}},
        {QStringLiteral("Harbour"), QString(32, QLatin1Char('p')), {kLongMessage}},
        {QStringLiteral("Har,bour"), pass8, {kSsidCharMessage}},
        {QStringLiteral("Harbour#"), pass8, {}},
        {QStringLiteral("Harbour~"), pass8, {kSsidCharMessage}},
        {QStringLiteral("Harbour"), QStringLiteral("pass*word"), {kPassCharMessage}},
        {QString(), QStringLiteral("12345"), {kSsidMessage, kShortMessage}},
    };
    for (const Case& c : cases) {
        bool closed = false;
        EXPECT_EQ(Check(c.Ssid, c.Pass, 3, closed), c.Messages)
            << c.Ssid.toStdString() << " " << c.Pass.toStdString();
        EXPECT_EQ(closed, c.Messages.isEmpty()) << c.Ssid.toStdString();
    }
}

TEST_F(WiFiDialog, OKSendsTheEntriesAfterTheQuery) {
    bool closed = false;
    Check(QStringLiteral("Harbour#1"), QStringLiteral("longenough"), 11, closed);
    EXPECT_EQ(Host.Sent, (std::vector<std::string>{"$PQZXWI,Q", "$PQZXWI,W,Harbour#1,longenough,11"}));
}

TEST_F(WiFiDialog, NoChannelSendsChannelZero) {
    bool closed = false;
    Check(QStringLiteral("Harbour"), QStringLiteral("longenough"), 0, closed);
    EXPECT_EQ(Host.Sent.back(), "$PQZXWI,W,Harbour,longenough,0");
}

TEST_F(WiFiDialog, CancelSendsOnlyTheQuery) {
    WhenShown(Dlg(), [&] { Press(Dlg(), "CancelBtn"); });
    Setup->miWiFiSetupClick();
    EXPECT_EQ(Host.Sent, (std::vector<std::string>{"$PQZXWI,Q"}));
}

TEST_F(WiFiDialog, TheAnswerFillsTheFields) {
    Dlg().FormShow();
    EXPECT_EQ(Dlg().SSID(), QStringLiteral("..."));
    EXPECT_EQ(Dlg().Channel(), 0u);
    Setup->HandleWI(Received("$PQZXWI,AP,Harbour,longenough,6"));
    EXPECT_EQ(Dlg().SSID(), QStringLiteral("Harbour"));
    EXPECT_EQ(Dlg().PassPhrase(), QStringLiteral("longenough"));
    EXPECT_EQ(Dlg().Channel(), 6u);
    Setup->HandleWI(Received("$PQZXWI,XX,Other,otherpass,2"));
    EXPECT_EQ(Dlg().SSID(), QStringLiteral("Harbour"));
    Setup->HandleWI(Received("$PQZXWI,AP,Harbour,longenough,12"));
    EXPECT_EQ(Dlg().Channel(), 0u);
}

TEST_F(WiFiDialog, AnIncompleteReportChangesNothing) {
    Dlg().FormShow();
    Setup->HandleWI(Received("$PQZXWI,AP,Harbour,longenough,6"));
    for (const char* body :
         {"$PQZXWI,AP", "$PQZXWI,AP,Other", "$PQZXWI,AP,Other,otherpass", "$PQZXWI,AP,Other,otherpass,",
          "$PQZXWI,AP,Other,otherpass,x2", "$PQZXWI,AP,,otherpass,2",
          "$PQZXWI,AP,Other,0123456789012345678901234567890123,2",
          "$PQZXWI,AP,012345678901234567890123456789012,otherpass,2"}) {
        EXPECT_NO_THROW(Setup->HandleWI(Received(body))) << body;
        EXPECT_EQ(Dlg().SSID(), QStringLiteral("Harbour")) << body;
        EXPECT_EQ(Dlg().PassPhrase(), QStringLiteral("longenough")) << body;
        EXPECT_EQ(Dlg().Channel(), 6u) << body;
    }
}

TEST_F(WiFiDialog, WritingOnAClosedLinkSaysNothingWasSent) {
    bool closed = false;
    Host.Open = false;
    EXPECT_EQ(Check(QStringLiteral("Harbour"), QStringLiteral("longenough"), 3, closed),
              QStringList{QStringLiteral("The link is closed: the WiFi settings were not sent.")});
    EXPECT_EQ(Host.Sent, (std::vector<std::string>{"$PQZXWI,Q"}));
}

TEST_F(WiFiDialog, FactoryResetAsksWithTheSerialNumber) {
    TestDialogs().ConfirmAnswers = {false, true};
    Setup->miWiFiInitClick();
    EXPECT_TRUE(Host.Sent.empty());
    Setup->miWiFiInitClick();
    EXPECT_EQ(Host.Sent, (std::vector<std::string>{"$PQZXWI,A"}));
    EXPECT_EQ(TestDialogs().Questions.front(),
              QStringLiteral("This will restore the factory settings of the WiFi interface to:\r\rSSID:\t\t"
                             "Korvelan-K3E-00042\rPassword:\tTarnwick\r\rDo you really want to proceed?"));
}

} // namespace
} // namespace kvl::test
