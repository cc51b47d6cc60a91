#include "views/ConfigDiffDialog.h"

#include "ui_ConfigDiffDialog.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTableWidgetItem>

namespace kvl {

namespace {

// Row texts come from the model's 8-bit world.
QString Latin1(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QString ShownValue(const std::string& value, bool present) {
    return present ? Latin1(value) : QStringLiteral("none");
}

} // namespace

TConfigDiffDialog::TConfigDiffDialog(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TConfigDiffDialog>()) {
    ui->setupUi(this);
    ui->tblDifferences->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    connect(ui->btnWriteFile, &QPushButton::clicked, this, [this] { done(kWriteFile); });
    connect(ui->btnClose, &QPushButton::clicked, this, &QDialog::reject);
}

TConfigDiffDialog::~TConfigDiffDialog() = default;

void TConfigDiffDialog::ShowComparison(const QString& fileName, const TConfigComparison& comparison) {
    ui->lblFile->setText(QStringLiteral("File: ") + fileName);
    ui->lblNoDifference->setVisible(!comparison.HasDifferences());
    ui->tblDifferences->setRowCount(0);
    for (const TConfigDifference& difference : comparison.Differences)
        AddRow(difference);
    for (const TConfigDifference& difference : comparison.NotOnDevice)
        AddRow(difference);
    ui->tblDifferences->setVisible(ui->tblDifferences->rowCount() > 0);
    ui->lblSummary->setText(Latin1(ComparisonSummary(comparison)));
}

void TConfigDiffDialog::AddRow(const TConfigDifference& d) {
    const int row = ui->tblDifferences->rowCount();
    ui->tblDifferences->insertRow(row);
    const QString device =
        d.Kind == TDiffKind::NotOnDevice ? kNotOnDevice : ShownValue(d.Device, d.Kind != TDiffKind::Added);
    const QString texts[] = {Latin1(d.Setting), device, ShownValue(d.File, d.Kind != TDiffKind::Removed)};
    for (int column = 0; column < 3; ++column)
        ui->tblDifferences->setItem(row, column, new QTableWidgetItem(texts[column]));
}

} // namespace kvl
