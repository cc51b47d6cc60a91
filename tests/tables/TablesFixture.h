// The main window against the simulator, with helpers for the table editors:
// a grid by name, editing one of its cells as a user does, and the lines the
// simulator received from a given point on.
#pragma once

#include "main/MainFormFixture.h"
#include "sentence/NmeaText.h"
#include "tables/BaseGrid.h"

#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

#include <string>
#include <vector>

namespace kvl::test {

class TablesTest : public MainFormTest {
protected:
    template <typename T>
    T* Grid(const char* name) {
        return Control<T>(name);
    }

    // Shows the tab page that holds the widget.
    void ShowPageOf(QWidget* widget) {
        auto* tabs = Control<QTabWidget>("pcSettings");
        for (QWidget* page = widget; page; page = page->parentWidget()) {
            if (tabs->indexOf(page) >= 0) {
                tabs->setCurrentWidget(page);
                return;
            }
        }
    }

    // Selects the cell and types the text into its in-place editor, leaving it open.
    void TypeIntoCell(TBaseGrid* grid, int row, int col, const QString& text) {
        ShowPageOf(grid);
        grid->setCurrentCell(row, col);
        QLineEdit* editor = grid->InPlaceEditor();
        ASSERT_TRUE(grid->IsEditing());
        ASSERT_TRUE(editor->isVisible());
        editor->selectAll();
        QTest::keyClicks(editor, text);
    }

    // Selects the cell, types the text into its in-place editor and presses Enter.
    void EditCell(TBaseGrid* grid, int row, int col, const QString& text) {
        TypeIntoCell(grid, row, col, text);
        QTest::keyClick(grid->InPlaceEditor(), Qt::Key_Return);
    }

    // The simulator's received lines from `from` on, without their checksums and
    // without the periodic "$PQZXCF,A".
    std::vector<std::string> ReceivedBodies(std::size_t from) {
        std::vector<std::string> bodies;
        const auto lines = Sim->ReceivedLines();
        for (std::size_t i = from; i < lines.size(); ++i) {
            std::string body = lines[i].substr(0, lines[i].rfind('*'));
            if (body != "$PQZXCF,A")
                bodies.push_back(std::move(body));
        }
        return bodies;
    }

    static std::string OnWire(const std::string& body) {
        return body + '*' + ChecksumHex(NmeaChecksum(body, body.size()));
    }

    // Connects and waits until the configuration read has filled the window.
    void ConnectAndRead() {
        ConnectAndClearView();
        ASSERT_TRUE(WaitUntil([&] { return Form->GetRXState() == TRXState::stNormal; }));
        QCoreApplication::processEvents(); // the grids redraw from the event loop
    }
};

} // namespace kvl::test
