#include "main/SimModelDialog.h"

#include "SimModels.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace kvl {

TSimModelDialog::TSimModelDialog(const std::string& current, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("SimModelDialog"));
    setWindowTitle(QStringLiteral("Simulated Korvelan-3"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Model to simulate:"), this));
    Models = new QListWidget(this);
    Models->setObjectName(QStringLiteral("lbSimModels"));
    for (const sim::SimModel& model : sim::SimModels()) {
        auto* item = new QListWidgetItem(QString::fromStdString(model.title), Models);
        item->setData(Qt::UserRole, QString::fromStdString(model.code));
    }
    const sim::SimModel* preselected = sim::FindSimModel(current);
    int row = 0;
    for (int i = 0; preselected != nullptr && i < Models->count(); ++i)
        if (Models->item(i)->data(Qt::UserRole).toString().toStdString() == preselected->code)
            row = i;
    Models->setCurrentRow(row);
    // Wide enough for the longest title without a scroll bar.
    Models->setMinimumWidth(Models->sizeHintForColumn(0) + 2 * Models->frameWidth() + 24);
    Models->setMinimumHeight(Models->sizeHintForRow(0) * Models->count() + 2 * Models->frameWidth());
    layout->addWidget(Models);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(Models, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
}

std::string TSimModelDialog::SelectedModel() const {
    const QListWidgetItem* item = Models->currentItem();
    return item == nullptr ? std::string() : item->data(Qt::UserRole).toString().toStdString();
}

std::optional<std::string> TSimModelDialog::Choose(const std::string& current, QWidget* parent) {
    TSimModelDialog dialog(current, parent);
    if (dialog.exec() != QDialog::Accepted || dialog.SelectedModel().empty())
        return std::nullopt;
    return dialog.SelectedModel();
}

} // namespace kvl
