// The network setup beside the main window: the "Korvelan-3&E" menu with the
// search, assign-IP and network settings dialogs of the Ethernet model, and the
// "Korvelan-3&Wi" menu with the access point settings of the WiFi model. It
// reaches the multiplexer and the connection fields only through TMuxHost.
#pragma once

#include "network/AssignIP.h"
#include "network/Network.h"
#include "network/WaitProgress.h"
#include "network/WiFiSettings.h"
#include "network/XportList.h"
#include "sentence/Sentence.h"

#include <QObject>

#include <memory>

class QAction;
class QMenu;
class QWidget;

namespace kvl {

class TMuxHost;

class TNetworkSetup : public QObject {
    Q_OBJECT
public:
    static constexpr int kWiFiReplyTimeoutMs = 5000;

    // window: the parent of the dialogs. progress: the program's progress window;
    // without one the dialogs use a stand-in of their own.
    TNetworkSetup(TMuxHost& host, QWidget* window, std::unique_ptr<TNetworkProgress> progress = nullptr);
    ~TNetworkSetup() override;

    // Fills the two submenus with their commands.
    void AttachMenus(QMenu* korvelan3E, QMenu* korvelan3Wi);

    // Every "$PQZXWI" sentence, in every receive state.
    void HandleWI(const TSentence& sentence);

    void miKorvelan3EClick();
    void miSearch3EClick();
    void miAssignIPClick();
    void miNetworkSetupClick();
    void miWiFiSetupClick();
    void miWiFiInitClick();

    TXPortListDlg& XPortListDlg() { return *ListDlg; }
    TAssignIPDlg& AssignIPDlg() { return *AssignDlg; }
    TNetworkDlg& NetworkDlg() { return *NetDlg; }
    TWiSettings& WiSettings() { return *WiFiDlg; }
    // The stand-in progress window; nullptr when a progress window was given.
    TWaitProgress* StandInProgress() { return StandIn.get(); }

private:
    TMuxHost& Host;
    std::unique_ptr<TNetworkProgress> GivenProgress;
    std::unique_ptr<TWaitProgress> StandIn;
    TNetworkProgress& ProgressWindow;
    std::unique_ptr<TAssignIPDlg> AssignDlg;
    std::unique_ptr<TXPortListDlg> ListDlg;
    std::unique_ptr<TNetworkDlg> NetDlg;
    std::unique_ptr<TWiSettings> WiFiDlg;
    QAction* miNetworkSetup = nullptr;
};

} // namespace kvl
