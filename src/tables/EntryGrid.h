// TEntryGrid: a table editor over one of the model's entry lists (routing,
// Modbus, AIS MOB): one row per entry of the list that the page holding the
// editor sets, rows removed from the list itself.
#pragma once

#include "tables/BaseGrid.h"

#include <cstddef>
#include <memory>
#include <vector>

namespace kvl {

template <class TEntry>
class TEntryGrid : public TBaseGrid {
public:
    using TBaseGrid::TBaseGrid;

    std::vector<std::unique_ptr<TEntry>>* Data = nullptr;

protected:
    int DataCount() const override { return Data ? static_cast<int>(Data->size()) : 0; }
    void RemoveEntry(int row) override { Data->erase(Data->begin() + row); }
    TEntry& Entry(int row) const { return *(*Data)[static_cast<std::size_t>(row)]; }
};

} // namespace kvl
