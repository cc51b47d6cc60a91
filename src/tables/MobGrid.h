// TMobGrid: the AIS MOB alarm table editor: per entry the MMSI to watch and
// whether its alarm is active (a red cell).
#pragma once

#include "model/MuxConfig.h"
#include "tables/EntryGrid.h"

namespace kvl {

class TMobGrid : public TEntryGrid<TMob> {
    Q_OBJECT
public:
    explicit TMobGrid(QWidget* parent = nullptr);

protected:
    void FillRow(int row) override;
    bool IsEditable(int col) const override;
    QString EditMask(int col) const override;
    std::string CellText(int row, int col) const override;
    std::string CommitCell(int row, int col, const std::string& text) override;
    bool ClearCell(int row, int col) override;
    void ToggleCell(int row, int col) override;
};

} // namespace kvl
