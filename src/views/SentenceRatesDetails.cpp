// The Sentence Rates window's pane under its table: the last sentence of the
// selected row explained field by field, updated with every refresh, so that
// it shows what each source currently says.
#include "host/Guarded.h"
#include "ui_SentenceRatesForm.h"
#include "views/DetailsPane.h"
#include "views/SentenceRatesForm.h"

#include <QLayout>
#include <QSplitter>

namespace kvl {

namespace {

constexpr int kPaneMinimumHeight = 80;
const char* const kHint = "Select a row to see what its last sentence says.";

} // namespace

void TSentenceRatesForm::CreateDetailsPane() {
    ui->tvRates->setSelectionBehavior(QAbstractItemView::SelectRows);
    ui->tvRates->setSelectionMode(QAbstractItemView::SingleSelection);
    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->setObjectName(QStringLiteral("splitRatesDetails"));
    splitter->setChildrenCollapsible(false);
    if (QLayout* layout = ui->tvRates->parentWidget()->layout())
        delete layout->replaceWidget(ui->tvRates, splitter);
    splitter->addWidget(ui->tvRates);
    DetailsPane = new TDetailsPane;
    DetailsPane->setMinimumHeight(kPaneMinimumHeight);
    DetailsPane->ShowHint(QString::fromLatin1(kHint));
    splitter->addWidget(DetailsPane);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    connect(ui->tvRates->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            GuardedSlot([this] { ExplainSelectedRow(); }));
}

TSentenceRatesForm::TRowKey TSentenceRatesForm::SelectedRowKey() const {
    const QModelIndexList rows = ui->tvRates->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return {};
    const int row = Sorted.mapToSource(rows.first()).row();
    return {RatesModel.CellText(row, TSentenceRatesModel::colSource),
            RatesModel.CellText(row, TSentenceRatesModel::colSentence)};
}

void TSentenceRatesForm::SelectRowKey(const TRowKey& key) {
    if (key.Source.isEmpty()) {
        ExplainSelectedRow();
        return;
    }
    for (int row = 0; row < RatesModel.rowCount(); ++row) {
        if (RatesModel.CellText(row, TSentenceRatesModel::colSource) == key.Source &&
            RatesModel.CellText(row, TSentenceRatesModel::colSentence) == key.Sentence) {
            SelectRow(Sorted.mapFromSource(RatesModel.index(row, 0)).row());
            return;
        }
    }
    SelectRow(-1); // the row is gone (Reset)
}

void TSentenceRatesForm::SelectRow(int row) {
    QItemSelectionModel* selection = ui->tvRates->selectionModel();
    if (row < 0 || row >= Sorted.rowCount()) {
        selection->clearSelection();
        ExplainSelectedRow();
        return;
    }
    selection->select(Sorted.index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    ExplainSelectedRow(); // also when the selection was the same and no signal came
}

void TSentenceRatesForm::ExplainSelectedRow() {
    const QModelIndexList rows = ui->tvRates->selectionModel()->selectedRows();
    if (rows.isEmpty()) {
        DetailsPane->ShowHint(QString::fromLatin1(kHint));
        return;
    }
    const int row = Sorted.mapToSource(rows.first()).row();
    const std::string line =
        RatesModel.CellText(row, TSentenceRatesModel::colLastText).toLatin1().toStdString();
    if (line != DetailsPane->ExplainedLine())
        DetailsPane->Explain(line); // an unchanged sentence keeps the pane where the reader scrolled it
}

} // namespace kvl
