// TProgress: the progress window of long device operations (the firmware
// upload, the Ethernet setup). While it shows it is modal to the whole
// application: nothing else in the program can start or close under it.
#pragma once

#include <QDialog>
#include <QElapsedTimer>

#include <memory>
#include <string>

namespace Ui {
class TProgress;
}

class QLabel;
class QProgressBar;

namespace kvl {

class TProgress : public QDialog {
    Q_OBJECT
public:
    explicit TProgress(QWidget* parent = nullptr);
    ~TProgress() override;

    // Shows the window centred on its parent with a caption, a task and an empty bar.
    void Start(const QString& caption, const QString& task);

    void SetMaximum(int maximum);
    void SetPosition(int position);        // clamped to the bar's range
    void SetTask(const std::string& task); // Latin-1, as the device's texts
    void Repaint();

    QLabel* lblTask() const;
    QProgressBar* Bar() const;
    // "About 12 s left", estimated from the time the bar took so far; empty
    // before the first step.
    QLabel* lblTimeLeft() const;

protected:
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormDeactivate();

    std::unique_ptr<Ui::TProgress> ui;
    QElapsedTimer Clock; // since the bar's maximum was set
};

} // namespace kvl
