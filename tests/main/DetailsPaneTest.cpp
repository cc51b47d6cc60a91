// The "Details" pane of the main window: hidden until asked for, explains the
// line under the mouse or the clicked line, and a selected line holds the
// traffic view until it is let go.
#include "views/DetailsPane.h"
#include "MainFormFixture.h"
#include "views/TrafficDetails.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTextBlock>

using namespace kvl;
using namespace kvl::test;

namespace {

class DetailsPaneTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        CreateForm();
        View = Control<QPlainTextEdit>("NmeaView");
        Pane = Form->findChild<TDetailsPane*>(QStringLiteral("DetailsPane"));
        ASSERT_NE(Pane, nullptr);
    }

    void Receive(const std::string& line) {
        Form->DispatchSentence(line);
        Form->RefreshView();
    }
    // Where the view shows its row on the screen.
    QPoint RowPosition(int row) {
        QTextCursor cursor(View->document()->findBlockByNumber(row));
        return View->cursorRect(cursor).center() + QPoint(20, 0);
    }
    bool ViewShows(int rows) {
        return WaitUntil(
            [&] { return View->document()->blockCount() == rows && !View->toPlainText().isEmpty(); }, 3000);
    }

    QPlainTextEdit* View = nullptr;
    TDetailsPane* Pane = nullptr;
};

} // namespace

TEST_F(DetailsPaneTest, HiddenUntilTheViewOptionAsksForIt) {
    auto* box = Control<QCheckBox>("chbDetails");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), "Details");
    EXPECT_FALSE(box->isChecked());
    EXPECT_FALSE(Pane->isVisible());
    auto* splitter = qobject_cast<QSplitter*>(View->parentWidget());
    ASSERT_NE(splitter, nullptr);
    EXPECT_EQ(splitter->indexOf(Pane), 1);
    Receive("$IIMWV,045.3,R,10.6,N,A*16");
    ASSERT_TRUE(ViewShows(1));
    // Nothing is explained while the pane is hidden.
    Form->TrafficDetails().HoverRow(0);
    EXPECT_TRUE(Pane->ExplainedLine().empty());
    box->setChecked(true);
    EXPECT_TRUE(Pane->isVisible());
    box->setChecked(false);
    EXPECT_FALSE(Pane->isVisible());
}

TEST_F(DetailsPaneTest, TheLineUnderTheMouseIsExplained) {
    Control<QCheckBox>("chbDetails")->setChecked(true);
    Receive("$IIMWV,045.3,R,10.6,N,A*16");
    Receive("$GPRMC,081836,V,5430.0000,N,01012.5000,W,5.0,,150324,,,N*51");
    ASSERT_TRUE(ViewShows(2));
    QTest::mouseMove(View->viewport(), RowPosition(0));
    ASSERT_TRUE(WaitUntil([&] { return Pane->toPlainText().contains("Wind angle 45.3 deg"); }, 3000))
        << Pane->toPlainText().toStdString();
    EXPECT_TRUE(Pane->toPlainText().contains("Reference: relative (apparent)"));
    QTest::mouseMove(View->viewport(), RowPosition(1));
    ASSERT_TRUE(WaitUntil([&] { return Pane->toPlainText().contains("Latitude 54 deg 30.0000' N"); }, 3000));
    EXPECT_TRUE(Pane->toPlainText().contains("Status: not valid"));
    EXPECT_TRUE(Pane->toPlainText().contains("Speed over ground 5.0 kn"));
}

TEST_F(DetailsPaneTest, AClickedLineHoldsTheViewUntilItIsLetGo) {
    Control<QCheckBox>("chbDetails")->setChecked(true);
    Receive("$HEHDT,102.3,T*2F");
    Receive("$IIMWV,045.3,R,10.6,N,A*16");
    ASSERT_TRUE(ViewShows(2));
    QTest::mouseClick(View->viewport(), Qt::LeftButton, {}, RowPosition(0));
    EXPECT_TRUE(Form->TrafficDetails().Held());
    EXPECT_EQ(View->textCursor().selectedText(), "$HEHDT,102.3,T*2F");
    EXPECT_TRUE(Pane->toPlainText().contains("Heading, true 102.3 deg"));
    EXPECT_TRUE(Pane->toPlainText().contains("The traffic view is held"));

    // Traffic goes on: the view stays still, and the mouse does not move the explanation.
    for (int i = 0; i < 120; ++i)
        Receive("$SDDPT,12.5,0.5,100*79");
    QTest::qWait(TTrafficView::kRefreshMs + 50);
    EXPECT_EQ(View->document()->blockCount(), 2);
    QTest::mouseMove(View->viewport(), RowPosition(1));
    EXPECT_TRUE(Pane->toPlainText().contains("Heading, true 102.3 deg"));

    // Esc lets go: the view catches up with everything that came meanwhile.
    QTest::keyClick(View, Qt::Key_Escape);
    EXPECT_FALSE(Form->TrafficDetails().Held());
    ASSERT_TRUE(ViewShows(static_cast<int>(TTrafficLines::kScrollLines)));
    EXPECT_EQ(View->document()->lastBlock().text(), "$SDDPT,12.5,0.5,100*79");

    // A second click on the selected line lets go too.
    const QPoint visibleRow = RowPosition(View->document()->blockCount() - 2);
    QTest::mouseClick(View->viewport(), Qt::LeftButton, {}, visibleRow);
    EXPECT_TRUE(Form->TrafficDetails().Held());
    EXPECT_TRUE(Pane->toPlainText().contains("Depth below transducer 12.5 m"));
    QTest::mouseClick(View->viewport(), Qt::LeftButton, {}, visibleRow);
    EXPECT_FALSE(Form->TrafficDetails().Held());
}

TEST_F(DetailsPaneTest, ClearingTheViewLetsGoOfTheSelectedLine) {
    Control<QCheckBox>("chbDetails")->setChecked(true);
    Receive("$HEHDT,102.3,T*2F");
    ASSERT_TRUE(ViewShows(1));
    QTest::mouseClick(View->viewport(), Qt::LeftButton, {}, RowPosition(0));
    ASSERT_TRUE(Form->TrafficDetails().Held());
    QTest::mouseClick(Control<QPushButton>("btnClear"), Qt::LeftButton);
    EXPECT_FALSE(Form->TrafficDetails().Held());
    Receive("$IIMWV,045.3,R,10.6,N,A*16");
    EXPECT_TRUE(ViewShows(1));
    EXPECT_EQ(View->toPlainText(), "$IIMWV,045.3,R,10.6,N,A*16");
}
