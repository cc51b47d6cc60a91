// TN2KGrid: the device list grid. It holds no copy of the devices: every paint
// reads the scanner's list, so rows appear while a scan runs.
#pragma once

#include "model/Name.h"

#include <QAbstractTableModel>
#include <QTableView>

namespace kvl {

class TN2KDeviceList;
struct TDeviceInfo;

class TN2KGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TN2KGridModel(const TN2KDeviceList& scanner, QObject* parent = nullptr)
        : QAbstractTableModel(parent), Scanner(scanner) {}
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void Reset() {
        beginResetModel();
        endResetModel();
    }

private:
    QString Cell(const TDeviceInfo& device, int column) const;
    const TN2KDeviceList& Scanner;
};

class TN2KGrid : public QTableView {
    Q_OBJECT
public:
    static constexpr int kColumns = 8;
    static constexpr int kWidths[kColumns] = {150, 200, 150, 88, 48, 25, 25, 25};
    static constexpr int kHeight = 212;

    explicit TN2KGrid(const TN2KDeviceList& scanner, QWidget* parent = nullptr);

    // The scanner's list changed: take the new row count, keep the current row.
    void DataChanged();
    // Selects the row of the device with exactly this NAME, else the last row of
    // the same device with other instances; none leaves the row as it is.
    void SelectRowByName(TName name);
    void SelectRow(int row);
    // The device index of the selected row (of the current row when none is
    // selected), -1 when there is none.
    int CurrentDevice() const;
    int DeviceRows() const;
    // The current row is drawn in the highlight colours only while a device is
    // chosen; otherwise it looks like the others.
    void SetHighlight(bool on);

signals:
    // The user selected a row (not the program), whether by mouse, keyboard or
    // an assistive technology.
    void RowChosen();

private:
    void FollowSelection();

    const TN2KDeviceList& Scanner;
    TN2KGridModel* Model;
    bool Selecting = false; // the program is selecting a row
};

} // namespace kvl
