#include "tables/MobGrid.h"

#include "model/TableCells.h"

#include <QScrollBar>

namespace kvl {

namespace {
constexpr int kColAlarm = 2;
}

TMobGrid::TMobGrid(QWidget* parent) : TEntryGrid(parent) {
    setObjectName(QStringLiteral("MobGrid"));
    SetColumns({"", "MMSI", "AL"}, {kNumberColumnWidth, 80, 16});
    setFixedWidth(minimumWidth() - 21 + 4 + verticalScrollBar()->sizeHint().width());
    setFixedHeight(148);
}

void TMobGrid::FillRow(int row) {
    const TMob& entry = Entry(row);
    SetNumberCell(row);
    SetTextCell(row, kMobColMMSI, QString::fromLatin1(entry.MMSI), true, false);
    SetTextCell(row, kColAlarm, {}, false, false);
    Cell(row, kColAlarm)
        ->setBackground(entry.Status == TMob::kAlarmActive ? QColor(255, 0, 0) : QColor(Qt::white));
}

bool TMobGrid::IsEditable(int col) const {
    return col == kMobColMMSI;
}

QString TMobGrid::EditMask(int) const {
    return QStringLiteral("999999999"); // exactly nine digits
}

std::string TMobGrid::CellText(int row, int col) const {
    return MobCellText(Entry(row), col);
}

std::string TMobGrid::CommitCell(int row, int col, const std::string& text) {
    return CommitMobCell(Entry(row), col, text);
}

bool TMobGrid::ClearCell(int row, int col) {
    if (col != kMobColMMSI)
        return false;
    Entry(row).MMSI.clear();
    return true;
}

void TMobGrid::ToggleCell(int, int) {}

} // namespace kvl
