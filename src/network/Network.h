// TNetworkDlg: reads an XPort module's setup record, lets the user edit its IP
// settings and protocol, writes the record back with every byte it does not edit
// unchanged, and waits for the module to come back at its address.
#pragma once

#include "network/XportLib.h"
#include "network/records/NetCalc.h"

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class TNetworkDlg;
}

class QLineEdit;

namespace kvl {

class TNetworkProgress;

class TNetworkDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kVerifySteps = 50;
    static constexpr int kVerifyWaitSteps = 24;

    TNetworkDlg(TNetworkProgress& progress, QWidget* parent = nullptr);
    ~TNetworkDlg() override;

    // Reads the module at Host, shows the dialog modally and applies what the user
    // entered. Accepted only when the settings were written: a module that cannot
    // be read or written closes the dialog as cancelled.
    int Execute();

    QString Host;           // the module to talk to, set by the caller
    std::uint32_t Port = 0; // the entered port number
    bool IsTcp() const;
    QString IPAddressText() const;

    // Whether the module was read; false closes the dialog as cancelled.
    bool FormShow();
    void UpdateControls();
    void btnOKClick();
    void FormClose();

protected:
    void done(int result) override;

private:
    void ShowRecord();
    // Reads the fields into Record; false (with the focus on the field) when one is invalid.
    bool ReadFields(TXPortSetup0& record);
    bool ReadAddress(QLineEdit* field, TIPv4& address);
    // Writes the record and waits for the module; false when it could not be written.
    bool ApplySettings();
    // Waits for the module at its address; whether it came back.
    bool VerifySettings();

    std::unique_ptr<Ui::TNetworkDlg> ui;
    TNetworkProgress& Progress;
    std::unique_ptr<TXPort> XPort;
    std::unique_ptr<TNetCalc> NetCalc;
    TXPortSetup0 XPortSetup0;
    bool CloseOK = true;
    bool ChangeIP = false;
};

} // namespace kvl
