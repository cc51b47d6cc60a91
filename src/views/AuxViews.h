// The auxiliary windows the main window keeps for its whole life: the
// statistics window beside it and the About box.
#pragma once

#include "sentence/SentenceRates.h"
#include "views/About.h"
#include "views/SentenceRatesForm.h"
#include "views/Statistics.h"

namespace kvl {

struct TAuxViews {
    explicit TAuxViews(QWidget* mainWindow)
        : Stats(mainWindow), AboutBox(mainWindow), RatesForm(Rates, mainWindow) {}

    TStats Stats;
    TAboutBox AboutBox;
    TSentenceRates Rates; // fed by the dispatch while a link is open, read by RatesForm
    TSentenceRatesForm RatesForm;
};

} // namespace kvl
