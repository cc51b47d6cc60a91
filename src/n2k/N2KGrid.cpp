#include "n2k/N2KGrid.h"

#include "n2k/N2K.h"

#include <QApplication>
#include <QBrush>
#include <QColor>
#include <QFont>
#include <QHeaderView>
#include <QScopedValueRollback>

namespace kvl {

namespace {

constexpr int kInfoColumns = 5; // manufacturer to load equivalency, on light blue
constexpr unsigned kMilliampsPerLEN = 50;

const char* const kHeaders[TN2KGrid::kColumns] = {"Manufacturer", "Model ID", "Serial No.", "Version",
                                                  "LE (mA)",      "SA",       "DI",         "SI"};

} // namespace

int TN2KGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(Scanner.DeviceCount());
}

int TN2KGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : TN2KGrid::kColumns;
}

QString TN2KGridModel::Cell(const TDeviceInfo& device, int column) const {
    switch (column) {
    case 0:
        return QString::fromLatin1(Scanner.GetMfgTable().MakerName(device.Name.ManufacturerCode()));
    case 1:
        return QString::fromLatin1(device.ModelID);
    case 2:
        return QString::fromLatin1(device.SerialNo);
    case 3:
        return QString::fromLatin1(device.SwVersion);
    case 4:
        return device.LEN == TDeviceInfo::kUnknown ? QStringLiteral("n/a")
                                                   : QString::number(device.LEN * kMilliampsPerLEN);
    case 5:
        return QString::number(device.SA);
    case 6:
        return QString::number(device.Name.DevInstance());
    default:
        return QString::number(device.Name.SystemInstance());
    }
}

QVariant TN2KGridModel::data(const QModelIndex& index, int role) const {
    const auto row = static_cast<std::size_t>(index.row());
    if (!index.isValid() || row >= Scanner.DeviceCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return Cell(*Scanner.GetDevices()[row], index.column());
    case Qt::BackgroundRole:
        return index.column() < kInfoColumns ? QBrush(QColor(224, 240, 248)) : QBrush(Qt::white);
    default:
        return {};
    }
}

QVariant TN2KGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < TN2KGrid::kColumns)
        return QString::fromLatin1(kHeaders[section]);
    return {};
}

TN2KGrid::TN2KGrid(const TN2KDeviceList& scanner, QWidget* parent)
    : QTableView(parent), Scanner(scanner), Model(new TN2KGridModel(scanner, this)) {
    setObjectName(QStringLiteral("N2KGrid"));
    setModel(Model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    verticalHeader()->setVisible(false);
    verticalHeader()->setDefaultSectionSize(18);
    horizontalHeader()->setHighlightSections(false);
    setGridStyle(Qt::SolidLine);
    int width = 0;
    for (int column = 0; column < kColumns; ++column) {
        setColumnWidth(column, kWidths[column]);
        width += kWidths[column];
    }
    setGeometry(8, 8, width + 21, kHeight);
    QFont small = font();
    small.setPixelSize(11);
    setFont(small);
    horizontalHeader()->setStyleSheet(QStringLiteral(
        "QHeaderView::section { color: white; background-color: palette(highlight); border: 1px solid grey; "
        "padding-left: 2px; }"));
    QPalette colours = palette();
    colours.setColor(QPalette::Text, colours.color(QPalette::WindowText));
    setPalette(colours);
    setStyleSheet(QStringLiteral("QTableView { gridline-color: silver; }"));
    SetHighlight(false);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { FollowSelection(); });
}

void TN2KGrid::SetHighlight(bool on) {
    QPalette colours = palette();
    const QPalette standard = QApplication::palette();
    colours.setColor(QPalette::Highlight, on ? standard.color(QPalette::Highlight) : QColor(224, 240, 248));
    colours.setColor(QPalette::HighlightedText,
                     on ? standard.color(QPalette::HighlightedText) : standard.color(QPalette::WindowText));
    setPalette(colours);
    viewport()->update();
}

void TN2KGrid::DataChanged() {
    const int current = CurrentDevice();
    Model->Reset();
    if (current >= 0 && current < DeviceRows())
        SelectRow(current);
}

int TN2KGrid::DeviceRows() const {
    return static_cast<int>(Scanner.DeviceCount());
}

void TN2KGrid::SelectRow(int row) {
    if (row < 0 || row >= DeviceRows())
        return;
    const QScopedValueRollback selecting(Selecting, true);
    setCurrentIndex(Model->index(row, 0));
    selectRow(row);
}

void TN2KGrid::SelectRowByName(TName name) {
    // The device with exactly this NAME first: another may differ from it in
    // nothing but its instances.
    int same = -1;
    for (int row = 0; row < DeviceRows(); ++row) {
        const TName listed = Scanner.GetDevices()[static_cast<std::size_t>(row)]->Name;
        if (listed == name) {
            SelectRow(row);
            return;
        }
        if (SameDevice(listed, name))
            same = row;
    }
    SelectRow(same);
}

// However a row was selected (mouse, keyboard, or an assistive technology, which
// selects without moving the current row), the current row follows it.
void TN2KGrid::FollowSelection() {
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.size() != 1)
        return;
    if (rows.front().row() != currentIndex().row())
        selectionModel()->setCurrentIndex(rows.front(), QItemSelectionModel::NoUpdate);
    if (!Selecting)
        emit RowChosen();
}

int TN2KGrid::CurrentDevice() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    const QModelIndex index = rows.size() == 1 ? rows.front() : currentIndex();
    if (!index.isValid() || index.row() >= DeviceRows())
        return -1;
    return index.row();
}

} // namespace kvl
