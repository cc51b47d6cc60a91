// TStats: the small window beside the main window that shows the multiplexer's
// load figures as six vertical bars while its statistics reports are switched on.
#pragma once

#include "sentence/Sentence.h"

#include <QWidget>

#include <memory>

namespace Ui {
class TStats;
}

namespace kvl {

class TStats : public QWidget {
    Q_OBJECT
public:
    explicit TStats(QWidget* parent = nullptr);
    ~TStats() override;

    // Takes a "$PQZXSTAT" report; shows its figures whether or not the window is showing.
    void HandleSTAT(const TSentence& sentence);
    // Places the window's top left corner at the top right corner of the window's frame.
    void PlaceBeside(const QWidget& window);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    std::unique_ptr<Ui::TStats> ui;
};

} // namespace kvl
