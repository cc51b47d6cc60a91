// The main window on a desktop of any size: it starts at its natural size, which
// is its minimum; the traffic view takes what it gains while the settings groups
// keep their layout; size and splitter come back with the next start.
#include "MainFormFixture.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QSplitter>

namespace kvl::test {
namespace {

class WindowSizeTest : public MainFormTest {
protected:
    // From the "Speed" header to the "Input Mode" header of "Input Settings".
    int SpeedToModeDistance() {
        return Control<QLabel>("lblHdrMode")->mapTo(Form.get(), QPoint()).x() -
               Control<QLabel>("lblHdrSpeed")->mapTo(Form.get(), QPoint()).x();
    }
    void ResizeTo(int width, int height) {
        Form->resize(width, height);
        QCoreApplication::processEvents();
    }
};

TEST_F(WindowSizeTest, WindowGrowsAndShrinksWithinItsMinimum) {
    CreateForm();
    QCoreApplication::processEvents(); // the first layout
    const QSize start = Form->size();
    EXPECT_EQ(Form->minimumSize(), start);
    // A little larger first: the tabs have their full natural height.
    ResizeTo(start.width() + 100, start.height() + 100);
    const int distance = SpeedToModeDistance();
    const QSize view = Control<QPlainTextEdit>("NmeaView")->size();
    auto* tabs = Control<QWidget>("pcSettings");
    const QPoint speed = Control<QLabel>("lblHdrSpeed")->mapTo(tabs, QPoint());
    const int tabsHeight = Control<QWidget>("pcSettings")->height();

    ResizeTo(1500, start.height() + 400);
    EXPECT_EQ(Form->size(), QSize(1500, start.height() + 400));
    EXPECT_EQ(Control<QPlainTextEdit>("NmeaView")->width(), view.width() + 1500 - start.width() - 100);
    EXPECT_EQ(Control<QPlainTextEdit>("NmeaView")->height(), view.height() + 300);
    EXPECT_EQ(Control<QWidget>("pcSettings")->height(), tabsHeight);
    EXPECT_EQ(SpeedToModeDistance(), distance);                              // a row's controls stay together
    EXPECT_EQ(Control<QLabel>("lblHdrSpeed")->mapTo(tabs, QPoint()), speed); // at the top left of its page

    ResizeTo(200, 150);
    EXPECT_EQ(Form->size(), start);
}

TEST_F(WindowSizeTest, SizeAndSplitterComeBackWithTheNextStart) {
    CreateForm();
    const QSize start = Form->size();
    ResizeTo(start.width() + 200, start.height() + 240);
    auto* splitter = Control<QSplitter>("splTraffic");
    QList<int> sizes = splitter->sizes();
    sizes[0] -= 100;
    sizes[1] += 100;
    splitter->setSizes(sizes);
    const QList<int> moved = splitter->sizes();
    Form->close();
    Form.reset();

    CreateForm();
    EXPECT_EQ(Form->size(), QSize(start.width() + 200, start.height() + 240));
    EXPECT_EQ(Control<QSplitter>("splTraffic")->sizes(), moved);
    EXPECT_EQ(Form->minimumSize(), start);
}

} // namespace
} // namespace kvl::test
