// The main window's side of the statistics window and the About box.
#include "views/AuxViews.h"
#include "host/Guarded.h"
#include "main/MainForm.h"
#include "ui_MainForm.h"

namespace kvl {

void TMainForm::CreateAuxViews() {
    Views = std::make_unique<TAuxViews>(this);
    connect(ui->miStats, &QAction::triggered, this, GuardedSlot([this] { miStatsClick(); }));
    connect(ui->miAbout, &QAction::triggered, this, GuardedSlot([this] { miAboutClick(); }));
    connect(ui->miSentenceRates, &QAction::triggered, this, GuardedSlot([this] { miSentenceRatesClick(); }));
}

void TMainForm::miSentenceRatesClick() {
    TSentenceRatesForm& form = Views->RatesForm;
    form.show();
    form.raise();
    form.activateWindow();
}

// The menu item has already toggled its check mark.
void TMainForm::miStatsClick() {
    TStats& stats = Views->Stats;
    if (!ui->miStats->isChecked()) {
        // Hidden first: a link that fails the send must not leave it on screen.
        stats.hide();
        SendSentence("$PQZXSTAT,C,0");
        return;
    }
    stats.PlaceBeside(*this);
    try {
        SendSentence("$PQZXSTAT,C,1");
    } catch (...) {
        // Nothing was switched on: the mark must not say otherwise.
        ui->miStats->setChecked(false);
        throw;
    }
    // A link lost by the send was closed (and the mark cleared) meanwhile: the
    // window, whose menu item is now disabled, could never be closed again.
    if (!IsLinkOpen() || !ui->miStats->isChecked()) {
        ui->miStats->setChecked(false);
        return;
    }
    stats.show();
}

// With the link gone the menu item is disabled: the window could never be
// switched off again, and its bars would no longer move.
void TMainForm::HideStatistics() {
    if (!Views)
        return;
    ui->miStats->setChecked(false);
    Views->Stats.hide();
}

void TMainForm::miAboutClick() {
    TAboutBox& about = Views->AboutBox;
    about.SetMuxVersion(IsLinkOpen() ? MuxVersionString : std::string());
    if (about.exec() != TAboutBox::kForgetSettings)
        return;
    // The close deletes the stored settings instead of saving them, and the program ends.
    RemoveFromRegistry = true;
    close();
}

} // namespace kvl
