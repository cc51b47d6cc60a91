// The "Sentence Rates" window's columns fit their content and header, and the
// window keeps its size and the user's column widths for the next start.
#include "SentenceFrame.h"
#include "main/MainFormFixture.h"
#include "views/AuxViews.h"

#include <QAction>
#include <QHeaderView>
#include <QTableView>

namespace kvl::test {
namespace {

class SentenceRatesLayoutTest : public MainFormTest {
protected:
    TSentenceRatesForm& Window() { return Form->AuxViews().RatesForm; }
    QHeaderView* Header() { return Window().findChild<QTableView*>("tvRates")->horizontalHeader(); }
    void Open() {
        Control<QAction>("miSentenceRates")->trigger();
        ASSERT_TRUE(Window().isVisible());
    }
};

TEST_F(SentenceRatesLayoutTest, ColumnsFitTheirContentAndHeader) {
    StartSimulator(Quiet());
    CreateForm();
    ConnectAndClearView();
    Open();
    Sim->SendToHost(sim::TagBlock("s:KV3SIM#0B") + sim::FrameSentence("$IIHDG,1"));
    ASSERT_TRUE(WaitUntil([&] {
        Window().Refresh();
        return Window().Model().rowCount() > 0;
    }));
    auto* table = Window().findChild<QTableView*>("tvRates");
    for (int column = 0; column + 1 < Window().Model().columnCount(); ++column) {
        SCOPED_TRACE(column);
        const int shown = Header()->sectionSize(column);
        table->resizeColumnToContents(column); // what the header and the cells need
        EXPECT_GE(shown, Header()->sectionSize(column));
    }
}

TEST_F(SentenceRatesLayoutTest, SizeAndColumnWidthsComeBackWithTheNextStart) {
    CreateForm();
    Open();
    Window().resize(1000, 500);
    Header()->resizeSection(0, 222);
    Window().close();
    Form.reset();

    CreateForm();
    Open();
    EXPECT_EQ(Window().size(), QSize(1000, 500));
    EXPECT_EQ(Header()->sectionSize(0), 222);
}

} // namespace
} // namespace kvl::test
