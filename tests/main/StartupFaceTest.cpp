// The window before and without a device: the face of a multiplexer without
// NMEA 2000, nothing drawn over anything else, and message boxes captioned with
// the application title and never shown under the hourglass.
#include "MainFormFixture.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>

using namespace kvl;
using namespace kvl::test;

namespace {

bool IsLeafControl(const QWidget* w) {
    return qobject_cast<const QLabel*>(w) || qobject_cast<const QAbstractButton*>(w) ||
           qobject_cast<const QComboBox*>(w) || qobject_cast<const QLineEdit*>(w);
}

// "a overlaps b" for every pair of visible controls of a tab that share some pixels.
QStringList Overlaps(QWidget* page) {
    std::vector<QWidget*> controls;
    for (QWidget* w : page->findChildren<QWidget*>())
        if (IsLeafControl(w) && !IsLeafControl(w->parentWidget()) && w->isVisibleTo(page))
            controls.push_back(w);
    QStringList found;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const QRect a(controls[i]->mapTo(page, QPoint(0, 0)), controls[i]->size());
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            const QRect b(controls[j]->mapTo(page, QPoint(0, 0)), controls[j]->size());
            if (a.intersects(b))
                found << controls[i]->objectName() + " overlaps " + controls[j]->objectName();
        }
    }
    return found;
}

class StartupFaceTest : public MainFormTest {
protected:
    void ExpectNoOverlapOnAnyTab() {
        auto* tabs = Control<QTabWidget>("pcSettings");
        for (int i = 0; i < tabs->count(); ++i) {
            if (!tabs->isTabVisible(i))
                continue;
            tabs->setCurrentIndex(i);
            QCoreApplication::processEvents();
            EXPECT_EQ(Overlaps(tabs->widget(i)), QStringList{}) << tabs->tabText(i).toStdString();
        }
    }
};

TEST_F(StartupFaceTest, BeforeTheFirstVersionTheWindowShowsAMultiplexerWithoutNmea2000) {
    CreateForm();
    EXPECT_EQ(Control<QGroupBox>("gbNmeaGen")->title(), "NMEA 0183 from SeaTalk");
    EXPECT_EQ(Control<QCheckBox>("chbTxZDA")->text(), "ZDA");
    for (const char* hidden : {"chbTxZTG", "chbGNSS10Hz", "chbSpeed10Hz", "cbPrioN2K", "lblAISMobEnabled"})
        EXPECT_FALSE(Control<QWidget>(hidden)->isVisibleTo(Form.get())) << hidden;
    ExpectNoOverlapOnAnyTab();
}

TEST_F(StartupFaceTest, AFailedReadLeavesNoControlOverAnother) {
    auto options = Quiet();
    options.silent = {"VER"};
    StartSimulator(options);
    CreateForm();
    ConnectTcp(Sim->TcpPort());
    ASSERT_TRUE(WaitUntil([&] { return !TestDialogs().Boxes.empty(); }, 8000));
    const TRecordingDialogs::TBox& box = TestDialogs().Boxes.back();
    EXPECT_EQ(box.Text, "Multiplexer does not respond");
    EXPECT_EQ(box.Caption, "KVL-Config3");
    EXPECT_FALSE(box.UnderWaitCursor);
    ExpectNoOverlapOnAnyTab();
}

TEST_F(StartupFaceTest, ARefusedConnectionIsToldWithTheNormalCursor) {
    StartSimulator(Quiet());
    const std::uint16_t port = Sim->TcpPort();
    Sim->Stop(); // nobody listens there now
    CreateForm();
    ConnectTcp(port);
    ASSERT_EQ(TestDialogs().Boxes.size(), 1u);
    EXPECT_EQ(TestDialogs().Boxes[0].Caption, "KVL-Config3");
    EXPECT_FALSE(TestDialogs().Boxes[0].UnderWaitCursor);
    EXPECT_EQ(Form->Comm().CommMode(), TCommMode::cmClosed);
}

} // namespace
