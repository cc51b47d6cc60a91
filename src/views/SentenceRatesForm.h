// The "Sentence Rates" window: the rate table of every source and sentence,
// refreshed at most twice a second whatever the traffic, sortable by any column,
// with Reset and a CSV export. Closing it stops nothing: the counting goes on
// while a link is open.
#pragma once

#include "sentence/SentenceRates.h"
#include "views/SentenceRatesModel.h"

#include <QSortFilterProxyModel>
#include <QTimer>
#include <QWidget>

#include <memory>

namespace Ui {
class TSentenceRatesForm;
}

namespace kvl {

class TDetailsPane;

class TSentenceRatesForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRefreshMs = 500;

    TSentenceRatesForm(TSentenceRates& rates, QWidget* parent = nullptr);
    ~TSentenceRatesForm() override;

    void SetDeviceNamer(TSentenceRatesModel::TDeviceNamer namer);
    void Refresh();
    void btnResetClick();
    void btnSaveCsvClick();

    // The table as RFC 4180 text (CR LF line ends, quoted where needed), header first.
    QString CsvText() const;
    const TSentenceRatesModel& Model() const { return RatesModel; }
    // The pane under the table: what the selected row's last sentence says.
    TDetailsPane& Details() { return *DetailsPane; }
    void SelectRow(int row); // a row of the table as shown (sorted); -1 for none

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    struct TRowKey {
        QString Source;
        QString Sentence;
    };
    void CreateDetailsPane();
    TRowKey SelectedRowKey() const;
    void SelectRowKey(const TRowKey& key);
    void ExplainSelectedRow();
    // Column widths follow the content (never cutting a header) until the user
    // sets one or stored widths are restored; size and widths are stored on hiding.
    void FitColumns();
    void RestoreLayout();
    void StoreLayout() const;
    bool FitToContent = true;
    bool Fitting = false;

    std::unique_ptr<Ui::TSentenceRatesForm> ui;
    TSentenceRates& Rates;
    TSentenceRatesModel RatesModel;
    QSortFilterProxyModel Sorted;
    QTimer RefreshTimer;
    TDetailsPane* DetailsPane = nullptr; // owned by the form's splitter
};

} // namespace kvl
