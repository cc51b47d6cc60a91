#include "views/SentenceRatesModel.h"

#include <QApplication>
#include <QBrush>
#include <QPalette>

namespace kvl {

namespace {

double Milliseconds(TSentenceRates::Duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

} // namespace

TSentenceRatesModel::TSentenceRatesModel(QObject* parent) : QAbstractTableModel(parent) {}

void TSentenceRatesModel::SetRows(std::vector<TSentenceRates::TRow> rows,
                                  TSentenceRates::Clock::time_point now) {
    beginResetModel();
    Rows = std::move(rows);
    Now = now;
    endResetModel();
}

int TSentenceRatesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(Rows.size());
}

int TSentenceRatesModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : colCount_;
}

QVariant TSentenceRatesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const char* const kHeaders[colCount_] = {
        "Source",        "Sentence", "Count",        "Rate (Hz)", "Interval min/max (ms)",
        "Last seen (s)", "Errors",   "Last sentence"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= colCount_)
        return {};
    return QString::fromLatin1(kHeaders[section]);
}

QString TSentenceRatesModel::SourceText(const TSentenceRates::TRow& row) const {
    switch (row.Source) {
    case TSource::SrcNone:
        return QStringLiteral("No source");
    case TSource::SrcN0183:
        if (row.SourceId == 0)
            return QStringLiteral("Multiplexer");
        if (row.SourceId == 5)
            return QStringLiteral("Conversions");
        return QStringLiteral("Input %1").arg(row.SourceId);
    case TSource::SrcN2K: {
        const QString text = QStringLiteral("NMEA 2000 #") +
                             QStringLiteral("%1").arg(row.SourceId, 2, 16, QLatin1Char('0')).toUpper();
        const QString name = DeviceNamer ? DeviceNamer(row.SourceId) : QString();
        return name.isEmpty() ? text : text + QStringLiteral(" ") + name;
    }
    }
    return {};
}

bool TSentenceRatesModel::IsSilent(const TSentenceRates::TRow& row) const {
    return Now - row.LastSeen > TSentenceRates::kWindow;
}

QString TSentenceRatesModel::CellText(int index, int column) const {
    const TSentenceRates::TRow& row = Rows[static_cast<std::size_t>(index)];
    switch (column) {
    case colSource:
        return SourceText(row);
    case colSentence:
        return QString::fromLatin1(row.Address);
    case colCount:
        return QString::number(row.Count);
    case colRate:
        return QString::number(row.Rate, 'f', 1);
    case colInterval:
        if (!row.HasIntervals())
            return {};
        return QString::number(Milliseconds(row.MinInterval), 'f', 0) + QStringLiteral(" / ") +
               QString::number(Milliseconds(row.MaxInterval), 'f', 0);
    case colLastSeen:
        return QString::number(std::chrono::duration<double>(Now - row.LastSeen).count(), 'f', 1);
    case colErrors:
        return QString::number(row.Errors());
    case colLastText:
        return QString::fromLatin1(row.LastText);
    default:
        return {};
    }
}

QVariant TSentenceRatesModel::SortValue(const TSentenceRates::TRow& row, int column) const {
    switch (column) {
    case colCount:
        return static_cast<qulonglong>(row.Count);
    case colRate:
        return row.Rate;
    case colInterval:
        return row.HasIntervals() ? Milliseconds(row.MinInterval) : -1.0;
    case colLastSeen:
        return std::chrono::duration<double>(Now - row.LastSeen).count();
    case colErrors:
        return row.Errors();
    default:
        return {};
    }
}

QVariant TSentenceRatesModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(Rows.size()))
        return {};
    const TSentenceRates::TRow& row = Rows[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return CellText(index.row(), index.column());
    case Qt::UserRole: {
        const QVariant value = SortValue(row, index.column());
        return value.isValid() ? value : QVariant(CellText(index.row(), index.column()));
    }
    case Qt::ForegroundRole:
        if (IsSilent(row))
            return QApplication::palette().brush(QPalette::Disabled, QPalette::Text);
        return {};
    case Qt::TextAlignmentRole:
        if (index.column() >= colCount && index.column() <= colErrors)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    default:
        return {};
    }
}

} // namespace kvl
