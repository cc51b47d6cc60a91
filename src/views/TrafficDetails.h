// Ties the "Details" pane to the traffic view: the pane explains the line under
// the mouse, or the selected line; a click selects a line (a second click or Esc
// clears it). While the view holds a selection it is kept still: new lines are
// collected but not shown until the selection is cleared, so the selected line
// cannot scroll away or be replaced.
//
// Nothing is decoded while the pane is hidden: the pane explains a line only
// when the mouse or the selection moves, never for each received line.
#pragma once

#include <QObject>
#include <QTextBlock>

#include <functional>

class QPlainTextEdit;

namespace kvl {

class TDetailsPane;

class TTrafficDetails : public QObject {
    Q_OBJECT
public:
    static constexpr int kContextLines = 8; // lines before an AIS fragment that may hold its beginning

    // hold(true) keeps the traffic view still, hold(false) lets it catch up.
    TTrafficDetails(QPlainTextEdit& view, TDetailsPane& pane, std::function<void(bool)> hold);

    void SetPaneVisible(bool visible);
    bool PaneVisible() const;
    bool Held() const { return Holding; }

    // Selects the view's row (0-based), or clears the selection with -1.
    void SelectRow(int row);
    // Explains the row as if the mouse pointed at it.
    void HoverRow(int row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SelectionChanged();
    void Click(const QPoint& position);
    void ExplainBlock(const QTextBlock& block);
    int SelectedRow() const;

    QPlainTextEdit& View;
    TDetailsPane& Pane;
    std::function<void(bool)> Hold;
    bool Holding = false;
};

} // namespace kvl
