// TConfigDiffDialog: what a configuration file would change on the connected
// multiplexer, before anything is written: one line per difference (setting, on
// the device, in the file), the settings the device does not have below them,
// and the counts. "Write File to Device" ends it with kWriteFile.
#pragma once

#include "model/ConfigDiff.h"

#include <QDialog>

#include <memory>

namespace Ui {
class TConfigDiffDialog;
}

namespace kvl {

class TConfigDiffDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kWriteFile = QDialog::Accepted;
    inline static const QString kNotOnDevice = QStringLiteral("not on this device");

    explicit TConfigDiffDialog(QWidget* parent = nullptr);
    ~TConfigDiffDialog() override;

    void ShowComparison(const QString& fileName, const TConfigComparison& comparison);

private:
    void AddRow(const TConfigDifference& difference);

    std::unique_ptr<Ui::TConfigDiffDialog> ui;
};

} // namespace kvl
