#include "views/TrafficDetails.h"

#include "views/DetailsPane.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

#include <vector>

namespace kvl {

namespace {

const char* const kHint = "Point at a line of the traffic to see what it says; click it to keep it.";
const char* const kHeldNote = "The traffic view is held while a line is selected: click the line again or "
                              "press Esc to let it go on.";

std::string BlockText(const QTextBlock& block) {
    return block.text().toLatin1().toStdString();
}

} // namespace

TTrafficDetails::TTrafficDetails(QPlainTextEdit& view, TDetailsPane& pane, std::function<void(bool)> hold)
    : QObject(&view), View(view), Pane(pane), Hold(std::move(hold)) {
    View.viewport()->installEventFilter(this);
    View.installEventFilter(this);
    connect(&View, &QPlainTextEdit::selectionChanged, this, [this] { SelectionChanged(); });
    // Emptying the view ("Clear", "No Scroll") takes the selection with it.
    connect(&View, &QPlainTextEdit::textChanged, this, [this] {
        if (Holding && SelectedRow() < 0)
            SelectionChanged();
    });
    Pane.ShowHint(QString::fromLatin1(kHint));
}

void TTrafficDetails::SetPaneVisible(bool visible) {
    Pane.setVisible(visible);
    // Hover events are asked for only while someone reads the pane.
    View.viewport()->setMouseTracking(visible);
    if (visible && SelectedRow() >= 0)
        ExplainBlock(View.document()->findBlockByNumber(SelectedRow()));
}

bool TTrafficDetails::PaneVisible() const {
    return !Pane.isHidden();
}

int TTrafficDetails::SelectedRow() const {
    const QTextCursor cursor = View.textCursor();
    if (!cursor.hasSelection())
        return -1;
    return View.document()->findBlock(cursor.selectionStart()).blockNumber();
}

void TTrafficDetails::SelectRow(int row) {
    QTextCursor cursor(View.document());
    const QTextBlock block = View.document()->findBlockByNumber(row);
    if (row >= 0 && block.isValid() && block.length() > 1) {
        // The cursor at the line's start: showing it does not scroll the view sideways.
        cursor.setPosition(block.position() + block.length() - 1);
        cursor.setPosition(block.position(), QTextCursor::KeepAnchor);
    }
    View.setTextCursor(cursor);
}

void TTrafficDetails::HoverRow(int row) {
    if (PaneVisible() && SelectedRow() < 0)
        ExplainBlock(View.document()->findBlockByNumber(row));
}

void TTrafficDetails::SelectionChanged() {
    const int row = SelectedRow();
    const bool hold = row >= 0;
    if (hold != Holding) {
        Holding = hold;
        Pane.SetNote(hold ? QString::fromLatin1(kHeldNote) : QString());
        if (Hold)
            Hold(hold); // letting go shows what came meanwhile
    }
    if (hold && PaneVisible())
        ExplainBlock(View.document()->findBlockByNumber(row));
}

void TTrafficDetails::Click(const QPoint& position) {
    const QTextBlock block = View.cursorForPosition(position).block();
    View.setFocus(Qt::MouseFocusReason);
    SelectRow(block.isValid() && block.blockNumber() != SelectedRow() ? block.blockNumber() : -1);
}

void TTrafficDetails::ExplainBlock(const QTextBlock& block) {
    if (!block.isValid() || block.text().isEmpty())
        return;
    const std::string line = BlockText(block);
    if (line == Pane.ExplainedLine())
        return; // the mouse moved within the same line
    std::vector<std::string> before;
    QTextBlock earlier = block;
    for (int i = 0; i < kContextLines && earlier.previous().isValid(); ++i)
        earlier = earlier.previous();
    for (; earlier.isValid() && earlier != block; earlier = earlier.next())
        before.push_back(BlockText(earlier));
    Pane.Explain(line, before);
}

bool TTrafficDetails::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &View) {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
            SelectedRow() >= 0) {
            SelectRow(-1);
            return true;
        }
        return false;
    }
    // Only the mouse concerns the pane. Other events come also while the view is
    // being destroyed, when the pane beside it may be gone already.
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseMove && type != QEvent::MouseButtonPress &&
        type != QEvent::MouseButtonDblClick && type != QEvent::MouseButtonRelease)
        return false;
    if (!PaneVisible())
        return false; // the view behaves as it always did
    switch (type) {
    case QEvent::MouseMove:
        if (SelectedRow() < 0)
            ExplainBlock(
                View.cursorForPosition(static_cast<QMouseEvent*>(event)->position().toPoint()).block());
        return false;
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        // The line is selected here, whole: the view's own selection by dragging
        // would start by clearing the selection and let the traffic move under it.
        Click(mouse->position().toPoint());
        return true;
    }
    case QEvent::MouseButtonDblClick: // follows the second press, which has already toggled
    case QEvent::MouseButtonRelease:
        return static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
    default:
        return false;
    }
}

} // namespace kvl
