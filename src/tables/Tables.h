// TTables: the routing, Modbus and AIS MOB tables of the main window: their tab
// pages with the editors and buttons, the handling of their reports during the
// configuration read, their stores (alone or within the write-all) and route
// capture. It reaches the multiplexer only through TMuxHost.
#pragma once

#include "host/MuxHost.h"
#include "model/TableStore.h"
#include "sentence/Sentence.h"
#include "tables/MobGrid.h"
#include "tables/ModbusGrid.h"
#include "tables/RouteGrid.h"

#include <QObject>

class QComboBox;
class QPushButton;
class QTabWidget;
class QWidget;

namespace kvl {

class TTables : public QObject {
    Q_OBJECT
public:
    // The pages are the main window's "Routing", "Modbus" and "AIS MOB Alarm" tabs;
    // the editors and buttons are placed on them.
    TTables(TMuxHost& host, QWidget* routingPage, QWidget* modbusPage, QWidget* mobPage);
    ~TTables() override;

    // "Routing" tab.
    void btnRouteCaptureClick();
    void btnRouteAddClick();
    void btnRouteDelClick();
    void btnRouteClearClick();
    void btnRouteStoreClick();
    void cbModeFilterChange();
    void ShowRoutingTab();
    // "Modbus" tab.
    void btnModbusAddClick();
    void btnModbusDelClick();
    void btnModbusClearClick();
    void btnModbusStoreClick();
    void ShowModbusTab();
    // "AIS MOB Alarm" tab.
    void btnMobAddClick();
    void btnMobDelClick();
    void btnMobClearClick();
    void btnMobStoreClick();
    void ShowMobTab();

    // Reports of the configuration read, handed over by the main window's dispatcher.
    void ProcessRTE(const TSentence& sentence);
    void ProcessMB(const TSentence& sentence); // kind X, the table entries
    void ProcessMOB(const TSentence& sentence);
    // Each received sentence that is no recognised $PQZX command, while capturing.
    void CaptureSentence(const TSentence& sentence);

    // The three stores, as their Store buttons make them, for the write-all: a
    // time-out (ETimeOut) or an entry that cannot be sent (ETableEntry) ends them.
    void StoreAll();
    void RouteStore();
    void ModbusStore();
    void MobStore();

    // Edits not yet stored. A changed table shows it on its tab ("Routing *");
    // a store clears it, and so does emptying the tables for a read or a disconnect.
    enum TTable { ttRouting, ttModbus, ttMob, ttCount };
    bool IsEdited(TTable table) const { return Edited[table]; }
    void MarkEdited(TTable table, bool edited = true);
    void ForgetEdits();
    // True when nothing would be lost, or the user agrees to lose the edits.
    bool ConfirmDiscardEdits();
    // Commits text typed into any table's open cell (before a store or a save).
    void CommitEdits();
    // The Store buttons: disabled while another operation waits for the multiplexer.
    void SetStoresEnabled(bool enabled);

    // What the multiplexer is: NMEA 2000 and a WiFi host link show their columns.
    void SetCapabilities(bool nmea2000, bool wifi);
    // The link closed: the routing flags fall back to output 2 alone.
    void LinkClosed();

    TRouteGrid* RouteGrid = nullptr;
    TModbusGrid* ModbusGrid = nullptr;
    TMobGrid* MobGrid = nullptr;

private:
    QPushButton* Button(QWidget* parent, const char* name, const QString& caption,
                        void (TTables::*handler)());
    void BuildRoutingPage(QWidget* page);
    void BuildModbusPage(QWidget* page);
    void BuildMobPage(QWidget* page);
    void RunStore(const TStorePlan& plan);
    // A Store button: the store, with its failure shown to the user.
    void StoreFromButton(void (TTables::*store)());
    void SetPageVisible(QWidget* page, bool visible);
    QTabWidget* TabsOf(QWidget* page) const;
    QWidget* Page(TTable table) const;
    // Selects the row of an entry that cannot be sent.
    void SelectRow(void (TTables::*store)(), int row);

    TMuxHost& Host;
    QWidget* RoutingPage;
    QWidget* ModbusPage;
    QWidget* MobPage;
    QPushButton* btnRouteCapture = nullptr;
    QPushButton* btnRouteDel = nullptr;
    QPushButton* btnModbusDel = nullptr;
    QPushButton* btnMobDel = nullptr;
    QComboBox* cbModeFilter = nullptr;
    QPushButton* StoreButtons[ttCount] = {};
    QString Captions[ttCount];
    bool Edited[ttCount] = {};
};

} // namespace kvl
