#include "views/SentenceRatesForm.h"

#include "host/Dialogs.h"
#include "host/Guarded.h"
#include "ui_SentenceRatesForm.h"

#include <QHeaderView>
#include <QSaveFile>
#include <QSettings>

namespace kvl {

namespace {

QString CsvField(const QString& text) {
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char('\n')))
        return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

const QString kGeometryKey = QStringLiteral("SentenceRates/Geometry");
const QString kColumnsKey = QStringLiteral("SentenceRates/Columns");

QSettings StoredSettings() {
    return QSettings(QStringLiteral("Orvanto"), QStringLiteral("KVLConfig3"));
}

} // namespace

TSentenceRatesForm::TSentenceRatesForm(TSentenceRates& rates, QWidget* parent)
    : QWidget(parent, Qt::Window), ui(std::make_unique<Ui::TSentenceRatesForm>()), Rates(rates) {
    ui->setupUi(this);
    Sorted.setSourceModel(&RatesModel);
    Sorted.setSortRole(Qt::UserRole);
    ui->tvRates->setModel(&Sorted);
    ui->tvRates->sortByColumn(TSentenceRatesModel::colSource, Qt::AscendingOrder);
    ui->tvRates->horizontalHeader()->setStretchLastSection(true);
    ui->tvRates->verticalHeader()->hide();
    RefreshTimer.setInterval(kRefreshMs);
    connect(&RefreshTimer, &QTimer::timeout, this, GuardedSlot([this] { Refresh(); }));
    connect(ui->btnReset, &QPushButton::clicked, this, GuardedSlot([this] { btnResetClick(); }));
    connect(ui->btnSaveCsv, &QPushButton::clicked, this, GuardedSlot([this] { btnSaveCsvClick(); }));
    CreateDetailsPane();
    connect(ui->tvRates->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column) {
        // The last column follows the window's width; any other was set by the user.
        if (!Fitting && column + 1 < RatesModel.columnCount())
            FitToContent = false; // the user's width stays
    });
    RestoreLayout();
}

void TSentenceRatesForm::FitColumns() {
    if (!FitToContent)
        return;
    Fitting = true;
    QHeaderView* header = ui->tvRates->horizontalHeader();
    // Every column but the last, which stretches to the window's edge; a column
    // only grows, so that the table does not jump as rates come and go.
    for (int column = 0; column + 1 < RatesModel.columnCount(); ++column) {
        const int before = header->sectionSize(column);
        ui->tvRates->resizeColumnToContents(column); // the header's text counts too
        if (header->sectionSize(column) < before)
            header->resizeSection(column, before);
    }
    Fitting = false;
}

void TSentenceRatesForm::RestoreLayout() {
    const QSettings settings = StoredSettings();
    if (settings.contains(kGeometryKey))
        restoreGeometry(settings.value(kGeometryKey).toByteArray());
    if (settings.contains(kColumnsKey)) {
        Fitting = true;
        if (ui->tvRates->horizontalHeader()->restoreState(settings.value(kColumnsKey).toByteArray()))
            FitToContent = false;
        Fitting = false;
    }
}

void TSentenceRatesForm::StoreLayout() const {
    QSettings settings = StoredSettings();
    settings.setValue(kGeometryKey, saveGeometry());
    settings.setValue(kColumnsKey, ui->tvRates->horizontalHeader()->saveState());
}

TSentenceRatesForm::~TSentenceRatesForm() {
    // Closing the window while it is destroyed resizes the columns: their handler
    // must not reach this form any more.
    ui->tvRates->horizontalHeader()->disconnect(this);
}

void TSentenceRatesForm::SetDeviceNamer(TSentenceRatesModel::TDeviceNamer namer) {
    RatesModel.SetDeviceNamer(std::move(namer));
}

void TSentenceRatesForm::Refresh() {
    const auto now = TSentenceRates::Clock::now();
    const TRowKey selected = SelectedRowKey();
    RatesModel.SetRows(Rates.Snapshot(now), now);
    SelectRowKey(selected); // the new rows replace the old ones: the same source and sentence stay selected
    FitColumns();
}

void TSentenceRatesForm::btnResetClick() {
    Rates.Reset();
    Refresh();
}

QString TSentenceRatesForm::CsvText() const {
    QString text;
    QStringList fields;
    for (int column = 0; column < RatesModel.columnCount(); ++column)
        fields << CsvField(RatesModel.headerData(column, Qt::Horizontal).toString());
    text += fields.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    // In the order the user sorted the table.
    for (int row = 0; row < Sorted.rowCount(); ++row) {
        fields.clear();
        const int sourceRow = Sorted.mapToSource(Sorted.index(row, 0)).row();
        for (int column = 0; column < RatesModel.columnCount(); ++column)
            fields << CsvField(RatesModel.CellText(sourceRow, column));
        text += fields.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    }
    return text;
}

void TSentenceRatesForm::btnSaveCsvClick() {
    const QString name = Dialogs().SaveFileName(QStringLiteral("CSV file (*.csv);;Any file (*)"), 0,
                                                QStringLiteral("rates.csv"));
    if (name.isEmpty())
        return;
    QSaveFile file(name); // written beside the target and renamed over it when complete
    if (!file.open(QIODevice::WriteOnly) || file.write(CsvText().toUtf8()) < 0 || !file.commit())
        Dialogs().ShowMessage(QStringLiteral("Error Creating \"") + name + QStringLiteral("\""));
}

void TSentenceRatesForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Refresh();
    if (!RefreshTimer.isActive())
        RefreshTimer.start();
}

void TSentenceRatesForm::hideEvent(QHideEvent* event) {
    RefreshTimer.stop();
    StoreLayout();
    QWidget::hideEvent(event);
}

} // namespace kvl
