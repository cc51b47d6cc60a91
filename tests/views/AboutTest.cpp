// The About box: the versions it shows, its links, and the double-click on the
// program icon that forgets the stored settings and ends the program.
#include "main/MainFormFixture.h"
#include "views/AuxViews.h"

#include <QAction>
#include <QLabel>
#include <QSettings>
#include <QTimer>
#include <QUrl>

#include <vector>

namespace kvl::test {
namespace {

class AboutTest : public MainFormTest {
protected:
    TAboutBox& About() { return Form->AuxViews().AboutBox; }
    QString Text(const char* label) { return About().findChild<QLabel*>(QString::fromLatin1(label))->text(); }

    // Chooses About from the menu; while the box is showing, inside runs and then
    // OK closes the box unless inside closed it. Returns the texts it showed.
    void OpenAbout(const std::function<void()>& inside = {}) {
        QTimer::singleShot(0, Form.get(), [&] {
            EXPECT_TRUE(About().isVisible());
            MuxVersionShown = Text("lblMuxVersion");
            if (inside)
                inside();
            if (About().isVisible())
                Click(About(), "btnOK");
        });
        Control<QAction>("miAbout")->trigger();
    }

    static void Click(QWidget& box, const char* name) {
        QTest::mouseClick(box.findChild<QWidget*>(QString::fromLatin1(name)), Qt::LeftButton);
    }

    QString MuxVersionShown;
};

TEST_F(AboutTest, WithoutConnectionShowsProgramVersionAndNotConnected) {
    CreateForm();
    OpenAbout();
    EXPECT_EQ(MuxVersionShown, QStringLiteral("not connected"));
    EXPECT_EQ(About().windowTitle(), QStringLiteral("About"));
    EXPECT_EQ(Text("ProductName"), QStringLiteral("KVLConfig3 V3.17.0"));
    EXPECT_TRUE(Form->isVisible());
}

TEST_F(AboutTest, ShowsTheConnectedMultiplexersVersionAndForgetsItOnDisconnect) {
    sim::SimOptions options = Quiet();
    options.identity.version = "3.29.0";
    StartSimulator(options);
    CreateForm();
    ConnectAndClearView();
    OpenAbout();
    EXPECT_EQ(MuxVersionShown, QStringLiteral("V3.29.0"));

    Click(*Form, "btnConnect");
    OpenAbout();
    EXPECT_EQ(MuxVersionShown, QStringLiteral("not connected"));
}

TEST_F(AboutTest, LinksOpenTheWebPageAndANewMailMessage) {
    CreateForm();
    std::vector<QUrl> opened;
    About().SetUrlOpener([&](const QUrl& url) { opened.push_back(url); });
    OpenAbout([&] {
        Click(About(), "lblWeb");
        Click(About(), "lblEmail");
    });
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0], QUrl(QStringLiteral("https://www.orvanto.example/")));
    EXPECT_EQ(opened[1], QUrl(QStringLiteral("mailto:support@orvanto.example")));
    EXPECT_EQ(About().findChild<QLabel*>(QStringLiteral("lblWeb"))->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(AboutTest, DoubleClickOnTheIconForgetsTheStoredSettingsAndCloses) {
    CreateForm();
    ChoosePort(kPortTcpIndex);
    TypeInto("edtMuxIP", QStringLiteral("192.0.2.7"));
    Form->SaveSettings(false);
    ASSERT_TRUE(QSettings(QStringLiteral("Orvanto"), QStringLiteral("KVLConfig3")).contains("IP"));

    OpenAbout([&] {
        QTest::mouseDClick(About().findChild<QWidget*>(QStringLiteral("ProgramIcon")), Qt::LeftButton);
    });
    EXPECT_EQ(TestDialogs().Messages,
              QStringList{QStringLiteral(
                  "All KVL-Config3 will settings be cleared\rand KVL-Config3 will terminate")});
    EXPECT_FALSE(Form->isVisible());
    EXPECT_TRUE(QSettings(QStringLiteral("Orvanto"), QStringLiteral("KVLConfig3")).allKeys().isEmpty());

    // The next start finds the defaults.
    CreateForm();
    EXPECT_EQ(Control<QComboBox>("cbPort")->currentIndex(), -1);
    EXPECT_TRUE(Control<QLineEdit>("edtMuxIP")->text().isEmpty());
}

} // namespace
} // namespace kvl::test
