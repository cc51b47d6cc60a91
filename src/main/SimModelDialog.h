// The choice of the model a "Simulated Korvelan-3" connection simulates: every
// model the capability word tells apart, the last choice preselected.
#pragma once

#include <QDialog>

#include <optional>
#include <string>

class QListWidget;

namespace kvl {

class TSimModelDialog : public QDialog {
    Q_OBJECT
public:
    // current: the code of the model to preselect ("3N"); the first when unknown.
    TSimModelDialog(const std::string& current, QWidget* parent = nullptr);
    std::string SelectedModel() const;

    // Shows the dialog; the chosen model's code, nothing when cancelled.
    static std::optional<std::string> Choose(const std::string& current, QWidget* parent);

private:
    QListWidget* Models = nullptr;
};

} // namespace kvl
