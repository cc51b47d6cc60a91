// TXPortListDlg: the search dialog. Lists the XPort modules that answer a search,
// and offers a factory reset of the network settings and a new IP address for
// the selected one.
#pragma once

#include "network/XportLib.h"

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class TXPortListDlg;
}

class QListWidgetItem;

namespace kvl {

class TAssignIPDlg;
class TNetworkProgress;

class TXPortListDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kFactorySteps = 20;

    TXPortListDlg(TAssignIPDlg& assignIP, TNetworkProgress& progress, QWidget* parent = nullptr);
    ~TXPortListDlg() override;

    int Execute();
    // The selected module's address and MAC address; empty when none is selected.
    QString GetIP() const;
    QString GetMAC() const;

    void FormShow();
    void Search();
    void btnResetClick();
    void btnChangeIPClick();
    void FormClose();

protected:
    void done(int result) override;

private:
    void EnableSelection(bool enable);
    const QListWidgetItem* SelectedLine() const;

    std::unique_ptr<Ui::TXPortListDlg> ui;
    TAssignIPDlg& AssignIP;
    TNetworkProgress& Progress;
    std::unique_ptr<TXPort> XPort;
    std::int32_t XPCount = 0;
};

} // namespace kvl
