// TAssignIPDlg: gives an XPort module an IP address by its MAC address with a
// set-IP broadcast. No answer comes; the progress window covers the module's restart.
#pragma once

#include "network/XportLib.h"
#include "network/records/NetCalc.h"

#include <QDialog>

#include <memory>
#include <optional>

namespace Ui {
class TAssignIPDlg;
}

namespace kvl {

class TNetworkProgress;

class TAssignIPDlg : public QDialog {
    Q_OBJECT
public:
    TAssignIPDlg(TNetworkProgress& progress, QWidget* parent = nullptr);
    ~TAssignIPDlg() override;

    // Shows the dialog modally; Accepted once the datagram went out.
    int Execute();
    void SetMAC(const QString& mac);

    void FormShow();
    void btnOKClick();
    void FormClose();

protected:
    void done(int result) override;

private:
    // The datagram of a valid entry; nullopt after telling the user what is wrong.
    std::optional<TXPortSetIP> ValidEntry();
    void Invalid(QWidget* field);
    void SendSetIP();

    std::unique_ptr<Ui::TAssignIPDlg> ui;
    TNetworkProgress& Progress;
    std::unique_ptr<TXPort> XPort;
    std::unique_ptr<TNetCalc> NetCalc;
    TXPortSetIP SetIP;
    bool CloseOK = true;
};

} // namespace kvl
