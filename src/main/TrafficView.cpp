#include "main/TrafficView.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace kvl {

TTrafficView::TTrafficView(QPlainTextEdit& view) : View(view) {
    // Rows scrolled out of the view are dropped by hand; an undo history would
    // keep every line ever shown.
    View.setUndoRedoEnabled(false);
    Deferred.setSingleShot(true);
    QObject::connect(&Deferred, &QTimer::timeout, &View, [this] { RefreshNow(); });
}

void TTrafficView::Refresh() {
    if (Holding || Deferred.isActive() || !NmeaData.Changed())
        return; // already due, or nothing to show (filtered lines, statistics)
    const qint64 since = SinceRefresh.isValid() ? SinceRefresh.elapsed() : kRefreshMs;
    if (since >= kRefreshMs)
        RefreshNow();
    else
        Deferred.start(static_cast<int>(kRefreshMs - since));
}

void TTrafficView::RefreshNow() {
    Deferred.stop();
    if (Holding)
        return;
    const TTrafficLines::TChanges changes = NmeaData.TakeChanges();
    if (!changes.Any())
        return; // nothing to lay out or paint
    SinceRefresh.start();
    if (changes.Rebuild)
        View.clear();
    // Appending first drops the rows NmeaData dropped, so the view's rows are
    // numbered as NmeaData's are now.
    if (changes.Appended > 0)
        AppendRows(changes.Appended);
    for (std::size_t row : changes.Rewritten)
        RewriteRow(row);
    if (Scrolling && changes.Appended > 0) {
        QScrollBar* bar = View.verticalScrollBar();
        bar->setValue(bar->maximum()); // the newest lines are the visible ones
    }
}

void TTrafficView::SetHeld(bool held) {
    Holding = held;
    if (!held)
        RefreshNow();
}

void TTrafficView::Clear(bool scrolling) {
    Scrolling = scrolling;
    Deferred.stop();
    NmeaData.Clear();
    View.clear();
}

// Appends the last `count` lines and drops the rows that NmeaData dropped from
// the top, all in one edit. The cursor moves by position only: a move by block
// would lay out every block it passes, and only rows that come into sight
// need laying out (when they are painted).
void TTrafficView::AppendRows(std::size_t count) {
    const std::deque<std::string>& lines = NmeaData.Lines();
    QTextDocument* document = View.document();
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    cursor.setPosition(document->characterCount() - 1);
    bool first = document->isEmpty();
    for (std::size_t row = lines.size() - count; row < lines.size(); ++row) {
        if (!first)
            cursor.insertBlock();
        first = false;
        cursor.insertText(QString::fromLatin1(lines[row]));
    }
    const int excess = document->blockCount() - static_cast<int>(lines.size());
    if (excess > 0) {
        cursor.setPosition(0);
        cursor.setPosition(document->findBlockByNumber(excess).position(), QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
    cursor.endEditBlock();
}

void TTrafficView::RewriteRow(std::size_t row) {
    const QTextBlock block = View.document()->findBlockByNumber(static_cast<int>(row));
    QTextCursor cursor(View.document());
    cursor.beginEditBlock();
    cursor.setPosition(block.position());
    cursor.setPosition(block.position() + block.length() - 1, QTextCursor::KeepAnchor);
    cursor.insertText(QString::fromLatin1(NmeaData.Lines()[row]));
    cursor.endEditBlock();
}

} // namespace kvl
