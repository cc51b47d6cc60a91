#include "widgets/ProgressForm.h"

#include "ui_ProgressForm.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>

#include <algorithm>

namespace kvl {

TProgress::TProgress(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      ui(std::make_unique<Ui::TProgress>()) {
    ui->setupUi(this);
    setFixedSize(size());
    setWindowModality(Qt::ApplicationModal);
    ui->Bar->setMinimum(0);
}

TProgress::~TProgress() = default;

QLabel* TProgress::lblTask() const {
    return ui->lblTask;
}

QProgressBar* TProgress::Bar() const {
    return ui->Bar;
}

QLabel* TProgress::lblTimeLeft() const {
    return ui->lblTimeLeft;
}

void TProgress::Start(const QString& caption, const QString& task) {
    setWindowTitle(caption);
    ui->lblTask->setText(task);
    ui->lblTimeLeft->clear();
    ui->Bar->setMinimum(0);
    ui->Bar->setValue(0);
    if (parentWidget() != nullptr)
        move(parentWidget()->geometry().center() - rect().center());
    show();
    Repaint();
}

void TProgress::SetMaximum(int maximum) {
    ui->Bar->setMaximum(std::max(maximum, 0));
    ui->lblTimeLeft->clear();
    Clock.start();
}

void TProgress::SetPosition(int position) {
    // A value outside the range would be ignored and leave the bar behind.
    const int value = std::clamp(position, ui->Bar->minimum(), ui->Bar->maximum());
    ui->Bar->setValue(value);
    if (value <= 0 || !Clock.isValid())
        return;
    // The steps still to come at the pace of those done so far.
    const qint64 leftMs = Clock.elapsed() * (ui->Bar->maximum() - value) / value;
    ui->lblTimeLeft->setText(QStringLiteral("About %1 s left").arg((leftMs + 999) / 1000));
}

void TProgress::SetTask(const std::string& task) {
    ui->lblTask->setText(QString::fromLatin1(task.c_str()));
}

void TProgress::Repaint() {
    // No user input meanwhile: the upload runs inside a dispatch.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TProgress::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        FormDeactivate();
}

// The window keeps the focus while it shows.
void TProgress::FormDeactivate() {
    if (isVisible())
        activateWindow();
}

// Neither Escape nor the window manager ends an operation half-way.
void TProgress::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TProgress::closeEvent(QCloseEvent* event) {
    event->ignore();
}

} // namespace kvl
