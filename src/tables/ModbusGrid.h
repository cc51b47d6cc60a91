// TModbusGrid: the Modbus table editor of the "Modbus" tab page: per entry the
// slave register, how it is read, the XDR sentence it becomes and the state the
// multiplexer reported. The register and data types are chosen from two lists
// placed over their cells.
#pragma once

#include "model/MuxConfig.h"
#include "tables/EntryGrid.h"

class QComboBox;

namespace kvl {

class TModbusGrid : public TEntryGrid<TModbus> {
    Q_OBJECT
public:
    explicit TModbusGrid(QWidget* parent = nullptr);

    QComboBox* cbDataType = nullptr;
    QComboBox* cbRegType = nullptr;

    // "OK", "E 0B", "?", "COM", ... and its background.
    static QString StatusText(std::uint8_t status);
    static QColor StatusColour(std::uint8_t status);

protected:
    void RemoveEntry(int row) override;
    void FillRow(int row) override;
    bool IsEditable(int col) const override;
    QString EditMask(int col) const override;
    std::string CellText(int row, int col) const override;
    std::string CommitCell(int row, int col, const std::string& text) override;
    bool ClearCell(int row, int col) override;
    void ToggleCell(int row, int col) override;
    void CellSelected(int row, int col) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowList(QComboBox* list, const char* letters, char value);
    void HideLists();
    void ListChosen(QComboBox* list, const char* letters, char TModbus::*field, int index);
};

} // namespace kvl
