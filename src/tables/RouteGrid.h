// TRouteGrid: the routing table editor of the "Routing" tab page: per entry the
// source check boxes, the NMEA 2000 source device, the sentence address, the
// divisor and the destination check boxes.
#pragma once

#include "model/MuxConfig.h"
#include "tables/EntryGrid.h"

#include <functional>
#include <optional>
#include <string>

namespace kvl {

// Which optional columns are available.
enum TFlag : unsigned {
    gfSeaTalk = 1u << 0, // input 1 runs SeaTalk: column 1 reads "ST", the SeaTalk output exists
    gfN2K = 1u << 1,     // NMEA 2000: the N and Device columns are shown
    gfOut2 = 1u << 2,    // output 2 is free for routing (Modbus off)
    gfIn4 = 1u << 3,     // input 4 is free (not the AIS MOB mute input)
    gfWiFi = 1u << 4,    // the host link is WiFi
};
using TFlags = unsigned;

class TRouteGrid : public TEntryGrid<TRoute> {
    Q_OBJECT
public:
    static constexpr int kColumns = 16;

    explicit TRouteGrid(QWidget* parent = nullptr);

    // The model name of the NMEA 2000 device with this NAME, empty when the
    // device list does not know it (shown as "???").
    std::function<std::string(TName)> DeviceModel;
    // The Device cell's tool tip: the model and manufacturer of the device with
    // this NAME, empty when the device list does not know it.
    std::function<std::string(TName)> DeviceToolTip;
    // The NMEA 2000 device list in selection mode, with the NAME preselected: the
    // chosen device's NAME and source address, nullopt when cancelled. It is
    // modal: the link may close and the tables be cleared while it is open.
    struct TChosenDevice {
        TName Name;
        std::uint8_t SA = 255;
    };
    std::function<std::optional<TChosenDevice>(TName)> ChooseDevice;

    TFlags Flags() const { return FFlags; }
    void SetFlags(TFlags value);

protected:
    void FillRow(int row) override;
    bool IsEditable(int col) const override;
    QString EditMask(int col) const override;
    std::string CellText(int row, int col) const override;
    std::string CommitCell(int row, int col, const std::string& text) override;
    bool ClearCell(int row, int col) override;
    void ToggleCell(int row, int col) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool Available(int col) const;
    void SetCaptions();

    TFlags FFlags = gfOut2 | gfIn4;
};

} // namespace kvl
