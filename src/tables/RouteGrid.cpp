#include "tables/RouteGrid.h"

#include "model/TableCells.h"
#include "tables/GroupHeader.h"

#include <QHeaderView>
#include <QMouseEvent>

namespace kvl {

namespace {

constexpr int kColN2K = 7;
constexpr int kColIn4 = 4;
constexpr int kColOut2 = 12;
constexpr int kColSeaTalk = 13;
constexpr int kColHost = 14;
constexpr int kColWiFi = 15;
constexpr int kDeviceWidth = 120;

// The source bit of columns 1 to 7 and the destination bit of columns 11 to 15.
int SourceBit(int col) {
    if (col >= 1 && col <= 6)
        return col - 1;
    return col == kColN2K ? static_cast<int>(kSrcN2K) : -1;
}

int DestinationBit(int col) {
    switch (col) {
    case 11:
        return kDstOut1;
    case kColOut2:
        return kDstOut2;
    case kColSeaTalk:
        return kDstSeaTalk;
    case kColHost:
        return kDstHost;
    case kColWiFi:
        return kDstWiFi;
    default:
        return -1;
    }
}

bool Bit(unsigned word, int bit) {
    return (word >> bit) & 1u;
}

} // namespace

TRouteGrid::TRouteGrid(QWidget* parent) : TEntryGrid(parent) {
    setObjectName(QStringLiteral("RouteGrid"));
    setHorizontalHeader(new TGroupHeader({{1, 6, QStringLiteral("Inputs")},
                                          {kColN2K, kRouteColDevice, QStringLiteral("NMEA 2000 Sources")},
                                          {11, 15, QStringLiteral("Outputs")}},
                                         this));
    SetCaptions();
    setFixedHeight(244);
}

void TRouteGrid::SetCaptions() {
    const bool n2k = (FFlags & gfN2K) != 0;
    SetColumns({"", (FFlags & gfSeaTalk) ? "ST" : "1", "2", "3", "4", "C", "H", "N", "Device", "Sentence",
                "Div", "1", "2", "ST", "PC", "W"},
               {kNumberColumnWidth, 16, 16, 16, 16, 16, 16, n2k ? 16 : 0, n2k ? kDeviceWidth : 0, 55, 21, 16,
                16, 16, 16, 16});
    setFixedWidth(minimumWidth());
    for (const int col : {kColIn4, kColOut2, kColSeaTalk, kColWiFi}) {
        if (QTableWidgetItem* caption = horizontalHeaderItem(col))
            caption->setForeground(Available(col) ? QColor(128, 128, 128) : QColor(192, 192, 192));
    }
}

void TRouteGrid::SetFlags(TFlags value) {
    if (value == FFlags)
        return;
    FFlags = value;
    SetCaptions();
    Redraw();
}

bool TRouteGrid::Available(int col) const {
    switch (col) {
    case kColIn4:
        return (FFlags & gfIn4) != 0;
    case kColOut2:
        return (FFlags & gfOut2) != 0;
    case kColSeaTalk:
        return (FFlags & gfSeaTalk) != 0;
    case kColWiFi:
        return (FFlags & gfWiFi) != 0;
    default:
        return true;
    }
}

void TRouteGrid::FillRow(int row) {
    const TRoute& route = Entry(row);
    SetNumberCell(row);
    for (int col = 1; col < kColumns; ++col) {
        if (const int bit = SourceBit(col); bit >= 0)
            SetCheckCell(row, col, Available(col), Bit(route.Inputs, bit));
        else if (const int dst = DestinationBit(col); dst >= 0)
            SetCheckCell(row, col, Available(col), Bit(route.Route, dst));
    }
    QString device;
    if (!route.Name.IsEmpty()) {
        const std::string model = DeviceModel ? DeviceModel(route.Name) : std::string();
        device = model.empty() ? QStringLiteral("???") : QString::fromLatin1(model);
    }
    SetTextCell(row, kRouteColDevice, device, false, false);
    // The tool tip names the device: its model and manufacturer.
    const std::string tip =
        !route.Name.IsEmpty() && DeviceToolTip ? DeviceToolTip(route.Name) : std::string();
    Cell(row, kRouteColDevice)->setToolTip(QString::fromLatin1(tip));
    if (device == QStringLiteral("???"))
        Cell(row, kRouteColDevice)->setBackground(palette().color(QPalette::Button));
    SetTextCell(row, kRouteColSentence, QString::fromLatin1(route.Address), true, false);
    SetTextCell(row, kRouteColDivisor, QString::fromLatin1(RouteCellText(route, kRouteColDivisor)), true,
                false);
}

bool TRouteGrid::IsEditable(int col) const {
    return col == kRouteColSentence || col == kRouteColDivisor;
}

QString TRouteGrid::EditMask(int col) const {
    // Five characters of any kind, upper case; up to two digits.
    return col == kRouteColSentence ? QStringLiteral(">XXXXX") : QStringLiteral("00");
}

std::string TRouteGrid::CellText(int row, int col) const {
    return RouteCellText(Entry(row), col);
}

std::string TRouteGrid::CommitCell(int row, int col, const std::string& text) {
    return CommitRouteCell(Entry(row), col, text);
}

bool TRouteGrid::ClearCell(int row, int col) {
    TRoute& route = Entry(row);
    if (col == kRouteColDevice) {
        route.Name = 0; // the N bit stays as it is
        route.SA = TMuxConfig::kNoSourceAddress;
        return true;
    }
    if (col == kRouteColDivisor) {
        route.Divisor = 0;
        return true;
    }
    return false;
}

void TRouteGrid::ToggleCell(int row, int col) {
    if (!Available(col))
        return; // a cell without a box keeps its hidden bit
    TRoute& route = Entry(row);
    if (const int bit = SourceBit(col); bit >= 0) {
        route.Inputs ^= static_cast<std::uint16_t>(1u << bit);
        if (!Bit(route.Inputs, kSrcN2K)) {
            route.Name = 0;
            route.SA = TMuxConfig::kNoSourceAddress;
        }
    } else if (const int dst = DestinationBit(col); dst >= 0) {
        route.Route ^= static_cast<std::uint16_t>(1u << dst);
    } else {
        return;
    }
    FillRow(row);
    NoteEdited();
}

void TRouteGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    TBaseGrid::mouseDoubleClickEvent(event);
    const int row = CurrentEntry();
    if (event->button() != Qt::LeftButton || row < 0 || currentColumn() != kRouteColDevice || !ChooseDevice)
        return;
    const TRoute* before = Data->at(static_cast<std::size_t>(row)).get();
    const auto chosen = ChooseDevice(before->Name);
    // The entry is found again: it may have gone while the list was open.
    if (!chosen || row >= DataCount() || Data->at(static_cast<std::size_t>(row)).get() != before)
        return;
    TRoute& route = Entry(row);
    route.SA = chosen->SA;
    route.Name = chosen->Name;
    route.Inputs |= static_cast<std::uint16_t>(1u << kSrcN2K);
    Redraw();
    NoteEdited();
}

} // namespace kvl
