// TBaseGrid: the table editor shared by the routing, Modbus and AIS MOB tables.
// One row per entry of the model's list (the column captions stand in the fixed
// header above them), check cells the editor toggles itself, an in-place editor
// with an input mask, and the page's
// Delete button, which it enables while a row number cell is current. Typed text
// is committed with Enter, Up or Down, and also when the user leaves the cell for
// another cell or another control: it is never shown without being in the model. It holds
// no data of its own: the derived editor reads and writes the model's entries.
#pragma once

#include <QTableWidget>

#include <string>

class QLineEdit;
class QPushButton;

namespace kvl {

class TBaseGrid : public QTableWidget {
    Q_OBJECT
public:
    static constexpr int kRowHeight = 16;
    static constexpr int kNumberColumnWidth = 17;

    explicit TBaseGrid(QWidget* parent = nullptr);

    // The Delete button of the page; set by the page that holds the editor.
    QPushButton* DeleteButton = nullptr;

    // Removes the entry of the current row (the model raises no notification).
    void Delete();
    // Brings the rows in line with the model after it changed; the redraw follows
    // from the event loop, when the entries are complete.
    void DataChanged();
    // Fills every cell from the model now.
    void Redraw();

    // Commits the text typed into the open in-place editor, as leaving the cell
    // does: before a store or a save, so that no value is shown but not sent.
    void CommitPending();

    // The entry of the current row, -1 without one.
    int CurrentEntry() const;
    bool IsEditing() const;
    QLineEdit* InPlaceEditor() const { return Editor; }

signals:
    // The user changed the table: a cell, a tick, a row deleted.
    void Edited();

protected:
    // Hooks of the derived editors. Rows are entry indexes, columns as captioned.
    virtual int DataCount() const = 0;
    virtual void RemoveEntry(int row) = 0;
    virtual void FillRow(int row) = 0;
    // Whether a column is edited in place, and its input mask (Qt's mask letters).
    virtual bool IsEditable(int col) const = 0;
    virtual QString EditMask(int col) const = 0;
    virtual std::string CellText(int row, int col) const = 0;
    // Stores the text in the entry; returns the message for the user when refused.
    virtual std::string CommitCell(int row, int col, const std::string& text) = 0;
    // The Delete key in a column that clears its field; false when it does not.
    virtual bool ClearCell(int row, int col) = 0;
    // A left click on a data cell.
    virtual void ToggleCell(int row, int col) = 0;
    // For the derived editors when they change an entry themselves.
    void NoteEdited() { emit Edited(); }
    // After a data cell became current (the in-place editor already set).
    virtual void CellSelected(int row, int col);

    // Cell helpers for FillRow.
    QTableWidgetItem* Cell(int row, int col);
    void SetNumberCell(int row);
    void SetTextCell(int row, int col, const QString& text, bool courier, bool centred);
    void SetCheckCell(int row, int col, bool available, bool ticked);
    void SetColumns(const QStringList& captions, const QList<int>& widths);

    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    // The second press of a quick double click toggles a check cell again.
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnCurrentCellChanged(int row, int col);
    void StartEditing();
    void StopEditing();
    void PlaceEditor();
    // Enter, Up, Down, Escape and Delete for the current cell; true when handled.
    bool HandleKey(int key);
    // Commits the editor's text to the cell it was opened on; false (with the
    // message shown) when the field refused it.
    bool Commit();
    void ToggleData(int row, int col);

    QLineEdit* Editor = nullptr;
    bool EditingOn = false; // in-place editing of the current cell
    int EditRow = -1;       // the cell the editor was opened on
    int EditCol = -1;
    bool Committing = false;
    bool RedrawPending = false;
    bool Changing = false; // rows being brought in line: no cell selection hooks
};

} // namespace kvl
