// The sentence rates as a table: one row per source and sentence address, with
// the raw value of every cell under Qt::UserRole for sorting.
#pragma once

#include "sentence/SentenceRates.h"

#include <QAbstractTableModel>

#include <functional>
#include <vector>

namespace kvl {

class TSentenceRatesModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum TColumn {
        colSource,
        colSentence,
        colCount,
        colRate,
        colInterval,
        colLastSeen,
        colErrors,
        colLastText,
        colCount_
    };
    // The model and manufacturer of an NMEA 2000 device by its address; empty when unknown.
    using TDeviceNamer = std::function<QString(std::uint8_t address)>;

    explicit TSentenceRatesModel(QObject* parent = nullptr);

    void SetRows(std::vector<TSentenceRates::TRow> rows, TSentenceRates::Clock::time_point now);
    void SetDeviceNamer(TDeviceNamer namer) { DeviceNamer = std::move(namer); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    QString SourceText(const TSentenceRates::TRow& row) const;
    QString CellText(int row, int column) const;

private:
    QVariant SortValue(const TSentenceRates::TRow& row, int column) const;
    bool IsSilent(const TSentenceRates::TRow& row) const;

    std::vector<TSentenceRates::TRow> Rows;
    TSentenceRates::Clock::time_point Now;
    TDeviceNamer DeviceNamer;
};

} // namespace kvl
