#include "views/Statistics.h"

#include "ui_Statistics.h"

#include <QProgressBar>
#include <QShowEvent>

#include <algorithm>
#include <cstdint>

namespace kvl {

namespace {

// A figure beyond the bar's range shows as a full bar: the progress bar itself
// would ignore it and keep its previous position.
void SetClamped(QProgressBar& bar, std::uint32_t value) {
    const auto max = static_cast<std::uint32_t>(bar.maximum());
    bar.setValue(static_cast<int>(std::min(value, max)));
}

} // namespace

TStats::TStats(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TStats>()) {
    ui->setupUi(this);
    // A fixed border without title-bar buttons, kept above the other windows and
    // never blocking the main window.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(size());
}

TStats::~TStats() = default;

void TStats::HandleSTAT(const TSentence& sentence) {
    if (!sentence.HasField(1) || sentence.Field(1) != "R")
        return;
    // In the order of the report; a bad field ends the report, the bars before it keep their figures.
    QProgressBar* const bars[] = {ui->pbProcTime, ui->pbDBUse, ui->pbCanRX,
                                  ui->pbCanTX,    ui->pbQOut1, ui->pbQOut2};
    std::size_t field = 2;
    for (QProgressBar* bar : bars)
        SetClamped(*bar, sentence.FieldDec(field++));
}

void TStats::PlaceBeside(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    move(frame.right() + 1, frame.top());
}

void TStats::showEvent(QShowEvent* event) {
    // Shown by the menu command, not restored by the window system.
    if (!event->spontaneous())
        FormShow();
    QWidget::showEvent(event);
}

void TStats::FormShow() {
    for (QProgressBar* bar : findChildren<QProgressBar*>())
        bar->setValue(0);
}

} // namespace kvl
