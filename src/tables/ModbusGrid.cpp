#include "tables/ModbusGrid.h"

#include "model/TableCells.h"
#include "tables/GroupHeader.h"

#include <QComboBox>
#include <QEvent>

#include <cstring>

namespace kvl {

namespace {

constexpr const char* kRegTypes = "HI";
constexpr const char* kDataTypes = "IULF";

bool HasRegisterPair(const TModbus& entry) {
    return entry.DType == 'L' || entry.DType == 'F';
}

QString Letter(char c) {
    return c == 0 ? QString() : QString(QChar::fromLatin1(c));
}

QComboBox* MakeList(QWidget* parent, const char* name, int width, const QStringList& items) {
    auto* list = new QComboBox(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setFixedWidth(width);
    list->addItems(items);
    list->hide();
    return list;
}

} // namespace

TModbusGrid::TModbusGrid(QWidget* parent) : TEntryGrid(parent) {
    setObjectName(QStringLiteral("ModbusGrid"));
    setHorizontalHeader(
        new TGroupHeader({{1, 6, QStringLiteral("Modbus Slave")},
                          {kModbusColXdrType, kModbusColXdrUnit, QStringLiteral("XDR Sentence")}},
                         this));
    SetColumns({"", "Slv", "Reg", "T", "D", "R", "P", "T", "Transducer ID", "U", "Status"},
               {kNumberColumnWidth, 30, 48, 16, 16, 16, 16, 16, 130, 16, 36});
    setFixedWidth(minimumWidth());
    setFixedHeight(244);
    cbDataType =
        MakeList(viewport(), "cbDataType", 200,
                 {"I - Signed integer (16-bit/ 1 register)", "U - Unsigned integer (16-bit/1 register)",
                  "L - Signed Long (32-bit/2 registers)", "F - Floating point (32-bit/2 registers)"});
    cbRegType = MakeList(viewport(), "cbRegType", 120, {"H - Holding register", "I - Input register"});
    connect(cbRegType, &QComboBox::activated, this,
            [this](int index) { ListChosen(cbRegType, kRegTypes, &TModbus::RType, index); });
    connect(cbDataType, &QComboBox::activated, this,
            [this](int index) { ListChosen(cbDataType, kDataTypes, &TModbus::DType, index); });
    for (QComboBox* list : {cbRegType, cbDataType})
        list->installEventFilter(this);
}

QString TModbusGrid::StatusText(std::uint8_t status) {
    switch (status) {
    case 0:
        return QStringLiteral("OK");
    case TModbus::kStatusUnknown:
        return QStringLiteral("?");
    case 250:
    case 253:
        return QStringLiteral("SIZE");
    case 251:
        return QStringLiteral("WSLV");
    case 252:
        return QStringLiteral("COM");
    case 254:
        return QStringLiteral("CRC");
    case 255:
        return QStringLiteral("NRSP");
    default:
        return QStringLiteral("E %1").arg(status, 2, 16, QLatin1Char('0')).toUpper();
    }
}

QColor TModbusGrid::StatusColour(std::uint8_t status) {
    if (status == 0)
        return QColor(0, 192, 0);
    if (status == TModbus::kStatusUnknown)
        return QColor(240, 240, 240);
    if (status <= 11)
        return QColor(255, 255, 0);
    if (status >= 252)
        return QColor(255, 0, 0);
    return QColor(255, 128, 0);
}

void TModbusGrid::RemoveEntry(int row) {
    HideLists();
    TEntryGrid::RemoveEntry(row);
}

void TModbusGrid::FillRow(int row) {
    const TModbus& entry = Entry(row);
    SetNumberCell(row);
    SetTextCell(row, kModbusColSlave, QString::number(entry.Slave), true, false);
    SetTextCell(row, kModbusColReg, QString::number(entry.Reg), true, false);
    SetTextCell(row, kModbusColRegType, Letter(entry.RType), false, true);
    SetTextCell(row, kModbusColDataType, Letter(entry.DType), false, true);
    SetCheckCell(row, kModbusColRev, HasRegisterPair(entry), entry.Rev == 1);
    SetTextCell(row, kModbusColPrec, QString::number(entry.Prec), true, false);
    SetTextCell(row, kModbusColXdrType, Letter(entry.XdrType), true, false);
    SetTextCell(row, kModbusColXdrID, QString::fromLatin1(entry.XdrID), true, false);
    SetTextCell(row, kModbusColXdrUnit, Letter(entry.XdrUnit), true, false);
    SetTextCell(row, kModbusColStatus, StatusText(entry.Status), false, true);
    Cell(row, kModbusColStatus)->setBackground(StatusColour(entry.Status));
}

bool TModbusGrid::IsEditable(int col) const {
    return col == kModbusColSlave || col == kModbusColReg || col == kModbusColPrec ||
           col == kModbusColXdrType || col == kModbusColXdrID || col == kModbusColXdrUnit;
}

QString TModbusGrid::EditMask(int col) const {
    switch (col) {
    case kModbusColSlave:
        return QStringLiteral("000"); // up to three digits
    case kModbusColReg:
        return QStringLiteral("00000");
    case kModbusColPrec:
        return QStringLiteral("0");
    case kModbusColXdrType:
        return QStringLiteral(">A"); // one letter, upper case
    case kModbusColXdrUnit:
        return QStringLiteral("A"); // one letter as typed
    default:
        return {};
    }
}

std::string TModbusGrid::CellText(int row, int col) const {
    return ModbusCellText(Entry(row), col);
}

std::string TModbusGrid::CommitCell(int row, int col, const std::string& text) {
    return CommitModbusCell(Entry(row), col, text);
}

bool TModbusGrid::ClearCell(int row, int col) {
    TModbus& entry = Entry(row);
    switch (col) {
    case kModbusColXdrType:
        entry.XdrType = 0;
        return true;
    case kModbusColXdrID:
        entry.XdrID.clear();
        return true;
    case kModbusColXdrUnit:
        entry.XdrUnit = 0;
        return true;
    default:
        return false;
    }
}

void TModbusGrid::ToggleCell(int row, int col) {
    TModbus& entry = Entry(row);
    if (col != kModbusColRev || !HasRegisterPair(entry))
        return;
    entry.Rev = entry.Rev == 0 ? 1 : 0;
    FillRow(row);
    NoteEdited();
}

void TModbusGrid::CellSelected(int row, int col) {
    if (col == kModbusColRegType) {
        cbDataType->hide();
        ShowList(cbRegType, kRegTypes, Entry(row).RType);
    } else if (col == kModbusColDataType) {
        cbRegType->hide();
        ShowList(cbDataType, kDataTypes, Entry(row).DType);
    } else {
        HideLists();
    }
}

void TModbusGrid::ShowList(QComboBox* list, const char* letters, char value) {
    const QRect cell = visualRect(model()->index(currentRow(), currentColumn()));
    list->move(cell.topLeft() - QPoint(1, 1));
    const char* at = value == 0 ? nullptr : std::strchr(letters, value);
    list->setCurrentIndex(at ? static_cast<int>(at - letters) : -1);
    list->show();
    list->raise();
    list->setFocus();
}

void TModbusGrid::HideLists() {
    cbRegType->hide();
    cbDataType->hide();
}

void TModbusGrid::ListChosen(QComboBox* list, const char* letters, char TModbus::*field, int index) {
    const int row = CurrentEntry();
    list->hide();
    if (row < 0 || index < 0 || index >= static_cast<int>(std::strlen(letters)))
        return;
    if (Entry(row).*field == letters[index])
        return;
    Entry(row).*field = letters[index]; // Rev stays as it was when the data type changes
    FillRow(row);
    NoteEdited();
}

bool TModbusGrid::eventFilter(QObject* watched, QEvent* event) {
    // A list that loses the focus hides itself and changes nothing.
    if ((watched == cbRegType || watched == cbDataType) && event->type() == QEvent::FocusOut) {
        auto* list = static_cast<QComboBox*>(watched);
        if (!list->view()->isVisible())
            list->hide();
    }
    return TBaseGrid::eventFilter(watched, event);
}

} // namespace kvl
