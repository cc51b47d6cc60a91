#include "network/WaitProgress.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QThread>
#include <QVBoxLayout>

#include <algorithm>

namespace kvl {

TWaitProgress::TWaitProgress(QWidget* parent)
    : QDialog(parent), lblTask(new QLabel(this)), ProgressBar(new QProgressBar(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblTask);
    layout->addWidget(ProgressBar);
    ProgressBar->setTextVisible(false);
    setMinimumWidth(360);
}

void TWaitProgress::Start(const QString& caption, int maximum) {
    Shown.clear();
    setWindowTitle(caption);
    lblTask->clear();
    ProgressBar->setRange(0, maximum);
    ProgressBar->setValue(0);
    show();
    repaint();
}

void TWaitProgress::SetPosition(int position) {
    // A value outside the range would be ignored by the bar.
    ProgressBar->setValue(std::clamp(position, ProgressBar->minimum(), ProgressBar->maximum()));
    Shown.push_back(position);
    repaint();
}

void TWaitProgress::Finish() {
    hide();
}

void WaitRepainting(int ms) {
    QElapsedTimer clock;
    clock.start();
    do {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 5);
        const qint64 left = ms - clock.elapsed();
        if (left > 0)
            QThread::msleep(static_cast<unsigned long>(std::min<qint64>(left, 5)));
    } while (clock.elapsed() < ms);
}

} // namespace kvl
