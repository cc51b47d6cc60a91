// TWiSettings: the access point parameters of the Korvelan-3Wi (SSID, pass
// phrase, channel). The multiplexer's "$PQZXWI" answer fills the fields while the
// dialog is open; OK checks the entries before the dialog may close.
#pragma once

#include "sentence/Sentence.h"

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class TWiSettings;
}

namespace kvl {

class TWiSettings : public QDialog {
    Q_OBJECT
public:
    explicit TWiSettings(QWidget* parent = nullptr);
    ~TWiSettings() override;

    int Execute();

    QString SSID() const;
    QString PassPhrase() const;
    // The list position + 1; 0 when no channel is selected.
    unsigned Channel() const;

    void HandleWI(const TSentence& sentence);
    void FormShow();
    void OKBtnClick();
    void CancelBtnClick();

protected:
    void done(int result) override;
    void reject() override;

private:
    void Refuse(const char* message);

    std::unique_ptr<Ui::TWiSettings> ui;
    bool CloseForm = true;
};

} // namespace kvl
