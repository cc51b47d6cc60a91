#include "tables/BaseGrid.h"

#include "host/Dialogs.h"

#include <QApplication>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>

namespace kvl {

namespace {

QFont CourierFont() {
    QFont font(QStringLiteral("Courier"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(10);
    return font;
}

} // namespace

TBaseGrid::TBaseGrid(QWidget* parent) : QTableWidget(parent) {
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setShowGrid(false);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setMinimumSectionSize(0);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, colours.color(QPalette::Button));
    setPalette(colours);

    Editor = new QLineEdit(viewport());
    Editor->setObjectName(QStringLiteral("InPlaceEditor"));
    Editor->setFont(CourierFont());
    Editor->setFrame(false);
    Editor->hide();
    Editor->installEventFilter(this);

    connect(this, &QTableWidget::currentCellChanged, this,
            [this](int row, int col, int, int) { OnCurrentCellChanged(row, col); });
}

void TBaseGrid::SetColumns(const QStringList& captions, const QList<int>& widths) {
    setColumnCount(static_cast<int>(captions.size()));
    setHorizontalHeaderLabels(captions);
    int total = 0;
    for (int col = 0; col < widths.size(); ++col) {
        setColumnWidth(col, widths[col]);
        setColumnHidden(col, widths[col] == 0);
        total += widths[col];
    }
    setMinimumWidth(total + 21);
}

int TBaseGrid::CurrentEntry() const {
    const int row = currentRow();
    return row >= 0 && row < DataCount() ? row : -1;
}

bool TBaseGrid::IsEditing() const {
    return EditingOn;
}

void TBaseGrid::Delete() {
    const int row = CurrentEntry();
    if (row < 0)
        return;
    StopEditing();
    RemoveEntry(row);
    DataChanged();
    Redraw();
    emit Edited();
}

void TBaseGrid::DataChanged() {
    Changing = true;
    StopEditing();
    const int count = DataCount();
    const int row = currentRow();
    setRowCount(count);
    // The current row never points past the rows that are left.
    if (count == 0)
        setCurrentCell(-1, -1);
    else
        setCurrentCell(std::clamp(row, 0, count - 1), 1);
    Changing = false;
    if (count == 0 && DeleteButton)
        DeleteButton->setEnabled(false);
    if (!RedrawPending) {
        RedrawPending = true;
        QTimer::singleShot(0, this, [this] {
            if (RedrawPending)
                Redraw();
        });
    }
}

void TBaseGrid::Redraw() {
    RedrawPending = false;
    if (rowCount() != DataCount())
        setRowCount(DataCount());
    for (int row = 0; row < rowCount(); ++row)
        FillRow(row);
    viewport()->update();
}

QTableWidgetItem* TBaseGrid::Cell(int row, int col) {
    QTableWidgetItem* cell = item(row, col);
    if (!cell) {
        cell = new QTableWidgetItem;
        cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        setItem(row, col, cell);
    }
    return cell;
}

void TBaseGrid::SetNumberCell(int row) {
    QTableWidgetItem* cell = Cell(row, 0);
    cell->setText(QString::number(row + 1));
    QFont small = font();
    small.setPixelSize(8); // two digits fit the narrow number column
    cell->setFont(small);
    cell->setBackground(palette().color(QPalette::Button));
    cell->setForeground(QColor(128, 128, 128));
}

void TBaseGrid::SetTextCell(int row, int col, const QString& text, bool courier, bool centred) {
    QTableWidgetItem* cell = Cell(row, col);
    cell->setText(text);
    cell->setData(Qt::CheckStateRole, QVariant());
    cell->setBackground(Qt::white);
    cell->setForeground(palette().color(QPalette::WindowText));
    if (courier)
        cell->setFont(CourierFont());
    cell->setTextAlignment(centred ? Qt::AlignCenter : (Qt::AlignLeft | Qt::AlignVCenter));
}

void TBaseGrid::SetCheckCell(int row, int col, bool available, bool ticked) {
    QTableWidgetItem* cell = Cell(row, col);
    if (!available) {
        cell->setData(Qt::CheckStateRole, QVariant());
        cell->setBackground(palette().color(QPalette::Button));
        return;
    }
    cell->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    cell->setBackground(Qt::white);
}

void TBaseGrid::CellSelected(int, int) {}

void TBaseGrid::OnCurrentCellChanged(int row, int col) {
    CommitPending(); // text typed and left for another cell goes into the model
    StopEditing();
    if (Changing || row < 0 || col < 0 || row >= DataCount())
        return;
    if (DeleteButton)
        DeleteButton->setEnabled(col == 0);
    if (IsEditable(col))
        StartEditing();
    CellSelected(row, col);
}

void TBaseGrid::StartEditing() {
    const int row = CurrentEntry();
    const int col = currentColumn();
    if (row < 0 || !IsEditable(col))
        return;
    Editor->setInputMask(EditMask(col));
    Editor->setText(QString::fromLatin1(CellText(row, col)));
    PlaceEditor();
    EditRow = row;
    EditCol = col;
    EditingOn = true;
    Editor->show();
    Editor->setFocus();
    Editor->selectAll();
}

void TBaseGrid::StopEditing() {
    if (!EditingOn)
        return;
    EditingOn = false;
    // The focus goes back first: hiding a focused editor would move it on, and
    // the grid takes that move as Tab to the next cell.
    if (Editor->hasFocus())
        setFocus();
    Editor->hide();
}

void TBaseGrid::PlaceEditor() {
    const QRect rect = visualRect(model()->index(currentRow(), currentColumn()));
    Editor->setGeometry(rect.adjusted(0, 0, -1, -1));
}

bool TBaseGrid::Commit() {
    const int row = EditRow;
    // The message of a refused text takes the focus: that must not commit again.
    if (!IsEditing() || Committing || row < 0 || row >= DataCount())
        return true;
    const std::string text = Editor->text().toLatin1().toStdString();
    if (text == CellText(row, EditCol))
        return true; // nothing typed: nothing to commit, nothing to mark
    const std::string message = CommitCell(row, EditCol, text);
    if (!message.empty()) {
        // The cell shows the field again: a refused text is never shown as if it were kept.
        Editor->setText(QString::fromLatin1(CellText(row, EditCol)));
        Committing = true;
        Dialogs().ShowMessage(QString::fromLatin1(message));
        Committing = false;
        return false;
    }
    FillRow(row);
    emit Edited();
    return true;
}

void TBaseGrid::CommitPending() {
    if (!Committing && Commit() && IsEditing() && EditRow >= 0 && EditRow < DataCount())
        Editor->setText(QString::fromLatin1(CellText(EditRow, EditCol)));
}

void TBaseGrid::ToggleData(int row, int col) {
    if (row < 0 || row >= DataCount() || col < 1)
        return;
    ToggleCell(row, col);
}

bool TBaseGrid::HandleKey(int key) {
    const int row = CurrentEntry();
    if (row < 0)
        return false; // nothing to do without entries
    const int col = currentColumn();
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (Commit())
            Editor->setText(QString::fromLatin1(CellText(row, col)));
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down: {
        if (!Commit())
            return true;
        const int next = std::clamp(row + (key == Qt::Key_Up ? -1 : 1), 0, DataCount() - 1);
        setCurrentCell(next, col);
        return true;
    }
    case Qt::Key_Escape:
        StopEditing();
        Redraw();
        return true;
    case Qt::Key_Delete:
        if (col == 0) {
            Delete();
            return true;
        }
        if (!ClearCell(row, col))
            return false;
        if (IsEditing())
            Editor->setText(QString::fromLatin1(CellText(row, col)));
        Redraw();
        emit Edited();
        return true;
    default:
        return false;
    }
}

void TBaseGrid::keyPressEvent(QKeyEvent* event) {
    if (HandleKey(event->key()))
        return;
    const int row = CurrentEntry();
    const int col = currentColumn();
    if (row >= 0) {
        // Space ticks a check cell, as a click does.
        if (event->key() == Qt::Key_Space && !IsEditing()) {
            ToggleData(row, col);
            return;
        }
        // F2 or typing opens the cell again after Escape; the typed key goes in.
        const bool typed = !event->text().isEmpty() && event->text().at(0).isPrint();
        if (IsEditable(col) && (event->key() == Qt::Key_F2 || typed)) {
            if (!IsEditing())
                StartEditing();
            if (typed)
                QCoreApplication::sendEvent(Editor, event);
            return;
        }
    }
    QTableWidget::keyPressEvent(event);
}

bool TBaseGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Editor && event->type() == QEvent::KeyPress) {
        if (HandleKey(static_cast<QKeyEvent*>(event)->key()))
            return true;
    }
    // Another control clicked (a Store button, a tab): the typed text is committed.
    if (watched == Editor && event->type() == QEvent::FocusOut)
        CommitPending();
    return QTableWidget::eventFilter(watched, event);
}

void TBaseGrid::mousePressEvent(QMouseEvent* event) {
    QTableWidget::mousePressEvent(event); // the clicked cell becomes current first
    if (event->button() != Qt::LeftButton)
        return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid())
        ToggleData(index.row(), index.column());
}

void TBaseGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableWidget::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid())
        ToggleData(index.row(), index.column());
}

} // namespace kvl
