// The progress window of the network dialogs: a caption, an empty task label and
// a bar, repainted at every step while the dialog waits for the module. It keeps
// the positions it showed, for the tests.
#pragma once

#include <QDialog>
#include <QString>

#include <vector>

class QLabel;
class QProgressBar;

namespace kvl {

class TWaitProgress : public QDialog {
public:
    explicit TWaitProgress(QWidget* parent = nullptr);

    void Start(const QString& caption, int maximum);
    void SetPosition(int position);
    void Finish();

    const std::vector<int>& Positions() const { return Shown; }

private:
    QLabel* lblTask;
    QProgressBar* ProgressBar;
    std::vector<int> Shown;
};

// Waits ms while the window keeps painting (user input stays blocked).
void WaitRepainting(int ms);

} // namespace kvl
