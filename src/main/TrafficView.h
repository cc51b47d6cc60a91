// The traffic view on the screen: brings the QPlainTextEdit up to date with the
// lines of `NmeaData`, by appending the new lines and rewriting the changed rows
// of the "No Scroll" table, never by rebuilding it whole.
//
// Painting costs per refresh, not per line, so refreshes are paced: the first
// change after a quiet spell is shown at once, and under steady traffic the
// view follows every 100 ms (a 460800-baud link brings about 56 lines in that
// time). The drain and the dispatch keep their 20 ms rhythm; only the screen
// waits.
#pragma once

#include "main/TrafficLines.h"

#include <QElapsedTimer>
#include <QTimer>

#include <cstddef>
#include <deque>
#include <string>

class QPlainTextEdit;

namespace kvl {

class TTrafficView {
public:
    static constexpr int kRefreshMs = 100;

    explicit TTrafficView(QPlainTextEdit& view);
    TTrafficView(const TTrafficView&) = delete;
    TTrafficView& operator=(const TTrafficView&) = delete;

    TTrafficLines NmeaData; // the lines the view shows, oldest first

    // Shows what changed in NmeaData, now or at the next refresh slot.
    void Refresh();
    // Shows what changed at once (the view's text is then exactly NmeaData).
    void RefreshNow();
    // Empties NmeaData and the view; scrolling keeps the newest line in sight.
    void Clear(bool scrolling);
    // A held view shows nothing new (a line is selected in it); NmeaData goes on
    // collecting, and letting go shows what came meanwhile at once.
    void SetHeld(bool held);
    bool Held() const { return Holding; }

private:
    void AppendRows(std::size_t count);
    void RewriteRow(std::size_t row);

    QPlainTextEdit& View;
    bool Scrolling = true;
    bool Holding = false;
    QElapsedTimer SinceRefresh;
    QTimer Deferred; // the refresh of changes that came too soon after the last one
};

} // namespace kvl
