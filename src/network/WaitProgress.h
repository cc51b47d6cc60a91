// A stand-in for the program's progress window while the network dialogs have
// none given: a caption, an empty task label and a bar, repainted at every step
// while a dialog waits for the module. It keeps the positions it showed, for the tests.
#pragma once

#include "network/NetworkProgress.h"

#include <QDialog>
#include <QString>

#include <vector>

class QLabel;
class QProgressBar;

namespace kvl {

class TWaitProgress : public QDialog, public TNetworkProgress {
public:
    explicit TWaitProgress(QWidget* parent = nullptr);

    void Start(const QString& caption, int maximum) override;
    void SetPosition(int position) override;
    void Finish() override;

    const std::vector<int>& Positions() const { return Shown; }

private:
    QLabel* lblTask;
    QProgressBar* ProgressBar;
    std::vector<int> Shown;
};

// Waits ms while the window keeps painting (user input stays blocked).
void WaitRepainting(int ms);

} // namespace kvl
